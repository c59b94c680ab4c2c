#include "ui/calculator/calculator_model.h"

#include <gtest/gtest.h>

namespace tovani::calculator {
namespace {

constexpr DayNumber kNoDate = -100000000;

const DateSpan& Span() {
  static const DateSpan span = MakeDateSpan(kHistoricalRules, -103);
  return span;
}

DayNumber Read(const char* text, bool beforeEra, Calendar c) { return ReadDate(text, beforeEra, c, Span()); }

TEST(CalculatorModel, PagesCaptionsAndSizes) {
  EXPECT_STREQ(PageCaption(1), "计算儒略日");
  EXPECT_STREQ(PageCaption(2), "计算间隔日");
  EXPECT_STREQ(PageCaption(3), "计算干支历");
  EXPECT_STREQ(PageCaption(4), "公历农历回历互转");
  EXPECT_EQ(ClientHeight(1), 176);
  EXPECT_EQ(ClientHeight(2), 236);
  EXPECT_EQ(ClientHeight(3), 176);
  EXPECT_EQ(ClientHeight(4), 211);
  EXPECT_STREQ(ActionLabel(3), "计算");
  EXPECT_STREQ(ActionLabel(4), "转换");
  EXPECT_STREQ(ResultLabel(2), "间隔日数");
}

TEST(CalculatorModel, SentinelIsTheInvalidDayNumber) { EXPECT_EQ(InvalidDayNumber, kNoDate); }

TEST(CalculatorModel, GregorianFieldAtBothEndsOfTheSpan) {
  // 1 January 104 BC (year -103) is the first day, 31 December 5000 the last.
  EXPECT_EQ(Read("01-01-0104", true, Calendar::kGregorian), DateToDayNumber(-103, 1, 1));
  EXPECT_EQ(Read("12-31-0105", true, Calendar::kGregorian), kNoDate);
  EXPECT_EQ(Read("12-31-5000", false, Calendar::kGregorian), DateToDayNumber(5000, 12, 31));
  EXPECT_EQ(Read("01-01-5001", false, Calendar::kGregorian), kNoDate);
  // Without the box the same digits are AD 104.
  EXPECT_EQ(Read("01-01-0104", false, Calendar::kGregorian), DateToDayNumber(104, 1, 1));
  // Typed loosely, it is read as the pattern.
  EXPECT_EQ(Read("1-1-104", true, Calendar::kGregorian), DateToDayNumber(-103, 1, 1));
  EXPECT_EQ(Read("2000-01-01", false, Calendar::kGregorian), kNoDate);
  EXPECT_EQ(Read("00-00-0000", false, Calendar::kGregorian), kNoDate);
  EXPECT_EQ(Read("", false, Calendar::kGregorian), kNoDate);
  EXPECT_EQ(Read("02-30-2024", false, Calendar::kGregorian), kNoDate);
  EXPECT_EQ(Read("01-01-2000", false, Calendar::kGregorian), 2451545);
}

TEST(CalculatorModel, LunarFieldAtBothEndsOfTheSpan) {
  // 1 January 104 BC is 冬月初九 of the lunar year 105 BC; 31 December 5000
  // is 腊月初一 of the lunar year 5000.
  EXPECT_EQ(Read("11-09-0105", true, Calendar::kLunar), DateToDayNumber(-103, 1, 1));
  EXPECT_EQ(Read("11-08-0105", true, Calendar::kLunar), kNoDate);
  EXPECT_EQ(Read("12-01-5000", false, Calendar::kLunar), DateToDayNumber(5000, 12, 31));
  EXPECT_EQ(Read("12-02-5000", false, Calendar::kLunar), kNoDate);
  EXPECT_EQ(Read("01-01-5001", false, Calendar::kLunar), kNoDate);
}

TEST(CalculatorModel, HijriFieldAtBothEndsOfTheSpan) {
  // 1 January 104 BC is 6 Rabi al-awwal of the Hijri year -747; 31 December
  // 5000 is 1 Dhu al-Qadah 4513.
  EXPECT_EQ(Read("03-06-0748", true, Calendar::kHijri), DateToDayNumber(-103, 1, 1));
  EXPECT_EQ(Read("03-05-0748", true, Calendar::kHijri), kNoDate);
  EXPECT_EQ(Read("11-01-4513", false, Calendar::kHijri), DateToDayNumber(5000, 12, 31));
  EXPECT_EQ(Read("11-02-4513", false, Calendar::kHijri), kNoDate);
  // 1 Ramadan 1445 is 11 March 2024.
  EXPECT_EQ(Read("09-01-1445", false, Calendar::kHijri), DateToDayNumber(2024, 3, 11));
}

TEST(CalculatorModel, TheTenDaysOfOctober1582DoNotExist) {
  EXPECT_EQ(Read("10-10-1582", false, Calendar::kGregorian), kNoDate);
  EXPECT_EQ(Read("10-05-1582", false, Calendar::kGregorian), kNoDate);
  EXPECT_EQ(Read("10-14-1582", false, Calendar::kGregorian), kNoDate);
  EXPECT_EQ(Read("10-04-1582", false, Calendar::kGregorian), 2299160);
  EXPECT_EQ(Read("10-15-1582", false, Calendar::kGregorian), 2299161);

  Calculator c(kIntervalPage, Span(), {2024, 1, 1}, YearStart::kStartOfSpring);
  c.EditDate(0, "10-04-1582");
  c.EditDate(1, "10-15-1582");
  c.Compute();
  EXPECT_EQ(c.result(), "1");
  c.EditDate(1, "10-10-1582");
  c.Compute();
  EXPECT_EQ(c.field(1).text, "");
  EXPECT_EQ(c.field(0).text, "10-04-1582");
  EXPECT_EQ(c.result(), "");
}

TEST(CalculatorModel, LeapFirstMonthOnlyInAYearWhoseLeapMonthIsTheFirst) {
  // 2262 has 闰正月 (13); 2023 has 闰二月 (14).
  EXPECT_EQ(Read("13-10-2262", false, Calendar::kLunar), DateToDayNumber(2262, 3, 1));
  EXPECT_EQ(Read("13-01-2023", false, Calendar::kLunar), kNoDate);
  EXPECT_EQ(Read("14-01-2023", false, Calendar::kLunar), DateToDayNumber(2023, 3, 22));
  EXPECT_EQ(Read("14-01-2262", false, Calendar::kLunar), kNoDate);
  EXPECT_EQ(Read("25-01-2023", false, Calendar::kLunar), kNoDate);
  EXPECT_EQ(Read("02-20-2023", false, Calendar::kLunar), DateToDayNumber(2023, 3, 11));
  // 正月 2023 is a small month.
  EXPECT_EQ(Read("01-30-2023", false, Calendar::kLunar), kNoDate);
}

TEST(CalculatorModel, HijriDayThirtyOnlyInAThirtyDayMonth) {
  // Muharram has 30 days, Safar 29; Dhu al-Hijjah 30 only in a leap year
  // (1445 is one, 1444 is not).
  EXPECT_NE(Read("01-30-1445", false, Calendar::kHijri), kNoDate);
  EXPECT_NE(Read("02-29-1445", false, Calendar::kHijri), kNoDate);
  EXPECT_EQ(Read("02-30-1445", false, Calendar::kHijri), kNoDate);
  EXPECT_NE(Read("12-30-1445", false, Calendar::kHijri), kNoDate);
  EXPECT_EQ(Read("12-30-1444", false, Calendar::kHijri), kNoDate);
  EXPECT_EQ(Read("13-01-1445", false, Calendar::kHijri), kNoDate);
}

TEST(CalculatorModel, BeforeEraBoxPerCalendar) {
  // From 104 BC every calendar reaches years <= 0.
  for (Calendar c : {Calendar::kGregorian, Calendar::kLunar, Calendar::kHijri}) {
    EXPECT_TRUE(BeforeEraAllowed(Span(), c));
  }
  // From AD 1: 1 January AD 1 is still in the lunar year 0, and the Hijri
  // years begin in 622.
  const DateSpan fromAd1 = MakeDateSpan(kHistoricalRules, 1);
  EXPECT_FALSE(BeforeEraAllowed(fromAd1, Calendar::kGregorian));
  EXPECT_TRUE(BeforeEraAllowed(fromAd1, Calendar::kLunar));
  EXPECT_TRUE(BeforeEraAllowed(fromAd1, Calendar::kHijri));
  const DateSpan from622 = MakeDateSpan(kHistoricalRules, 622);
  EXPECT_FALSE(BeforeEraAllowed(from622, Calendar::kLunar));
  EXPECT_TRUE(BeforeEraAllowed(from622, Calendar::kHijri));
  const DateSpan from623 = MakeDateSpan(kHistoricalRules, 623);
  EXPECT_FALSE(BeforeEraAllowed(from623, Calendar::kHijri));

  // Choosing a calendar without years <= 0 unticks and disables the box.
  Calculator c(kIntervalPage, fromAd1, {2024, 1, 1}, YearStart::kStartOfSpring);
  EXPECT_FALSE(c.BeforeEraEnabled(0));
  c.TickBeforeEra(0, true);
  EXPECT_FALSE(c.field(0).beforeEra);
  c.Choose(1, Calendar::kLunar);
  EXPECT_TRUE(c.BeforeEraEnabled(1));
  c.TickBeforeEra(1, true);
  EXPECT_TRUE(c.field(1).beforeEra);
  c.Choose(1, Calendar::kHijri);
  EXPECT_TRUE(c.field(1).beforeEra);
  c.Choose(1, Calendar::kGregorian);
  EXPECT_FALSE(c.BeforeEraEnabled(1));
  EXPECT_FALSE(c.field(1).beforeEra);
}

TEST(CalculatorModel, FieldsStartWithTheDisplayedDate) {
  Calculator c(kIntervalPage, Span(), {2024, 2, 10}, YearStart::kStartOfSpring);
  EXPECT_EQ(c.field(0), (DateField{"02-10-2024", false}));
  EXPECT_EQ(c.field(1), (DateField{"02-10-2024", false}));
  EXPECT_EQ(c.calendar(0), Calendar::kGregorian);
  EXPECT_EQ(c.calendar(1), Calendar::kGregorian);
  EXPECT_EQ(c.result(), "");
  // Year 0 is 1 BC, year -103 is 104 BC.
  EXPECT_EQ(FieldOf({0, 3, 1}), (DateField{"03-01-0001", true}));
  EXPECT_EQ(FieldOf({-103, 1, 1}), (DateField{"01-01-0104", true}));
  Calculator convert(kConvertPage, Span(), {-103, 1, 1}, YearStart::kStartOfSpring);
  EXPECT_EQ(convert.calendar(1), Calendar::kLunar);
  convert.Compute();
  EXPECT_EQ(convert.result(), "BC11-09-0105");
}

TEST(CalculatorModel, JulianDayPage) {
  Calculator c(kJulianDayPage, Span(), {2024, 1, 1}, YearStart::kStartOfSpring);
  c.EditDate(0, "1-1-2000");
  c.Compute();
  EXPECT_EQ(c.result(), "2451545");
  EXPECT_EQ(c.field(0).text, "01-01-2000");  // normalised
  // The lunar new year of 2024 is 10 February.
  c.Choose(0, Calendar::kLunar);
  EXPECT_EQ(c.result(), "");
  c.EditDate(0, "01-01-2024");
  c.Compute();
  EXPECT_EQ(c.result(), std::to_string(DateToDayNumber(2024, 2, 10)));
  // An invalid date empties its field and shows nothing.
  c.EditDate(0, "01-31-2024");
  c.Compute();
  EXPECT_EQ(c.field(0).text, "");
  EXPECT_EQ(c.result(), "");
}

TEST(CalculatorModel, IntervalIsSigned) {
  Calculator c(kIntervalPage, Span(), {2024, 1, 1}, YearStart::kStartOfSpring);
  c.EditDate(0, "03-01-2024");
  c.EditDate(1, "02-28-2024");
  c.Compute();
  EXPECT_EQ(c.result(), "-2");
  // From 1 Ramadan 1445 (Hijri) to the lunar new year of 2025 (29 January).
  c.Choose(0, Calendar::kHijri);
  c.EditDate(0, "09-01-1445");
  c.Choose(1, Calendar::kLunar);
  c.EditDate(1, "01-01-2025");
  c.Compute();
  EXPECT_EQ(c.result(), std::to_string(DateToDayNumber(2025, 1, 29) - DateToDayNumber(2024, 3, 11)));
  // Editing a field, ticking a box or choosing a calendar empties the result.
  c.TickBeforeEra(0, false);
  EXPECT_EQ(c.result(), "");
  c.Compute();
  c.EditDate(1, "01-02-2025");
  EXPECT_EQ(c.result(), "");
}

TEST(CalculatorModel, OffsetModeAddsDays) {
  Calculator c(kIntervalPage, Span(), {2024, 3, 1}, YearStart::kStartOfSpring);
  EXPECT_FALSE(c.offsetMode());
  EXPECT_FALSE(c.ResultEditable());
  EXPECT_TRUE(c.HasSecondDate());
  c.ToggleMode();
  EXPECT_TRUE(c.offsetMode());
  EXPECT_TRUE(c.ResultEditable());
  EXPECT_FALSE(c.HasSecondDate());
  EXPECT_TRUE(c.HasSecondGroup());

  // A leading minus gives an earlier date.
  c.EditResult("-1");
  c.Compute();
  EXPECT_EQ(c.result(), "AD02-29-2024");
  c.EditResult("1");
  c.Compute();
  EXPECT_EQ(c.result(), "AD03-02-2024");
  // In the calendar of the second group: 2024-03-11 is 1 Ramadan 1445 and
  // 二月初二 of 2024.
  c.Choose(1, Calendar::kHijri);
  EXPECT_EQ(c.result(), "");
  c.EditResult("10");
  c.Compute();
  EXPECT_EQ(c.result(), "AD09-01-1445");
  c.Choose(1, Calendar::kLunar);
  c.EditResult("10");
  c.Compute();
  EXPECT_EQ(c.result(), "AD02-02-2024");
  // Computing again without a change keeps the result.
  c.Compute();
  EXPECT_EQ(c.result(), "AD02-02-2024");

  // A minus anywhere but first, or anything but digits, empties the field.
  for (const char* bad : {"1-", "1-0", "--1", "-", "+1", "1 0", "abc", "-1-"}) {
    c.EditResult(bad);
    c.Compute();
    EXPECT_EQ(c.result(), "") << bad;
  }
  // Leaving the span empties the field too.
  c.Choose(1, Calendar::kGregorian);
  c.EditDate(0, "12-31-5000");
  c.EditResult("1");
  c.Compute();
  EXPECT_EQ(c.result(), "");
  c.EditResult("-1");
  c.Compute();
  EXPECT_EQ(c.result(), "AD12-30-5000");
  c.EditDate(0, "01-01-0104");
  c.TickBeforeEra(0, true);
  c.EditResult("-1");
  c.Compute();
  EXPECT_EQ(c.result(), "");
  c.EditResult("615722");  // 615722 days after 1 January 104 BC: the last day of the Julian calendar
  EXPECT_EQ(c.result(), "615722");
  c.Compute();
  EXPECT_EQ(c.result(), "AD10-04-1582");
  // An invalid date empties its field and leaves the number of days.
  c.EditResult("5");
  c.EditDate(0, "02-30-2024");
  c.TickBeforeEra(0, false);
  c.Compute();
  EXPECT_EQ(c.field(0).text, "");
  EXPECT_EQ(c.result(), "5");

  // Back to interval mode, with an empty result.
  c.ToggleMode();
  EXPECT_FALSE(c.offsetMode());
  EXPECT_EQ(c.result(), "");
}

TEST(CalculatorModel, TypedDaysStayWhenOtherInputChanges) {
  Calculator c(kIntervalPage, Span(), {2024, 3, 1}, YearStart::kStartOfSpring);
  c.ToggleMode();
  c.EditResult("7");
  c.EditDate(0, "03-02-2024");
  c.Choose(1, Calendar::kLunar);
  EXPECT_EQ(c.result(), "7");  // the number typed is input, not a result
  c.Compute();
  EXPECT_EQ(c.result(), "AD01-29-2024");  // 2024-03-09 is 正月廿九
  c.EditDate(0, "03-03-2024");
  EXPECT_EQ(c.result(), "");  // a result goes
}

TEST(CalculatorModel, SexagenaryPageFollowsTheYearStart) {
  // 5 February 2024 lies after 立春 and before the lunar new year.
  Calculator byTerm(kSexagenaryPage, Span(), {2024, 2, 5}, YearStart::kStartOfSpring);
  byTerm.Compute();
  EXPECT_EQ(byTerm.result(), "甲辰(龙)年丙寅月己亥日");
  Calculator byNewYear(kSexagenaryPage, Span(), {2024, 2, 5}, YearStart::kLunarNewYear);
  byNewYear.Compute();
  EXPECT_EQ(byNewYear.result(), "癸卯(兔)年乙丑月己亥日");
}

TEST(CalculatorModel, ConvertPage) {
  Calculator c(kConvertPage, Span(), {2023, 4, 10}, YearStart::kStartOfSpring);
  c.Compute();
  EXPECT_EQ(c.result(), "AD14-20-2023");  // 闰二月二十
  c.Choose(1, Calendar::kHijri);
  c.EditDate(0, "03-11-2024");
  c.Compute();
  EXPECT_EQ(c.result(), "AD09-01-1445");
  c.Choose(0, Calendar::kLunar);
  c.Choose(1, Calendar::kGregorian);
  c.EditDate(0, "14-20-2023");
  c.Compute();
  EXPECT_EQ(c.result(), "AD04-10-2023");
}

TEST(CalculatorModel, DoubleClickFillsOnlyAnEmptyField) {
  Calculator c(kIntervalPage, Span(), {2024, 3, 1}, YearStart::kStartOfSpring);
  EXPECT_FALSE(c.FillEmptyDate(1));
  EXPECT_EQ(c.field(1).text, "03-01-2024");
  c.EditDate(1, "");
  EXPECT_TRUE(c.FillEmptyDate(1));
  EXPECT_EQ(c.field(1).text, "00-00-0000");
  // The zero pattern is no date.
  c.Compute();
  EXPECT_EQ(c.field(1).text, "");
}

TEST(CalculatorModel, DayCounts) {
  EXPECT_EQ(ParseDayCount("0"), 0);
  EXPECT_EQ(ParseDayCount("-0"), 0);
  EXPECT_EQ(ParseDayCount("-365"), -365);
  EXPECT_EQ(ParseDayCount("0012"), 12);
  EXPECT_FALSE(ParseDayCount(""));
  EXPECT_FALSE(ParseDayCount("-"));
  EXPECT_FALSE(ParseDayCount("3-"));
  EXPECT_FALSE(ParseDayCount("12345678901"));
}

}  // namespace
}  // namespace tovani::calculator
