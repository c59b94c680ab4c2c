#include "weather/client.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/weather/fixture_pages.h"
#include "tests/weather/fixture_server.h"
#include "weather/city_codes.h"
#include "weather/socket.h"

namespace tovani {
namespace {

using fixture::FixtureServer;
using fixture::U8;

WeatherQuery QueryFor(const FixtureServer& server, int timeoutMs = 10000) {
  WeatherQuery q = MakeWeatherQuery(1, 1, WeatherHost{"127.0.0.1", server.port()});
  q.timeoutMs = timeoutMs;
  return q;
}

// The status lines a download went through.
struct Statuses {
  std::vector<std::string> seen;
  std::function<void(const WeatherView&)> Sink() {
    return [this](const WeatherView& v) { seen.push_back(v.status); };
  }
};

std::vector<std::string> Reached(const char* last) { return {"", kWeatherConnecting, kWeatherReceiving, last}; }

std::string PageOf(std::vector<fixture::Day> days, std::string dateLine = fixture::DateLine()) {
  return fixture::Page(dateLine, days);
}

bool Empty(const WeatherView& v) {
  for (const auto& d : v.dates) if (!d.empty()) return false;
  for (const auto& c : v.cells) if (!c.empty()) return false;
  return true;
}

TEST(WeatherQuery, CodeAndNamesOfAPlace) {
  const WeatherQuery q = MakeWeatherQuery(31, 18);
  EXPECT_EQ(q.code, 101310220);
  EXPECT_EQ(q.provinceName, "海南");
  EXPECT_EQ(q.cityName, "南沙");
  EXPECT_EQ(q.host, WeatherHost{});
  EXPECT_EQ(q.timeoutMs, 60000);
  EXPECT_EQ(q.responseLimit, 2u << 20);
  const WeatherQuery clamped = MakeWeatherQuery(0, 99);
  EXPECT_EQ(clamped.code, 101011500);
  EXPECT_EQ(clamped.cityName, "平谷");
}

TEST(WeatherDownload, SendsExactlyOneRequestOfFourLines) {
  FixtureServer server(fixture::FullPage());
  ASSERT_TRUE(server.ok());
  WeatherQuery q = QueryFor(server);
  q.code = WeatherCityCode(2, 4);
  FetchWeather(q);
  const std::string host = "127.0.0.1:" + std::to_string(server.port());
  EXPECT_EQ(server.lastRequest(), "GET http://" + host + "/weather/101020500.shtml HTTP/1.0\r\n"
                                  "Referer: http://" + host + "/\r\n"
                                  "User-Agent: kpf HTTP FILE DOWNLOAD\r\n"
                                  "\r\n");
  EXPECT_EQ(server.requests(), 1);
}

TEST(WeatherDownload, FixturePages) {
  std::vector<fixture::Day> three = fixture::FiveDays(), noNight = three, letter = three;
  three.resize(3);
  noNight[1].night.reset();
  letter[0].day->temperature = "N/A";
  const std::string noToday = fixture::Page(U8(u8"今日2008年5月1日 星期四 (  18时00分发布)"), fixture::FiveDays());
  const std::string ok = "  北京市区 2008年5月1日 18时00分发布";

  const struct {
    const char* name;
    std::string answer;
    const char* status;
    std::vector<std::pair<int, const char*>> cells;  // cell number and text
  } cases[] = {
      {"full", fixture::FullPage(), ok.c_str(),
       {{1, "多云"}, {2, "最高28℃"}, {3, "无持续风向"}, {4, "微风"}, {5, "晴"}, {6, "最低15℃"}, {14, "最低-3℃"},
        {25, "阵雨"}, {40, "3-4级"}}},
      {"three days", PageOf(three), ok.c_str(), {{17, "晴"}, {24, "微风"}, {25, ""}, {33, ""}, {40, ""}}},
      {"no night", PageOf(noNight), ok.c_str(),
       {{9, "雷阵雨转多云"}, {12, "4-5级"}, {13, ""}, {14, ""}, {15, ""}, {16, ""}, {17, "晴"}}},
      {"letter temperature", PageOf(letter), ok.c_str(), {{1, "多云"}, {2, "最高0℃"}, {3, "无持续风向"}}},
      {"no 今天是", noToday, kWeatherUnreadable, {}},
      {"impossible date", PageOf(fixture::FiveDays(), fixture::DateLine(u8"2008年2月30日")), kWeatherUnreadable, {}},
      {"empty reply", "", kWeatherUnreadable, {}},
      // Headers only, and a page far beyond one receive.
      {"no page", "HTTP/1.0 404 Not Found\r\n\r\n", kWeatherUnreadable, {}},
      {"large page", std::string(300000, ' ') + fixture::FullPage(), ok.c_str(), {{1, "多云"}, {40, "3-4级"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FixtureServer server(c.answer);
    ASSERT_TRUE(server.ok());
    Statuses statuses;
    const WeatherView v = FetchWeather(QueryFor(server), statuses.Sink());
    EXPECT_EQ(statuses.seen, Reached(c.status));
    EXPECT_EQ(v.status, c.status);
    for (const auto& [n, text] : c.cells) EXPECT_EQ(v.Cell(n), text) << "cell " << n;
    if (c.status == kWeatherUnreadable) {
      EXPECT_TRUE(Empty(v));
    } else {
      // What came over the connection reads as the page itself does.
      const auto local = ScrapeForecast(Utf8ToGbk(c.answer));
      ASSERT_TRUE(local);
      EXPECT_EQ(v, ForecastView(*local, "北京", "市区"));
    }
  }
}

TEST(WeatherDownload, TheAnswerIsReadUpToTheLimit) {
  // A server that never stops sending: the page is read from what arrived.
  {
    FixtureServer server(fixture::FullPage(), FixtureServer::Mode::kEndless);
    ASSERT_TRUE(server.ok());
    const WeatherView v = FetchWeather(QueryFor(server));
    EXPECT_EQ(v.Cell(1), "多云");
    EXPECT_EQ(v.status, "  北京市区 2008年5月1日 18时00分发布");
  }
  // The header beyond the limit is not read.
  const std::string late = std::string(70000, ' ') + fixture::FullPage();
  for (const std::size_t limit : {std::size_t{65536}, late.size() - 1, late.size()}) {
    FixtureServer server(late);
    ASSERT_TRUE(server.ok());
    WeatherQuery q = QueryFor(server);
    q.responseLimit = limit;
    EXPECT_EQ(FetchWeather(q).status, limit < late.size() - 100 ? kWeatherUnreadable
                                                                  : "  北京市区 2008年5月1日 18时00分发布")
        << limit;
  }
}

TEST(WeatherDownload, ServersThatDoNotAnswer) {
  const auto elapsed = [](const std::function<void()>& f) {
    const std::int64_t start = net::MonotonicMs();
    f();
    return net::MonotonicMs() - start;
  };
  // Connection accepted, request read, nothing sent: the wait for the answer ends.
  {
    FixtureServer server("", FixtureServer::Mode::kSilent);
    ASSERT_TRUE(server.ok());
    Statuses statuses;
    const std::int64_t ms = elapsed([&] { FetchWeather(QueryFor(server, 1000), statuses.Sink()); });
    EXPECT_EQ(statuses.seen, Reached(kWeatherUnreadable));
    EXPECT_GE(ms, 900);
    EXPECT_LT(ms, 10000);
  }
  // The whole answer has its own limit.
  {
    FixtureServer server("", FixtureServer::Mode::kSilent);
    ASSERT_TRUE(server.ok());
    WeatherQuery q = QueryFor(server, 30000);
    q.receiveLimitMs = 500;
    const std::int64_t ms = elapsed([&] { EXPECT_EQ(FetchWeather(q).status, kWeatherUnreadable); });
    EXPECT_GE(ms, 400);
    EXPECT_LT(ms, 10000);
  }
  // Nobody listens on the port: no connection at once.
  {
    std::uint16_t port;
    {
      FixtureServer gone("");
      port = gone.port();
    }
    WeatherQuery q = MakeWeatherQuery(1, 1, WeatherHost{"127.0.0.1", port});
    q.timeoutMs = 1000;
    Statuses statuses;
    const std::int64_t ms = elapsed([&] { FetchWeather(q, statuses.Sink()); });
    EXPECT_EQ(statuses.seen, (std::vector<std::string>{"", kWeatherConnecting, kWeatherOffline}));
    EXPECT_LT(ms, 1000);
  }
  // The connection is never accepted: opening it gives up at the time-out.
  {
    FixtureServer server("", FixtureServer::Mode::kNoRoom);
    ASSERT_TRUE(server.ok());
    Statuses statuses;
    const std::int64_t ms = elapsed([&] { FetchWeather(QueryFor(server, 1000), statuses.Sink()); });
    EXPECT_EQ(statuses.seen, (std::vector<std::string>{"", kWeatherConnecting, kWeatherOffline}));
    EXPECT_GE(ms, 900);
    EXPECT_LT(ms, 10000);
  }
  // A host name that cannot be looked up.
  {
    WeatherQuery q = MakeWeatherQuery(1, 1, WeatherHost{"no-such-host.invalid", 80});
    q.timeoutMs = 1000;
    EXPECT_EQ(FetchWeather(q).status, kWeatherOffline);
  }
}

bool WaitFinished(const WeatherClient& client, int ms = 20000) {
  for (const std::int64_t end = net::MonotonicMs() + ms; net::MonotonicMs() < end;) {
    if (client.DownloadState() == kWeatherFinished) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST(WeatherClient, OneDownloadAtATime) {
  FixtureServer server("", FixtureServer::Mode::kSilent);
  ASSERT_TRUE(server.ok());
  std::atomic<int> changes{0};
  WeatherClient client([&] { ++changes; });
  EXPECT_EQ(client.DownloadState(), kWeatherNeverStarted);
  EXPECT_TRUE(client.StartWeatherDownload(QueryFor(server, 1000)));
  // "查询" pressed again at once, and while the first still waits.
  EXPECT_FALSE(client.StartWeatherDownload(QueryFor(server, 1000)));
  EXPECT_EQ(client.DownloadState(), kWeatherRunning);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(client.StartWeatherDownload(QueryFor(server, 1000)));
  ASSERT_TRUE(WaitFinished(client));
  EXPECT_EQ(server.requests(), 1);
  EXPECT_EQ(client.View().status, kWeatherUnreadable);
  // Cleared, connecting, receiving, the result, and the end.
  EXPECT_EQ(changes.load(), 5);

  // Once finished, the next one starts.
  FixtureServer page(fixture::FullPage());
  ASSERT_TRUE(page.ok());
  EXPECT_TRUE(client.StartWeatherDownload(QueryFor(page)));
  ASSERT_TRUE(WaitFinished(client));
  EXPECT_EQ(page.requests(), 1);
  const WeatherView v = client.View();
  EXPECT_EQ(v.status, "  北京市区 2008年5月1日 18时00分发布");
  EXPECT_EQ(v.dates[4], "5日");
  EXPECT_EQ(v.Cell(WeatherCellNumber(5, 5)), "雨夹雪");
  EXPECT_EQ(changes.load(), 10);
}

TEST(WeatherClient, TheWindowReadsWhileTheWorkerWrites) {
  FixtureServer server(fixture::FullPage());
  ASSERT_TRUE(server.ok());
  WeatherClient client;
  for (int run = 0; run < 5; ++run) {
    ASSERT_TRUE(client.StartWeatherDownload(QueryFor(server)));
    // What the window thread sees is always one of the views the worker made.
    while (client.DownloadState() != kWeatherFinished) {
      const WeatherView v = client.View();
      const bool known = v.status.empty() || v.status == kWeatherConnecting || v.status == kWeatherReceiving ||
                         v.status == "  北京市区 2008年5月1日 18时00分发布";
      ASSERT_TRUE(known) << v.status;
    }
    EXPECT_EQ(client.View().Cell(1), "多云");
  }
  EXPECT_EQ(server.requests(), 5);
}

TEST(WeatherClient, EndingTheProgramStopsADownload) {
  FixtureServer server("", FixtureServer::Mode::kSilent);
  ASSERT_TRUE(server.ok());
  const std::int64_t start = net::MonotonicMs();
  {
    WeatherClient client;
    ASSERT_TRUE(client.StartWeatherDownload(QueryFor(server, 60000)));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(client.DownloadState(), kWeatherRunning);
  }
  EXPECT_LT(net::MonotonicMs() - start, 5000);
}

}  // namespace
}  // namespace tovani
