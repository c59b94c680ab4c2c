#include "engine/hijri.h"

#include <cmath>

#include "engine/date_text.h"

namespace tovani {
namespace {

constexpr std::int32_t kFirstHijriYear = -9998;
constexpr std::int32_t kLastHijriYear = 9999;

// Days of a 30-year cycle, and the day number before the first day of the
// cycle that holds year -10948 (H + 10949 = 1 is the first year of cycle 0).
constexpr std::int32_t kCycleDays = 10631;
constexpr std::int32_t kCycleEpoch = -1931876;
constexpr std::int32_t kYearOffset = 10949;

bool InYearRange(std::int32_t year) { return year >= kFirstHijriYear && year <= kLastHijriYear; }

// The day number of a date whose year lies in the range and whose month is
// 1..12 (the day is not tested).  The two roundings give the leap years of
// the cycle and the alternating months.
DayNumber DayNumberOf(std::int32_t year, int month, int day) {
  const std::int32_t q = (year + kYearOffset) / 30;
  const std::int32_t r = (year + kYearOffset) % 30 + 1;
  return kCycleEpoch + kCycleDays * q + static_cast<std::int32_t>(std::floor(354.36666666 * (r - 1) + 0.5)) +
         static_cast<std::int32_t>(std::floor(29.53055555 * (month - 1) + 0.5)) + day;
}

}  // namespace

bool IsHijriLeapYear(std::int32_t year) {
  int r = year % 30;
  if (r < 0) r += 30;
  switch (r) {
    case 2: case 5: case 7: case 10: case 13: case 16: case 18: case 21: case 24: case 26: case 29:
      return true;
    default:
      return false;
  }
}

int HijriMonthLength(std::int32_t year, int month) {
  if (!InYearRange(year) || month < 1 || month > 12) return 0;
  if (month == 12) return IsHijriLeapYear(year) ? 30 : 29;
  return month % 2 == 1 ? 30 : 29;
}

bool IsValidHijriDate(std::int32_t year, int month, int day) {
  return day >= 1 && day <= HijriMonthLength(year, month);
}

DayNumber HijriDayNumber(std::int32_t year, int month, int day) {
  if (!IsValidHijriDate(year, month, day)) return InvalidDayNumber;
  return DayNumberOf(year, month, day);
}

std::optional<CivilDate> HijriDateOf(std::int32_t year, std::int32_t month, std::int32_t day) {
  const DayNumber j = DateToDayNumber(year, month, day);
  if (j == InvalidDayNumber || j < kFirstHijriDayNumber || j > kLastHijriDayNumber) return std::nullopt;
  const std::int32_t x = j - kCycleEpoch;  // positive throughout the range
  const std::int32_t q = x / kCycleDays;
  const std::int32_t r = x % kCycleDays;
  if (r == 0) {
    // The day before a cycle begins: the last day of a common 30th year.
    return CivilDate{30 * q - kYearOffset - 1, 12, 29};
  }
  // Counting 354 days a year overshoots by at most one year.
  std::int32_t h = r / 354 + 30 * q - kYearOffset;
  if (DayNumberOf(h, 1, 1) > j) --h;
  const std::int32_t n = j - DayNumberOf(h, 1, 1) + 1;
  // Likewise the month, at 29.59 days a month.
  int m = static_cast<int>(std::floor(n / 29.59)) + 1;
  if (m > 12) m = 12;
  if (DayNumberOf(h, m, 1) > j) --m;
  const int d = j - DayNumberOf(h, m, 1) + 1;
  if (!IsValidHijriDate(h, m, d)) return std::nullopt;
  return CivilDate{h, m, d};
}

std::optional<CivilDate> CivilDateOfHijri(std::int32_t year, int month, int day) {
  const DayNumber j = HijriDayNumber(year, month, day);
  if (j < kFirstHijriDayNumber || j > kLastHijriDayNumber) return std::nullopt;  // also the invalid marker
  return DayNumberToDate(j);
}

std::string HijriDateText(std::int32_t year, std::int32_t month, std::int32_t day) {
  const auto h = HijriDateOf(year, month, day);
  return h ? CalendarDateText(h->year, h->month, h->day) : std::string();
}

std::string HijriToGregorianText(std::int32_t year, int month, int day) {
  const auto g = CivilDateOfHijri(year, month, day);
  return g ? CalendarDateText(g->year, g->month, g->day) : std::string();
}

std::string HijriYearText(std::int32_t year) {
  if (!InYearRange(year)) return {};
  std::string text = year >= 1 ? "回历" + std::to_string(year) : "回历前" + std::to_string(1 - year);
  if (text.size() < 10) text.insert(0, 10 - text.size(), ' ');
  return text;
}

}  // namespace tovani
