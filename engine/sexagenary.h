// The sexagenary cycle (干支), animals, weekdays and zodiac signs of a date.
//
// A cycle index 1..60 names a stem-branch pair: index i has stem
// ((i - 1) mod 10) + 1 and branch ((i - 1) mod 12) + 1, so 1 is 甲子 and 60 is
// 癸亥; 0 means undefined.  The sexagenary year and month change at the solar
// term 立春 or at the lunar new year, as the caller chooses.
#pragma once

#include <cstdint>
#include <string>

#include "engine/rules.h"

namespace tovani {

// Where the sexagenary year (and the count of its months) begins.
enum class YearStart { kStartOfSpring, kLunarNewYear };

// "甲" .. "癸" for 1..10, "子" .. "亥" and "鼠" .. "猪" for 1..12; empty otherwise.
std::string StemName(int stem);
std::string BranchName(int branch);
std::string AnimalName(int animal);
// Stem and branch of a cycle index, e.g. "甲子"; empty outside 1..60.
std::string CycleName(int index);

// 0 for an invalid date (or missing lunar data).
int YearCycleIndex(std::int32_t year, std::int32_t month, std::int32_t day, YearStart start, CalendarRules rules);
int AnimalIndex(std::int32_t year, std::int32_t month, std::int32_t day, YearStart start, CalendarRules rules);
int MonthCycleIndex(std::int32_t year, std::int32_t month, std::int32_t day, YearStart start, CalendarRules rules);
int DayCycleIndex(std::int32_t year, std::int32_t month, std::int32_t day);

// e.g. "甲辰(龙)年丙寅月甲子日"; empty for years outside -8999..9000, invalid
// dates, or when any part is undefined.
std::string SexagenaryText(std::int32_t year, std::int32_t month, std::int32_t day, YearStart start,
                           CalendarRules rules);
// "星期一" .. "星期日"; empty for years outside -8999..9000 or invalid dates.
std::string WeekdayName(std::int32_t year, std::int32_t month, std::int32_t day);
// "摩羯座" .. "射手座"; empty for years outside -8999..9000 or invalid dates.
std::string ZodiacSignName(std::int32_t year, std::int32_t month, std::int32_t day);

}  // namespace tovani
