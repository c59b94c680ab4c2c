// The weather window of the real tovani.exe, pointed by the WeatherHost
// setting at a weather server that this test runs on 127.0.0.1: the lists
// from the current place, the grid and the status line of a query, "查询"
// while one runs, closing during a download and opening again, one window at
// a time, and the window across a switch of the main window and beside an
// open tool window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "remote.h"
#include "ui/menu/menu_model.h"
#include "framework/traditional.h"
#include "ui/weather/weather_frame.h"
#include "weather/page.h"

// The weather server of the client's own tests, built into this one.
#include "tests/weather/fixture_pages.cpp"
#include "tests/weather/fixture_server.cpp"

namespace tovani::testing_win32 {
namespace {

using namespace weather;
using fixture::FixtureServer;

constexpr const char* kReceiving = "  正在接收天气信息 ......";

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// What the window shows of the standard page for a place.
WeatherView Expected(const char* province, const char* city) {
  return ForecastView(*ScrapeForecast(Utf8ToGbk(fixture::FullPage())), province, city);
}

class WeatherWindowTest : public ProgramTest {
 protected:
  // Starts the program with its weather at the server and the current place
  // of the city table row.
  bool Launch(std::uint16_t port, int cityRow = 32) {
    SeedSettings({{L"Version", L"4.1"},
                  {L"WeatherHost", L"127.0.0.1:" + std::to_wstring(port)},
                  {L"NowCityCode", std::to_wstring(cityRow)}});
    main_ = Start(L"TOVANI_DFORM");
    return main_ != nullptr;
  }
  // The menu command (posted, as a menu choice is), then the window.
  HWND Open(HWND main = nullptr) {
    PostMessageW(main != nullptr ? main : main_, WM_COMMAND, menu::kWeather, 0);
    return WaitForWindow(*program_, L"TOVANI_WFORM");
  }
  void CloseWeather(HWND w) {
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 10000));
  }
  static HWND Item(HWND w, int id) { return GetDlgItem(w, id); }
  static std::string Status(HWND w) { return TextOf(Item(w, kStatus)); }
  static bool ShowsStatus(HWND w, const std::string& text) {
    return WaitUntil([&] { return Status(w) == text; }, 15000);
  }
  // "查询" until the server has one more request (the previous download may
  // be finishing its last step when the first click comes).
  static bool QueryOnce(HWND w, const FixtureServer& server) {
    const int before = server.requests();
    for (int i = 0; i < 50; ++i) {
      Click(Item(w, kQuery));
      if (WaitUntil([&] { return server.requests() > before; }, 200)) return server.requests() == before + 1;
    }
    return false;
  }
  // Every date and value cell and the status line against the view.
  static void ExpectShows(HWND w, const WeatherView& v) {
    EXPECT_EQ(Status(w), v.status);
    for (int d = 0; d < kForecastDays; ++d) EXPECT_EQ(TextOf(Item(w, kDateBase + d)), v.dates[d]) << "day " << d + 1;
    for (int n = 1; n <= kForecastCells; ++n) EXPECT_EQ(TextOf(Item(w, CellId(n))), v.Cell(n)) << "cell " << n;
  }
  // A key pressed in a control, through the program's message loop; returns
  // once the loop has handled it (a margin posted after it has been set).
  static void PressKey(HWND w, HWND control, UINT vk) {
    PostMessageW(control, WM_KEYDOWN, vk, 1);
    PostMessageW(control, WM_KEYUP, vk, 0xC0000001);
    if (vk == VK_ESCAPE) return;  // the window goes
    HWND marker = Item(w, kStatus);
    const LRESULT margins = Send(marker, EM_GETMARGINS);
    PostMessageW(marker, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(7, 0));
    EXPECT_TRUE(WaitUntil([&] { return LOWORD(Send(marker, EM_GETMARGINS)) == 7; }, 10000));
    Send(marker, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, margins);
  }
  bool Responds(HWND h) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
  }

  HWND main_ = nullptr;
};

// The lists come from the current place (宁波: 浙江, its fourth city); a
// query shows its progress and then the forecast under the right days and
// halves; "查询" and Enter while it runs send no second request; another
// province and city are queried by their own code.
TEST_F(WeatherWindowTest, QueryFillsTheGridAndTheStatusLine) {
  FixtureServer server(fixture::FullPage(), FixtureServer::Mode::kHeld);
  ASSERT_TRUE(server.ok());
  ASSERT_TRUE(Launch(server.port()));
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(TextOf(w), kCaption);
  EXPECT_TRUE(IsWindowEnabled(main_));  // not modal
  EXPECT_EQ(GetWindow(w, GW_OWNER), main_);  // so that it stays above the calendar window

  const ListState provinces = ListOf(Item(w, kProvinceList));
  EXPECT_EQ(provinces.count, 31);
  EXPECT_EQ(provinces.selected, 25);
  EXPECT_EQ(provinces.text, "浙江");
  const ListState cities = ListOf(Item(w, kCityList));
  EXPECT_EQ(cities.count, 11);
  EXPECT_EQ(cities.selected, 3);
  EXPECT_EQ(cities.text, "宁波");
  const char* rows[] = {"日期", "天气", "温度", "风向", "风力"};
  for (int r = 0; r < 5; ++r) EXPECT_EQ(TextOf(Item(w, kRowCaptionBase + r)), rows[r]);
  for (int c = 0; c < kGridColumns; ++c) EXPECT_EQ(TextOf(Item(w, kHalfCaptionBase + c)), c % 2 ? "夜间" : "白天");
  ExpectShows(w, WeatherView{});
  EXPECT_EQ(Send(Item(w, kStatus), EM_GETLIMITTEXT), 0x7FFFFFFE);

  Click(Item(w, kQuery));
  ASSERT_TRUE(ShowsStatus(w, kReceiving));
  ASSERT_TRUE(WaitUntil([&] { return server.requests() == 1; }, 5000));
  // Again while the server holds its answer: by the button and by Enter.
  Click(Item(w, kQuery));
  PressKey(w, Item(w, CellId(3)), VK_RETURN);
  Click(Item(w, kQuery));
  EXPECT_EQ(Status(w), kReceiving);
  server.Release();
  ASSERT_TRUE(ShowsStatus(w, "  浙江宁波 2008年5月1日 18时00分发布"));
  ExpectShows(w, Expected("浙江", "宁波"));
  EXPECT_EQ(TextOf(Item(w, CellId(WeatherCellNumber(1, 1)))), "多云");
  EXPECT_EQ(TextOf(Item(w, CellId(WeatherCellNumber(2, 6)))), "最低-3℃");
  EXPECT_EQ(TextOf(Item(w, kDateBase + 4)), "5日");
  EXPECT_EQ(server.requests(), 1);
  EXPECT_NE(server.lastRequest().find("/weather/101210401.shtml"), std::string::npos);

  // Another province: its cities, the first chosen; then a city of it.
  ChooseItem(Item(w, kProvinceList), 3);
  const ListState chongqing = ListOf(Item(w, kCityList));
  EXPECT_EQ(chongqing.count, 34);
  EXPECT_EQ(chongqing.selected, 0);
  EXPECT_EQ(chongqing.text, "市区");
  ChooseItem(Item(w, kCityList), 33);
  // Enter runs the query too.
  PressKey(w, Item(w, kCityList), VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return server.requests() == 2; }, 5000));
  ASSERT_TRUE(ShowsStatus(w, "  重庆秀山 2008年5月1日 18时00分发布"));
  EXPECT_NE(server.lastRequest().find("/weather/101043600.shtml"), std::string::npos);

  // Esc closes it (the main window's loop serves its keys).
  PressKey(w, Item(w, kCityList), VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 5000));
  EXPECT_TRUE(IsWindowVisible(main_));
  EXPECT_TRUE(CloseAndWait(main_));
}

// The download goes on when its window closes: a window opened while it runs
// shows it and receives its forecast; a download whose window has closed
// reaches no window, and the next window receives the next one.
TEST_F(WeatherWindowTest, ClosingDuringADownloadAndOpeningAgain) {
  FixtureServer server(fixture::FullPage(), FixtureServer::Mode::kHeld);
  ASSERT_TRUE(server.ok());
  ASSERT_TRUE(Launch(server.port()));
  const std::string forecast = "  浙江宁波 2008年5月1日 18时00分发布";

  HWND first = Open();
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(QueryOnce(first, server));
  ASSERT_TRUE(ShowsStatus(first, kReceiving));
  CloseWeather(first);
  HWND second = Open();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Status(second), kReceiving);
  server.Release();
  ASSERT_TRUE(ShowsStatus(second, forecast));
  ExpectShows(second, Expected("浙江", "宁波"));

  // Closed during the second download, which then ends with no window.
  server.Hold();
  ASSERT_TRUE(QueryOnce(second, server));
  ASSERT_TRUE(ShowsStatus(second, kReceiving));
  CloseWeather(second);
  server.Release();
  ASSERT_TRUE(WaitUntil([&] { return server.answers() == 2; }, 10000));
  Sleep(500);  // the page read and the download ended
  EXPECT_TRUE(Responds(main_));
  HWND third = Open();
  ASSERT_NE(third, nullptr);
  ExpectShows(third, WeatherView{});
  ASSERT_TRUE(QueryOnce(third, server));
  ASSERT_TRUE(ShowsStatus(third, forecast));
  ExpectShows(third, Expected("浙江", "宁波"));
  EXPECT_EQ(server.requests(), 3);
  EXPECT_TRUE(CloseAndWait(main_));
}

// The menu command and the hot key bring up the open window, never a second
// one; the window stays open across a switch to the month window, whose
// command finds it.
TEST_F(WeatherWindowTest, OneWindowAtATime) {
  FixtureServer server(fixture::FullPage());
  ASSERT_TRUE(server.ok());
  ASSERT_TRUE(Launch(server.port()));
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  // Sent, so that each has been handled before the next step (a sent
  // message overtakes posted ones, so an answer to one would not say that
  // posted commands were handled).
  Send(main_, WM_COMMAND, menu::kWeather);
  Send(main_, WM_HOTKEY, 45058, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'W'));
  Send(main_, WM_COMMAND, menu::kWeather);
  EXPECT_EQ(WindowsOf(program_->id(), L"TOVANI_WFORM"), std::vector<HWND>{w});
  // Minimised, it comes back.
  Send(w, WM_SYSCOMMAND, SC_MINIMIZE);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(w) != FALSE; }, 5000));
  PostMessageW(main_, WM_HOTKEY, 45058, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'W'));
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(w); }, 5000));

  HWND month = SwitchTo(main_, menu::kShowMonthWindow, L"TOVANI_MFORM");
  ASSERT_NE(month, nullptr);
  main_ = month;
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(Open(month), w);
  EXPECT_EQ(WindowsOf(program_->id(), L"TOVANI_WFORM"), std::vector<HWND>{w});
  // It still queries, and its keys still work under the new main window.
  ASSERT_TRUE(QueryOnce(w, server));
  ASSERT_TRUE(ShowsStatus(w, "  浙江宁波 2008年5月1日 18时00分发布"));
  PressKey(w, Item(w, kQuery), VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 5000));
  w = Open(month);
  ASSERT_NE(w, nullptr);
  // While a tool window's loop runs the messages, its keys work too.
  PostMessageW(month, WM_COMMAND, menu::kCalcJulianDay, 0);
  HWND tool = WaitForWindow(*program_, L"TOVANI_JFORM");
  ASSERT_NE(tool, nullptr);
  PressKey(w, Item(w, kQuery), VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 5000));
  EXPECT_TRUE(IsWindow(tool));
  PostMessageW(tool, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(tool); }, 5000));
  // Ctrl+Alt+X with the weather window alone open closes it; the next one
  // ends the program.
  w = Open(month);
  ASSERT_NE(w, nullptr);
  PostMessageW(month, WM_HOTKEY, 45060, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'X'));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 5000));
  EXPECT_TRUE(IsWindow(month));
  PostMessageW(month, WM_HOTKEY, 45060, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'X'));
  EXPECT_EQ(program_->WaitForExit(20000), 0u);
}

// 繁体中文, chosen in the calendar window while the weather window is open,
// shows the weather window's texts in traditional characters at once: its
// caption, captions, button, lists and forecast; again, and they are back.
TEST_F(WeatherWindowTest, TraditionalCharactersAtOnce) {
  FixtureServer server(fixture::FullPage(), FixtureServer::Mode::kAnswer);
  ASSERT_TRUE(server.ok());
  ASSERT_TRUE(Launch(server.port()));
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  Click(Item(w, kQuery));
  ASSERT_TRUE(ShowsStatus(w, "  浙江宁波 2008年5月1日 18时00分发布"));
  const WeatherView view = Expected("浙江", "宁波");
  struct Case {
    bool traditional;
    const char *caption, *row, *half, *button, *city, *status;
  } cases[] = {
      {true, "查詢天氣預報", "溫度", "夜間", "查詢", "寧波", "  浙江寧波 2008年5月1日 18時00分發布"},
      {false, "查询天气预报", "温度", "夜间", "查询", "宁波", "  浙江宁波 2008年5月1日 18时00分发布"},
  };
  for (const Case& c : cases) {
    Send(main_, WM_COMMAND, menu::kOptionTraditional);
    EXPECT_EQ(TextOf(w), c.caption);
    EXPECT_EQ(TextOf(Item(w, kRowCaptionBase + 2)), c.row);
    EXPECT_EQ(TextOf(Item(w, kHalfCaptionBase + 1)), c.half);
    EXPECT_EQ(TextOf(Item(w, kQuery)), c.button);
    EXPECT_EQ(ListOf(Item(w, kCityList)).text, c.city);
    EXPECT_EQ(Status(w), c.status);
    for (int n = 1; n <= kForecastCells; ++n) {
      EXPECT_EQ(TextOf(Item(w, CellId(n))), c.traditional ? ToTraditional(view.Cell(n)) : view.Cell(n)) << n;
    }
  }
  EXPECT_TRUE(CloseAndWait(main_));
}

// What the status line says when there is no forecast to show.
TEST_F(WeatherWindowTest, StatusLineWithoutAForecast) {
  std::uint16_t silentPort;
  {
    FixtureServer gone("");
    silentPort = gone.port();
  }
  FixtureServer badDate(fixture::Page(fixture::DateLine(u8"2008年2月30日"), fixture::FiveDays()));
  ASSERT_TRUE(badDate.ok());
  const struct {
    std::uint16_t port;
    const char* status;
  } cases[] = {
      {silentPort, "  网络断开！！！"},
      {badDate.port(), "  无法接收天气信息！！！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.status);
    ASSERT_TRUE(Launch(c.port, 1));
    HWND w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(ListOf(Item(w, kProvinceList)).text, "北京");
    EXPECT_EQ(ListOf(Item(w, kCityList)).text, "市区");
    Click(Item(w, kQuery));
    ASSERT_TRUE(ShowsStatus(w, c.status));
    ExpectShows(w, WeatherView{c.status, {}, {}});
    EXPECT_TRUE(CloseAndWait(main_));
    program_.reset();
  }
}

// How long the window takes to open, and a query to fill it from a server
// on this machine (printed).
TEST_F(WeatherWindowTest, OpeningAndQueryTimes) {
  FixtureServer server(fixture::FullPage());
  ASSERT_TRUE(server.ok());
  ASSERT_TRUE(Launch(server.port()));
  std::vector<double> opens, queries;
  for (int i = 0; i < 7; ++i) {
    const LARGE_INTEGER start = Now();
    HWND w = Open();
    ASSERT_NE(w, nullptr);
    opens.push_back(MsSince(start));
    const LARGE_INTEGER query = Now();
    ASSERT_TRUE(QueryOnce(w, server));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(Item(w, CellId(kForecastCells))) == "3-4级"; }, 15000));
    queries.push_back(MsSince(query));
    CloseWeather(w);
  }
  std::printf("[ measure  ] weather window, menu command to the window shown: median %.1f ms (7 openings)\n",
              Median(opens));
  std::printf("[ measure  ] weather window, query button to the grid filled from 127.0.0.1: median %.1f ms (7 queries)\n",
              Median(queries));
  EXPECT_TRUE(CloseAndWait(main_));
}

}  // namespace
}  // namespace tovani::testing_win32
