// The controls of the program's two calendar windows, found by their ids, and
// what they must show for a date: the models and texts the program draws
// from, computed here by the engine.
#pragma once

#include <array>
#include <cstdlib>

#include "remote.h"
#include "ui/day/day_frame.h"
#include "ui/day/day_model.h"
#include "ui/common/day_records.h"
#include "ui/month/month_frame.h"
#include "ui/month/month_model.h"

namespace tovani::testing_win32 {

inline const CalendarRange& FullRange() {
  static const CalendarRange range = MakeCalendarRange(-103, 4103, kHistoricalRules);
  return range;
}

// What the windows say of a day's official holiday arrangement (the built-in
// table: the tests add no years unless they say so).
inline HolidayNote NoteOf(const CivilDate& day) {
  static const HolidayCalendar calendar;
  return HolidayNoteOf(calendar, day, Today().year);
}

// The day window's second line as the window shows it.
inline std::string DayLine2(const DayInCalendars& date, DayInfo info, CalendarRules rules = kHistoricalRules) {
  const CurrentPlace place = DefaultPlace();
  const std::string line = day::DayTextLine2(date, info, place.longitude, place.latitude, rules);
  return info == DayInfo::kFestivals ? LineWithHoliday(line, NoteOf(date.gregorian)) : line;
}

// The month window's details of a day, without records.
inline std::string MonthDetails(const DayInCalendars& date, YearStart yearStart,
                                CalendarRules rules = kHistoricalRules) {
  const CurrentPlace place = DefaultPlace();
  return DetailsWithHoliday(month::DayDetails(date, yearStart, place.longitude, place.latitude, rules),
                            NoteOf(date.gregorian));
}

// The options that change what the windows show.
struct ShowOptions {
  YearStart yearStart = YearStart::kStartOfSpring;
  DayInfo info = DayInfo::kFestivals;
  bool dynasty = false;
  CalendarRules rules = kHistoricalRules;
};

struct DayView {
  explicit DayView(HWND w) : window(w) {
    for (int i = 0; i < day::kListCount; ++i) lists[i] = GetDlgItem(w, day::kListBase + i);
    line1 = GetDlgItem(w, day::kTextLine1Id);
    line2 = GetDlgItem(w, day::kTextLine2Id);
  }
  HWND operator[](day::ListId list) const { return lists[list]; }

  // The Gregorian date the three Gregorian lists show.
  CalendarTriple Gregorian() const {
    const ListState day = ListOf(lists[day::kGregorianDay]);
    return {FullRange().firstYear + static_cast<int>(Send(lists[day::kGregorianYear], CB_GETCURSEL)),
            static_cast<int>(Send(lists[day::kGregorianMonth], CB_GETCURSEL)) + 1, std::atoi(day.text.c_str())};
  }

  HWND window;
  std::array<HWND, day::kListCount> lists{};
  HWND line1 = nullptr, line2 = nullptr;
};

// The nine lists hold what the model lists, select its date, and the text
// lines describe that date.
inline void ExpectDayShows(const DayView& v, const day::DayModel& model, const ShowOptions& o = {}) {
  for (int i = 0; i < day::kListCount; ++i) {
    const auto id = static_cast<day::ListId>(i);
    const day::ListContent& want = model.List(id);
    const ListState got = ListOf(v.lists[i]);
    const int selected = model.Selected(id);
    EXPECT_EQ(got.count, static_cast<int>(want.items.size())) << day::ListName(id);
    EXPECT_EQ(got.selected, selected) << day::ListName(id);
    EXPECT_EQ(got.text, selected >= 0 ? want.items[selected] : "") << day::ListName(id);
  }
  EXPECT_EQ(TextOf(v.line1), day::DayTextLine1(model.date(), o.yearStart, o.rules));
  EXPECT_EQ(TextOf(v.line2), DayLine2(model.date(), o.info, o.rules));
}

inline void ExpectDayShows(const DayView& v, const DayInCalendars& date, const ShowOptions& o = {}) {
  ExpectDayShows(v, day::DayModel(FullRange(), date, o.dynasty), o);
}

// The item of a list that stands for a value (year, month or month code,
// day), as the window lists them for the date it shows.
inline int ItemIndexOf(const DayView& v, day::ListId list, int value) {
  const auto shown = FromGregorian(v.Gregorian(), kHistoricalRules);
  if (!shown) return -1;
  const day::DayModel model(FullRange(), *shown, false);
  const auto& values = model.List(list).values;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] == value) return static_cast<int>(i);
  }
  return -1;
}

struct MonthView {
  explicit MonthView(HWND w)
      : window(w),
        years(GetDlgItem(w, month::kYearListId)),
        months(GetDlgItem(w, month::kMonthListId)),
        summary(GetDlgItem(w, month::kSummaryId)),
        details(GetDlgItem(w, month::kDetailsId)) {
    for (int c = 1; c <= month::kCellCount; ++c) cells[c - 1] = GetDlgItem(w, month::kCellBase + c);
    for (int b = 0; b < month::kButtonCount; ++b) buttons[b] = GetDlgItem(w, month::kButtonBase + b);
  }
  HWND Cell(int cell) const { return cells[cell - 1]; }
  // A left click on a day cell (1..37).
  void ClickCell(int cell) const { Send(Cell(cell), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30)); }

  HWND window, years, months, summary, details;
  std::array<HWND, month::kCellCount> cells{};
  std::array<HWND, month::kButtonCount> buttons{};
};

// Lists, summary, details (without records) and, when asked, the 37 cells of
// the date's month.
inline void ExpectMonthShows(const MonthView& v, const DayInCalendars& d, const ShowOptions& o = {},
                             bool cells = true) {
  const CalendarTriple& g = d.gregorian;
  EXPECT_EQ(Send(v.years, CB_GETCURSEL), g.year - FullRange().firstYear);
  EXPECT_EQ(Send(v.months, CB_GETCURSEL), g.month - 1);
  EXPECT_EQ(TextOf(v.summary), month::MonthSummary(g.year, g.month, o.rules));
  EXPECT_EQ(TextOf(v.details), MonthDetails(d, o.yearStart, o.rules));
  if (!cells) return;
  const month::MonthGrid grid = month::MakeMonthGrid(g.year, g.month, o.rules);
  for (int c = 1; c <= month::kCellCount; ++c) {
    const int day = c - grid.firstCell + 1;  // the days of October 1582 carry no marks either way
    const HolidayNote note = day >= 1 && IsValidDate(g.year, g.month, day) ? NoteOf({g.year, g.month, day}) : HolidayNote{};
    EXPECT_EQ(TextOf(v.Cell(c)), CellWithMark(grid.cells[c - 1], note)) << "cell " << c;
  }
}

}  // namespace tovani::testing_win32
