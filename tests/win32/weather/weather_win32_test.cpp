// The weather client in the Windows program: the page decoder against the
// code page conversion of Windows itself, and downloads over Winsock from a
// server on 127.0.0.1 that the test starts on a thread of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "tests/weather/fixture_pages.h"
#include "tests/weather/fixture_server.h"
#include "weather/client.h"

namespace tovani {
namespace {

using fixture::FixtureServer;

// Windows' own conversion of the character, without the "best fit" stand-ins
// (such as "2" for "²") that Windows picks for characters code page 936 does
// not have: the program's table makes those "?" on every system, and so it
// does with the private-use characters of the code page's user-defined areas.
TEST(WeatherWin32, EveryThreeByteSequenceConvertsAsWindowsConvertsItsCharacter) {
  int mismatches = 0;
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    const char utf8[3] = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (c & 0x3F))};
    if (c >= 0xE000 && c <= 0xF8FF) {
      ASSERT_EQ(Utf8ToGbk(std::string_view(utf8, 3)), "?") << std::hex << c;
      continue;
    }
    const wchar_t wide = static_cast<wchar_t>(c);
    char windows[8] = {};
    const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &wide, 1, windows, sizeof windows, nullptr, nullptr);
    ASSERT_GT(n, 0) << std::hex << c;
    const std::string ours = Utf8ToGbk(std::string_view(utf8, 3));
    if (ours != std::string(windows, static_cast<std::size_t>(n)) && ++mismatches <= 10) {
      ADD_FAILURE() << "U+" << std::hex << c << ": " << testing::PrintToString(ours) << " against "
                    << testing::PrintToString(std::string(windows, static_cast<std::size_t>(n)));
    }
  }
  EXPECT_EQ(mismatches, 0);
}

bool WaitFinished(const WeatherClient& client) {
  for (int i = 0; i < 2000; ++i) {
    if (client.DownloadState() == kWeatherFinished) return true;
    Sleep(10);
  }
  return false;
}

TEST(WeatherWin32, DownloadOverWinsock) {
  FixtureServer server(fixture::FullPage());
  ASSERT_TRUE(server.ok());
  std::atomic<int> views{0};
  WeatherClient client;
  client.sink().SetTarget([&](const WeatherView&) { ++views; });
  // Through the host look-up (with an address as the name, so that the test
  // does not depend on the machine's hosts file), on the test server's port.
  WeatherQuery query = MakeWeatherQuery(26, 4, ParseWeatherHost("127.0.0.1:" + std::to_string(server.port())));
  query.timeoutMs = 10000;
  ASSERT_TRUE(client.StartWeatherDownload(query));
  EXPECT_FALSE(client.StartWeatherDownload(query));
  ASSERT_TRUE(WaitFinished(client));
  EXPECT_EQ(server.requests(), 1);
  const std::string host = "127.0.0.1:" + std::to_string(server.port());
  EXPECT_EQ(server.lastRequest(), "GET http://" + host + "/weather/101210401.shtml HTTP/1.0\r\n"
                                  "Referer: http://" + host + "/\r\n"
                                  "User-Agent: kpf HTTP FILE DOWNLOAD\r\n\r\n");

  const WeatherView v = client.View();
  EXPECT_EQ(v.status, "  浙江宁波 2008年5月1日 18时00分发布");
  EXPECT_EQ(v.dates, (std::array<std::string, 5>{"1日", "2日", "3日", "4日", "5日"}));
  const struct {
    int day, row;
    const char* text;
  } cells[] = {
      {1, 1, "多云"}, {1, 2, "最高28℃"}, {1, 3, "无持续风向"}, {1, 4, "微风"}, {1, 5, "晴"}, {1, 6, "最低15℃"},
      {1, 7, "北风"}, {1, 8, "3-4级"},   {2, 1, "雷阵雨转多云"}, {2, 6, "最低-3℃"}, {2, 8, "小于3级"},
      {3, 2, "最高31℃"}, {4, 3, "西北风"}, {5, 5, "雨夹雪"}, {5, 6, "最低0℃"},
  };
  for (const auto& c : cells) EXPECT_EQ(v.Cell(WeatherCellNumber(c.day, c.row)), c.text) << c.day << "," << c.row;
  EXPECT_EQ(views.load(), 4);  // cleared, connecting, receiving, the forecast
}

TEST(WeatherWin32, FailuresOverWinsock) {
  // Impossible date, an empty answer, and a server that says nothing.
  const struct {
    std::string answer;
    FixtureServer::Mode mode;
  } cases[] = {
      {fixture::Page(fixture::DateLine(u8"2008年2月30日"), fixture::FiveDays()), FixtureServer::Mode::kAnswer},
      {"", FixtureServer::Mode::kAnswer},
      {"", FixtureServer::Mode::kSilent},
  };
  for (const auto& c : cases) {
    FixtureServer server(c.answer, c.mode);
    ASSERT_TRUE(server.ok());
    WeatherQuery query = MakeWeatherQuery(1, 1, WeatherHost{"127.0.0.1", server.port()});
    query.timeoutMs = 1000;
    const WeatherView v = FetchWeather(query);
    EXPECT_EQ(v.status, kWeatherUnreadable);
    EXPECT_EQ(v.Cell(1), "");
  }
  // A port where nobody listens.
  std::uint16_t port;
  {
    FixtureServer gone("");
    port = gone.port();
  }
  WeatherQuery query = MakeWeatherQuery(1, 1, WeatherHost{"127.0.0.1", port});
  query.timeoutMs = 1000;
  EXPECT_EQ(FetchWeather(query).status, kWeatherOffline);
}

}  // namespace
}  // namespace tovani
