// The month window's state and texts, without any Win32: the grid of 37 day
// cells, the month summary, the details of the displayed day, and what the
// lists, buttons and cells do to the displayed date.
#pragma once

#include <array>
#include <string>

#include "engine/calendar_range.h"
#include "engine/sexagenary.h"

namespace tovani::month {

inline constexpr int kCellCount = 37;
inline constexpr const char* kLineBreak = "\r\n";

struct MonthGrid {
  int firstCell = 0, lastCell = 0;          // cells 1..37 holding day 1 and the last day
  std::array<std::string, kCellCount> cells;  // texts of cells 1..37 (index 0 is cell 1)
};

// Which day the week begins with in the grid's first column.
enum class WeekStart { kSunday, kMonday };
// The heading of a column 0..6, and whether the column holds Saturday or Sunday.
const char* WeekdayHeader(int column, WeekStart start);
bool IsWeekendColumn(int column, WeekStart start);

// The grid of a Gregorian month, its weeks from Sunday (or Monday); each cell
// shows a line break, the day of the month, a line break and its second line.
MonthGrid MakeMonthGrid(std::int32_t year, std::int32_t month, CalendarRules rules,
                        WeekStart start = WeekStart::kSunday);
// The second line of a day's cell: a festival, the solar term of the day, the
// month name with its size on a lunar month's first day, or the lunar day.
std::string CellSecondLine(const DayInCalendars& day, CalendarRules rules);
// The solar terms (line 1) and new and full moons (line 2) of a month.
std::string MonthSummary(std::int32_t year, std::int32_t month, CalendarRules rules);
// The details of a day (without the user's records); begins with a line break.
std::string DayDetails(const DayInCalendars& day, YearStart yearStart, double longitude, double latitude,
                       CalendarRules rules);

class MonthModel {
 public:
  MonthModel(const CalendarRange& range, const DayInCalendars& date, WeekStart start = WeekStart::kSunday);

  const DayInCalendars& date() const { return date_; }
  const CalendarRange& range() const { return range_; }
  // The cell of the displayed day.
  int SelectedCell() const;
  int CellOfDay(int day) const;
  const MonthGrid& grid() const { return grid_; }

  // Year list item index (from 0) and month list item index (from 0).
  void ChooseYear(int index);
  void ChooseMonth(int index);
  int YearIndex() const { return date_.gregorian.year - range_.firstYear; }
  int MonthIndex() const { return date_.gregorian.month - 1; }
  // A left click on cell 1..37; false for an empty cell.
  bool ClickCell(int cell);
  // The buttons: a year or a month back or forward (months cross the year
  // boundary), a day back or forward; never beyond the range.
  void StepYear(int direction);
  void StepMonth(int direction);
  void StepDay(int direction);
  // "今日" and the other ways to a date; false outside the range.
  bool GoTo(const CalendarTriple& gregorian);
  void SetRange(const CalendarRange& range);
  void SetWeekStart(WeekStart start);
  WeekStart weekStart() const { return weekStart_; }

 private:
  void SetGregorian(CalendarTriple g);

  CalendarRange range_;
  DayInCalendars date_;
  WeekStart weekStart_;
  MonthGrid grid_;
  int gridYear_ = 0, gridMonth_ = 0;
};

}  // namespace tovani::month
