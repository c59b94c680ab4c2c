#include "engine/calendar_range.h"

#include "engine/hijri.h"
#include "engine/lunar_calendar.h"

namespace tovani {

std::optional<DayInCalendars> FromGregorian(const CalendarTriple& g, CalendarRules rules) {
  if (!IsValidDate(g.year, g.month, g.day)) return std::nullopt;
  const auto lunar = LunarDateOf(g.year, g.month, g.day, rules);
  const auto hijri = HijriDateOf(g.year, g.month, g.day);
  if (!lunar || !hijri) return std::nullopt;
  return DayInCalendars{g, {lunar->year, lunar->code(), lunar->day}, *hijri};
}

std::optional<DayInCalendars> FromLunar(const CalendarTriple& l, CalendarRules rules) {
  const auto g = CivilDateOfLunar(l.year, l.month, l.day, rules);
  if (!g) return std::nullopt;
  return FromGregorian(*g, rules);
}

std::optional<DayInCalendars> FromHijri(const CalendarTriple& h, CalendarRules rules) {
  const auto g = CivilDateOfHijri(h.year, h.month, h.day);
  if (!g) return std::nullopt;
  return FromGregorian(*g, rules);
}

std::optional<DayInCalendars> FromDayNumber(DayNumber z, CalendarRules rules) {
  const auto g = DayNumberToDate(z);
  if (!g) return std::nullopt;
  return FromGregorian(*g, rules);
}

CalendarRange MakeCalendarRange(std::int32_t firstYear, std::int32_t lastYear, CalendarRules rules) {
  CalendarRange r;
  r.rules = rules;
  r.firstYear = firstYear;
  r.lastYear = lastYear;
  r.firstDay = DateToDayNumber(firstYear, 1, 1);
  r.lastDay = DateToDayNumber(lastYear, 12, 31);
  if (const auto first = FromDayNumber(r.firstDay, rules)) {
    r.lunarFirst = first->lunar;
    r.hijriFirst = first->hijri;
  }
  if (const auto last = FromDayNumber(r.lastDay, rules)) {
    r.lunarLast = last->lunar;
    r.hijriLast = last->hijri;
  }
  return r;
}

}  // namespace tovani
