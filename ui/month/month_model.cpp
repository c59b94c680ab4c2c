#include "ui/month/month_model.h"

#include <algorithm>
#include <cmath>

#include "engine/date_text.h"
#include "engine/era_names.h"
#include "engine/events.h"
#include "engine/festivals.h"
#include "engine/lunar_calendar.h"
#include "engine/sexagenary.h"
#include "engine/sun_times.h"
#include "ui/common/list_texts.h"
#include "ui/month/month_frame.h"

namespace tovani::month {
namespace {

// "4日16:27:02" of an instant.
std::string DayAndTime(LocalInstant t) {
  const std::string text = DateTimeText(t);
  const auto d = DayNumberToDate(static_cast<DayNumber>(std::floor(t)));
  if (text.empty() || !d) return {};
  return std::to_string(d->day) + "日" + text.substr(13);
}

}  // namespace

std::string CellSecondLine(const DayInCalendars& day, CalendarRules rules) {
  const CalendarTriple& g = day.gregorian;
  const CalendarTriple& l = day.lunar;
  std::string text = LunarFestivalText(l.year, l.month, l.day, rules);
  if (!text.empty()) return text;
  text = GregorianFestivalText(g.year, g.month, g.day, FestivalList::kMain);
  if (!text.empty()) return text;
  const std::string note = NextSolarTermNote(g.year, g.month, g.day, rules);
  const std::string today = "今日";
  if (note.compare(0, today.size(), today) == 0) {
    const auto blank = note.find(' ');
    return note.substr(today.size(), blank == std::string::npos ? std::string::npos : blank - today.size());
  }
  if (l.day == 1) {
    const int length = LunarMonthLength(l.year, l.month, rules);
    return std::string(l.month > 12 ? "闰" : "") + LunarMonthBaseName((l.month - 1) % 12 + 1) +
           (length == 30 ? "大" : "小");
  }
  return LunarDayName(l.day);
}

const char* WeekdayHeader(int column, WeekStart start) {
  return kWeekdayHeaders[(column + (start == WeekStart::kMonday ? 1 : 0)) % 7];
}

bool IsWeekendColumn(int column, WeekStart start) {
  return start == WeekStart::kMonday ? column >= 5 : column == 0 || column == 6;
}

MonthGrid MakeMonthGrid(std::int32_t year, std::int32_t month, CalendarRules rules, WeekStart start) {
  MonthGrid grid;
  const DayNumber d1 = DateToDayNumber(year, month, 1);
  if (d1 == InvalidDayNumber) return grid;
  // Day number 0 is a Monday.
  int offset = (d1 + (start == WeekStart::kMonday ? 0 : 1)) % 7;
  if (offset < 0) offset += 7;
  grid.firstCell = offset + 1;
  grid.lastCell = grid.firstCell + DaysInMonth(year, month) - 1;
  for (int cell = grid.firstCell; cell <= grid.lastCell; ++cell) {
    const auto day = FromDayNumber(d1 + (cell - grid.firstCell), rules);
    if (!day) continue;
    grid.cells[cell - 1] = std::string(kLineBreak) + std::to_string(day->gregorian.day) + kLineBreak +
                           CellSecondLine(*day, rules);
  }
  return grid;
}

std::string MonthSummary(std::int32_t year, std::int32_t month, CalendarRules rules) {
  const DayNumber first = DateToDayNumber(year, month, 1);
  if (first == InvalidDayNumber) return {};
  const DayNumber last = first + DaysInMonth(year, month) - 1;
  std::string terms, moons;
  for (const CalendarEvent& e : EventsInRange(first, last, rules)) {
    std::string& line = e.kind == EventKind::kTerm ? terms : moons;
    if (!line.empty()) line += " ";
    line += DayAndTime(e.instant);
    if (e.kind == EventKind::kTerm) {
      line += SolarTermName(e.term);
    } else {
      line += e.kind == EventKind::kNewMoon ? "朔" : "望";
    }
  }
  return terms + kLineBreak + moons;
}

std::string DayDetails(const DayInCalendars& day, YearStart yearStart, double longitude, double latitude,
                       CalendarRules rules) {
  const CalendarTriple& g = day.gregorian;
  const CalendarTriple& l = day.lunar;
  const CalendarTriple& h = day.hijri;
  const int length = LunarMonthLength(l.year, l.month, rules);
  const std::string monthName = LunarMonthBaseName((l.month - 1) % 12 + 1);
  std::string lunar = "农历 " + TrimBlanks(EraYearText(l.year)) + "年" + " " +
                      (l.month > 12 ? " 闰" + monthName : monthName) + (length == 30 ? "大" : "小") +
                      LunarDayName(l.day) + " " + SexagenaryText(g.year, g.month, g.day, yearStart, rules);

  std::string hijri = "回历 " + (h.year >= 1 ? std::to_string(h.year) : "前" + std::to_string(1 - h.year)) + "年" +
                      std::to_string(h.month) + "月" + std::to_string(h.day) + "日" + " " +
                      ZodiacSignName(g.year, g.month, g.day);
  for (const std::string& period :
       {NineNinesText(g.year, g.month, g.day, rules), DogDaysText(g.year, g.month, g.day, rules), PlumRainText(g.year, g.month, g.day, rules)}) {
    if (!period.empty()) hijri += " " + period;
  }

  const DayNumber z = DateToDayNumber(g);
  const auto at = [&](SunEventKind kind) { return SunEventTime(z, longitude, latitude, TimeZoneHours, kind); };
  const std::string sun =
      at(kDawn) + "天亮" + " " + at(kSunrise) + "日出" + " " + at(kSunset) + "日落" + " " + at(kDusk) + "天黑";

  std::string festivals;
  for (const std::string& f : {LunarFestivalText(l.year, l.month, l.day, rules),
                               GregorianFestivalText(g.year, g.month, g.day, FestivalList::kFull)}) {
    if (!f.empty()) festivals += " " + f;
  }
  std::string text = std::string(kLineBreak) + lunar + kLineBreak + hijri + kLineBreak + sun;
  if (!festivals.empty()) text += kLineBreak + festivals;
  return text;
}

MonthModel::MonthModel(const CalendarRange& range, const DayInCalendars& date, WeekStart start)
    : range_(range), date_(date), weekStart_(start) {
  SetGregorian(date.gregorian);
}

int MonthModel::CellOfDay(int day) const {
  const CalendarTriple& g = date_.gregorian;
  const DayNumber z = DateToDayNumber(g.year, g.month, day);
  if (z == InvalidDayNumber) return 0;
  return grid_.firstCell + (z - DateToDayNumber(g.year, g.month, 1));
}

int MonthModel::SelectedCell() const { return CellOfDay(date_.gregorian.day); }

void MonthModel::SetGregorian(CalendarTriple g) {
  const DayNumber z = DateToDayNumber(g);
  if (z == InvalidDayNumber || z < range_.firstDay || z > range_.lastDay) return;
  const auto day = FromGregorian(g, range_.rules);
  if (!day) return;
  date_ = *day;
  if (g.year != gridYear_ || g.month != gridMonth_) {
    grid_ = MakeMonthGrid(g.year, g.month, range_.rules, weekStart_);
    gridYear_ = g.year;
    gridMonth_ = g.month;
  }
}

void MonthModel::ChooseYear(int index) {
  CalendarTriple g = date_.gregorian;
  g.year = range_.firstYear + index;
  if (g.year < range_.firstYear || g.year > range_.lastYear) return;
  if (g.month == 2 && g.day == 29 && !IsLeapYear(g.year)) g.day = 28;
  if (g.year == 1582 && g.month == 10 && g.day >= 5 && g.day <= 14) g.day = 4;
  SetGregorian(g);
}

void MonthModel::ChooseMonth(int index) {
  if (index < 0 || index > 11) return;
  CalendarTriple g = date_.gregorian;
  g.month = index + 1;
  g.day = std::min(g.day, LastDayOfMonth(g.year, g.month));
  if (g.year == 1582 && g.month == 10 && g.day >= 5 && g.day <= 14) g.day = 4;
  SetGregorian(g);
}

bool MonthModel::ClickCell(int cell) {
  if (cell < grid_.firstCell || cell > grid_.lastCell) return false;
  CalendarTriple g = date_.gregorian;
  g.day = cell - grid_.firstCell + 1;
  if (g.year == 1582 && g.month == 10 && g.day > 4) g.day += 10;
  SetGregorian(g);
  return true;
}

void MonthModel::StepYear(int direction) { ChooseYear(YearIndex() + direction); }

void MonthModel::StepMonth(int direction) {
  const int month = date_.gregorian.month + direction;
  if (month >= 1 && month <= 12) return ChooseMonth(month - 1);
  // Across the year: December of the year before or January of the next,
  // both of 31 days.
  CalendarTriple g = date_.gregorian;
  g.year += direction;
  g.month = direction < 0 ? 12 : 1;
  if (g.year < range_.firstYear || g.year > range_.lastYear) return;
  SetGregorian(g);
}

void MonthModel::StepDay(int direction) {
  const DayNumber z = DateToDayNumber(date_.gregorian) + direction;
  if (z < range_.firstDay || z > range_.lastDay) return;
  if (const auto g = DayNumberToDate(z)) SetGregorian(*g);
}

bool MonthModel::GoTo(const CalendarTriple& gregorian) {
  SetGregorian(gregorian);
  return date_.gregorian == gregorian;
}

void MonthModel::SetRange(const CalendarRange& range) {
  range_ = range;
  gridYear_ = gridMonth_ = 0;  // lunar texts may have changed with the mode
  SetGregorian(date_.gregorian);
}

void MonthModel::SetWeekStart(WeekStart start) {
  if (start == weekStart_) return;
  weekStart_ = start;
  gridYear_ = gridMonth_ = 0;
  SetGregorian(date_.gregorian);
}

}  // namespace tovani::month
