// The Chinese lunar calendar.
//
// A lunar year is named by the civil year of its first day (正月初一).  Month
// codes are 1..12 for the ordinary months and month + 12 (13..24) for the leap
// month that follows that month.  Months begin on the local (UTC+8) dates of
// the new moons of the solar-terms layer, so the historical rules flow in.
//
// A lunar-year record is 17 characters: twelve month sizes ("1" = 30 days,
// "0" = 29), the leap month number in hexadecimal ("0" for none), the leap
// month's size, and the civil date of 正月初一 as one month digit and two day
// digits (e.g. "210" for February 10).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/dates.h"
#include "engine/rules.h"

namespace tovani {

inline constexpr std::int32_t kFirstLunarYear = -9997;
inline constexpr std::int32_t kLastLunarYear = 9998;

// A lunar date: the year (named by the civil year of its 正月初一), the month
// 1..12, whether it is the leap month that follows that month, and the day.
struct LunarDate {
  std::int32_t year = 0;
  int month = 0;
  bool leap = false;
  int day = 0;
  // The month code: the month, or month + 12 for the leap month.
  int code() const { return leap ? month + 12 : month; }
  friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

// 0: no leap month; 1: a leap month between 正月 and 十月; 2: the year ends with
// 闰十一月 or 闰十二月.
struct LunarYearLayout {
  int leapKind;
  int month, day;  // civil month and day of 正月初一
};

// The layout by the winter-solstice and no-major-term rules.
LunarYearLayout YearLayout(std::int32_t year, CalendarRules rules);
// Leap kind and first day of a lunar year; the mean-calendar rule for the years
// -103..618 and 645..665 unless the rules are modern.
int LeapKindOf(std::int32_t year, CalendarRules rules);
DayNumber NewYearDay(std::int32_t year, CalendarRules rules);

// The record of a year from its leap kind, the civil month and day of its
// first day, the first days a[1..14] of its months (a[13] or a[14] being the
// next year's first day) and the test whether month k has a major term.
std::string ComposeLunarYearRecord(int leapKind, int newYearMonth, int newYearDay,
                                   const std::array<DayNumber, 15>& a, const std::function<bool(int)>& hasMajorTerm);
// The record, built afresh; empty outside kFirstLunarYear..kLastLunarYear.
std::string BuildLunarYearRecord(std::int32_t year, CalendarRules rules);
// The record from the cache of the rules, built on first use; empty outside
// the range.  The caches (one for each rule set) serve any thread.
std::string LunarYearRecordOf(std::int32_t year, CalendarRules rules);
void ClearLunarYearCache();

bool IsValidLunarDate(std::int32_t year, int monthCode, int day, CalendarRules rules);
// 353..385 days; 0 outside the range.
int LunarYearLength(std::int32_t year, CalendarRules rules);
// The position 1..13 of a month in its year; 0 for an invalid month.
int MonthCodeToOrdinal(std::int32_t year, int monthCode, CalendarRules rules);
// The month code at a position; 0 for an invalid position.
int OrdinalToMonthCode(std::int32_t year, int position, CalendarRules rules);
// 1-based day within the lunar year; 0 for an invalid date.
int LunarDayOfYear(std::int32_t year, int monthCode, int day, CalendarRules rules);
// The lunar date of a civil date; nothing for years outside -8999..9000 or an
// invalid date.
std::optional<LunarDate> LunarDateOf(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules);
// The civil date of a lunar date; nothing for years outside -8999..9000 or an
// invalid lunar date.
std::optional<CivilDate> CivilDateOfLunar(std::int32_t year, int monthCode, int day, CalendarRules rules);
// The same two conversions as calendar-date texts (the lunar one with the
// month code); empty where the typed ones give nothing.
std::string SolarToLunar(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules);
std::string LunarDateText(const std::optional<LunarDate>& date);
std::string LunarToSolar(std::int32_t year, int monthCode, int day, CalendarRules rules);

// The number of days of a month of a lunar year (29 or 30); 0 for an invalid month.
int LunarMonthLength(std::int32_t year, int monthCode, CalendarRules rules);

}  // namespace tovani
