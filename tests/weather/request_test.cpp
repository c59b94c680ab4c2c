#include "weather/request.h"

#include <gtest/gtest.h>

namespace tovani {
namespace {

TEST(WeatherHost, Setting) {
  const WeatherHost standard;
  EXPECT_EQ(standard.name, "www.weather.com.cn");
  EXPECT_EQ(standard.port, 80);
  const struct {
    const char* setting;
    WeatherHost host;
  } cases[] = {
      {"", standard},
      {"   ", standard},
      {"example.org", {"example.org", 80}},
      {" example.org\t", {"example.org", 80}},
      {"example.org:8080", {"example.org", 8080}},
      {"127.0.0.1:34567", {"127.0.0.1", 34567}},
      {"weather-1.example_2.org:1", {"weather-1.example_2.org", 1}},
      {"example.org:65535", {"example.org", 65535}},
      {"example.org:00081", {"example.org", 81}},
      {"http://example.org:81/weather/", {"example.org", 81}},
      {"HTTP://Example.org/", {"Example.org", 80}},
      // Unusable settings give the standard host.
      {"example.org:", standard},
      {":8080", standard},
      {"example.org:0", standard},
      {"example.org:65536", standard},
      {"example.org:123456", standard},
      {"example.org:80a", standard},
      {"example.org:-1", standard},
      {"example.org:80:81", standard},
      {"exa mple.org", standard},
      {"例子.cn", standard},
      {"http://", standard},
      {"[::1]:80", standard},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseWeatherHost(c.setting), c.host) << "\"" << c.setting << "\"";
  }
}

TEST(WeatherHost, AddressAndRequest) {
  const WeatherHost standard;
  EXPECT_EQ(standard.Authority(), "www.weather.com.cn");
  EXPECT_EQ(WeatherPageAddress(standard, 101010100), "http://www.weather.com.cn/weather/101010100.shtml");
  EXPECT_EQ(WeatherRequest(standard, 101310220),
            "GET http://www.weather.com.cn/weather/101310220.shtml HTTP/1.0\r\n"
            "Referer: http://www.weather.com.cn/\r\n"
            "User-Agent: kpf HTTP FILE DOWNLOAD\r\n"
            "\r\n");
  // Another port stands in the address.
  const WeatherHost local{"localhost", 8080};
  EXPECT_EQ(local.Authority(), "localhost:8080");
  EXPECT_EQ(WeatherRequest(local, 101020500),
            "GET http://localhost:8080/weather/101020500.shtml HTTP/1.0\r\n"
            "Referer: http://localhost:8080/\r\n"
            "User-Agent: kpf HTTP FILE DOWNLOAD\r\n"
            "\r\n");
  EXPECT_EQ(WeatherPageAddress(ParseWeatherHost("example.org:80"), 101280800),
            "http://example.org/weather/101280800.shtml");
}

}  // namespace
}  // namespace tovani
