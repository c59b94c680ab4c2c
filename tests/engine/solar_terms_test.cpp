#include "engine/solar_terms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "engine/close_calls.h"
#include "engine/date_text.h"
#include "engine/events.h"
#include "engine/historical_tables.h"

namespace tovani {
namespace {

DayNumber Day(int y, int m, int d) { return DateToDayNumber(y, m, d); }
DayNumber Floor(double x) { return static_cast<DayNumber>(std::floor(x)); }
double Minutes(double days) { return days * 1440; }

TEST(SolarTerms, NamesAndLongitudes) {
  const struct {
    int k;
    const char* name;
    int longitude;
  } cases[] = {{1, "小寒", 285}, {2, "大寒", 300}, {3, "立春", 315}, {5, "惊蛰", 345}, {6, "春分", 0},
               {12, "夏至", 90}, {18, "秋分", 180}, {24, "冬至", 270}, {0, "", 270}, {25, "", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(SolarTermName(c.k), c.name) << c.k;
    if (!std::string(c.name).empty()) {
      EXPECT_EQ(SolarTermLongitude(c.k), c.longitude) << c.k;
    }
  }
}

// The published times (UTC+8, to the minute) of the solar terms and new moons
// of 2024; the truncated series keep every one within a minute and a half.
TEST(SolarTerms, TheTermsAndNewMoonsOf2024AgreeWithPublishedTimes) {
  struct Event {
    int month, day, hour, minute;
  };
  const Event terms[24] = {{1, 6, 4, 49},   {1, 20, 22, 7},  {2, 4, 16, 27},  {2, 19, 12, 13}, {3, 5, 10, 23},
                           {3, 20, 11, 6},  {4, 4, 15, 2},   {4, 19, 21, 59}, {5, 5, 8, 10},   {5, 20, 21, 0},
                           {6, 5, 12, 10},  {6, 21, 4, 51},  {7, 6, 22, 20},  {7, 22, 15, 44}, {8, 7, 8, 9},
                           {8, 22, 22, 55}, {9, 7, 11, 11},  {9, 22, 20, 44}, {10, 8, 3, 0},   {10, 23, 6, 15},
                           {11, 7, 6, 20},  {11, 22, 3, 56}, {12, 6, 23, 17}, {12, 21, 17, 21}};
  const Event newMoons[13] = {{1, 11, 19, 57}, {2, 10, 6, 59}, {3, 10, 17, 0},  {4, 9, 2, 21},  {5, 8, 11, 22},
                              {6, 6, 20, 38},  {7, 6, 6, 57},  {8, 4, 19, 13}, {9, 3, 9, 55},  {10, 3, 2, 49},
                              {11, 1, 20, 47}, {12, 1, 14, 21}, {12, 31, 6, 27}};
  const auto instant = [](const Event& e) { return Day(2024, e.month, e.day) + (e.hour * 60 + e.minute) / 1440.0; };

  const auto found = TermsInRange(Day(2024, 1, 1), Day(2024, 12, 31), kHistoricalRules);
  ASSERT_EQ(found.size(), 24u);
  for (int k = 1; k <= 24; ++k) {
    EXPECT_EQ(found[k - 1].term, k);
    EXPECT_NEAR(Minutes(found[k - 1].instant - instant(terms[k - 1])), 0, 1.5) << SolarTermName(k);
    EXPECT_NEAR(Minutes(TermOnOrAfter(Day(2024, 1, 1), k, kHistoricalRules) - instant(terms[k - 1])), 0, 1.5) << k;
  }
  const auto moons = MoonsInRange(Day(2024, 1, 1), Day(2024, 12, 31), Phase::kNew, kHistoricalRules);
  ASSERT_EQ(moons.size(), 13u);
  for (std::size_t i = 0; i < 13; ++i) {
    EXPECT_NEAR(Minutes(moons[i].instant - instant(newMoons[i])), 0, 1.5) << i;
  }
  EXPECT_EQ(NewMoonCountInYear(2024, kHistoricalRules), 13);
  EXPECT_EQ(NewMoonCountInYear(2023, kHistoricalRules), 12);
}

TEST(SolarTerms, TheSecantSearchLandsOnTheTarget) {
  // From 2024-01-01 0h UT, the Sun reaches 315 degrees at 立春 and the Moon
  // meets the Sun at the new moon of 11 January.
  const double start = 2460310.5;
  const double spring = SolveLongitude(start, 315, Motion::kSun);
  EXPECT_NEAR(LocalInstantOf(spring), Day(2024, 2, 4) + (16 * 60 + 27) / 1440.0, 1.5 / 1440);
  const double gap = LongitudeGap(spring, 315, Motion::kSun);
  EXPECT_LT(std::min(gap, 360 - gap), 1e-8);
  const double moon = SolveLongitude(start, 0, Motion::kElongation);
  EXPECT_NEAR(LocalInstantOf(moon), Day(2024, 1, 11) + (19 * 60 + 57) / 1440.0, 1.5 / 1440);
  // The search goes forward: from just after a root it finds the next one.
  EXPECT_NEAR(SolveLongitude(moon + 1e-3, 0, Motion::kElongation) - moon, 29.5, 0.5);
}

// The dates of new moons and major terms come from rough roots unless one is
// within its error bound of midnight: the close calls of four centuries (new
// moons and terms within ten minutes of midnight), each asked for with nothing
// remembered, fall on the dates of their exact instants.
TEST(SolarTerms, DatesOfInstantsNextToMidnightAreThoseOfTheExactInstants) {
  int checked = 0;
  for (const CalendarRules rules : {kModernRules, kHistoricalRules}) {
    for (const CloseCall& call : CloseCallsOfLunarYears(1700, 2100, rules)) {
      const DayNumber day = Floor(call.instant);
      ClearSolvedEventCache();
      if (call.kind == CloseCallKind::kNewMoon) {
        EXPECT_EQ(NewMoonDay(day - 3, rules), day) << DateTimeText(call.instant);
      } else {
        EXPECT_EQ(TermDayOnOrAfter(day - 3, call.term, rules), day) << DateTimeText(call.instant);
        EXPECT_TRUE(HasMajorTerm(day, day, rules)) << DateTimeText(call.instant);
        EXPECT_FALSE(HasMajorTerm(day - 3, day - 1, rules)) << DateTimeText(call.instant);
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 30);
}

TEST(SolarTerms, TermInForceAndTermsPerYear) {
  EXPECT_EQ(TermInForce(2024, 2, 4, kHistoricalRules), 3);   // 立春 falls on the day
  EXPECT_EQ(TermInForce(2024, 2, 5, kHistoricalRules), 3);
  EXPECT_EQ(TermInForce(2024, 2, 3, kHistoricalRules), 2);   // still 大寒
  EXPECT_EQ(TermInForce(2024, 1, 1, kHistoricalRules), 24);  // 冬至 of 2023
  EXPECT_EQ(TermInForce(2024, 2, 30, kHistoricalRules), 0);
  EXPECT_EQ(TermCountInYear(2024, kHistoricalRules), 24);
  // In the Julian years before 1582 小寒 drifts across 1 January.
  EXPECT_EQ(TermCountInYear(948, kHistoricalRules), 25);
  EXPECT_EQ(TermCountInYear(949, kHistoricalRules), 23);
  EXPECT_EQ(TermCountInYear(10000, kHistoricalRules), 0);
  EXPECT_EQ(NewMoonCountInYear(-9999, kHistoricalRules), 0);
}

// ---- The historical layer ----

TEST(SolarTerms, TheWinterSolsticeOfMinus104IsMovedToItsCalendarDay) {
  // The astronomical solstice falls on day 1683429; the correction moves it two
  // days on, to 00:00 of -104-12-25.
  EXPECT_EQ(TermOnOrAfter(1683400, 24, kHistoricalRules), 1683431.0);
  EXPECT_EQ(DateText(1683431), "BC12-25-0105");
  EXPECT_EQ(TermDayOnOrAfter(1683400, 24, kModernRules), 1683429);
}

TEST(SolarTerms, EarlyHanNewMoonsAndTermsAreMean) {
  const double lunation = 2392.0 / 81, epoch = 1683431;
  const auto moons = MoonsInRange(1683462, 1752119, Phase::kNew, kHistoricalRules);
  ASSERT_GT(moons.size(), 2300u);
  for (const auto& m : moons) {
    const double g = (m.instant - epoch) / lunation;
    ASSERT_NEAR(g, std::round(g), 1e-9) << DateTimeText(m.instant);
  }
  const double step = 365.25 / 24;
  for (const auto& t : TermsInRange(1683440, 1752098, kHistoricalRules)) {
    const double k = (t.instant - epoch) / step;
    ASSERT_NEAR(k, std::round(k), 1e-9) << DateTimeText(t.instant);
    const int index = static_cast<int>(std::llround(k)) % 24;
    ASSERT_EQ(t.term, index == 0 ? 24 : index);
  }
}

TEST(SolarTerms, TheFirstFourDaysOfAHistoricalRangeAnswerAsTheFifth) {
  for (DayNumber first : {2322134, 1752099, 2336119, 2357304}) {
    const LocalInstant fifth = TermInstant(first + 4, false, kHistoricalRules);
    for (DayNumber d = first; d < first + 4; ++d) {
      EXPECT_EQ(TermInstant(d, false, kHistoricalRules), fifth) << d;
      EXPECT_EQ(TermIndex(d, kHistoricalRules), TermIndex(first + 4, kHistoricalRules)) << d;
    }
  }
}

TEST(SolarTerms, LateNewMoonsStartTheMonthOnTheNextDay) {
  struct Case {
    int y, m, d;        // the true new moon's local date
    double fraction;    // of the day, by modern astronomy
    int historicalDay;  // the month's first day in the calendar of the time
  };
  const Case cases[] = {
      {828, 8, 14, 0.79129, 15},   // 18:59:27, after the cut-off 0.7908
      {847, 3, 20, 0.79205, 21},   // 19:00:33
      {822, 12, 17, 0.78950, 17},  // 18:56:52, before it
      {856, 3, 10, 0.78475, 10},
  };
  for (const auto& c : cases) {
    const DayNumber day = Day(c.y, c.m, c.d);
    const LocalInstant t = NewMoonInstant(day - 3, kModernRules);
    ASSERT_EQ(Floor(t), day);
    EXPECT_NEAR(t - day, c.fraction, 1e-4);
    EXPECT_EQ(NewMoonDay(day - 3, kHistoricalRules), Day(c.y, c.m, c.historicalDay)) << c.y << "-" << c.m << "-" << c.d;
  }
}

TEST(SolarTerms, ExemptNewMoonsKeepTheirDayAfterTheCutOff) {
  ASSERT_EQ(history::NewMoonExemptDays().size(), 11u);
  for (DayNumber day : history::NewMoonExemptDays()) {
    const LocalInstant t = NewMoonInstant(day - 3, kModernRules);
    ASSERT_EQ(Floor(t), day);
    EXPECT_GT(t - day, 0.7908) << day;  // late enough to be moved, were it not exempt
    EXPECT_EQ(NewMoonDay(day - 3, kHistoricalRules), day);
  }
}

// Each of the 595 corrections names the day of a true new moon and moves the
// month's first day by one, unless a late-new-moon cut-off moves it first.
// Two entries name no new moon's day and so never apply: 1318-10-24 (the true
// new moon is 10-25 06:45) and 1330-12-10 (it is 12-11 00:15, where the "+1"
// would have put it anyway).
TEST(SolarTerms, EveryNewMoonCorrectionMovesItsMoonByADay) {
  const auto entries = history::NewMoonCorrectionEntries();
  ASSERT_EQ(entries.size(), 595u);
  int later = 0, earlier = 0;
  for (std::int32_t entry : entries) {
    const DayNumber day = std::abs(entry);
    const int sign = entry > 0 ? 1 : -1;
    (sign > 0 ? later : earlier) += 1;
    const LocalInstant t = NewMoonInstant(day - 2, kModernRules);
    if (entry == -2202754 || entry == 2207184) {
      EXPECT_EQ(Floor(t), day + 1);
      EXPECT_EQ(NewMoonInstant(day - 2, kHistoricalRules), t);
      continue;
    }
    ASSERT_EQ(Floor(t), day) << "correction key " << day << " is not the day of a true new moon";
    double cutoff = 0;
    for (const auto& p : history::LateMoonPeriods()) {
      if (day > p.first && day <= p.last) cutoff = p.cutoff;
    }
    ASSERT_FALSE(history::IsNewMoonExemptDay(day));
    const LocalInstant h = NewMoonInstant(day - 2, kHistoricalRules);
    if (cutoff > 0 && t - day > cutoff) {
      EXPECT_EQ(h, day + 1.0) << day;
    } else if (sign > 0) {
      EXPECT_EQ(h, day + 1.0) << day;  // 00:00 of the next day
    } else {
      EXPECT_NEAR(h, day - 1.0 / 86400, 1e-7) << day;  // 23:59:59 of the day before
      EXPECT_EQ(Floor(h), day - 1);
    }
  }
  EXPECT_EQ(later, 477);
  EXPECT_EQ(earlier, 118);
  // Lookups are by the whole day number: neighbours of an entry are untouched.
  EXPECT_EQ(history::NewMoonCorrection(1949825), 1);
  EXPECT_EQ(history::NewMoonCorrection(1949824), 0);
  EXPECT_EQ(history::NewMoonCorrection(1947877), -1);
  EXPECT_EQ(history::NewMoonCorrection(1195097), 0);  // digits that straddle two entries of the text form
  EXPECT_EQ(history::NewMoonCorrection(2422641), 0);
  EXPECT_EQ(history::SolarTermCorrection(1683429), 2);
  EXPECT_EQ(history::SolarTermCorrection(683429), 0);
}

TEST(SolarTerms, ModernModeDropsTheCorrectionsAfter1887) {
  // The last correction: the true new moon of 1920-11-11 00:04 is dated 11-10.
  EXPECT_EQ(NewMoonDay(Day(1920, 11, 5), kHistoricalRules), Day(1920, 11, 10));
  EXPECT_EQ(NewMoonDay(Day(1920, 11, 5), kModernRules), Day(1920, 11, 11));
}

TEST(SolarTerms, WalkingMoonsMakesProgressWhereAnAnswerLiesBeforeTheDay) {
  // Day 1683461 is answered with the new moon of 1683460.
  const LocalInstant early = NewMoonInstant(1683461, kHistoricalRules);
  EXPECT_LT(early, 1683461.0);
  const auto moons = MoonsInRange(1683400, 1683700, Phase::kNew, kHistoricalRules);
  ASSERT_GE(moons.size(), 9u);
  for (std::size_t i = 1; i < moons.size(); ++i) {
    EXPECT_GT(moons[i].instant - moons[i - 1].instant, 27.0) << DateTimeText(moons[i].instant);
  }
  const auto all = EventsInRange(1683400, 1683700, kHistoricalRules);
  for (std::size_t i = 1; i < all.size(); ++i) EXPECT_LE(all[i - 1].instant, all[i].instant);
}

TEST(SolarTerms, PeriodTheoryTermsInterpolateWithinTheCrossingDay) {
  // A longitude that is exactly a multiple of 15 at the day value: the term is
  // that whole day, 00:00.
  const auto steady = [](double x) { return 300 + (x - 1000) * 0.9856; };
  EXPECT_EQ(TermFromDailyLongitudes(1000, false, steady), 1000.0);
  EXPECT_EQ(TermFromDailyLongitudes(1000, true, steady), 1000.0);
  // Otherwise the next multiple, by linear interpolation in its day.
  EXPECT_NEAR(TermFromDailyLongitudes(1001, false, steady), 1000 + 15 / 0.9856, 1e-9);
  EXPECT_NEAR(TermFromDailyLongitudes(1001, true, steady), 1000 + 30 / 0.9856, 1e-9);
  // Across 360 degrees.
  const auto wrapping = [](double x) { return std::fmod(350.5 + (x - 2000), 360.0); };
  EXPECT_NEAR(TermFromDailyLongitudes(2000, false, wrapping), 2009.5, 1e-9);
  // The real theories: a year of terms, one every 15 degrees, in order.
  const auto terms = TermsInRange(Day(1700, 1, 1), Day(1700, 12, 31), kHistoricalRules);
  ASSERT_EQ(terms.size(), 24u);
  for (std::size_t i = 0; i < terms.size(); ++i) {
    EXPECT_EQ(terms[i].term, static_cast<int>(i) + 1);
    const double lambda = PeriodSunLongitude(terms[i].instant, Floor(terms[i].instant));
    EXPECT_NEAR(std::remainder(lambda - SolarTermLongitude(terms[i].term), 360.0), 0, 0.02) << i;
  }
}

}  // namespace
}  // namespace tovani

namespace tovani {
namespace {

// The instants the astronomical layer remembers serve later questions from
// other days; what the calendar shows of them (dates and times to the second)
// must be what a fresh computation gives.  Years are asked in reverse order,
// so the remembered instants come from searches started elsewhere.
TEST(SolarTerms, RememberedInstantsShowAsFreshOnes) {
  for (std::int16_t mode : {0, 1}) {
    const CalendarRules rules{mode == 1};
    std::vector<std::string> fresh, remembered;
    const auto texts = [rules](DayNumber first, DayNumber last) {
      std::string all;
      for (const auto& e : EventsInRange(first, last, rules)) all += DateTimeText(e.instant) + " ";
      return all;
    };
    for (int y : {1640, 1900, 2024}) {
      for (int year = y; year < y + 12; ++year) {
        ClearSolvedEventCache();
        fresh.push_back(texts(DateToDayNumber(year, 1, 1), DateToDayNumber(year, 12, 31)));
      }
    }
    ClearSolvedEventCache();
    for (int y : {2024, 1900, 1640}) {
      for (int year = y + 11; year >= y; --year) {
        remembered.insert(remembered.begin(), texts(DateToDayNumber(year, 1, 1), DateToDayNumber(year, 12, 31)));
      }
    }
    ASSERT_EQ(fresh.size(), remembered.size());
    for (std::size_t i = 0; i < fresh.size(); ++i) EXPECT_EQ(remembered[i], fresh[i]) << "mode " << mode << " #" << i;
  }
}

}  // namespace
}  // namespace tovani
