#include "engine/date_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tovani {
namespace {

TEST(DateText, CalendarDateTextOfDayNumbers) {
  struct Case {
    DayNumber z;
    const char* text;
  };
  const Case cases[] = {
      {2451545, "AD01-01-2000"}, {1721423, "BC12-31-0001"}, {1721424, "AD01-01-0001"},
      {1683438, "BC01-01-0104"}, {-1930711, "BC01-01-9999"}, {5373484, "AD12-31-9999"},
      {2299160, "AD10-04-1582"}, {2299161, "AD10-15-1582"}, {0, "BC01-01-4713"},
      {5373485, ""},             {-1930712, ""},             {InvalidDayNumber, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateText(c.z), c.text) << c.z;
  }
}

TEST(DateText, ParsesBackToTheSameDate) {
  for (DayNumber z : {-1930711, 0, 1721423, 1721424, 2299160, 2299161, 2451545, 5373484}) {
    const auto parsed = ParseCalendarDateText(DateText(z));
    ASSERT_TRUE(parsed.has_value()) << z;
    EXPECT_EQ(DateToDayNumber(*parsed), z);
  }
  // Lunar month codes 13..24 travel in the same layout.
  EXPECT_EQ(ParseCalendarDateText("AD16-10-2023"), (CivilDate{2023, 16, 10}));
  EXPECT_EQ(CalendarDateText(2023, 16, 10), "AD16-10-2023");
  EXPECT_EQ(CalendarDateText(-103, 1, 1), "BC01-01-0104");
  EXPECT_EQ(CalendarDateText(-9999, 1, 1), "");  // BC 10000 needs five digits
  for (const char* bad : {"", "AD01-01-200", "XX01-01-2000", "AD01/01-2000", "ADa1-01-2000", "AD01-01-2000 "}) {
    EXPECT_FALSE(ParseCalendarDateText(bad).has_value()) << bad;
  }
}

TEST(DateText, DateTimeTruncatesSeconds) {
  struct Case {
    double t;
    const char* text;
  };
  const Case cases[] = {
      {2451545.999999, "AD01-01-2000 23:59:59"},
      {2451545.0, "AD01-01-2000 00:00:00"},
      {2451545.5, "AD01-01-2000 12:00:00"},
      {2460345.0 + (16 * 3600 + 27 * 60 + 8.9) / 86400.0, "AD02-04-2024 16:27:08"},
      {1721423.25, "BC12-31-0001 06:00:00"},
      {-1930711.0, "BC01-01-9999 00:00:00"},
      {-1930710.5, "BC01-01-9999 12:00:00"},
      {5373484.9999, "AD12-31-9999 23:59:51"},
      {5373485.0, ""},
      {-1930711.000001, ""},
      {std::nan(""), ""},
      {std::numeric_limits<double>::infinity(), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateTimeText(c.t), c.text) << std::fixed << c.t;
  }
}

TEST(DateText, NormalizeTypedDates) {
  struct Case {
    const char* input;
    const char* normalized;
  };
  const Case cases[] = {
      {"1-5-824", "01-05-0824"},   {"12-31-2024", "12-31-2024"}, {"2024-1-1", ""},  {"1-1-0", ""},
      {"1-1-12345", ""},           {"1/1/2024", ""},             {"13-45-2024", "13-45-2024"},
      {"1-1-1", "01-01-0001"},     {"01-01-0000", ""},           {"0-1-2024", ""},  {"1-0-2024", ""},
      {"1-1", ""},                 {"1-1-1-1", ""},              {"-1-1-20", ""},   {"1--12024", ""},
      {"123-1-2024", ""},          {"1-123-2024", ""},           {"1-1-", ""},      {"", ""},
      {"12-31-20245", ""},         {"1-1-2024 ", ""},            {"１-1-2024", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NormalizeDateInput(c.input), c.normalized) << c.input;
  }
}

TEST(DateText, AllCharsIn) {
  EXPECT_TRUE(AllCharsIn("12-31", "1234567890-"));
  EXPECT_FALSE(AllCharsIn("12/31", "1234567890-"));
  EXPECT_TRUE(AllCharsIn("", "abc"));
  EXPECT_FALSE(AllCharsIn("0", "12"));
}

TEST(NameTables, LunarMonthAndDayNames) {
  EXPECT_EQ(LunarMonthName(16, MonthSize::kSmall), "闰四月小");
  EXPECT_EQ(LunarMonthName(12, MonthSize::kBig), "腊月大");
  EXPECT_EQ(LunarMonthName(1, MonthSize::kBig), "正月大");
  EXPECT_EQ(LunarMonthName(11, MonthSize::kSmall), "冬月小");
  EXPECT_EQ(LunarMonthName(24, MonthSize::kBig), "闰腊月大");
  EXPECT_EQ(LunarMonthName(0, MonthSize::kBig), "");
  EXPECT_EQ(LunarMonthName(25, MonthSize::kBig), "");
  EXPECT_EQ(LunarMonthBaseName(10), "十月");
  EXPECT_EQ(LunarMonthBaseName(13), "");
  EXPECT_EQ(LunarDayName(1), "初一");
  EXPECT_EQ(LunarDayName(10), "初十");
  EXPECT_EQ(LunarDayName(20), "二十");
  EXPECT_EQ(LunarDayName(21), "廿一");
  EXPECT_EQ(LunarDayName(30), "三十");
  EXPECT_EQ(LunarDayName(0), "");
  EXPECT_EQ(LunarDayName(31), "");
  EXPECT_EQ(ChineseDigitName(1), "一");
  EXPECT_EQ(ChineseDigitName(9), "九");
  EXPECT_EQ(ChineseDigitName(0), "");
  EXPECT_EQ(ChineseDigitName(10), "");
}

TEST(YearTexts, RightAlignedNumeralsAndNumbers) {
  struct Case {
    int year;
    const char* numeral;
    const char* number;
  };
  const Case cases[] = {
      {2024, "  二○二四", "    2024"},
      {-8999, "前九○○○", "  前9000"},
      {1, "        一", "       1"},
      {0, "      前一", "     前1"},
      {-103, "  前一○四", "   前104"},
      {9999, "  九九九九", "    9999"},
      {-9998, "前九九九九", "  前9999"},
      {10000, "", ""},
      {-9999, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(YearNumeralText(c.year), c.numeral) << c.year;
    EXPECT_EQ(YearNumberText(c.year), c.number) << c.year;
  }
}

TEST(Truncation, TrimBlanks) {
  EXPECT_EQ(TrimBlanks("  二○二四"), "二○二四");
  EXPECT_EQ(TrimBlanks(" a b  "), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks(""), "");
}

TEST(Truncation, NeverSplitsATwoByteCharacter) {
  const std::string six = "正月初一腊月";  // six characters, twelve bytes
  ASSERT_EQ(six.size(), 12u);
  struct Case {
    std::string text;
    int n;
    std::string expected;
  };
  const Case cases[] = {
      {six, 11, "正月初一腊"}, {six, 12, six},       {six, 13, six},     {six, 1, ""},
      {six, 0, ""},            {six, -3, ""},        {"", 5, ""},        {"ab正月", 3, "ab"},
      {"ab正月", 4, "ab正"},   {"a正b", 2, "a"},     {"abc", 2, "ab"},
      // A lone lead byte at the end is never read past.
      {std::string("abcd\xd5"), 4, "abcd"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TruncateBytes(c.text, c.n), c.expected) << c.n;
  }
}

}  // namespace
}  // namespace tovani
