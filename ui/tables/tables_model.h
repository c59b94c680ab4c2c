// The tables window's texts, without any Win32: the months of a lunar year,
// the solar terms, new and full moons of a Gregorian year, and sunrise and
// sunset (or dawn and dusk) through a year at a place; with the rules of its
// year field.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/cities.h"
#include "engine/rules.h"

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

std::string LunarMonthsTable(std::int32_t lunarYear, CalendarRules rules);
std::string SolarTermsTable(std::int32_t year, CalendarRules rules);
std::string MoonsTable(std::int32_t year, CalendarRules rules);
// East longitudes negative; dawnAndDusk chooses "天亮天黑时刻" over "日出日落时刻".
std::string SunTimesTable(std::int32_t year, const std::string& placeName, double longitude, double latitude,
                          bool dawnAndDusk);

// The city list of page 4: the table's places in order, then the user's own
// place when it has a name.
std::vector<std::string> CityListItems(const std::string& ownPlaceName);

// What the window starts from: the range's first years and the displayed
// date's years, and the places.
struct Opening {
  std::int32_t firstYear = -103, firstLunarYear = -104;  // of the range's first day
  std::int32_t year = 0, lunarYear = 0;                  // of the displayed day
  int nowCityCode = 1;                                   // 1..43, 44 the own place
  OwnPlace ownPlace;
  CalendarRules rules;                                   // the lunar calendar's
};

// One page of the window: its inputs as the controls show them, and what
// "计算", "上一年" and "下一年" make of them.
class TablesForm {
 public:
  TablesForm(int page, const Opening& opening);

  int page() const { return page_; }
  // The first year the page computes (a lunar year on page 1); the last is kLastYear.
  std::int32_t firstYear() const { return firstYear_; }
  // Page 4's city list (empty on the other pages).
  const std::vector<std::string>& cities() const { return cities_; }

  // The inputs; the view writes them back from its controls.
  YearField field;
  int city = 0;  // an item of cities()
  bool dawnAndDusk = false;

  // "计算": the page's table for the field's year; nothing for a year that
  // cannot be read (the field is emptied when it holds other characters).
  std::optional<std::string> Compute();
  // "上一年" (-1) and "下一年" (+1): the field steps to the next year in the
  // bounds and the table of that year; nothing (and the field as it was,
  // unless emptied) at the ends or for a bad field.
  std::optional<std::string> Step(int direction);

  // The place page 4 computes for: the chosen city, made current for the
  // computation only.
  CurrentPlace Place() const;

 private:
  std::string TableOf(std::int32_t year) const;

  int page_;
  std::int32_t firstYear_;
  CalendarRules rules_;
  OwnPlace own_;
  std::vector<std::string> cities_;
};

}  // namespace tovani::tables
