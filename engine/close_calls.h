// Dates that hang on minutes: the months of a lunar year whose first day rests
// on a new moon near local midnight, and the major terms near midnight whose
// side of it decides the leap month.  Another ephemeris (or another value of
// delta T) may put such an instant on the other side of midnight, and a
// published table may then differ from this calendar by a day or by the leap
// month; these are the places to say so.
//
// Only instants the calendar takes from the astronomical computation count:
// wherever a historical rule decides instead -- the mean new moons and mean
// terms of the early calendars, the period solar theories of 1645..1886, the
// late-new-moon cut-offs of 822..1280 (where the boundary is the cut-off, not
// midnight) and the new moons the correction tables move to another day --
// the calendar's day is fixed by that rule or table and nothing hangs on the
// ephemeris.  Under modern astronomy throughout (modern rules) every new
// moon and term counts.
//
// A major term decides the leap month when it lies within the margin of a
// midnight that begins a lunar month (so that it sits on the first day of one
// month or the last day of the one before) and moving it across that midnight
// would change which month is leap:
//  - 冬至 always: the month that holds it is 十一月, so moving it gives one of
//    the two years between neighbouring 十一月 a month and takes one from the
//    other, and the leap month passes from one to the other;
//  - another major term only between two 十一月 thirteen months apart, and
//    only when the month it leaves or enters changes which month is the first
//    one without a major term (the leap month).  Between two 十一月 twelve
//    months apart there is no leap month whatever the terms do.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/dates.h"
#include "engine/rules.h"

namespace tovani {

// How near local midnight an instant must lie to count, in minutes.
inline constexpr double kCloseCallMinutes = 10;

enum class CloseCallKind {
  kNewMoon,    // a new moon that starts a month
  kMajorTerm,  // a major term that decides the leap month
};

struct CloseCall {
  CloseCallKind kind;
  LocalInstant instant;  // as the calendar has it
  // Minutes from the nearest local midnight to the instant: negative before it
  // (the instant falls on the earlier day), positive after.
  double marginMinutes;
  int term;  // the major term (2, 4, .. 24) of a kMajorTerm, else 0
  // The lunar date of the instant's day: for a new moon the first day of the
  // month it starts.
  std::int32_t lunarYear;
  int lunarMonth;  // month code, 13..24 for a leap month
  int lunarDay;
};

// The close calls whose instants fall in a lunar year, in time order; none for
// a year outside kFirstLunarYear..kLastLunarYear.
std::vector<CloseCall> CloseCallsOfLunarYear(std::int32_t year, CalendarRules rules);
// Those of the lunar years first..last.
std::vector<CloseCall> CloseCallsOfLunarYears(std::int32_t first, std::int32_t last, CalendarRules rules);

}  // namespace tovani
