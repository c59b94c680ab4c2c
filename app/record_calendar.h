// The user's records as a calendar file for a phone or another calendar
// program: the memorial days of the three calendars placed year by year, the
// reminder days and the countdown day, as all-day events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/ics_writer.h"
#include "app/records.h"

namespace tovani {

// The years a file covers unless told otherwise, and the most it may.
inline constexpr int kDefaultCalendarYears = 10;
inline constexpr int kMostCalendarYears = 100;

// The events, in day order.  A memorial day falls in each Gregorian year
// firstYear .. firstYear + years - 1 from its own year on; where its date is
// missing that year it falls on the nearest day before it (a lunar day 30 on
// day 29 of a short month, a leap month's day in the month of the same number,
// 29 February on the 28th, Hijri 12-30 on 12-29), as the lunar anniversaries
// of the terminal tool fall.  Reminder days and the countdown day are events
// of their own dates, whenever they are.  Summaries and descriptions are
// UTF-8.
std::vector<AllDayEvent> RecordEvents(const RecordContext& c, std::int32_t firstYear, int years);

// The whole calendar file of those events; stamp is the DTSTAMP of each.
std::string RecordCalendarText(const RecordContext& c, std::int32_t firstYear, int years, const std::string& stamp);

}  // namespace tovani
