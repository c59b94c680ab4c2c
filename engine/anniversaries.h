// Lunar anniversaries: where a lunar month and day falls in each lunar year.
//
// An anniversary is a month code (1..12, or month + 12 for a leap month) and a
// day 1..30.  It is placed the way the memorial lookups place it: a leap-month
// anniversary in a year without that leap month falls on the regular month,
// and day 30 of a 29-day month falls on day 29.  A regular-month anniversary
// stays in the regular month also in a year that has the leap month after it.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/dates.h"
#include "engine/rules.h"

namespace tovani {

struct AnniversaryPlacement {
  DayNumber day = InvalidDayNumber;  // the civil day
  std::int32_t lunarYear = 0;
  int monthCode = 0, lunarDay = 0;  // the lunar month and day it falls on
};

// The month code and day make an anniversary (1..24 and 1..30).
bool IsValidAnniversary(int monthCode, int day);
// The anniversary in a lunar year; day is InvalidDayNumber for an invalid
// anniversary or a year outside -8999..9000.
AnniversaryPlacement PlaceLunarAnniversary(std::int32_t lunarYear, int monthCode, int day, CalendarRules rules);
// The anniversaries whose days fall in first..last, in order (empty for an
// invalid anniversary; the span is cut to the lunar range).
std::vector<AnniversaryPlacement> LunarAnniversariesBetween(DayNumber first, DayNumber last, int monthCode, int day,
                                                           CalendarRules rules);
// The first count anniversaries on or after a day; fewer when the lunar range
// (the lunar year 9000) ends first.
std::vector<AnniversaryPlacement> NextLunarAnniversaries(DayNumber from, int monthCode, int day, int count,
                                                        CalendarRules rules);

}  // namespace tovani
