#include "engine/sexagenary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "engine/dates.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani {
namespace {

constexpr YearStart kSpring = YearStart::kStartOfSpring, kNewYear = YearStart::kLunarNewYear;

struct Ymd {
  int y, m, d;
};

// The cycle index of the 寅 month of the year with that cycle index, found by
// walking the stems: 甲 and 己 years begin with 丙寅, 乙 and 庚 with 戊寅, and
// so on, two stems on each time.
int FirstMonthOf(int yearIndex) {
  const int stem = (yearIndex - 1) % 10;      // 0 for 甲
  const int firstStem = (2 + 2 * stem) % 10;  // 丙 for 甲
  for (int i = 1; i <= 60; ++i) {
    if ((i - 1) % 10 == firstStem && (i - 1) % 12 == 2) return i;  // 寅
  }
  return 0;
}

testing::Message Trace(const Ymd& date) { return testing::Message() << date.y << "-" << date.m << "-" << date.d; }

Ymd DayBefore(const Ymd& date) {
  const auto d = DayNumberToDate(DateToDayNumber(date.y, date.m, date.d) - 1);
  return {d->year, d->month, d->day};
}

TEST(Sexagenary, NameTables) {
  const char* const stems[] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
  const char* const branches[] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
  const char* const animals[] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(StemName(i), stems[i - 1]) << i;
  for (int i = 1; i <= 12; ++i) {
    EXPECT_EQ(BranchName(i), branches[i - 1]) << i;
    EXPECT_EQ(AnimalName(i), animals[i - 1]) << i;
  }
  for (int bad : {0, -1, 13, 1000}) {
    EXPECT_EQ(BranchName(bad), "") << bad;
    EXPECT_EQ(AnimalName(bad), "") << bad;
  }
  EXPECT_EQ(StemName(0), "");
  EXPECT_EQ(StemName(11), "");
}

TEST(Sexagenary, TheSixtyPairsAreDistinctAndInCycleOrder) {
  EXPECT_EQ(CycleName(1), "甲子");
  EXPECT_EQ(CycleName(2), "乙丑");
  EXPECT_EQ(CycleName(11), "甲戌");
  EXPECT_EQ(CycleName(13), "丙子");
  EXPECT_EQ(CycleName(41), "甲辰");
  EXPECT_EQ(CycleName(55), "戊午");
  EXPECT_EQ(CycleName(60), "癸亥");
  EXPECT_EQ(CycleName(0), "");
  EXPECT_EQ(CycleName(61), "");
  EXPECT_EQ(CycleName(-59), "");
  std::set<std::string> names;
  for (int i = 1; i <= 60; ++i) {
    const std::string name = CycleName(i);
    ASSERT_EQ(name.size(), 4u) << i;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 60u);
}

// Published 立春 days (UTC+8): the sexagenary year changes on the day itself,
// even when 立春 falls late in the evening (1984: 23:19).
TEST(Sexagenary, TheYearBeginsOnTheDayOfSpringStart) {
  const struct {
    Ymd springStart;
    int index;  // of the year that begins
  } cases[] = {
      {{1984, 2, 4}, 1},  {{2000, 2, 4}, 17}, {{2017, 2, 3}, 34}, {{2020, 2, 4}, 37}, {{2021, 2, 3}, 38},
      {{2023, 2, 4}, 40}, {{2024, 2, 4}, 41}, {{2025, 2, 3}, 42}, {{1949, 2, 4}, 26},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Trace(c.springStart));
    const Ymd& s = c.springStart;
    const Ymd before = DayBefore(s);
    const int previous = c.index == 1 ? 60 : c.index - 1;
    EXPECT_EQ(YearCycleIndex(s.y, s.m, s.d, kSpring, kHistoricalRules), c.index);
    EXPECT_EQ(YearCycleIndex(before.y, before.m, before.d, kSpring, kHistoricalRules), previous);
    EXPECT_EQ(YearCycleIndex(s.y, 12, 31, kSpring, kHistoricalRules), c.index);
    EXPECT_EQ(YearCycleIndex(s.y, 1, 1, kSpring, kHistoricalRules), previous);
    EXPECT_EQ(AnimalIndex(s.y, s.m, s.d, kSpring, kHistoricalRules), (c.index - 1) % 12 + 1);
    EXPECT_EQ(AnimalIndex(before.y, before.m, before.d, kSpring, kHistoricalRules), (previous - 1) % 12 + 1);
  }
  EXPECT_EQ(YearCycleIndex(1984, 2, 5, kSpring, kHistoricalRules), 1);
}

// Published lunar new-year days: with the year beginning at the lunar new
// year the index changes on that day.
TEST(Sexagenary, TheYearBeginsOnTheLunarNewYear) {
  const struct {
    Ymd newYear;
    int index;
  } cases[] = {
      {{1984, 2, 2}, 1},  {{2000, 2, 5}, 17},  {{2020, 1, 25}, 37}, {{2021, 2, 12}, 38},
      {{2022, 2, 1}, 39}, {{2023, 1, 22}, 40}, {{2024, 2, 10}, 41}, {{2025, 1, 29}, 42},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Trace(c.newYear));
    const Ymd& n = c.newYear;
    const Ymd before = DayBefore(n);
    const int previous = c.index == 1 ? 60 : c.index - 1;
    EXPECT_EQ(YearCycleIndex(n.y, n.m, n.d, kNewYear, kHistoricalRules), c.index);
    EXPECT_EQ(YearCycleIndex(before.y, before.m, before.d, kNewYear, kHistoricalRules), previous);
    EXPECT_EQ(AnimalIndex(before.y, before.m, before.d, kNewYear, kHistoricalRules), (previous - 1) % 12 + 1);
  }
  // 2024: the two rules part between 立春 (4 February) and the new year (10 February).
  EXPECT_EQ(YearCycleIndex(2024, 2, 9, kNewYear, kHistoricalRules), 40);  // 癸卯
  EXPECT_EQ(YearCycleIndex(2024, 2, 9, kSpring, kHistoricalRules), 41);   // 甲辰
  EXPECT_EQ(AnimalIndex(2024, 2, 9, kNewYear, kHistoricalRules), 4);      // 兔
  EXPECT_EQ(AnimalIndex(2024, 2, 10, kNewYear, kHistoricalRules), 5);     // 龙
}

// Months begin at 小寒, 立春, 惊蛰, ... 大雪 (published days of 2024 and
// early 2025); the 寅 month's stem follows the year's stem.
TEST(Sexagenary, MonthsBeginAtTheOddSolarTerms) {
  const struct {
    Ymd termDay;
    int index;
  } cases[] = {
      {{2024, 1, 6}, 2},    // 小寒: 乙丑, the last month of 癸卯
      {{2024, 2, 4}, 3},    // 立春: 丙寅
      {{2024, 3, 5}, 4},    // 惊蛰: 丁卯
      {{2024, 4, 4}, 5},    // 清明: 戊辰
      {{2024, 8, 7}, 9},    // 立秋: 壬申
      {{2024, 12, 6}, 13},  // 大雪: 丙子
      {{2025, 1, 5}, 14},   // 小寒: 丁丑, still 甲辰
      {{2025, 2, 3}, 15},   // 立春: 戊寅 of 乙巳
      {{2024, 9, 7}, 10},   // 白露: 癸酉
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Trace(c.termDay));
    const Ymd& t = c.termDay;
    const Ymd before = DayBefore(t);
    EXPECT_EQ(MonthCycleIndex(t.y, t.m, t.d, kSpring, kHistoricalRules), c.index);
    EXPECT_EQ(MonthCycleIndex(before.y, before.m, before.d, kSpring, kHistoricalRules),
              c.index == 1 ? 60 : c.index - 1);
  }
  // Between 小寒 and 立春: the previous year's stem and its 丑 month.
  EXPECT_EQ(YearCycleIndex(2024, 1, 20, kSpring, kHistoricalRules), 40);  // 癸卯
  EXPECT_EQ(MonthCycleIndex(2024, 1, 20, kSpring, kHistoricalRules), 2);  // 乙丑
  // Before 小寒 the 子 month of the previous year goes on.
  EXPECT_EQ(MonthCycleIndex(2024, 1, 1, kSpring, kHistoricalRules), 1);  // 甲子
}

// Throughout the range and in both modes the year and the 寅 month begin
// together on the day of 立春, and the day before is the 丑 month of the year
// before.
TEST(Sexagenary, YearAndFirstMonthBeginTogetherAtSpringStartEveryYear) {
  for (std::int16_t mode : {0, 1}) {
    const CalendarRules rules{mode == 1};
    int failures = 0;
    for (int year = -8999; year <= 9000; ++year) {
      const DayNumber j1 = DateToDayNumber(year, 1, 1);
      const DayNumber t = TermDayOnOrAfter(j1, 3, rules);
      const auto day = DayNumberToDate(t);
      const auto before = DayNumberToDate(t - 1);
      ASSERT_TRUE(day && before) << year;
      const int index = YearCycleIndex(day->year, day->month, day->day, kSpring, rules);
      const int first = FirstMonthOf(index);
      const bool ok =
          index == (year + 12056) % 60 + 1 &&
          YearCycleIndex(before->year, before->month, before->day, kSpring, rules) == (year + 12055) % 60 + 1 &&
          MonthCycleIndex(day->year, day->month, day->day, kSpring, rules) == first &&
          MonthCycleIndex(before->year, before->month, before->day, kSpring, rules) == (first + 58) % 60 + 1;
      if (!ok && ++failures <= 5) ADD_FAILURE() << "mode " << mode << ", year " << year;
    }
    EXPECT_EQ(failures, 0) << "mode " << mode;
  }
}

// Likewise at the lunar new year when the year begins there.
TEST(Sexagenary, YearAndFirstMonthBeginTogetherAtTheLunarNewYear) {
  int failures = 0;
  auto check = [&](int year) {
    const DayNumber t = NewYearDay(year, kHistoricalRules);
    const auto day = DayNumberToDate(t);
    const auto before = DayNumberToDate(t - 1);
    ASSERT_TRUE(day && before) << year;
    const int index = YearCycleIndex(day->year, day->month, day->day, kNewYear, kHistoricalRules);
    const int first = FirstMonthOf(index);
    const bool ok =
        day->year == year && index == (year + 12056) % 60 + 1 &&
        YearCycleIndex(before->year, before->month, before->day, kNewYear, kHistoricalRules) ==
            (year + 12055) % 60 + 1 &&
        MonthCycleIndex(day->year, day->month, day->day, kNewYear, kHistoricalRules) == first &&
        MonthCycleIndex(before->year, before->month, before->day, kNewYear, kHistoricalRules) == (first + 58) % 60 + 1;
    if (!ok && ++failures <= 5) ADD_FAILURE() << "year " << year;
  };
  // Every year where the historical rules change, a sample elsewhere.
  for (int year = -103; year <= 2200; ++year) check(year);
  for (int year = -8998; year <= 9000; year += 37) check(year);
  EXPECT_EQ(failures, 0);
}

// The 寅 month of each year stem: 丙寅, 戊寅, 庚寅, 壬寅, 甲寅, then again.
TEST(Sexagenary, FirstMonthFollowsTheYearStem) {
  const int expected[] = {3, 15, 27, 39, 51, 3, 15, 27, 39, 51};
  for (int year = 2024; year < 2034; ++year) {
    SCOPED_TRACE(year);
    const int stem = (YearCycleIndex(year, 3, 1, kSpring, kHistoricalRules) - 1) % 10 + 1;
    EXPECT_EQ(stem, (year - 2024) % 10 + 1);
    EXPECT_EQ(MonthCycleIndex(year, 3, 1, kSpring, kHistoricalRules),
              expected[stem - 1]);  // 1 March lies in the 寅 month
  }
}

TEST(Sexagenary, LunarMonthsWhenTheYearBeginsAtTheNewYear) {
  // 2023 (癸卯) has 闰二月 from 22 March to 19 April; 二月 is 乙卯.
  ASSERT_EQ(SolarToLunar(2023, 4, 10, kHistoricalRules), "AD14-20-2023");
  EXPECT_EQ(MonthCycleIndex(2023, 3, 10, kNewYear, kHistoricalRules), 52);
  EXPECT_EQ(MonthCycleIndex(2023, 3, 22, kNewYear, kHistoricalRules), 52);
  EXPECT_EQ(MonthCycleIndex(2023, 4, 10, kNewYear, kHistoricalRules), 52);
  EXPECT_EQ(MonthCycleIndex(2023, 4, 20, kNewYear, kHistoricalRules), 53);  // 三月初一: 丙辰
  // 腊月 of 癸卯 is 乙丑; 正月 of 甲辰 is 丙寅.
  EXPECT_EQ(MonthCycleIndex(2024, 2, 9, kNewYear, kHistoricalRules), 2);
  EXPECT_EQ(MonthCycleIndex(2024, 2, 10, kNewYear, kHistoricalRules), 3);
  // Between 立春 and the new year the two rules disagree.
  EXPECT_EQ(MonthCycleIndex(2024, 2, 5, kSpring, kHistoricalRules), 3);
  EXPECT_EQ(MonthCycleIndex(2024, 2, 5, kNewYear, kHistoricalRules), 2);
}

TEST(Sexagenary, DayCycle) {
  EXPECT_EQ(DayCycleIndex(2000, 1, 1), 55);    // 戊午
  EXPECT_EQ(DayCycleIndex(1949, 10, 1), 1);    // 甲子
  EXPECT_EQ(DayCycleIndex(2024, 2, 10), 41);   // 甲辰
  EXPECT_EQ(DayCycleIndex(1582, 10, 4), 10);   // 癸酉
  EXPECT_EQ(DayCycleIndex(1582, 10, 15), 11);  // 甲戌, the next day across the calendar switch
  // Day numbers 11 and -49 (4713 BC and before) are 甲子.
  for (DayNumber z : {11, -49, 11 - 60 * 1000}) {
    const auto d = DayNumberToDate(z);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(DayCycleIndex(d->year, d->month, d->day), 1) << z;
  }
  // The cycle runs on without a break through day numbers of both signs.
  int previous = DayCycleIndex(-4714, 1, 1);
  for (DayNumber z = DateToDayNumber(-4714, 1, 2); z <= 200; ++z) {
    const auto d = DayNumberToDate(z);
    const int index = DayCycleIndex(d->year, d->month, d->day);
    ASSERT_EQ(index, previous % 60 + 1) << z;
    previous = index;
  }
  EXPECT_EQ(DayCycleIndex(-9998, 1, 1), 19);  // day number -1930711 = -49 - 60 * 32178 + 18
  EXPECT_EQ(DayCycleIndex(2023, 2, 29), 0);
  EXPECT_EQ(DayCycleIndex(1582, 10, 10), 0);
  EXPECT_EQ(DayCycleIndex(10000, 1, 1), 0);
}

TEST(Sexagenary, FullText) {
  EXPECT_EQ(SexagenaryText(2024, 3, 1, kSpring, kHistoricalRules), "甲辰(龙)年丙寅月甲子日");
  EXPECT_EQ(SexagenaryText(1949, 10, 1, kSpring, kHistoricalRules), "己丑(牛)年癸酉月甲子日");
  EXPECT_EQ(SexagenaryText(2000, 1, 1, kSpring, kHistoricalRules), "己卯(兔)年丙子月戊午日");
  EXPECT_EQ(SexagenaryText(2024, 2, 9, kSpring, kHistoricalRules), "甲辰(龙)年丙寅月癸卯日");
  EXPECT_EQ(SexagenaryText(2024, 2, 9, kNewYear, kHistoricalRules), "癸卯(兔)年乙丑月癸卯日");
  EXPECT_EQ(SexagenaryText(2023, 4, 10, kNewYear, kHistoricalRules), "癸卯(兔)年乙卯月戊戌日");
}

TEST(Sexagenary, UnacceptedInputGivesNothing) {
  const Ymd bad[] = {{2023, 2, 29}, {1582, 10, 5}, {2024, 13, 1}, {2024, 0, 1}, {2024, 1, 0}, {10000, 1, 1}};
  for (const auto& d : bad) {
    SCOPED_TRACE(Trace(d));
    for (YearStart from : {kSpring, kNewYear}) {
      EXPECT_EQ(YearCycleIndex(d.y, d.m, d.d, from, kHistoricalRules), 0);
      EXPECT_EQ(AnimalIndex(d.y, d.m, d.d, from, kHistoricalRules), 0);
      EXPECT_EQ(MonthCycleIndex(d.y, d.m, d.d, from, kHistoricalRules), 0);
      EXPECT_EQ(SexagenaryText(d.y, d.m, d.d, from, kHistoricalRules), "");
    }
    EXPECT_EQ(WeekdayName(d.y, d.m, d.d), "");
    EXPECT_EQ(ZodiacSignName(d.y, d.m, d.d), "");
  }
  // The texts cover -8999..9000 only.
  for (const Ymd& d : {Ymd{9001, 1, 1}, Ymd{-9000, 12, 31}}) {
    SCOPED_TRACE(Trace(d));
    EXPECT_EQ(SexagenaryText(d.y, d.m, d.d, kSpring, kHistoricalRules), "");
    EXPECT_EQ(WeekdayName(d.y, d.m, d.d), "");
    EXPECT_EQ(ZodiacSignName(d.y, d.m, d.d), "");
    EXPECT_NE(DayCycleIndex(d.y, d.m, d.d), 0);
  }
  EXPECT_NE(WeekdayName(9000, 12, 31), "");
  EXPECT_NE(ZodiacSignName(-8999, 1, 1), "");
  EXPECT_NE(SexagenaryText(9000, 12, 31, kSpring, kHistoricalRules), "");
  EXPECT_NE(SexagenaryText(-8999, 1, 1, kSpring, kHistoricalRules), "");
  // Lunar-year records exist for -9997..9998 only.
  EXPECT_EQ(YearCycleIndex(9999, 6, 1, kNewYear, kHistoricalRules), 0);
  EXPECT_EQ(YearCycleIndex(-9998, 6, 1, kNewYear, kHistoricalRules), 0);
  EXPECT_NE(YearCycleIndex(9999, 6, 1, kSpring, kHistoricalRules), 0);
  EXPECT_NE(YearCycleIndex(-9998, 6, 1, kSpring, kHistoricalRules), 0);
}

TEST(Sexagenary, Weekdays) {
  const struct {
    Ymd date;
    const char* name;
  } cases[] = {
      {{2000, 1, 1}, "星期六"},  {{2024, 3, 11}, "星期一"},   {{2024, 3, 17}, "星期日"},
      {{1582, 10, 4}, "星期四"}, {{1582, 10, 15}, "星期五"},  {{1949, 10, 1}, "星期六"},
      {{-4712, 1, 1}, "星期一"}, {{-4713, 12, 31}, "星期日"}, {{1970, 1, 1}, "星期四"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WeekdayName(c.date.y, c.date.m, c.date.d), c.name) << Trace(c.date);
  }
}

TEST(Sexagenary, ZodiacSignsChangeAfterTheLastDayOfEachSign) {
  const struct {
    int month, lastDay;
    const char* first;
    const char* second;
  } cases[] = {
      {1, 19, "摩羯座", "水瓶座"},  {2, 18, "水瓶座", "双鱼座"},  {3, 20, "双鱼座", "白羊座"},
      {4, 20, "白羊座", "金牛座"},  {5, 20, "金牛座", "双子座"},  {6, 21, "双子座", "巨蟹座"},
      {7, 22, "巨蟹座", "狮子座"},  {8, 22, "狮子座", "处女座"},  {9, 22, "处女座", "天秤座"},
      {10, 22, "天秤座", "天蝎座"}, {11, 21, "天蝎座", "射手座"}, {12, 21, "射手座", "摩羯座"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.month);
    EXPECT_EQ(ZodiacSignName(2023, c.month, 1), c.first);
    EXPECT_EQ(ZodiacSignName(2023, c.month, c.lastDay), c.first);
    EXPECT_EQ(ZodiacSignName(2023, c.month, c.lastDay + 1), c.second);
    EXPECT_EQ(ZodiacSignName(2023, c.month, DaysInMonth(2023, c.month)), c.second);
  }
  EXPECT_EQ(ZodiacSignName(2024, 2, 29), "双鱼座");
  EXPECT_EQ(ZodiacSignName(1582, 10, 15), "天秤座");
  EXPECT_EQ(ZodiacSignName(1582, 10, 4), "天秤座");
}

}  // namespace
}  // namespace tovani
