// Item texts of the calendar windows' drop-down lists.
#pragma once

#include <cstdint>
#include <string>

namespace tovani {

// "    2024年": the year in decimal digits, right-aligned, and 年.
std::string GregorianYearItem(std::int32_t year);
// The era name (when showDynasty) or the Chinese numerals of a lunar year, and 年.
std::string LunarYearItem(std::int32_t year, bool showDynasty);
// "  回历1445年".
std::string HijriYearItem(std::int32_t year);
// "   1月" .. "  12月".
std::string MonthItem(int month);
// " 1日" .. "31日".
std::string DayItem(int day);
// "  正月" for an ordinary month, "闰四月" for a leap month code.
std::string LunarMonthItem(int monthCode);

// The last day of a Gregorian month (31 for October 1582, whose days 5..14
// do not exist).
int LastDayOfMonth(std::int32_t year, std::int32_t month);

}  // namespace tovani
