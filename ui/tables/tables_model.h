// The tables window's texts, without any Win32: the months of a lunar year,
// the solar terms, new and full moons of a Gregorian year, and sunrise and
// sunset (or dawn and dusk) through a year at a place; with the rules of its
// year field.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tovani::tables {

enum Page { kLunarMonths = 1, kSolarTerms = 2, kMoons = 3, kSunTimes = 4 };

inline constexpr std::int32_t kLastYear = 5000;
inline constexpr const char* kLineBreak = "\r\n";

// "计算农历月", "计算节气日", "计算朔望日", "计算太阳升降时刻"; empty for another page.
const char* PageCaption(int page);
// "农历年份" on page 1, "公历年份" on the others.
const char* YearLabel(int page);

// The year field and its "纪元前" box.
struct YearField {
  std::string text;
  bool beforeEra = false;
};

// The year of the field for "计算": a field with anything but digits is
// emptied; an empty field or a year outside firstYear..5000 gives nothing.
std::optional<std::int32_t> ReadYear(YearField& field, std::int32_t firstYear);
// "上一年" / "下一年": the field's year minus or plus one, written back (as a
// positive number with the box ticked for years up to 0) when it lies in
// firstYear..5000; nothing otherwise.
std::optional<std::int32_t> StepYear(YearField& field, int direction, std::int32_t firstYear);

std::string LunarMonthsTable(std::int32_t lunarYear);
std::string SolarTermsTable(std::int32_t year);
std::string MoonsTable(std::int32_t year);
// East longitudes negative; dawnAndDusk chooses "天亮天黑时刻" over "日出日落时刻".
std::string SunTimesTable(std::int32_t year, const std::string& placeName, double longitude, double latitude,
                          bool dawnAndDusk);

// The city list of page 4: the table's places in order, then the user's own
// place when it has a name.
std::vector<std::string> CityListItems(const std::string& ownPlaceName);

}  // namespace tovani::tables
