// The month window of the real tovani.exe, from outside: the switch from and
// back to the day window, its lists, buttons, keys and day cells, the weeks
// from Monday, and the texts in traditional characters.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ui/menu/menu_model.h"
#include "views.h"

namespace tovani::testing_win32 {
namespace {

using month::Button;

class MonthWindow : public ProgramTest {
 protected:
  // Starts the program and switches to the month window.
  HWND StartMonth() {
    HWND day = Start(L"TOVANI_DFORM");
    return day != nullptr ? SwitchTo(day, 3026, L"TOVANI_MFORM") : nullptr;
  }
};

enum class Act { kYear, kMonth, kClickDay, kClickCell, kButton, kMonthKey, kMonthWheel };

struct Step {
  Act act;
  int value;  // a year, month, day, cell or button; a direction for keys and the wheel
  CalendarTriple want;  // month or day 0: not known yet
  // Cells that must be empty ("6:") or show a day ("7:1"), blank-separated.
  const char* cells = "";
};

// The day of month a cell shows, 0 for an empty cell.
int DayInCell(const MonthView& v, int cell) {
  const std::string text = TextOf(v.Cell(cell));
  return text.empty() ? 0 : std::atoi(text.c_str());
}

void ExpectCells(const MonthView& v, const char* cells) {
  for (const char* p = cells; *p != '\0';) {
    char* end = nullptr;
    const long cell = std::strtol(p, &end, 10);
    p = end + 1;  // after the colon
    const long day = *p >= '0' && *p <= '9' ? std::strtol(p, &end, 10) : 0;
    EXPECT_EQ(DayInCell(v, static_cast<int>(cell)), day) << "cell " << cell;
    if (day != 0) p = end;
    while (*p == ' ') ++p;
  }
}

TEST_F(MonthWindow, ShowsTheDayWindowsDateAndFollowsEveryControl) {
  HWND day = Start(L"TOVANI_DFORM");
  ASSERT_NE(day, nullptr);
  const CalendarTriple today = Today();
  const Step steps[] = {
      {Act::kYear, 2000, {2000, 0, 0}},
      {Act::kMonth, 2, {2000, 2, 0}, "1: 2: 3:1 31:29 32:"},
      {Act::kClickDay, 29, {2000, 2, 29}},
      {Act::kYear, 1900, {1900, 2, 28}},
      {Act::kYear, 2000, {2000, 2, 28}},
      {Act::kClickDay, 29, {2000, 2, 29}},
      {Act::kYear, 2004, {2004, 2, 29}},
      {Act::kButton, Button::kPreviousDay, {2004, 2, 28}},
      {Act::kButton, Button::kNextDay, {2004, 2, 29}},
      {Act::kButton, Button::kNextDay, {2004, 3, 1}},
      {Act::kButton, Button::kPreviousMonth, {2004, 2, 1}},
      {Act::kButton, Button::kPreviousYear, {2003, 2, 1}},
      {Act::kButton, Button::kNextYear, {2004, 2, 1}},
      {Act::kButton, Button::kPreviousMonth, {2004, 1, 1}},
      {Act::kButton, Button::kPreviousMonth, {2003, 12, 1}},
      {Act::kButton, Button::kNextMonth, {2004, 1, 1}},
      {Act::kMonthKey, -1, {2003, 12, 1}},
      {Act::kMonthWheel, +1, {2004, 1, 1}},
      {Act::kMonthKey, +1, {2004, 2, 1}},
      // March 2025 begins on a Saturday.
      {Act::kYear, 2025, {2025, 2, 1}},
      {Act::kMonth, 3, {2025, 3, 1}, "1: 6: 7:1 8:2 36:30 37:31"},
      {Act::kClickCell, 6, {2025, 3, 1}},  // empty
      {Act::kClickDay, 31, {2025, 3, 31}},
      // October 1582 runs from the 4th straight on to the 15th.
      {Act::kYear, 1582, {1582, 3, 31}},
      {Act::kMonth, 10, {1582, 10, 31}, "1: 2:1 5:4 6:15 22:31 23:"},
      {Act::kClickCell, 6, {1582, 10, 15}},
      {Act::kButton, Button::kPreviousDay, {1582, 10, 4}},
      {Act::kYear, 1581, {1581, 10, 4}},
      {Act::kClickDay, 10, {1581, 10, 10}},
      {Act::kYear, 1582, {1582, 10, 4}},  // the 10th does not exist in 1582
      {Act::kMonth, 9, {1582, 9, 4}},
      {Act::kClickDay, 12, {1582, 9, 12}},
      {Act::kMonth, 10, {1582, 10, 4}},
      {Act::kButton, Button::kToday, today},
      // The ends of the range hold.
      {Act::kYear, -103, {-103, today.month, 0}},
      {Act::kMonth, 1, {-103, 1, 0}},
      {Act::kClickDay, 1, {-103, 1, 1}},
      {Act::kButton, Button::kPreviousDay, {-103, 1, 1}},
      {Act::kButton, Button::kPreviousMonth, {-103, 1, 1}},
      {Act::kMonthWheel, -1, {-103, 1, 1}},
      {Act::kButton, Button::kPreviousYear, {-103, 1, 1}},
      {Act::kYear, 4103, {4103, 1, 1}},
      {Act::kMonth, 12, {4103, 12, 1}},
      {Act::kClickDay, 31, {4103, 12, 31}},
      {Act::kButton, Button::kNextDay, {4103, 12, 31}},
      {Act::kButton, Button::kNextMonth, {4103, 12, 31}},
      {Act::kMonthKey, +1, {4103, 12, 31}},
      {Act::kButton, Button::kNextYear, {4103, 12, 31}},
  };

  // The month window opens where the day window was.
  SetWindowPos(day, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  HWND hwnd = SwitchTo(day, 3026, L"TOVANI_MFORM");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(WindowsOf(program_->id(), L"TOVANI_DFORM").empty());
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  ExpectControlsInside(hwnd);
  EXPECT_EQ(TextOf(hwnd), "青鹭月历");
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  const MonthView v(hwnd);
  ExpectMonthShows(v, *FromGregorian(today, kHistoricalRules));

  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << ++n);
    switch (s.act) {
      case Act::kYear: ChooseItem(v.years, s.value - FullRange().firstYear); break;
      case Act::kMonth: ChooseItem(v.months, s.value - 1); break;
      case Act::kClickCell: v.ClickCell(s.value); break;
      case Act::kClickDay: {
        int cell = 1;
        while (cell <= month::kCellCount && DayInCell(v, cell) != s.value) ++cell;
        ASSERT_LE(cell, month::kCellCount);
        v.ClickCell(cell);
        break;
      }
      case Act::kButton: Click(v.buttons[s.value]); break;
      case Act::kMonthKey: Key(v.months, s.value < 0 ? VK_UP : VK_DOWN); break;
      case Act::kMonthWheel: Wheel(v.months, s.value); break;
    }
    const CalendarTriple& g = s.want;
    EXPECT_EQ(Send(v.years, CB_GETCURSEL), g.year - FullRange().firstYear);
    if (g.day != 0) {
      ExpectMonthShows(v, *FromGregorian(g, kHistoricalRules), {}, s.cells[0] != '\0');
    } else if (g.month != 0) {
      EXPECT_EQ(Send(v.months, CB_GETCURSEL), g.month - 1);
      EXPECT_EQ(TextOf(v.summary), month::MonthSummary(g.year, g.month, kHistoricalRules));
    }
    ExpectCells(v, s.cells);
    if (HasFailure()) return;  // the next steps build on this one
  }

  // The displayed day's cell is pink, the other days' cells white-blue.
  const auto colourOfDay = [&](int day) {
    int cell = 1;
    while (cell < month::kCellCount && DayInCell(v, cell) != day) ++cell;
    RECT c{};
    GetWindowRect(v.Cell(cell), &c);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, c.left + 4, c.top + 4);
    ReleaseDC(nullptr, screen);
    return colour;
  };
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(WaitUntil(
      [&] { return colourOfDay(31) == RGB(255, 223, 255) && colourOfDay(30) == RGB(240, 255, 255); }, 3000));

  // Back to the day window, where the month window was, on the same day.
  SetWindowPos(hwnd, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  day = SwitchTo(hwnd, 3025, L"TOVANI_DFORM");
  ASSERT_NE(day, nullptr);
  GetWindowRect(day, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 50);
  ExpectDayShows(DayView(day), *FromGregorian({4103, 12, 31}, kHistoricalRules));
  EXPECT_TRUE(CloseAndWait(day));
}

// A day whose records do not fit the details box: the box scrolls, and has a
// scroll bar while (and only while) its text is longer than the box.  The
// next day, 19 June 2025, has no records, festival or term.
TEST_F(MonthWindow, TheDetailsScrollWhenTheRecordsAreLong) {
  SeedSettings({{L"Version", L"4.1"}, {L"ShowCalendarTypeFlag", L"1"},
                {L"MyCountdownDay", L"AD06-18-2025一个很长很长的倒计时"}});
  SeedSettings({{L"06-18", L"AD2000一个很长很长的纪念日"}}, L"SolarMemorial");
  SeedSettings({{L"A", L"AD06-18-2025一个很长很长的提醒日"}}, L"SolarReminded");
  HWND hwnd = StartAt(L"2025-06-18 10:20:00", L"TOVANI_MFORM");
  ASSERT_NE(hwnd, nullptr);
  const MonthView v(hwnd);
  const auto scrolls = [&] { return (GetWindowLongW(v.details, GWL_STYLE) & WS_VSCROLL) != 0; };
  for (const char* title : {"一个很长很长的倒计时", "一个很长很长的提醒日", "一个很长很长的纪念日"}) {
    EXPECT_NE(TextOf(v.details).find(title), std::string::npos) << title;
  }
  EXPECT_TRUE(scrolls());
  Click(v.buttons[Button::kNextDay]);
  EXPECT_EQ(TextOf(v.details).find("一个很长"), std::string::npos);
  EXPECT_FALSE(scrolls());
  Click(v.buttons[Button::kPreviousDay]);
  EXPECT_TRUE(scrolls());
  EXPECT_TRUE(CloseAndWait(hwnd));
}

// 每周从星期一开始 turns the columns: headings, and the days one cell earlier
// (February 2024 begins on a Thursday); again, and they are back.
TEST_F(MonthWindow, TheWeeksFromMondayOption) {
  SeedSettings({{L"Version", L"4.1"}});  // registry use on: no offer to turn it on
  HWND hwnd = StartMonth();
  ASSERT_NE(hwnd, nullptr);
  const MonthView v(hwnd);
  ChooseItem(v.years, 2024 - FullRange().firstYear);
  ChooseItem(v.months, 1);
  const struct {
    const char* first;
    const char* last;
    const char* cells;
  } states[] = {{"星期一", "星期日", "3: 4:1 32:29 33:"}, {"星期日", "星期六", "4: 5:1 33:29 34:"}};
  for (const auto& s : states) {
    Command(hwnd, menu::kOptionMondayFirst);
    EXPECT_EQ(TextOf(GetDlgItem(hwnd, month::kHeaderBase)), s.first);
    EXPECT_EQ(TextOf(GetDlgItem(hwnd, month::kHeaderBase + 6)), s.last);
    ExpectCells(v, s.cells);
  }
  EXPECT_TRUE(CloseAndWait(hwnd));
}

// 繁体中文 shows the month window's texts in traditional characters at once,
// the user's countdown name as stored; the day window it switches to starts
// in them; again, and they are simplified.  The setting is kept.
TEST_F(MonthWindow, TraditionalCharacters) {
  SeedSettings({{L"Version", L"4.1"}, {L"ShowCalendarTypeFlag", L"1"}, {L"MyCountdownDay", L"AD03-20-2024谷雨种树"}});
  HWND month = StartAt(L"2024-03-05 09:00:00", L"TOVANI_MFORM");  // 惊蛰
  ASSERT_NE(month, nullptr);
  const MonthView v(month);
  const HWND label = GetDlgItem(month, month::kLabelId);
  const int cell = month::MakeMonthGrid(2024, 3, kHistoricalRules).firstCell + 4;
  struct Shows {
    HWND control;
    const char* text;
  };
  const Shows traditional[] = {{v.details, "農曆"}, {v.details, "甲辰(龍)年"}, {v.details, "距谷雨种树還有15天"},
                               {v.summary, "驚蟄"}, {v.Cell(cell), "驚蟄"}, {label, "公 曆"}, {month, "青鷺月曆"}};
  const Shows simplified[] = {{v.details, "农历"}, {v.details, "甲辰(龙)年"}, {v.details, "距谷雨种树还有15天"},
                              {v.summary, "惊蛰"}, {v.Cell(cell), "惊蛰"}, {label, "公 历"}, {month, "青鹭月历"}};
  const auto expect = [](const auto& shows, const char* what) {
    for (const Shows& s : shows) EXPECT_NE(TextOf(s.control).find(s.text), std::string::npos) << what << " " << s.text;
  };
  expect(simplified, "at the start");
  Command(month, menu::kOptionTraditional);
  expect(traditional, "month window");
  SaveShot(month, "month-traditional");

  HWND day = SwitchTo(month, menu::kShowDayWindow, L"TOVANI_DFORM");
  ASSERT_NE(day, nullptr);
  const DayView d(day);
  const Shows dayTraditional[] = {{d.line1, "甲辰(龍)年"}, {d.line2, "驚蟄"}};
  const Shows daySimplified[] = {{d.line1, "甲辰(龙)年"}, {d.line2, "惊蛰"}};
  expect(dayTraditional, "day window");
  EXPECT_EQ(ItemOf(d[day::kLunarMonth], 11), "  臘月");  // 2024 has no leap month
  SaveShot(day, "day-traditional");
  Command(day, menu::kOptionTraditional);
  expect(daySimplified, "day window, again");
  EXPECT_EQ(ItemOf(d[day::kLunarMonth], 11), "  腊月");
  Command(day, menu::kOptionTraditional);
  EXPECT_TRUE(CloseAndWait(day));
  EXPECT_EQ(StoredSetting(L"TraditionalCharsFlag"), L"1");
  EXPECT_EQ(StoredSetting(L"MyCountdownDay"), L"AD03-20-2024谷雨种树");
}

}  // namespace
}  // namespace tovani::testing_win32
