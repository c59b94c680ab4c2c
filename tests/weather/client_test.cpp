#include "weather/client.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
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
  std::vector<fixture::Day> three = fixture::FiveDays(), noNight = three, letter = three, unmarked = three;
  three.resize(3);
  noNight[1].night.reset();
  letter[0].day->temperature = "N/A";
  unmarked[0].day->temperatureMarker = false;
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
      {"temperature without its marker", PageOf(unmarked), ok.c_str(),
       {{1, "多云"}, {2, ""}, {3, "无持续风向"}, {4, "微风"}, {6, "最低15℃"}}},
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

// The views a target received, from the worker thread.
class Received {
 public:
  WeatherSink::Target Target() {
    return [this](const WeatherView& v) {
      std::lock_guard lock(mutex_);
      views_.push_back(v);
    };
  }
  std::vector<std::string> Statuses() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> s;
    for (const WeatherView& v : views_) s.push_back(v.status);
    return s;
  }
  WeatherView Last() const {
    std::lock_guard lock(mutex_);
    return views_.empty() ? WeatherView{} : views_.back();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<WeatherView> views_;
};

TEST(WeatherClient, OneDownloadAtATime) {
  FixtureServer server("", FixtureServer::Mode::kSilent);
  ASSERT_TRUE(server.ok());
  WeatherClient client;
  Received window;
  client.sink().SetTarget(window.Target());
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
  EXPECT_EQ(window.Statuses(), Reached(kWeatherUnreadable));

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
  EXPECT_EQ(window.Last(), v);
  EXPECT_EQ(window.Statuses().size(), 8u);
}

// A window that closes during a download, and the windows after it: views
// made while no target is set are dropped, and whichever target is set
// receives the views that follow.
TEST(WeatherClient, ViewsGoToTheTargetOfTheMoment) {
  FixtureServer server(fixture::FullPage(), FixtureServer::Mode::kHeld);
  ASSERT_TRUE(server.ok());
  const std::string ok = "  北京市区 2008年5月1日 18时00分发布";
  WeatherClient client;
  Received first, second, third;
  client.sink().SetTarget(first.Target());
  ASSERT_TRUE(client.StartWeatherDownload(QueryFor(server)));
  // The server holds its answer: the first window closes, the second opens.
  const auto waitFor = [](const std::function<bool()>& done) {
    for (const std::int64_t end = net::MonotonicMs() + 10000; !done() && net::MonotonicMs() < end;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
  };
  ASSERT_TRUE(waitFor([&] { return first.Statuses().size() == 3; }));
  client.sink().ClearTarget();
  EXPECT_FALSE(client.sink().HasTarget());
  client.sink().SetTarget(second.Target());
  server.Release();
  ASSERT_TRUE(WaitFinished(client));
  EXPECT_EQ(first.Statuses(), (std::vector<std::string>{"", kWeatherConnecting, kWeatherReceiving}));
  EXPECT_EQ(second.Statuses(), std::vector<std::string>{ok});
  EXPECT_EQ(second.Last().Cell(1), "多云");

  // A whole download while no window is open reaches nobody; the next
  // window receives the next one.
  client.sink().ClearTarget();
  ASSERT_TRUE(client.StartWeatherDownload(QueryFor(server)));
  ASSERT_TRUE(WaitFinished(client));
  EXPECT_EQ(client.View().status, ok);
  client.sink().SetTarget(third.Target());
  ASSERT_TRUE(client.StartWeatherDownload(QueryFor(server)));
  ASSERT_TRUE(WaitFinished(client));
  EXPECT_EQ(server.requests(), 3);
  EXPECT_EQ(first.Statuses().size(), 3u);
  EXPECT_EQ(second.Statuses().size(), 1u);
  EXPECT_EQ(third.Statuses(), Reached(ok.c_str()));
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
  Received window;
  {
    WeatherClient client;
    client.sink().SetTarget(window.Target());
    ASSERT_TRUE(client.StartWeatherDownload(QueryFor(server, 60000)));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(client.DownloadState(), kWeatherRunning);
  }
  EXPECT_LT(net::MonotonicMs() - start, 5000);
  // The stopped download's last view reached no window.
  EXPECT_EQ(window.Statuses(), (std::vector<std::string>{"", kWeatherConnecting, kWeatherReceiving}));
}

}  // namespace
}  // namespace tovani
