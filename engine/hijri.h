// The arithmetic Hijri (回历) calendar: a 30-year cycle of 11 leap years,
// months of 30 and 29 days in turn, epoch 1 Muharram AH 1 = day 1948440
// (Friday 16 July 622, Julian).  Years before AH 1 count astronomically.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/dates.h"

namespace tovani {

// Day numbers the conversions accept: Hijri -9998-01-01 .. Gregorian 9999-12-31.
inline constexpr DayNumber kFirstHijriDayNumber = -1594872;
inline constexpr DayNumber kLastHijriDayNumber = 5373484;

bool IsHijriLeapYear(std::int32_t year);
// The year lies in -9998..9999 and the day within its month.
bool IsValidHijriDate(std::int32_t year, int month, int day);
// 30 or 29; 0 for a month outside 1..12 or a year outside -9998..9999.
int HijriMonthLength(std::int32_t year, int month);
// InvalidDayNumber for an invalid date.
DayNumber HijriDayNumber(std::int32_t year, int month, int day);
// The Hijri date (year, month, day) of a Gregorian date; nothing for an
// invalid date or a day outside the range.
std::optional<CivilDate> HijriDateOf(std::int32_t year, std::int32_t month, std::int32_t day);
// The Gregorian date of a Hijri date; nothing when invalid.
std::optional<CivilDate> CivilDateOfHijri(std::int32_t year, int month, int day);
// The same as calendar-date texts (e.g. "AD09-01-1445"); empty where the
// typed ones give nothing.
std::string HijriDateText(std::int32_t year, std::int32_t month, std::int32_t day);
std::string HijriToGregorianText(std::int32_t year, int month, int day);
// "回历" + year (or "回历前" + (1 - year)), right-aligned to 10 bytes; empty
// outside -9998..9999.
std::string HijriYearText(std::int32_t year);

}  // namespace tovani
