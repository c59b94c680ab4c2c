#include "engine/anniversaries.h"

#include <algorithm>

#include "engine/date_text.h"
#include "engine/lunar_calendar.h"

namespace tovani {
namespace {

// The years the lunar conversions answer for.
constexpr std::int32_t kFirstYear = -8999;
constexpr std::int32_t kLastYear = 9000;

// The lunar year that holds a day, held to the lunar range.
std::int32_t LunarYearOfDay(DayNumber z, CalendarRules rules) {
  const auto d = DayNumberToDate(z);
  if (!d || d->year < kFirstYear) return z < 0 ? kFirstYear : kLastYear;
  if (d->year > kLastYear) return kLastYear;
  const auto lunar = ParseCalendarDateText(SolarToLunar(d->year, d->month, d->day, rules));
  return lunar ? lunar->year : d->year;
}

}  // namespace

bool IsValidAnniversary(int monthCode, int day) { return monthCode >= 1 && monthCode <= 24 && day >= 1 && day <= 30; }

AnniversaryPlacement PlaceLunarAnniversary(std::int32_t lunarYear, int monthCode, int day, CalendarRules rules) {
  AnniversaryPlacement p;
  if (!IsValidAnniversary(monthCode, day) || lunarYear < kFirstYear || lunarYear > kLastYear) return p;
  int code = monthCode;
  if (code > 12 && !IsValidLunarDate(lunarYear, code, 1, rules)) code -= 12;
  const int length = LunarMonthLength(lunarYear, code, rules);
  if (length == 0) return p;
  const int placedDay = std::min(day, length);
  const auto civil = ParseCalendarDateText(LunarToSolar(lunarYear, code, placedDay, rules));
  if (!civil) return p;
  p.day = DateToDayNumber(*civil);
  p.lunarYear = lunarYear;
  p.monthCode = code;
  p.lunarDay = placedDay;
  return p;
}

std::vector<AnniversaryPlacement> LunarAnniversariesBetween(DayNumber first, DayNumber last, int monthCode, int day,
                                                           CalendarRules rules) {
  std::vector<AnniversaryPlacement> found;
  if (!IsValidAnniversary(monthCode, day) || last < first) return found;
  const std::int32_t lastYear = LunarYearOfDay(last, rules);
  for (std::int32_t y = LunarYearOfDay(first, rules); y <= lastYear; ++y) {
    const AnniversaryPlacement p = PlaceLunarAnniversary(y, monthCode, day, rules);
    if (p.day != InvalidDayNumber && p.day >= first && p.day <= last) found.push_back(p);
  }
  return found;
}

std::vector<AnniversaryPlacement> NextLunarAnniversaries(DayNumber from, int monthCode, int day, int count,
                                                        CalendarRules rules) {
  std::vector<AnniversaryPlacement> found;
  if (!IsValidAnniversary(monthCode, day) || count <= 0) return found;
  for (std::int32_t y = LunarYearOfDay(from, rules); y <= kLastYear && static_cast<int>(found.size()) < count; ++y) {
    const AnniversaryPlacement p = PlaceLunarAnniversary(y, monthCode, day, rules);
    if (p.day != InvalidDayNumber && p.day >= from) found.push_back(p);
  }
  return found;
}

}  // namespace tovani
