#include "engine/dates.h"

#include <cmath>

namespace tovani {
namespace {

// The factors of the day-number formulas.  365.2500001 and the single-precision
// value of 30.6 give exactly the integers of 365.25 and 30.6001 over the whole
// range; a double 30.6 would not (30.6 * 5 truncates to 152).
constexpr double kYearFactor = 365.2500001;
constexpr double kMonthFactorToDay = static_cast<double>(30.6f);      // 30.600000381469727
constexpr double kMonthFactorFromDay = static_cast<double>(30.6001f);  // 30.600099563598633
constexpr double kYearOffsetFromDay = static_cast<double>(122.1f);    // 122.0999984741211

// 1582-10-15 and later, in the key 372*Y + 31*M + d of the month-shifted date.
constexpr int kGregorianKey = 588829;

long long Floor(double x) { return static_cast<long long>(std::floor(x)); }

}  // namespace

bool IsLeapYear(std::int32_t y) {
  if (y > 1582) return y % 100 != 0 ? y % 4 == 0 : y % 400 == 0;
  return y % 4 == 0;  // truncated remainder: 0, -4, -8 ... are leap
}

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

bool IsValidDate(std::int32_t y, std::int32_t m, std::int32_t d) {
  if (y < -9998 || y > 9999) return false;
  switch (m) {
    case 1: case 3: case 5: case 7: case 8: case 12:
      return d >= 1 && d <= 31;
    case 4: case 6: case 9: case 11:
      return d >= 1 && d <= 30;
    case 10:
      if (y == 1582) return (d >= 1 && d <= 4) || (d >= 15 && d <= 31);
      return d >= 1 && d <= 31;
    case 2:
      return d >= 1 && d <= (IsLeapYear(y) ? 29 : 28);
    default:
      return false;
  }
}

int DayOfYear(std::int32_t y, std::int32_t m, std::int32_t d) {
  if (!IsValidDate(y, m, d)) return 0;
  const int k = IsLeapYear(y) ? 1 : 2;
  int n = 275 * m / 9 - k * ((m + 9) / 12) + d - 30;
  if (y == 1582 && 31 * m + d > 314) n -= 10;
  return n;
}

DayNumber DateToDayNumber(std::int32_t y, std::int32_t m, std::int32_t d) {
  if (!IsValidDate(y, m, d)) return InvalidDayNumber;
  if (y >= -4712) {
    int yy = y, mm = m;
    if (m <= 2) {
      yy = y - 1;
      mm = m + 12;
    }
    long long b = 0;
    if (372LL * yy + 31LL * mm + d >= kGregorianKey) {
      const long long a = Floor(yy / 100.0);
      b = 2 - a + Floor(a / 4.0);
    }
    return static_cast<DayNumber>(Floor(kYearFactor * (yy + 4716)) + Floor(kMonthFactorToDay * (mm + 1)) + d + b -
                                  1524);
  }
  // Before -4712 the formula above would need a negative Y + 4716: count back
  // whole Julian years from -4712-01-01 (day 0) instead.
  const int e = 4712 + y;  // negative
  return 365 * e - (-e) / 4 + DayOfYear(y, m, d) - 1;
}

std::optional<CivilDate> DayNumberToDate(DayNumber z) {
  if (z < FirstValidDayNumber || z > LastValidDayNumber) return std::nullopt;
  long long a = z;
  if (z >= GregorianStartDayNumber) {
    const long long alpha = Floor((z - 1867216.25) / 36524.25);
    a = z + 1 + alpha - Floor(alpha / 4.0);
  }
  const long long b = a + 1524;
  const long long g = Floor((b - kYearOffsetFromDay) / 365.25);
  const long long dd = Floor(365.25 * g);
  const long long e = Floor((b - dd) / kMonthFactorFromDay);
  CivilDate out;
  out.day = static_cast<std::int32_t>(b - dd - Floor(kMonthFactorFromDay * e));
  out.month = static_cast<std::int32_t>(e - 1 > 12 ? e - 13 : e - 1);
  out.year = static_cast<std::int32_t>(out.month <= 2 ? g - 4715 : g - 4716);
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
