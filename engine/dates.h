// Civil dates and day numbers.
//
// A civil date is proleptic Julian up to 1582-10-04 and Gregorian from
// 1582-10-15; the ten days between do not exist.  Years are astronomical:
// year 0 is 1 BC, year -1 is 2 BC.  A day number is the Julian Day Number of
// the date (the Julian Date of its 12:00 UT), so consecutive dates have
// consecutive day numbers across the calendar switch.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace tovani {

using DayNumber = std::int32_t;

// Returned for a date that does not exist.
inline constexpr DayNumber InvalidDayNumber = -100000000;

// The day numbers of -9998-01-01 and 9999-12-31, the ends of the date range.
inline constexpr DayNumber FirstValidDayNumber = -1930711;
inline constexpr DayNumber LastValidDayNumber = 5373484;

// The first Gregorian day, 1582-10-15.
inline constexpr DayNumber GregorianStartDayNumber = 2299161;

// All computations and every time shown are in this zone (UTC+8).
inline constexpr std::int16_t TimeZoneHours = 8;

// A computed event: floor is the day number of its local (UTC+8) date, the
// fraction the elapsed part of that local day.
// LocalInstant = JD(UT) + 0.5 + TimeZoneHours/24.
using LocalInstant = double;
// The day number of an instant's local date.
inline DayNumber DayOf(LocalInstant t) { return static_cast<DayNumber>(std::floor(t)); }

inline constexpr double Pi = 3.14159265358979;
inline constexpr double Degree = Pi / 180.0;

struct CivilDate {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Weekday index: 0 = Monday ... 6 = Sunday.
enum Weekday : int { Monday = 0, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday };

// Julian up to 1582, Gregorian after.  The remainder is C++'s truncated one,
// which is 0 for the same years as the floored one (0, -4, -8 ... are leap).
constexpr bool IsLeapYear(std::int32_t year) {
  if (year > 1582) return year % 100 != 0 ? year % 4 == 0 : year % 400 == 0;
  return year % 4 == 0;
}
// 365, 366, or 355 for 1582.
int DaysInYear(std::int32_t year);
// Days in a month of a year, counting the missing days of October 1582 as
// absent (21); 0 for a month outside 1..12.
int DaysInMonth(std::int32_t year, std::int32_t month);
// The date exists and its year lies in -9998..9999.
constexpr bool IsValidDate(std::int32_t year, std::int32_t month, std::int32_t day) {
  if (year < -9998 || year > 9999) return false;
  switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 12:
      return day >= 1 && day <= 31;
    case 4: case 6: case 9: case 11:
      return day >= 1 && day <= 30;
    case 10:
      if (year == 1582) return (day >= 1 && day <= 4) || (day >= 15 && day <= 31);
      return day >= 1 && day <= 31;
    case 2:
      return day >= 1 && day <= (IsLeapYear(year) ? 29 : 28);
    default:
      return false;
  }
}
// 1-based ordinal within the year; 0 for an invalid date.
int DayOfYear(std::int32_t year, std::int32_t month, std::int32_t day);

// Day numbers are counted in whole calendar cycles from a 1 March: a year
// from March ends with the leap day, so within it the days before month m
// (March = 0) are (153 m + 2) / 5 in both calendars, and only the cycles
// differ: 4 Julian years are 1461 days, 400 Gregorian years 146097.
namespace day_count {
// The day numbers of 1 March of the Julian year -10000 (a whole number of
// 4-year cycles before every Julian date of the range, so the counts from it
// are never negative) and of 1 March of the Gregorian year 0.
inline constexpr int kJulianFirstYear = -10000;
inline constexpr DayNumber kJulianFirstMarch = -1931382;
inline constexpr DayNumber kGregorianFirstMarch = 1721120;
inline constexpr int kDaysIn4JulianYears = 1461;
inline constexpr int kDaysIn400GregorianYears = 146097;
// Days from 1 March to the first of month m (March = 0 .. February = 11): 0..337.
constexpr int DaysBeforeMonth(int m) { return (153 * m + 2) / 5; }
}  // namespace day_count

// InvalidDayNumber for an invalid date.
constexpr DayNumber DateToDayNumber(std::int32_t year, std::int32_t month, std::int32_t day) {
  using namespace day_count;
  if (!IsValidDate(year, month, day)) return InvalidDayNumber;
  // Every value below is small (the year is -9998..9999): no overflow.
  const bool beforeMarch = month <= 2;
  const std::int32_t marchYear = beforeMarch ? year - 1 : year;                        // -9999..9999
  const int dayOfYear = DaysBeforeMonth(beforeMarch ? month + 9 : month - 3) + day - 1;  // 0..365 from 1 March
  if (year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)))) {
    const std::int32_t era = marchYear / 400;                                          // 3..24
    const std::int32_t yearOfEra = marchYear - 400 * era;                              // 0..399
    const std::int32_t dayOfEra = 365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;  // 0..146096
    return kGregorianFirstMarch + kDaysIn400GregorianYears * era + dayOfEra;           // up to 5373484
  }
  const std::int32_t years = marchYear - kJulianFirstYear;                             // 1..11582
  const std::int32_t cycle = years / 4;                                                // 0..2895
  const std::int32_t dayOfCycle = 365 * (years - 4 * cycle) + dayOfYear;               // 0..1460
  return kJulianFirstMarch + kDaysIn4JulianYears * cycle + dayOfCycle;                 // from -1930711
}
inline DayNumber DateToDayNumber(const CivilDate& d) { return DateToDayNumber(d.year, d.month, d.day); }
// The day number of a date, computed while compiling, for the engine's named
// days; a date that does not exist does not compile.
consteval DayNumber CivilDayNumber(std::int32_t year, std::int32_t month, std::int32_t day) {
  const DayNumber n = DateToDayNumber(year, month, day);
  if (n == InvalidDayNumber) throw "no such date";
  return n;
}
// Empty outside FirstValidDayNumber..LastValidDayNumber.
std::optional<CivilDate> DayNumberToDate(DayNumber z);
// Empty for an invalid date or a year outside -8999..9000.
std::optional<int> WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day);

// Days from 00:00 UT to local clock time h:m:s (UTC+8); added to n - 0.5 it
// gives the Julian Date (UT) of that clock time on day number n.
double ClockToDayOffset(int hour, int minute, double second);
// x moved by whole multiples of 2*halfWidth into [centre - halfWidth, centre + halfWidth).
// (Inline: the astronomy calls it a dozen times per position.)
inline double NormalizeAngle(double x, int centre, int halfWidth) {
  const double width = 2.0 * halfWidth;
  double t = x - centre;
  t -= width * std::floor(t / width);
  if (t < -halfWidth) {
    t += width;
  } else if (t >= halfWidth) {
    t -= width;
  }
  double r = t + centre;
  // Rounding in the last addition can land exactly on the open upper end
  // (359.99999999999997 + tiny becomes 360); that angle is the lower end.
  if (r >= centre + halfWidth) r -= width;
  return r;
}
// x in [0, 2*pi).
inline double NormalizeRadians(double x) { return NormalizeAngle(x / Degree, 180, 180) * Degree; }

// LocalInstant of a Julian Date (UT), and the Julian Date (UT) of 00:00 local
// time at the start of day number n.
inline LocalInstant LocalInstantOf(double jdUt) { return jdUt + 0.5 + TimeZoneHours / 24.0; }
inline double LocalMidnightJd(DayNumber n) { return n - 0.5 - TimeZoneHours / 24.0; }

// Days from the first date to the second; empty when either is invalid.
std::optional<std::int32_t> DaysBetween(const CivilDate& first, const CivilDate& second);
// The date n days after (before, for negative n) a date; empty when the date
// is invalid or the result leaves the date range.
std::optional<CivilDate> AddDays(const CivilDate& date, std::int64_t n);

}  // namespace tovani
