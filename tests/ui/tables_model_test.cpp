#include "ui/tables/tables_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace tovani::tables {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const auto end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

TEST(TablesModel, LunarMonthsOfALeapYear) {
  const auto lines = Lines(LunarMonthsTable(2023, kHistoricalRules));
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0], "    农历 2023 年共 13 个月");
  EXPECT_EQ(lines[1], "正月小       对应公历AD01-22-2023 ～ AD02-19-2023");
  EXPECT_EQ(lines[2], "二月大       对应公历AD02-20-2023 ～ AD03-21-2023");
  EXPECT_EQ(lines[3], "闰二月小     对应公历AD03-22-2023 ～ AD04-19-2023");
  EXPECT_EQ(lines[13], "腊月大       对应公历AD01-11-2024 ～ AD02-09-2024");
  EXPECT_EQ(Lines(LunarMonthsTable(2024, kHistoricalRules)).size(), 13u);
  EXPECT_EQ(Lines(LunarMonthsTable(-103, kHistoricalRules))[0], "    农历 前104 年共 12 个月");
}

TEST(TablesModel, SolarTermsTwoToALine) {
  const auto lines = Lines(SolarTermsTable(2024, kHistoricalRules));
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0], "    公历 2024 年共 24 个节气");
  EXPECT_EQ(lines[1], "01: 小寒01月06日04:49:17   02: 大寒01月20日22:07:15");
  EXPECT_EQ(lines[12].substr(0, 8), "23: 大雪");
  // Julian years: the first term after 1 January may be 大寒, and a year may
  // hold 23 terms; each term carries its own name.
  const auto julian = Lines(SolarTermsTable(949, kHistoricalRules));
  EXPECT_EQ(julian[0], "    公历 949 年共 23 个节气");
  EXPECT_EQ(julian[1].substr(0, 8), "01: 大寒");
  EXPECT_EQ(julian.back().substr(0, 8), "23: 冬至");
  EXPECT_EQ(Lines(SolarTermsTable(948, kHistoricalRules))[0], "    公历 948 年共 25 个节气");
}

TEST(TablesModel, NewAndFullMoons) {
  const auto lines = Lines(MoonsTable(2024, kHistoricalRules));
  EXPECT_EQ(lines[0], "    公历 2024 年共 13 次朔日 12 次望日");
  EXPECT_EQ(lines[1].substr(0, 24), "朔日 01月11日19:57:19   ");
  EXPECT_EQ(lines[1].substr(24, 10), "      望日");
  EXPECT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[13], "朔日 12月31日06:26:44");
  // A year whose first event is a full moon leads with it.
  const auto full = Lines(MoonsTable(2025, kHistoricalRules));
  EXPECT_EQ(full[0].substr(0, 26), "    公历 2025 年共 12 次望");
  EXPECT_EQ(full[1].substr(0, 4), "望日");
}

TEST(TablesModel, SunTimesForEveryDayOfTheYear) {
  EXPECT_EQ(Lines(SunTimesTable(1582, "北京", -116.4, 39.9, false)).size(), 1u + 355);
  EXPECT_EQ(Lines(SunTimesTable(2024, "北京", -116.4, 39.9, false)).size(), 1u + 366);
  const auto lines = Lines(SunTimesTable(2023, "北京", -116.4, 39.9, true));
  EXPECT_EQ(lines[0], "    公历 2023 年 北京 天亮天黑时刻");
  EXPECT_EQ(lines[1].substr(0, 14), "01-01 天亮时刻");
  EXPECT_EQ(lines[365].substr(0, 5), "12-31");
  // Where the Sun neither rises nor sets, the fixed texts stand as they are.
  const auto polar = Lines(SunTimesTable(2023, "", 0, 80, false));
  EXPECT_EQ(polar[172], "06-21 日出时刻00:00:00 日落时刻24:00:00");
  EXPECT_EQ(polar[355], "12-21 日出时刻00:00:00 日落时刻00:00:00");
}

TEST(TablesModel, TheYearField) {
  struct Case {
    const char* text;
    bool beforeEra;
    bool valid;
    int year;
    const char* after;
  };
  const Case cases[] = {
      {"2024", false, true, 2024, "2024"}, {"104", true, true, -103, "104"}, {"105", true, false, 0, "105"},
      {"5001", false, false, 0, "5001"},  {"20x4", false, false, 0, ""},    {"", false, false, 0, ""},
      {"-5", false, false, 0, ""},        {"1", true, true, 0, "1"},
  };
  for (const auto& c : cases) {
    YearField field{c.text, c.beforeEra};
    const auto year = ReadYear(field, -103);
    EXPECT_EQ(year.has_value(), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(*year, c.year) << c.text;
    }
    EXPECT_EQ(field.text, c.after) << c.text;
  }
  // "下一年" from 纪元前 1 (year 0) gives year 1 and unticks the box.
  YearField field{"1", true};
  EXPECT_EQ(StepYear(field, +1, -103), 1);
  EXPECT_EQ(field.text, "1");
  EXPECT_FALSE(field.beforeEra);
  EXPECT_EQ(StepYear(field, -1, -103), 0);
  EXPECT_EQ(field.text, "1");
  EXPECT_TRUE(field.beforeEra);
  // At the first year "上一年" does nothing.
  field = {"104", true};
  EXPECT_FALSE(StepYear(field, -1, -103).has_value());
  EXPECT_EQ(field.text, "104");
  field = {"5000", false};
  EXPECT_FALSE(StepYear(field, +1, -103).has_value());
}

TEST(TablesModel, CaptionsAndCityList) {
  EXPECT_STREQ(PageCaption(kSunTimes), "计算太阳升降时刻");
  EXPECT_STREQ(PageCaption(kMoons), "计算朔望日");
  EXPECT_STREQ(YearLabel(kLunarMonths), "农历年份");
  EXPECT_STREQ(YearLabel(kSolarTerms), "公历年份");
  EXPECT_EQ(CityListItems("").size(), 43u);
  const auto items = CityListItems("老家");
  ASSERT_EQ(items.size(), 44u);
  EXPECT_EQ(items.front(), "天安门");
  EXPECT_EQ(items.back(), "老家");
}

// The form opens on the displayed year of its page's calendar, within that
// page's bounds (the lunar year of the range's first day on page 1).
TEST(TablesForm, OpeningYearAndBounds) {
  struct Case {
    int page;
    std::int32_t year, lunarYear;
    const char* text;
    bool beforeEra;
    bool canStepBack;
  };
  const Case cases[] = {
      {kLunarMonths, 2024, 2023, "2023", false, true},  // January 2024 lies in lunar 2023
      {kSolarTerms, 2024, 2023, "2024", false, true},
      {kLunarMonths, -103, -104, "105", true, false},   // the range's first lunar year
      {kMoons, -103, -104, "104", true, false},
      {kSunTimes, 0, 0, "1", true, true},
  };
  for (const auto& c : cases) {
    Opening opening;
    opening.year = c.year;
    opening.lunarYear = c.lunarYear;
    TablesForm form(c.page, opening);
    EXPECT_EQ(form.field.text, c.text) << c.page << " " << c.year;
    EXPECT_EQ(form.field.beforeEra, c.beforeEra) << c.page << " " << c.year;
    EXPECT_TRUE(form.Compute().has_value()) << c.page << " " << c.year;
    EXPECT_EQ(form.Step(-1).has_value(), c.canStepBack) << c.page << " " << c.year;
  }
  Opening opening;
  opening.year = opening.lunarYear = 2024;
  TablesForm months(kLunarMonths, opening);
  EXPECT_EQ(months.Compute(), LunarMonthsTable(2024, kHistoricalRules));
  TablesForm moons(kMoons, opening);
  EXPECT_EQ(moons.Step(+1), MoonsTable(2025, kHistoricalRules));
  EXPECT_EQ(moons.field.text, "2025");
  moons.field = {"二〇二四", false};
  EXPECT_FALSE(moons.Compute().has_value());
  EXPECT_EQ(moons.field.text, "");
}

// Page 4 lists the cities and the own place, selects the current one, and
// computes for the chosen item.
TEST(TablesForm, SunTimesAtTheChosenPlace) {
  struct Case {
    int nowCityCode;
    const char* ownName;
    int selected;
  };
  const Case cases[] = {{1, "", 0}, {21, "", 20}, {44, "老家", 43}, {44, "", 0}, {0, "老家", 0}};
  for (const auto& c : cases) {
    Opening opening;
    opening.year = 2024;
    opening.nowCityCode = c.nowCityCode;
    opening.ownPlace = {c.ownName, -118.1667, 30.1333};
    const TablesForm form(kSunTimes, opening);
    EXPECT_EQ(form.cities(), CityListItems(c.ownName)) << c.nowCityCode << c.ownName;
    EXPECT_EQ(form.city, c.selected) << c.nowCityCode << c.ownName;
  }
  Opening opening;
  opening.year = 2024;
  opening.ownPlace = {"老家", -118.1667, 30.1333};
  TablesForm form(kSunTimes, opening);
  form.city = 20;  // 乌鲁木齐
  form.dawnAndDusk = true;
  EXPECT_EQ(form.Compute(), SunTimesTable(2024, "乌鲁木齐", -87.6167, 43.8167, true));
  form.city = 43;
  form.dawnAndDusk = false;
  EXPECT_EQ(form.Compute(), SunTimesTable(2024, "老家", -118.1667, 30.1333, false));
  EXPECT_TRUE(TablesForm(kSolarTerms, opening).cities().empty());
}

}  // namespace
}  // namespace tovani::tables
