// The weather service's address and the one request sent to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovani {

// The public weather service whose city codes the program carries.
inline constexpr const char* kDefaultWeatherHost = "www.weather.com.cn";
inline constexpr std::uint16_t kDefaultWeatherPort = 80;

struct WeatherHost {
  std::string name = kDefaultWeatherHost;
  std::uint16_t port = kDefaultWeatherPort;

  // The host as it stands in the page address: the name, with ":" and the
  // port when that is not 80.
  std::string Authority() const;
  friend bool operator==(const WeatherHost&, const WeatherHost&) = default;
};

// The host setting "name[:port]" (the registry value WeatherHost).  Blanks
// around it, a leading "http://" and anything from a "/" on are ignored.  An
// empty setting, a name with other characters than letters, digits, ".", "-"
// and "_", or a port outside 1..65535 give the default host.
WeatherHost ParseWeatherHost(std::string_view setting);

// "http://" + host + "/weather/" + code + ".shtml".
std::string WeatherPageAddress(const WeatherHost& host, std::int32_t code);

// The request, every line ended by CR LF: "GET " + address + " HTTP/1.0",
// "Referer: http://" + host + "/", "User-Agent: kpf HTTP FILE DOWNLOAD" and an
// empty line.
std::string WeatherRequest(const WeatherHost& host, std::int32_t code);

}  // namespace tovani
