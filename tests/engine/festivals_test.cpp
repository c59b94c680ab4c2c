#include "engine/festivals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/dates.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani {

namespace {

DayNumber Day(int y, int m, int d) { return DateToDayNumber(y, m, d); }
bool Contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }
bool StartsWith(const std::string& s, const std::string& part) { return s.compare(0, part.size(), part) == 0; }
bool EndsWith(const std::string& s, const std::string& part) {
  return s.size() >= part.size() && s.compare(s.size() - part.size(), part.size(), part) == 0;
}

const std::string kEaster = "复活节";

TEST(Festivals, FixedDatesWithFirstYearsAndShortAndFullNames) {
  const struct {
    int y, m, d;
    const char* brief;  // full = 0
    const char* full;   // full = 1
  } cases[] = {
      {2024, 3, 8, "妇女节", "国际妇女节"},
      {1911, 3, 8, "妇女节", "国际妇女节"},
      {1910, 3, 8, "", ""},
      {2024, 5, 1, "劳动节", "国际劳动节"},
      {1888, 5, 1, "", ""},
      {2024, 6, 1, "儿童节", "国际儿童节"},
      {2024, 1, 1, "元旦节", "元旦节"},
      {-500, 1, 1, "元旦节", "元旦节"},
      {-8999, 1, 1, "元旦节", "元旦节"},
      {9000, 1, 1, "元旦节", "元旦节"},
      {2024, 2, 14, "情人节", "情人节"},
      {2024, 4, 1, "愚人节", "愚人节"},
      {1563, 4, 1, "", ""},
      {1564, 4, 1, "愚人节", "愚人节"},
      {2024, 2, 2, "", "世界湿地日"},
      {1996, 2, 2, "", ""},
      {2024, 10, 12, "", "世界60亿人口日"},
      {2023, 10, 31, "", "万圣节"},
      {1000, 10, 31, "", "万圣节"},
      {2024, 12, 20, "", "澳门回归纪念日"},
      {1998, 12, 20, "", ""},
      {2024, 11, 11, "", "光棍节"},
      {2024, 10, 1, "国庆节", "国庆节"},
      {1948, 10, 1, "", ""},
      {2024, 9, 10, "教师节", "教师节"},
      {2024, 8, 1, "建军节", "建军节"},
      // 建党节 from 1921; the return of Hong Kong is remembered from 1999.
      {2008, 7, 1, "建党节", "建党节 香港回归纪念日"},
      {1999, 7, 1, "建党节", "建党节 香港回归纪念日"},
      {1998, 7, 1, "建党节", "建党节"},
      {1921, 7, 1, "建党节", "建党节"},
      {1920, 7, 1, "", ""},
      // Christmas from 440, in the Julian calendar before 1582.
      {440, 12, 25, "圣诞节", "圣诞节"},
      {439, 12, 25, "", ""},
      {2024, 12, 24, "平安夜", "平安夜"},
      {2024, 6, 2, "", ""},
      {2024, 12, 26, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GregorianFestivalText(c.y, c.m, c.d, FestivalList::kMain), c.brief) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(GregorianFestivalText(c.y, c.m, c.d, FestivalList::kFull), c.full) << c.y << "-" << c.m << "-" << c.d;
  }
}

TEST(Festivals, InvalidDatesAndYearsOutOfRangeGiveNothing) {
  const struct {
    int y, m, d;
  } bad[] = {{2024, 2, 30}, {2023, 2, 29}, {1582, 10, 10}, {2024, 13, 1}, {2024, 0, 1},
             {2024, 1, 0},  {9001, 1, 1},  {-9000, 1, 1},  {10000, 1, 1}};
  for (const auto& b : bad) {
    EXPECT_EQ(GregorianFestivalText(b.y, b.m, b.d, FestivalList::kFull), "") << b.y << "-" << b.m << "-" << b.d;
    EXPECT_EQ(NextSolarTermNote(b.y, b.m, b.d, kHistoricalRules), "") << b.y << "-" << b.m << "-" << b.d;
    EXPECT_EQ(NineNinesText(b.y, b.m, b.d, kHistoricalRules), "") << b.y << "-" << b.m << "-" << b.d;
    EXPECT_EQ(DogDaysText(b.y, b.m, b.d, kHistoricalRules), "") << b.y << "-" << b.m << "-" << b.d;
    EXPECT_EQ(PlumRainText(b.y, b.m, b.d, kHistoricalRules), "") << b.y << "-" << b.m << "-" << b.d;
  }
  EXPECT_EQ(GregorianFestivalText(9001, 1, 1, FestivalList::kMain), "");
  EXPECT_EQ(LunarFestivalText(9001, 1, 1, kHistoricalRules), "");
  EXPECT_EQ(LunarFestivalText(-9000, 1, 1, kHistoricalRules), "");
  EXPECT_EQ(LunarFestivalText(2024, 12, 30, kHistoricalRules), "");  // a small 腊月
  EXPECT_EQ(LunarFestivalText(2024, 13, 1, kHistoricalRules), "");   // no leap month after 正月
  EXPECT_EQ(LunarFestivalText(2024, 0, 1, kHistoricalRules), "");
  EXPECT_EQ(LunarFestivalText(2024, 25, 1, kHistoricalRules), "");
}

TEST(Festivals, NthWeekdayOfAMonth) {
  // Checked against the weekdays of the calendar: the day has the weekday and
  // n - 1 days of that weekday come before it in the month.
  for (int year : {-500, 1582, 1583, 1863, 1900, 2000, 2024, 2025, 9000}) {
    for (int month = 1; month <= 12; ++month) {
      for (int n = 1; n <= 4; ++n) {
        for (int w = 0; w <= 6; ++w) {
          const int day = NthWeekdayOfMonth(year, month, n, w);
          int count = 0;  // days of that weekday in the month
          for (int d = 1; d <= 31; ++d) {
            count += IsValidDate(year, month, d) && *WeekdayOf(year, month, d) == (w + 6) % 7;
          }
          if (n > count) {  // only in October 1582, three weeks long
            EXPECT_FALSE(IsValidDate(year, month, day)) << year << "-" << month << " " << n << " " << w;
            continue;
          }
          ASSERT_TRUE(IsValidDate(year, month, day)) << year << "-" << month << " " << n << " " << w;
          EXPECT_EQ(*WeekdayOf(year, month, day), (w + 6) % 7) << year << "-" << month << "-" << day;
          int before = 0;
          for (int d = 1; d < day; ++d) {
            before += IsValidDate(year, month, d) && *WeekdayOf(year, month, d) == (w + 6) % 7;
          }
          EXPECT_EQ(before, n - 1) << year << "-" << month << "-" << day;
        }
      }
    }
  }
  // October 1582 lost the 5th to the 14th; the 4th was a Thursday, the 15th a Friday.
  const struct {
    int n, w, day;
  } october1582[] = {{1, 4, 4},  {2, 4, 21}, {1, 5, 15}, {1, 0, 17}, {2, 0, 24},
                     {3, 0, 31}, {1, 1, 1},  {2, 1, 18}, {3, 1, 25}};
  for (const auto& c : october1582) EXPECT_EQ(NthWeekdayOfMonth(1582, 10, c.n, c.w), c.day) << c.n << " " << c.w;
}

TEST(Festivals, MothersFathersAndThanksgivingDays) {
  const struct {
    int y, m, d;
    const char* brief;
    const char* full;
  } cases[] = {
      {2024, 5, 12, "母亲节", "国际护士节 母亲节"},  // the second Sunday falls on a full-list day
      {2024, 5, 5, "", ""},
      {2024, 5, 19, "", "中国旅游日"},
      {2022, 5, 8, "母亲节", "世界红十字日 母亲节"},
      {2025, 5, 11, "母亲节", "母亲节"},
      {1913, 5, 11, "母亲节", "母亲节"},
      {1912, 5, 12, "", "国际护士节"},  // the second Sunday, before the first year
      {2024, 6, 16, "父亲节", "父亲节"},
      {2024, 6, 9, "", ""},
      {1934, 6, 17, "父亲节", "父亲节"},
      {1933, 6, 18, "", ""},
      {2024, 11, 28, "感恩节", "感恩节"},
      {2023, 11, 23, "感恩节", "感恩节"},
      {2024, 11, 21, "", "世界电视日"},
      {1863, 11, 26, "感恩节", "感恩节"},
      {1862, 11, 27, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GregorianFestivalText(c.y, c.m, c.d, FestivalList::kMain), c.brief) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(GregorianFestivalText(c.y, c.m, c.d, FestivalList::kFull), c.full) << c.y << "-" << c.m << "-" << c.d;
  }
}

// The list others show of the rule festivals: in its order, the names their days carry.
TEST(Festivals, RuleFestivalNamesInTheirListOrder) {
  const struct {
    const char* name;
    int m, d;  // a day of 2024 that carries it
  } expected[] = {{"复活节", 3, 31}, {"母亲节", 5, 12}, {"父亲节", 6, 16}, {"感恩节", 11, 28}};
  const auto names = RuleFestivalNames();
  ASSERT_EQ(names.size(), std::size(expected));
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_STREQ(names[i], expected[i].name);
    EXPECT_TRUE(Contains(GregorianFestivalText(2024, expected[i].m, expected[i].d, FestivalList::kFull), names[i]))
        << expected[i].name;
  }
}

// Easter by the Gregorian computus; on 1 April the full list names both.
TEST(Festivals, EasterOnThePublishedDates) {
  const struct {
    int y, m, d;
  } published[] = {{1961, 4, 2},  {2001, 4, 15}, {2008, 3, 23}, {2010, 4, 4},  {2011, 4, 24}, {2013, 3, 31},
                   {2016, 3, 27}, {2018, 4, 1},  {2023, 4, 9},  {2024, 3, 31}, {2025, 4, 20}};
  for (const auto& e : published) {
    EXPECT_TRUE(Contains(GregorianFestivalText(e.y, e.m, e.d, FestivalList::kFull), kEaster)) << e.y;
    EXPECT_FALSE(
        Contains(GregorianFestivalText(e.y, e.m, e.d - 7 > 0 ? e.d - 7 : e.d + 7, FestivalList::kFull), kEaster))
        << e.y;
  }
  EXPECT_EQ(GregorianFestivalText(2024, 3, 31, FestivalList::kMain), kEaster);
  EXPECT_EQ(GregorianFestivalText(2024, 3, 24, FestivalList::kFull), "");
  // On 1 April only the full list names both.
  EXPECT_EQ(GregorianFestivalText(2018, 4, 1, FestivalList::kMain), "愚人节");
  EXPECT_EQ(GregorianFestivalText(2018, 4, 1, FestivalList::kFull), "愚人节 复活节");
}

// The published Gregorian Easter (the anonymous algorithm of Meeus, chapter 8).
CivilDate GregorianEaster(int y) {
  const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4, f = (b + 8) / 25, g = (b - f + 1) / 3;
  const int h = (19 * a + b - d - g + 15) % 30, i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
  const int m = (a + 11 * h + 22 * l) / 451;
  return {y, (h + l - 7 * m + 114) / 31, (h + l - 7 * m + 114) % 31 + 1};
}

TEST(Festivals, EasterOncePerYearOnASunday) {
  for (int y = 1900; y <= 2100; ++y) {
    int count = 0;
    DayNumber easter = 0;
    for (DayNumber j = Day(y, 3, 15); j <= Day(y, 5, 10); ++j) {
      const auto date = *DayNumberToDate(j);
      if (Contains(GregorianFestivalText(date.year, date.month, date.day, FestivalList::kFull), kEaster)) {
        ++count;
        easter = j;
      }
    }
    ASSERT_EQ(count, 1) << y;
    EXPECT_EQ(*WeekdayOf(y, DayNumberToDate(easter)->month, DayNumberToDate(easter)->day), Sunday) << y;
    EXPECT_EQ(easter, DateToDayNumber(GregorianEaster(y))) << y;
  }
  // From 325 on.
  for (int y : {324, 325}) {
    int count = 0;
    for (DayNumber j = Day(y, 3, 1); j <= Day(y, 5, 10); ++j) {
      const auto date = *DayNumberToDate(j);
      if (GregorianFestivalText(date.year, date.month, date.day, FestivalList::kMain) == kEaster) ++count;
    }
    EXPECT_EQ(count, y == 325 ? 1 : 0) << y;
  }
}

TEST(Festivals, LunarFestivals) {
  const struct {
    int y, m, d;
    const char* name;
  } cases[] = {
      {2024, 1, 1, "春节"},
      {2024, 1, 15, "元宵节"},
      {2024, 2, 2, "春龙节"},
      {2024, 5, 5, "端午节"},
      {2024, 6, 24, "火把节"},
      {2024, 7, 7, "七夕节"},
      {2024, 7, 15, "中元节"},
      {2024, 8, 15, "中秋节"},
      {2024, 9, 9, "重阳节"},
      {2024, 10, 1, "祭祖节"},
      {2024, 12, 8, "腊八节"},
      {2024, 12, 23, "小年"},
      {2024, 1, 2, ""},
      {2024, 8, 16, ""},
      {2024, 12, 22, ""},
      {2024, 12, 28, ""},
      // 端午节 from 278 BC.
      {-277, 5, 5, "端午节"},
      {-278, 5, 5, ""},
      {-278, 1, 1, "春节"},
      // Leap months have no festivals: 闰二月 of 2023, 闰六月 of 2025.
      {2023, 14, 2, ""},
      {2025, 18, 24, ""},
      {2023, 2, 2, "春龙节"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LunarFestivalText(c.y, c.m, c.d, kHistoricalRules), c.name) << c.y << " " << c.m << " " << c.d;
  }
}

TEST(Festivals, NewYearsEveIsTheLastDayOfTheYear) {
  // Lunar 2023 ends with a big 腊月 (除夕 on 9 February 2024), lunar 2024 with
  // a small one (除夕 on 28 January 2025).
  ASSERT_EQ(LunarMonthLength(2023, 12, kHistoricalRules), 30);
  ASSERT_EQ(LunarMonthLength(2024, 12, kHistoricalRules), 29);
  EXPECT_EQ(LunarToSolar(2023, 12, 30, kHistoricalRules), "AD02-09-2024");
  EXPECT_EQ(LunarToSolar(2024, 12, 29, kHistoricalRules), "AD01-28-2025");
  EXPECT_EQ(LunarFestivalText(2023, 12, 30, kHistoricalRules), "除夕");
  EXPECT_EQ(LunarFestivalText(2023, 12, 29, kHistoricalRules), "");
  EXPECT_EQ(LunarFestivalText(2024, 12, 29, kHistoricalRules), "除夕");

  // Years ending with a leap twelfth month (正德十二年 and 万历二年): 小年 and
  // 除夕 fall in the leap month, and the ordinary 腊月 keeps only 腊八节.
  ASSERT_TRUE(IsValidLunarDate(1517, 24, 1, kHistoricalRules));
  ASSERT_EQ(LunarMonthLength(1517, 24, kHistoricalRules), 29);
  ASSERT_EQ(LunarMonthLength(1517, 12, kHistoricalRules), 30);
  ASSERT_TRUE(IsValidLunarDate(1574, 24, 1, kHistoricalRules));
  ASSERT_EQ(LunarMonthLength(1574, 24, kHistoricalRules), 30);
  ASSERT_FALSE(IsValidLunarDate(2024, 24, 1, kHistoricalRules));
  const struct {
    int y, m, d;
    const char* name;
  } leapYears[] = {
      {1517, 24, 23, "小年"},  {1517, 24, 29, "除夕"}, {1517, 24, 28, ""}, {1517, 24, 8, ""},
      {1517, 12, 8, "腊八节"}, {1517, 12, 23, ""},     {1517, 12, 29, ""}, {1517, 12, 30, ""},
      {1574, 24, 23, "小年"},  {1574, 24, 30, "除夕"}, {1574, 24, 29, ""}, {1574, 12, 30, ""},
  };
  for (const auto& c : leapYears) {
    EXPECT_EQ(LunarFestivalText(c.y, c.m, c.d, kHistoricalRules), c.name) << c.y << " " << c.m << " " << c.d;
  }
}

TEST(Festivals, NextSolarTermNote) {
  // 2024: 立春 4 February 16:27, 雨水 19 February 12:13, 寒露 8 October 03:00,
  // 大寒 20 January 22:07 (UTC+8).
  const struct {
    int y, m, d;
    const char* prefix;
    int hour, minute;  // the published time, for the forms with a time
  } timed[] = {
      {2024, 2, 4, "今日立春 ", 16, 27}, {2024, 2, 3, "明日立春 ", 16, 27}, {2024, 2, 18, "明日雨水 ", 12, 13},
      {2024, 10, 8, "今日寒露 ", 3, 0},  {2024, 10, 7, "明日寒露 ", 3, 0},  {2024, 1, 20, "今日大寒 ", 22, 7},
      {2024, 1, 19, "明日大寒 ", 22, 7},
  };
  for (const auto& c : timed) {
    const std::string note = NextSolarTermNote(c.y, c.m, c.d, kHistoricalRules);
    const std::string prefix = c.prefix;
    ASSERT_TRUE(StartsWith(note, prefix)) << c.m << "-" << c.d;
    ASSERT_EQ(note.size(), prefix.size() + 8) << c.m << "-" << c.d;
    const std::string clock = note.substr(prefix.size());
    ASSERT_EQ(clock[2], ':');
    ASSERT_EQ(clock[5], ':');
    const double minutes =
        std::stoi(clock.substr(0, 2)) * 60 + std::stoi(clock.substr(3, 2)) + std::stoi(clock.substr(6, 2)) / 60.0;
    EXPECT_NEAR(minutes, c.hour * 60 + c.minute, 1.5) << note.substr(0, prefix.size()) << clock;
  }
  const struct {
    int y, m, d;
    const char* note;
  } dated[] = {
      {2024, 2, 2, "2月4日立春"},         {2024, 2, 5, "2月19日雨水"},        {2024, 10, 6, "10月8日寒露"},
      {2023, 12, 25, "2024年1月6日小寒"}, {2024, 12, 31, "2025年1月5日小寒"}, {2024, 12, 22, "2025年1月5日小寒"},
  };
  for (const auto& c : dated) EXPECT_EQ(NextSolarTermNote(c.y, c.m, c.d, kHistoricalRules), c.note) << c.y << "-" << c.m << "-" << c.d;

  // Another year before year 1 is written as the historical year.
  const struct {
    int y;
    const char* prefix;
  } eras[] = {{-100, "公元前100年1月"}, {-1, "公元前1年1月"}, {0, "1年1月"}, {1, "2年1月"}};
  for (const auto& e : eras) {
    const std::string note = NextSolarTermNote(e.y, 12, 28, kHistoricalRules);
    EXPECT_TRUE(StartsWith(note, e.prefix)) << e.y;
    EXPECT_TRUE(EndsWith(note, "日小寒")) << e.y;
  }
}

TEST(Festivals, NineNines) {
  // The winter solstice of 2023 fell on 22 December.
  ASSERT_EQ(TermDayOnOrAfter(Day(2023, 12, 1), 24, kHistoricalRules), Day(2023, 12, 22));
  const struct {
    int y, m, d;
    const char* text;
  } cases[] = {
      {2023, 12, 21, ""},
      {2023, 12, 22, "一九第1天"},
      {2023, 12, 23, "一九第2天"},
      {2023, 12, 30, "一九第9天"},
      {2023, 12, 31, "二九第1天"},
      {2024, 1, 12, "三九第4天"},
      {2024, 3, 2, "八九第9天"},
      {2024, 3, 3, "九九第1天"},
      {2024, 3, 10, "九九第8天"},
      {2024, 3, 11, "九九第9天"},
      {2024, 3, 12, ""},
      {2024, 3, 20, ""},
      {2024, 7, 1, ""},
      // 2024: solstice on 21 December.
      {2024, 12, 20, ""},
      {2024, 12, 21, "一九第1天"},
      {2025, 1, 1, "二九第3天"},
  };
  for (const auto& c : cases) EXPECT_EQ(NineNinesText(c.y, c.m, c.d, kHistoricalRules), c.text) << c.y << "-" << c.m << "-" << c.d;
}

TEST(Festivals, DogDays) {
  // The published periods: 2024 from 15 July (中伏 of 20 days from 25 July,
  // 末伏 from 14 August), 2025 from 20 July (中伏 of 10 days from 30 July,
  // 末伏 from 9 August), 2023 from 11 July (the solstice, 21 June, being a 庚 day).
  const struct {
    int y, m, d;
    const char* text;
  } cases[] = {
      {2024, 7, 14, ""},           {2024, 7, 15, "初伏第1天"}, {2024, 7, 24, "初伏第10天"}, {2024, 7, 25, "中伏第1天"},
      {2024, 8, 13, "中伏第20天"}, {2024, 8, 14, "末伏第1天"}, {2024, 8, 23, "末伏第10天"}, {2024, 8, 24, ""},
      {2024, 6, 21, ""},           {2025, 7, 19, ""},          {2025, 7, 20, "初伏第1天"},  {2025, 7, 30, "中伏第1天"},
      {2025, 8, 8, "中伏第10天"},  {2025, 8, 9, "末伏第1天"},  {2025, 8, 18, "末伏第10天"}, {2025, 8, 19, ""},
      {2023, 7, 10, ""},           {2023, 7, 11, "初伏第1天"}, {2024, 1, 15, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DogDaysText(c.y, c.m, c.d, kHistoricalRules), c.text) << c.y << "-" << c.m << "-" << c.d;
  // 2012: 立秋 (7 August) is itself a 庚 day and begins 末伏.
  ASSERT_EQ(TermDayOnOrAfter(Day(2012, 7, 1), 15, kHistoricalRules), Day(2012, 8, 7));
  EXPECT_EQ(DogDaysText(2012, 8, 7, kHistoricalRules), "末伏第1天");
  EXPECT_EQ(DogDaysText(2012, 8, 6, kHistoricalRules), "中伏第10天");
}

TEST(Festivals, PlumRainBeginsAndEndsOnSingleDays) {
  // 2024: 芒种 on 5 June (a 庚 day), the first 丙 day 11 June; 小暑 on
  // 6 July, itself a 未 day (辛未).  2008: 芒种 on 5 June is itself a 丙 day.
  ASSERT_EQ(TermDayOnOrAfter(Day(2024, 5, 1), 11, kHistoricalRules), Day(2024, 6, 5));
  ASSERT_EQ(TermDayOnOrAfter(Day(2024, 5, 1), 13, kHistoricalRules), Day(2024, 7, 6));
  ASSERT_EQ(TermDayOnOrAfter(Day(2008, 5, 1), 11, kHistoricalRules), Day(2008, 6, 5));
  const struct {
    int y, m, d;
    const char* text;
  } cases[] = {
      {2024, 6, 10, ""}, {2024, 6, 11, "入梅"}, {2024, 6, 12, ""}, {2024, 6, 21, ""},
      {2024, 7, 5, ""},  {2024, 7, 6, "出梅"},  {2024, 7, 7, ""},  {2024, 7, 18, ""},
      {2024, 6, 5, ""},  {2008, 6, 5, "入梅"},  {2008, 6, 4, ""},  {2008, 6, 15, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PlumRainText(c.y, c.m, c.d, kHistoricalRules), c.text) << c.y << "-" << c.m << "-" << c.d;
  // Exactly one of each in a year.
  for (int y : {1950, 2000, 2024, 2100}) {
    int begins = 0, ends = 0;
    for (DayNumber j = Day(y, 1, 1); j <= Day(y, 12, 31); ++j) {
      const auto date = *DayNumberToDate(j);
      const std::string t = PlumRainText(date.year, date.month, date.day, kHistoricalRules);
      if (t == "入梅") ++begins;
      if (t == "出梅") ++ends;
      if (!t.empty()) {
        EXPECT_TRUE(t == "入梅" || t == "出梅") << t;
      }
    }
    EXPECT_EQ(begins, 1) << y;
    EXPECT_EQ(ends, 1) << y;
  }
}

}  // namespace
}  // namespace tovani
