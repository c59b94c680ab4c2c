#include "engine/hijri.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "engine/date_text.h"
#include "engine/dates.h"

namespace tovani {
namespace {

TEST(Hijri, LeapYearsOfTheThirtyYearCycle) {
  const std::string pattern = "010010100100100101001001010010";  // years 1..30 of a cycle
  for (int k = 1; k <= 30; ++k) {
    const bool leap = pattern[k - 1] == '1';
    for (int year : {k, k + 1440, k - 30, k - 9990, k + 9960}) {
      EXPECT_EQ(IsHijriLeapYear(year), leap) << year;
    }
  }
  EXPECT_FALSE(IsHijriLeapYear(0));
  EXPECT_TRUE(IsHijriLeapYear(-1));  // like year 29
  EXPECT_TRUE(IsHijriLeapYear(1445));
  EXPECT_FALSE(IsHijriLeapYear(1446));
  EXPECT_FALSE(IsHijriLeapYear(INT_MIN));  // -2147483648 = 30 * -71582789 + 22 (22 is not leap)
}

TEST(Hijri, MonthLengthsAndValidDates) {
  for (int month = 1; month <= 11; ++month) {
    EXPECT_EQ(HijriMonthLength(1446, month), month % 2 == 1 ? 30 : 29) << month;
  }
  EXPECT_EQ(HijriMonthLength(1445, 12), 30);
  EXPECT_EQ(HijriMonthLength(1446, 12), 29);
  const struct {
    int year, month, day;
    bool valid;
  } cases[] = {
      {1445, 12, 30, true},   {1446, 12, 30, false}, {1446, 12, 29, true},   {1446, 1, 30, true},
      {1446, 2, 30, false},   {1446, 2, 29, true},   {1446, 1, 31, false},   {1446, 1, 0, false},
      {1446, 0, 1, false},    {1446, 13, 1, false},  {1446, -1, 1, false},   {-9998, 1, 1, true},
      {-9999, 12, 29, false}, {9999, 12, 30, false}, {9999, 12, 29, true},   {10000, 1, 1, false},
      {0, 12, 29, true},      {0, 12, 30, false},    {INT_MIN, 1, 1, false}, {INT_MAX, 1, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    EXPECT_EQ(IsValidHijriDate(c.year, c.month, c.day), c.valid);
    EXPECT_EQ(HijriDayNumber(c.year, c.month, c.day) != InvalidDayNumber, c.valid);
  }
  EXPECT_EQ(HijriMonthLength(10000, 1), 0);
  EXPECT_EQ(HijriMonthLength(1446, 0), 0);
  EXPECT_EQ(HijriMonthLength(1446, 13), 0);
}

TEST(Hijri, DayNumbersOfKnownDays) {
  EXPECT_EQ(HijriDayNumber(1, 1, 1), 1948440);  // Friday 16 July 622, Julian
  EXPECT_EQ(HijriDayNumber(0, 12, 29), 1948439);
  EXPECT_EQ(HijriDayNumber(-9998, 1, 1), kFirstHijriDayNumber);
  EXPECT_EQ(HijriDayNumber(1445, 9, 1), DateToDayNumber(2024, 3, 11));
  EXPECT_EQ(HijriDayNumber(1420, 9, 24), DateToDayNumber(2000, 1, 1));
  EXPECT_EQ(HijriDayNumber(31, 1, 1) - HijriDayNumber(1, 1, 1), 10631);
  EXPECT_EQ(HijriDayNumber(1, 1, 1) - HijriDayNumber(-29, 1, 1), 10631);
  EXPECT_EQ(HijriDayNumber(1445, 12, 30) + 1, HijriDayNumber(1446, 1, 1));
  EXPECT_EQ(HijriDayNumber(1446, 12, 31), InvalidDayNumber);
}

// The sample dates of the arithmetic calendar (this epoch, these leap years)
// in Reingold and Dershowitz, Calendrical Calculations, given there by fixed
// day count: R.D. n is day number n + 1721425.
TEST(Hijri, PublishedDates) {
  const struct {
    int rd;
    int year, month, day;
  } cases[] = {
      {-214193, -1245, 12, 9}, {-61387, -813, 2, 23}, {25469, -568, 4, 1},    {49217, -501, 4, 6},
      {171307, -157, 10, 17},  {210155, -47, 6, 3},   {253427, 75, 7, 13},    {369740, 403, 10, 5},
      {400085, 489, 5, 22},    {434355, 586, 2, 7},   {452605, 637, 8, 7},    {470160, 687, 2, 20},
      {473837, 697, 7, 7},     {507850, 793, 7, 1},   {524156, 839, 7, 6},    {544676, 897, 6, 1},
      {567118, 960, 9, 30},    {569477, 967, 5, 27},  {601716, 1058, 5, 18},  {613424, 1091, 6, 2},
      {626596, 1128, 8, 4},    {645554, 1182, 2, 3},  {664224, 1234, 10, 10}, {671401, 1255, 1, 11},
      {694799, 1321, 1, 21},   {704424, 1348, 3, 19}, {708842, 1360, 9, 8},   {709409, 1362, 4, 13},
      {709580, 1362, 10, 7},   {727274, 1412, 9, 13}, {728714, 1416, 10, 5},  {744313, 1460, 10, 12},
      {764652, 1518, 3, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rd);
    const DayNumber z = c.rd + 1721425;
    const auto civil = DayNumberToDate(z);
    ASSERT_TRUE(civil.has_value());
    EXPECT_EQ(HijriDateOf(civil->year, civil->month, civil->day), (CivilDate{c.year, c.month, c.day}));
    EXPECT_EQ(HijriDateText(civil->year, civil->month, civil->day), CalendarDateText(c.year, c.month, c.day));
    EXPECT_EQ(HijriDayNumber(c.year, c.month, c.day), z);
    EXPECT_EQ(CivilDateOfHijri(c.year, c.month, c.day), civil);
    EXPECT_EQ(HijriToGregorianText(c.year, c.month, c.day), DateText(z));
  }
}

TEST(Hijri, DateTexts) {
  const struct {
    int y, m, d;
    const char* hijri;
  } cases[] = {
      {622, 7, 16, "AD01-01-0001"},  // the epoch (Julian date)
      {622, 7, 15, "BC12-29-0001"},  // the last day of year 0, the day before a cycle
      {2000, 1, 1, "AD09-24-1420"},
      {2024, 3, 11, "AD09-01-1445"},
      {2024, 7, 7, "AD12-30-1445"},  // 1445 is a leap year
      {2024, 7, 8, "AD01-01-1446"},
      {2025, 6, 26, "AD12-29-1446"},
      {2025, 6, 27, "AD01-01-1447"},
      {9999, 12, 31, "AD04-02-9666"},
      {2023, 2, 29, ""},
      {1582, 10, 10, ""},
      {10000, 1, 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HijriDateText(c.y, c.m, c.d), c.hijri) << c.y << "-" << c.m << "-" << c.d;
  }
  // The first day of the range, Hijri -9998-01-01, and the day before it.
  const auto first = DayNumberToDate(kFirstHijriDayNumber);
  const auto before = DayNumberToDate(kFirstHijriDayNumber - 1);
  ASSERT_TRUE(first && before);
  EXPECT_EQ(HijriDateText(first->year, first->month, first->day), "BC01-01-9999");
  EXPECT_EQ(HijriDateText(before->year, before->month, before->day), "");
  EXPECT_EQ(HijriDateText(-9998, 1, 1), "");  // a valid Gregorian date about 9080 BC
}

TEST(Hijri, GregorianTextsOfHijriDates) {
  const struct {
    int y, m, d;
    const char* civil;
  } cases[] = {
      {1, 1, 1, "AD07-16-0622"},
      {0, 12, 29, "AD07-15-0622"},
      {1445, 9, 1, "AD03-11-2024"},
      {1446, 1, 1, "AD07-08-2024"},
      {9666, 4, 2, "AD12-31-9999"},
      {9666, 4, 3, ""},
      {9999, 1, 1, ""},
      {1446, 12, 30, ""},
      {1446, 13, 1, ""},
      {-9999, 1, 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HijriToGregorianText(c.y, c.m, c.d), c.civil) << c.y << "-" << c.m << "-" << c.d;
  }
  EXPECT_EQ(HijriToGregorianText(-9998, 1, 1), DateText(kFirstHijriDayNumber));
}

TEST(Hijri, YearTexts) {
  const struct {
    int year;
    const char* text;
  } cases[] = {
      {1445, "  回历1445"}, {1, "     回历1"},  {99, "    回历99"},    {9999, "  回历9999"},
      {0, "   回历前1"},    {-1, "   回历前2"}, {-9998, "回历前9999"}, {-999, "回历前1000"},
      {-998, " 回历前999"}, {10000, ""},        {-9999, ""},           {INT_MIN, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HijriYearText(c.year), c.text) << c.year;
  }
}

// Every day of the range against the calendar walked day by day from its
// rules: leap years where (14 + 11 H) mod 30 < 11, months of 30 and 29 days
// in turn, the last month 30 days in a leap year; the walk must pass through
// the epoch, 1 Muharram AH 1 = day 1948440.
TEST(Hijri, EveryDayOfTheRangeAgreesWithAWalkThroughTheCalendar) {
  auto leap = [](int h) { return ((14 + 11 * h) % 30 + 30) % 30 < 11; };
  auto length = [&](int h, int m) { return m == 12 ? (leap(h) ? 30 : 29) : (m % 2 == 1 ? 30 : 29); };
  // The expected text built digit by digit.
  auto matches = [](const std::string& text, int h, int m, int d) {
    const int number = h >= 1 ? h : 1 - h;
    const char expected[] = {h >= 1 ? 'A' : 'B',
                             h >= 1 ? 'D' : 'C',
                             static_cast<char>('0' + m / 10),
                             static_cast<char>('0' + m % 10),
                             '-',
                             static_cast<char>('0' + d / 10),
                             static_cast<char>('0' + d % 10),
                             '-',
                             static_cast<char>('0' + number / 1000),
                             static_cast<char>('0' + number / 100 % 10),
                             static_cast<char>('0' + number / 10 % 10),
                             static_cast<char>('0' + number % 10)};
    return text == std::string_view(expected, sizeof expected);
  };
  int h = -9998, m = 1, d = 1;
  bool passedEpoch = false;
  long long failures = 0;
  for (DayNumber z = kFirstHijriDayNumber; z <= kLastHijriDayNumber; ++z) {
    const auto civil = DayNumberToDate(z);
    const bool ok = civil.has_value() && matches(HijriDateText(civil->year, civil->month, civil->day), h, m, d) &&
                    HijriDayNumber(h, m, d) == z && IsValidHijriDate(h, m, d);
    if (!ok && ++failures <= 5) ADD_FAILURE() << "day number " << z << ": expected " << h << "-" << m << "-" << d;
    if (z == 1948440) passedEpoch = h == 1 && m == 1 && d == 1;
    if (d < length(h, m)) {
      ++d;
      continue;
    }
    // The last day of a month: the next day is not valid, and the month
    // knows its length.
    if (IsValidHijriDate(h, m, d + 1) || HijriMonthLength(h, m) != d) {
      if (++failures <= 5) ADD_FAILURE() << "month " << h << "-" << m << " has " << d << " days";
    }
    d = 1;
    if (++m > 12) {
      m = 1;
      ++h;
    }
  }
  EXPECT_EQ(failures, 0);
  EXPECT_TRUE(passedEpoch);
  EXPECT_EQ(CalendarDateText(h, m, d), "AD04-03-9666");  // the day after the range
  EXPECT_EQ(HijriToGregorianText(h, m, d), "");
  EXPECT_EQ(HijriDayNumber(h, m, d), kLastHijriDayNumber + 1);
}

}  // namespace
}  // namespace tovani
