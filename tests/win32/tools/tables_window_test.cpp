// The tables window of the real tovani.exe, opened by its menu commands and
// driven as its user would: the first table at opening, typed years, the
// year steps across the era, page 4's places and times, and Ctrl+Alt+X.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "remote.h"
#include "engine/calendar_range.h"
#include "ui/menu/menu_model.h"
#include "ui/tables/tables_frame.h"
#include "ui/tables/tables_model.h"

namespace tovani::testing_win32 {
namespace {

using namespace tables;

// What the program starts from with no stored settings: today's date.
Opening OpeningToday(int nowCityCode = 1, OwnPlace own = {}) {
  const SYSTEMTIME now = ProgramNow();
  const auto today = FromGregorian({now.wYear, now.wMonth, now.wDay}, kHistoricalRules);
  const CalendarRange range = MakeCalendarRange(-103, 4103, kHistoricalRules);
  Opening o;
  o.firstYear = range.firstYear;
  o.firstLunarYear = range.lunarFirst.year;
  o.year = now.wYear;
  o.lunarYear = today ? today->lunar.year : 0;
  o.nowCityCode = nowCityCode;
  o.ownPlace = std::move(own);
  return o;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0;;) {
    const auto end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

class TablesWindow : public ProgramTest {
 protected:
  // Starts the program (with the settings seeded before, if any).
  bool Launch() {
    main_ = Start(L"TOVANI_DFORM");
    return main_ != nullptr;
  }
  // Opens a page by its menu command (the window is modal: posted).
  HWND Open(int page) {
    PostMessageW(main_, WM_COMMAND, menu::kTableMonths + page - 1, 0);
    return WaitForWindow(*program_, L"TOVANI_TFORM");
  }
  void CloseTables(HWND w) {
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 5000));
  }
  // A key pressed in a control, through the window's message loop.
  static void PressKey(HWND control, UINT vk) {
    PostMessageW(control, WM_KEYDOWN, vk, 1);
    PostMessageW(control, WM_KEYUP, vk, 0xC0000001);
  }
  HWND Item(HWND w, int id) const { return GetDlgItem(w, id); }
  std::string Result(HWND w) { return TextOf(Item(w, kResult)); }
  bool Ticked(HWND w) { return Send(Item(w, kBeforeEra), BM_GETCHECK) == BST_CHECKED; }
  // The user types a year (and ticks or unticks "纪元前").
  void TypeYear(HWND w, const YearField& field) {
    Send(Item(w, kYearField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(field.text).c_str()));
    Notify(Item(w, kYearField), EN_CHANGE);
    if (Ticked(w) != field.beforeEra) Send(Item(w, kBeforeEra), BM_CLICK);
  }

  HWND main_ = nullptr;
};

// Each page opens on the displayed year with its table shown, computes a
// typed year by "计算" and by Enter, and closes by Esc.
TEST_F(TablesWindow, EachPageShowsTheDisplayedYearAndComputesATypedOne) {
  ASSERT_TRUE(Launch());
  struct Page {
    int page;
    const char* caption;
    const char* label;
    YearField typed;
  };
  const Page pages[] = {{kLunarMonths, "计算农历月", "农历年份", {"2023", false}},
                        {kSolarTerms, "计算节气日", "公历年份", {"949", false}},
                        {kMoons, "计算朔望日", "公历年份", {"100", true}},
                        {kSunTimes, "计算太阳升降时刻", "公历年份", {"1582", false}}};
  for (const Page& p : pages) {
    SCOPED_TRACE(p.page);
    HWND w = Open(p.page);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(main_); }, 5000));  // modal
    EXPECT_EQ(TextOf(w), p.caption);
    EXPECT_EQ(TextOf(Item(w, kYearLabel)), p.label);
    EXPECT_EQ(Item(w, kCityList) != nullptr, p.page == kSunTimes);
    EXPECT_EQ(Item(w, kDawnDusk) != nullptr, p.page == kSunTimes);
    const LONG box = GetWindowLongW(Item(w, kResult), GWL_STYLE);
    EXPECT_EQ(box & (ES_READONLY | ES_MULTILINE | WS_VSCROLL), ES_READONLY | ES_MULTILINE | WS_VSCROLL);

    TablesForm form(p.page, OpeningToday());
    EXPECT_EQ(TextOf(Item(w, kYearField)), form.field.text);
    EXPECT_EQ(Ticked(w), form.field.beforeEra);
    EXPECT_EQ(Result(w), form.Compute().value_or("<none>"));

    TypeYear(w, p.typed);
    EXPECT_EQ(Result(w), "");  // a changed field empties the box
    Click(Item(w, kCompute));
    form.field = p.typed;
    const std::string typed = form.Compute().value_or("<none>");
    EXPECT_EQ(Result(w), typed);
    Send(Item(w, kBeforeEra), BM_CLICK);
    EXPECT_EQ(Result(w), "");  // so does the box
    Send(Item(w, kBeforeEra), BM_CLICK);
    PressKey(Item(w, kResult), VK_RETURN);  // Enter in the box runs "计算"
    EXPECT_TRUE(WaitUntil([&] { return Result(w) == typed; }, 5000));
    PressKey(Item(w, kResult), VK_ESCAPE);  // and Esc closes
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 5000));
  }
}

// With modern astronomy chosen in the menu the lunar months and the moons are
// those of its rules (they differ from the historical ones in 1914).
TEST_F(TablesWindow, TheTablesFollowTheChosenRules) {
  ASSERT_TRUE(Launch());
  AnswerQuestions(IDNO);  // an option changed while registry use is off
  Command(main_, menu::kOptionModernAncient);
  for (int page : {kLunarMonths, kMoons}) {
    SCOPED_TRACE(page);
    HWND w = Open(page);
    ASSERT_NE(w, nullptr);
    TypeYear(w, {"1914", false});
    Click(Item(w, kCompute));
    Opening opening = OpeningToday();
    opening.rules = kModernRules;
    TablesForm modern(page, opening), historical(page, OpeningToday());
    modern.field = historical.field = {"1914", false};
    EXPECT_EQ(Result(w), modern.Compute().value_or("<none>"));
    EXPECT_NE(Result(w), historical.Compute().value_or("<none>"));
    SaveShot(w, page == kLunarMonths ? "tables-modern-months" : "tables-modern-moons");
    CloseTables(w);
  }
}

// "上一年" and "下一年" across the era and at the ends; a year with other
// characters than digits empties the field and computes nothing.
TEST_F(TablesWindow, YearStepsAndBadYears) {
  ASSERT_TRUE(Launch());
  struct Case {
    YearField before;
    int button;
    YearField after;
    std::optional<std::int32_t> computed;  // the year of the table shown
  };
  const Case cases[] = {
      {{"1", true}, kNextYear, {"1", false}, 1},
      {{"1", false}, kPreviousYear, {"1", true}, 0},
      {{"2", true}, kNextYear, {"1", true}, 0},
      {{"104", true}, kPreviousYear, {"104", true}, {}},  // the first year
      {{"4999", false}, kNextYear, {"5000", false}, 5000},
      {{"5000", false}, kNextYear, {"5000", false}, {}},
      {{"19a4", false}, kCompute, {"", false}, {}},
      {{"105", true}, kCompute, {"105", true}, {}},  // before the first year
      {{"", false}, kNextYear, {"", false}, {}},
  };
  HWND w = Open(kMoons);
  ASSERT_NE(w, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before.text + (c.before.beforeEra ? " before the era, " : ", ") + std::to_string(c.button));
    TypeYear(w, c.before);
    Click(Item(w, c.button));
    EXPECT_EQ(TextOf(Item(w, kYearField)), c.after.text);
    EXPECT_EQ(Ticked(w), c.after.beforeEra);
    EXPECT_EQ(Result(w), c.computed ? MoonsTable(*c.computed, kHistoricalRules) : "");
  }
  CloseTables(w);
}

// Page 4: the cities and the own place, the current one chosen at opening;
// another city and dawn and dusk for the computation only; a leap year's 366
// days in the box.
TEST_F(TablesWindow, SunTimesAtAnotherPlace) {
  const OwnPlace own{"老家", -118.1667, 30.1333};
  SeedSettings({{L"Version", L"4.1"}, {L"MyCityName", L"老家"}, {L"MyCityLongitude", L"-118.1667"},
                {L"MyCityLatitude", L"30.1333"}, {L"NowCityCode", L"44"}});
  ASSERT_TRUE(Launch());
  HWND w = Open(kSunTimes);
  ASSERT_NE(w, nullptr);
  TablesForm form(kSunTimes, OpeningToday(44, own));
  const ListState cities = ListOf(Item(w, kCityList));
  EXPECT_EQ(cities.count, 44);
  EXPECT_EQ(cities.selected, 43);
  EXPECT_EQ(cities.text, "老家");
  EXPECT_EQ(ItemOf(Item(w, kCityList), 20), "乌鲁木齐");
  EXPECT_EQ(Send(Item(w, kSunriseSunset), BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(Result(w), form.Compute().value_or("<none>"));

  ChooseItem(Item(w, kCityList), 20);
  EXPECT_EQ(Result(w), "");
  Click(Item(w, kCompute));
  YearField shown = form.field;
  const std::string urumqi = SunTimesTable(ReadYear(shown, -103).value_or(0), "乌鲁木齐", -87.6167, 43.8167, false);
  EXPECT_EQ(Result(w), urumqi);
  Send(Item(w, kDawnDusk), BM_CLICK);
  EXPECT_EQ(Send(Item(w, kSunriseSunset), BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(Result(w), "");
  TypeYear(w, {"2024", false});
  Click(Item(w, kCompute));
  const std::string leap = Result(w);
  EXPECT_EQ(leap, SunTimesTable(2024, "乌鲁木齐", -87.6167, 43.8167, true));
  const auto lines = Lines(leap);
  ASSERT_EQ(lines.size(), 367u);
  EXPECT_EQ(lines[0], "    公历 2024 年 乌鲁木齐 天亮天黑时刻");
  EXPECT_EQ(lines[366].substr(0, 14), "12-31 天亮时刻");
  EXPECT_EQ(Send(Item(w, kResult), EM_GETLINECOUNT), 367);
  CloseTables(w);

  // The user's place is still the own one.
  w = Open(kSunTimes);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(ListOf(Item(w, kCityList)).selected, 43);
  EXPECT_EQ(Result(w), form.Compute().value_or("<none>"));
  CloseTables(w);
  EXPECT_TRUE(CloseAndWait(main_));
  EXPECT_EQ(StoredSetting(L"NowCityCode"), L"44");
}

// Ctrl+Alt+X closes the tables window and leaves the main window open.
TEST_F(TablesWindow, CloseHotKey) {
  ASSERT_TRUE(Launch());
  HWND w = Open(kSolarTerms);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(main_); }, 5000));
  PostMessageW(main_, WM_HOTKEY, 45060, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'X'));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 10000));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 5000));
  EXPECT_TRUE(IsWindowVisible(main_));
  EXPECT_EQ(WindowsOf(program_->id(), L"TOVANI_TFORM").size(), 0u);
}

// How long page 4 takes for a year, from "计算" to the box filled (printed).
TEST_F(TablesWindow, SunTimesComputationTime) {
  ASSERT_TRUE(Launch());
  HWND w = Open(kSunTimes);
  ASSERT_NE(w, nullptr);
  std::vector<double> ms;
  LARGE_INTEGER frequency{}, start{}, end{};
  QueryPerformanceFrequency(&frequency);
  for (int i = 0; i < 9; ++i) {
    TypeYear(w, {std::to_string(2000 + i), false});
    QueryPerformanceCounter(&start);
    Click(Item(w, kCompute));  // sent: returns when the box is filled
    QueryPerformanceCounter(&end);
    ASSERT_EQ(Lines(Result(w)).size(), 1u + (i % 4 == 0 ? 366 : 365));
    ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
  }
  std::sort(ms.begin(), ms.end());
  std::printf("tables page 4, one year at a place: median %.1f ms (min %.1f, max %.1f, %zu runs)\n",
              ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
  CloseTables(w);
}

}  // namespace
}  // namespace tovani::testing_win32
