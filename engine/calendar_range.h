// The span of dates the calendar windows accept, in the three calendars, and
// the conversions of one day between them.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/dates.h"
#include "engine/rules.h"

namespace tovani {

// A year, month and day of one calendar; for the lunar calendar the month is
// the month code (13..24 for leap months).
using CalendarTriple = CivilDate;

// One day in the three calendars.
struct DayInCalendars {
  CalendarTriple gregorian, lunar, hijri;
  friend bool operator==(const DayInCalendars&, const DayInCalendars&) = default;
};

struct CalendarRange {
  CalendarRules rules;                              // the lunar calendar's, for every date of the range
  std::int32_t firstYear = -103, lastYear = 4103;  // Gregorian
  DayNumber firstDay = 0, lastDay = 0;              // 1 January firstYear, 31 December lastYear
  CalendarTriple lunarFirst, lunarLast;             // the same two days, lunar
  CalendarTriple hijriFirst, hijriLast;             // and Hijri
};

// The range of the Gregorian years first..last under the rules.
CalendarRange MakeCalendarRange(std::int32_t firstYear, std::int32_t lastYear, CalendarRules rules);

// The day of a Gregorian, lunar or Hijri date in all three calendars; empty
// when the date does not exist or has no counterpart.
std::optional<DayInCalendars> FromGregorian(const CalendarTriple& g, CalendarRules rules);
std::optional<DayInCalendars> FromLunar(const CalendarTriple& l, CalendarRules rules);
std::optional<DayInCalendars> FromHijri(const CalendarTriple& h, CalendarRules rules);
std::optional<DayInCalendars> FromDayNumber(DayNumber z, CalendarRules rules);

}  // namespace tovani
