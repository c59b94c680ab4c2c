// Festivals and seasonal periods of a date.  Every function returns an empty
// text when nothing applies, for a year outside -8999..9000 or an invalid date.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "engine/dates.h"
#include "engine/rules.h"

namespace tovani {

// Which Gregorian festivals a text names: the main ones by their short names
// (where a month cell has room for one), or every festival and day by its
// full name.
enum class FestivalList { kMain, kFull };
// The Gregorian festivals and days of a date, several separated by one blank.
std::string GregorianFestivalText(std::int32_t year, std::int32_t month, std::int32_t day, FestivalList list);
// The traditional festival of a lunar date (month code 1..24).
std::string LunarFestivalText(std::int32_t lunarYear, int lunarMonth, int lunarDay, CalendarRules rules);
// The next solar term: "今日立春 16:27:02", "明日立春 16:27:02", or its date
// such as "2月4日立春" (with the year when it falls in another year).
std::string NextSolarTermNote(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules);
// 数九, e.g. "三九第4天".
std::string NineNinesText(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules);
// 三伏, e.g. "中伏第12天".
std::string DogDaysText(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules);
// "入梅" or "出梅" on those days.
std::string PlumRainText(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules);

// The names of the festivals kept by a rule rather than a date (复活节, then
// the n-th weekday ones), in the order the lists of festivals show them.
std::span<const char* const> RuleFestivalNames();

// Easter Sunday by the churches' computus (the tabular moon and 21 March, not
// the astronomical ones): the month and day within the calendar of that
// computus -- a Julian date for the Julian computus (the Orthodox reckoning), a
// Gregorian date for the Gregorian one; {0, 0} for a year before 1.
enum class Computus { kJulian, kGregorian };
struct EasterDate {
  int month, day;
};
EasterDate EasterByComputus(std::int32_t year, Computus computus);
// The day number of Easter as the program keeps it: the Julian computus from
// 325 to 1582 (on the Julian dates the program shows for those years), the
// Gregorian from 1583; InvalidDayNumber before 325 and after 9000.
DayNumber EasterDay(std::int32_t year);

// The day of the month of the n-th given weekday (0 = Sunday .. 6 = Saturday)
// of a month (the rule festivals' dates); in October 1582 the days after the
// 4th are counted across the ten missing dates.  A day beyond the month's end
// when the month has no such weekday; 0 for an invalid month.
int NthWeekdayOfMonth(std::int32_t year, std::int32_t month, int n, int weekday);

}  // namespace tovani
