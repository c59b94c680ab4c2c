// Holiday arrangements added in the registry: years announced after a
// release, kept as values of the "Holidays" key under the settings key,
// "YYYY-MM-DD" = "休 名称" or "班 名称".
#pragma once

#include <string>
#include <vector>

#include "app/registry.h"
#include "engine/holidays.h"

namespace tovani {

inline constexpr const char* kHolidaysKey = "Holidays";

struct RegistryHolidays {
  HolidayCalendar calendar;                 // the built-in table and the usable values
  std::vector<HolidayLineError> skipped;    // each value that could not be used
};

// The calendar with the registry's additions.  A missing key leaves the
// built-in table; a value that is not text counts as skipped.
RegistryHolidays ReadRegistryHolidays(RegistryStore& registry);

// The one-line warning for a skipped value (program text).
std::string SkippedHolidayText(const HolidayLineError& e);

}  // namespace tovani
