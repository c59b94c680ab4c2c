#include "engine/dates.h"

namespace tovani {

// The arithmetic of DateToDayNumber, checked at the ends of the range and on
// both sides of the calendar switch (an overflow would not compile either).
static_assert(DateToDayNumber(-9998, 1, 1) == FirstValidDayNumber);
static_assert(DateToDayNumber(9999, 12, 31) == LastValidDayNumber);
static_assert(DateToDayNumber(1582, 10, 4) + 1 == GregorianStartDayNumber);
static_assert(DateToDayNumber(1582, 10, 15) == GregorianStartDayNumber);
static_assert(DateToDayNumber(-4712, 1, 1) == 0);  // the epoch of Julian Day Numbers

int DaysInYear(std::int32_t y) {
  if (y == 1582) return 355;
  return IsLeapYear(y) ? 366 : 365;
}

int DaysInMonth(std::int32_t y, std::int32_t m) {
  switch (m) {
    case 1: case 3: case 5: case 7: case 8: case 12:
      return 31;
    case 4: case 6: case 9: case 11:
      return 30;
    case 10:
      return y == 1582 ? 21 : 31;
    case 2:
      return IsLeapYear(y) ? 29 : 28;
    default:
      return 0;
  }
}

int DayOfYear(std::int32_t y, std::int32_t m, std::int32_t d) {
  if (!IsValidDate(y, m, d)) return 0;
  const int k = IsLeapYear(y) ? 1 : 2;
  int n = 275 * m / 9 - k * ((m + 9) / 12) + d - 30;
  if (y == 1582 && 31 * m + d > 314) n -= 10;
  return n;
}

std::optional<CivilDate> DayNumberToDate(DayNumber z) {
  using namespace day_count;
  if (z < FirstValidDayNumber || z > LastValidDayNumber) return std::nullopt;
  // The year from 1 March and the day in it, by whole cycles; the range check
  // keeps every value small.
  std::int32_t marchYear;
  int dayOfYear;  // 0..365
  if (z >= GregorianStartDayNumber) {
    const std::int32_t days = z - kGregorianFirstMarch;                   // 578041..3652364
    const std::int32_t era = days / kDaysIn400GregorianYears;             // 3..24
    const std::int32_t dayOfEra = days - kDaysIn400GregorianYears * era;  // 0..146096
    // The year of the era: its days less one for each leap day up to this one
    // (day 1460 of every 1461, but not in the three short centuries, and the
    // era's own last day), in whole 365s.
    const std::int32_t leapDays = dayOfEra / 1460 - dayOfEra / 36524 + dayOfEra / 146096;  // 0..97
    const std::int32_t yearOfEra = (dayOfEra - leapDays) / 365;                            // 0..399
    marchYear = 400 * era + yearOfEra;
    dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  } else {
    const std::int32_t days = z - kJulianFirstMarch;                     // 671..4230542
    const std::int32_t cycle = days / kDaysIn4JulianYears;               // 0..2895
    const std::int32_t dayOfCycle = days - kDaysIn4JulianYears * cycle;  // 0..1460, the last the leap day
    const std::int32_t yearOfCycle = (dayOfCycle - dayOfCycle / 1460) / 365;  // 0..3
    marchYear = kJulianFirstYear + 4 * cycle + yearOfCycle;
    dayOfYear = dayOfCycle - 365 * yearOfCycle;
  }
  // The month from March, the inverse of DaysBeforeMonth: 0..11.
  const int m = (5 * dayOfYear + 2) / 153;
  CivilDate out;
  out.day = dayOfYear - DaysBeforeMonth(m) + 1;
  out.month = m < 10 ? m + 3 : m - 9;
  out.year = out.month <= 2 ? marchYear + 1 : marchYear;
  return out;
}

std::optional<int> WeekdayOf(std::int32_t y, std::int32_t m, std::int32_t d) {
  if (y < -8999 || y > 9000 || !IsValidDate(y, m, d)) return std::nullopt;
  int r = DateToDayNumber(y, m, d) % 7;
  if (r < 0) r += 7;
  return r;
}

double ClockToDayOffset(int hour, int minute, double second) {
  return (hour - TimeZoneHours) / 24.0 + minute / 1440.0 + second / 86400.0;
}

std::optional<std::int32_t> DaysBetween(const CivilDate& first, const CivilDate& second) {
  const DayNumber a = DateToDayNumber(first);
  const DayNumber b = DateToDayNumber(second);
  if (a == InvalidDayNumber || b == InvalidDayNumber) return std::nullopt;
  return b - a;
}

std::optional<CivilDate> AddDays(const CivilDate& date, std::int64_t n) {
  const DayNumber a = DateToDayNumber(date);
  if (a == InvalidDayNumber) return std::nullopt;
  // The count is tested against the room left, so a huge one cannot overflow.
  if (n < std::int64_t{FirstValidDayNumber} - a || n > std::int64_t{LastValidDayNumber} - a) return std::nullopt;
  return DayNumberToDate(static_cast<DayNumber>(a + n));
}

}  // namespace tovani
