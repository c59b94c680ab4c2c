#include "engine/dates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tovani {
namespace {

struct DateAndNumber {
  int year, month, day;
  DayNumber number;
};

// Published Julian Day Numbers and the ends of the range.
const DateAndNumber kKnownDays[] = {
    {-4712, 1, 1, 0},          {-4713, 1, 1, -365},       {-4716, 1, 1, -1461},
    {-4713, 12, 31, -1},       {-4712, 3, 1, 60},         {-9998, 1, 1, -1930711},
    {9999, 12, 31, 5373484},   {1582, 10, 4, 2299160},    {1582, 10, 15, 2299161},
    {2000, 1, 1, 2451545},     {1858, 11, 17, 2400001},   {1, 1, 1, 1721424},
    {0, 12, 31, 1721423},      {-103, 1, 1, 1683438},     {4103, 12, 31, 3220014},
    {5000, 12, 31, 3547637},   {1900, 3, 1, 2415080},     {1600, 2, 29, 2305507},
};

TEST(DayNumbers, KnownDatesConvertBothWays) {
  for (const auto& k : kKnownDays) {
    SCOPED_TRACE(testing::Message() << k.year << "-" << k.month << "-" << k.day);
    EXPECT_EQ(DateToDayNumber(k.year, k.month, k.day), k.number);
    const auto back = DayNumberToDate(k.number);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, (CivilDate{k.year, k.month, k.day}));
  }
}

TEST(DayNumbers, InvalidDatesHaveNoNumber) {
  const CivilDate invalid[] = {
      {1582, 10, 5}, {1582, 10, 10}, {1582, 10, 14}, {-9999, 12, 31}, {10000, 1, 1}, {1700, 2, 29},
      {2023, 2, 29}, {2024, 4, 31},  {2024, 13, 1},  {2024, 0, 1},    {2024, 1, 0},  {2024, 1, 32},
  };
  for (const auto& d : invalid) {
    SCOPED_TRACE(testing::Message() << d.year << "-" << d.month << "-" << d.day);
    EXPECT_FALSE(IsValidDate(d.year, d.month, d.day));
    EXPECT_EQ(DateToDayNumber(d), InvalidDayNumber);
    EXPECT_EQ(DayOfYear(d.year, d.month, d.day), 0);
    EXPECT_FALSE(WeekdayOf(d.year, d.month, d.day).has_value());
  }
}

TEST(DayNumbers, OutsideTheRangeThereIsNoDate) {
  EXPECT_FALSE(DayNumberToDate(-1930712).has_value());
  EXPECT_FALSE(DayNumberToDate(5373485).has_value());
  EXPECT_FALSE(DayNumberToDate(InvalidDayNumber).has_value());
  EXPECT_FALSE(DayNumberToDate(std::numeric_limits<DayNumber>::max()).has_value());
  EXPECT_FALSE(DayNumberToDate(std::numeric_limits<DayNumber>::min()).has_value());
}

// The Julian and Gregorian leap rules written out again, with floor modulo,
// so the walk below does not lean on the code under test.
bool ReferenceLeap(int y) {
  const auto mod = [](int a, int b) { return ((a % b) + b) % b; };
  if (y <= 1582) return mod(y, 4) == 0;
  return mod(y, 4) == 0 && (mod(y, 100) != 0 || mod(y, 400) == 0);
}

int ReferenceMonthLength(int y, int m) {
  static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && ReferenceLeap(y) ? 29 : lengths[m - 1];
}

CivilDate ReferenceNextDay(CivilDate d) {
  if (d.year == 1582 && d.month == 10 && d.day == 4) return {1582, 10, 15};
  if (d.day < ReferenceMonthLength(d.year, d.month)) return {d.year, d.month, d.day + 1};
  if (d.month < 12) return {d.year, d.month + 1, 1};
  return {d.year + 1, 1, 1};
}

// Every day of the range: the number converts to a date and back, and
// consecutive numbers are consecutive dates (so, with the known days above,
// every day number is right).
TEST(DayNumbers, EveryDayOfTheRangeRoundTripsAndFollowsTheDayBefore) {
  auto previous = DayNumberToDate(FirstValidDayNumber);
  ASSERT_TRUE(previous.has_value());
  ASSERT_EQ(*previous, (CivilDate{-9998, 1, 1}));
  long long failures = 0;
  for (DayNumber z = FirstValidDayNumber + 1; z <= LastValidDayNumber; ++z) {
    const auto date = DayNumberToDate(z);
    const bool ok = date.has_value() && *date == ReferenceNextDay(*previous) &&
                    DateToDayNumber(*date) == z && IsValidDate(date->year, date->month, date->day);
    if (!ok && ++failures <= 5) {
      ADD_FAILURE() << "day number " << z << " after " << previous->year << "-" << previous->month << "-"
                    << previous->day;
    }
    if (date) previous = date;
  }
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(*previous, (CivilDate{9999, 12, 31}));
}

TEST(LeapYears, JulianBeforeTheSwitchGregorianAfter) {
  struct Case {
    int year;
    bool leap;
    int days;
  };
  const Case cases[] = {
      {1500, true, 366},  {1300, true, 366},  {1700, false, 365}, {1800, false, 365}, {1900, false, 365},
      {1600, true, 366},  {2000, true, 366},  {2024, true, 366},  {2023, false, 365}, {0, true, 366},
      {-4, true, 366},    {-1, false, 365},   {-2, false, 365},   {-3, false, 365},   {-100, true, 366},
      {1582, false, 355}, {1584, true, 366},  {-9998, false, 365}, {-9996, true, 366},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.year);
    EXPECT_EQ(IsLeapYear(c.year), c.leap);
    EXPECT_EQ(DaysInYear(c.year), c.days);
  }
  EXPECT_TRUE(IsValidDate(1500, 2, 29));
  EXPECT_FALSE(IsValidDate(1700, 2, 29));
}

TEST(DayOfYear, CountsFromOneAndSkipsTheTenMissingDays) {
  struct Case {
    int y, m, d, ordinal;
  };
  const Case cases[] = {
      {2023, 1, 1, 1},    {2023, 12, 31, 365}, {2024, 12, 31, 366}, {2024, 3, 1, 61},  {2023, 3, 1, 60},
      {1582, 10, 4, 277}, {1582, 10, 15, 278}, {1582, 12, 31, 355}, {-1, 12, 31, 365}, {0, 12, 31, 366},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    EXPECT_EQ(DayOfYear(c.y, c.m, c.d), c.ordinal);
  }
  // The ordinal agrees with day numbers everywhere in a few awkward years.
  for (int y : {-9998, -4713, -4712, -1, 0, 1, 1582, 1600, 1700, 9999}) {
    const DayNumber jan1 = DateToDayNumber(y, 1, 1);
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= 31; ++d) {
        if (!IsValidDate(y, m, d)) continue;
        ASSERT_EQ(DayOfYear(y, m, d), DateToDayNumber(y, m, d) - jan1 + 1) << y << "-" << m << "-" << d;
      }
    }
  }
}

TEST(DaysInMonth, OctoberOf1582HasTwentyOneDays) {
  EXPECT_EQ(DaysInMonth(1582, 10), 21);
  EXPECT_EQ(DaysInMonth(1583, 10), 31);
  EXPECT_EQ(DaysInMonth(1500, 2), 29);
  EXPECT_EQ(DaysInMonth(1700, 2), 28);
  EXPECT_EQ(DaysInMonth(2024, 13), 0);
}

TEST(Weekdays, MondayIsZero) {
  EXPECT_EQ(WeekdayOf(2000, 1, 1), Saturday);
  EXPECT_EQ(WeekdayOf(-4712, 1, 1), Monday);
  EXPECT_EQ(WeekdayOf(1582, 10, 4), Thursday);
  EXPECT_EQ(WeekdayOf(1582, 10, 15), Friday);
  EXPECT_EQ(WeekdayOf(2026, 12, 7), Monday);
  EXPECT_EQ(WeekdayOf(-4713, 12, 31), Sunday);
  EXPECT_EQ(WeekdayOf(-8999, 1, 1).has_value(), true);
  EXPECT_EQ(WeekdayOf(9000, 12, 31).has_value(), true);
  // Valid dates outside -8999..9000 have no weekday.
  EXPECT_FALSE(WeekdayOf(-9000, 6, 1).has_value());
  EXPECT_FALSE(WeekdayOf(9001, 1, 1).has_value());
}

TEST(Instants, ClockTimeIsLocalToUtcPlusEight) {
  EXPECT_DOUBLE_EQ(ClockToDayOffset(8, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(ClockToDayOffset(0, 0, 0), -1.0 / 3.0);
  EXPECT_DOUBLE_EQ(ClockToDayOffset(20, 30, 30.0), 0.5 + 30 / 1440.0 + 30 / 86400.0);
  // 00:00 local on day n is the local instant n itself.
  EXPECT_DOUBLE_EQ(LocalInstantOf(LocalMidnightJd(2451545)), 2451545.0);
  EXPECT_DOUBLE_EQ(LocalInstantOf(2451545.0 - 0.5 + ClockToDayOffset(0, 0, 0)), 2451545.0);
}

TEST(Angles, NormalizeIntoHalfOpenInterval) {
  struct Case {
    double x;
    int centre, half;
    double expected;
  };
  const Case cases[] = {
      {360, 180, 180, 0},     {-30, 180, 180, 330},  {725, 180, 180, 5},      {0, 180, 180, 0},
      {180, 0, 180, -180},    {-180, 0, 180, -180},  {190, 0, 180, -170},     {-1e6, 180, 180, 80},
      {359.5, 180, 180, 359.5}, {45, 0, 90, 45},     {90, 0, 90, -90},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " around " << c.centre << "+-" << c.half);
    EXPECT_NEAR(NormalizeAngle(c.x, c.centre, c.half), c.expected, 1e-9);
  }
  // Values a hair below a multiple of 360 must not come out as 360.
  for (double x : {-1e-14, -1e-15, 360 - 1e-13, 720 - 1e-13, -360 - 1e-13}) {
    const double r = NormalizeAngle(x, 180, 180);
    EXPECT_GE(r, 0.0) << x;
    EXPECT_LT(r, 360.0) << x;
  }
  EXPECT_NEAR(NormalizeRadians(-Pi / 2), 1.5 * Pi, 1e-12);
  EXPECT_NEAR(NormalizeRadians(7 * Pi), Pi, 1e-9);
}

TEST(DateArithmetic, IntervalsAndAddingDays) {
  EXPECT_EQ(DaysBetween({1582, 10, 4}, {1582, 10, 15}), 1);
  EXPECT_EQ(DaysBetween({2024, 1, 1}, {2023, 1, 1}), -365);
  EXPECT_EQ(DaysBetween({-9998, 1, 1}, {9999, 12, 31}), LastValidDayNumber - FirstValidDayNumber);
  EXPECT_FALSE(DaysBetween({1582, 10, 10}, {2000, 1, 1}).has_value());
  EXPECT_EQ(AddDays({1582, 10, 4}, 1), (CivilDate{1582, 10, 15}));
  EXPECT_EQ(AddDays({2000, 3, 1}, -1), (CivilDate{2000, 2, 29}));
  EXPECT_EQ(AddDays({1, 1, 1}, -1), (CivilDate{0, 12, 31}));
  EXPECT_FALSE(AddDays({9999, 12, 31}, 1).has_value());
  EXPECT_FALSE(AddDays({-9998, 1, 1}, -1).has_value());
  EXPECT_FALSE(AddDays({2000, 1, 1}, std::numeric_limits<std::int64_t>::max() / 2).has_value());
}

}  // namespace
}  // namespace tovani
