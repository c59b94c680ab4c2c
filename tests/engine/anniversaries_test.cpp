#include "engine/anniversaries.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/solar_terms.h"

namespace tovani {
namespace {

DayNumber Day(int y, int m, int d) { return DateToDayNumber(y, m, d); }

// Published lunar dates: 2023 has a 29-day 闰二月, 2020 a 闰四月, 2025 a 闰六月;
// 二月 has 30 days in 2024 and 29 in 2022; 腊月 has 30 days in lunar 2023 (除夕
// 2024-02-09 is 腊月三十) and 29 in lunar 2024 (除夕 2025-01-28 is 腊月廿九).
TEST(Anniversaries, PlacementInLeapAndShortMonths) {
  struct Case {
    int lunarYear, monthCode, day;
    CivilDate expected;
    int placedMonth, placedDay;
  };
  const Case cases[] = {
      {2023, 14, 20, {2023, 4, 10}, 14, 20},  // 闰二月二十, in its year
      {2023, 14, 30, {2023, 4, 19}, 14, 29},  // 闰二月 of 29 days: 廿九
      {2023, 2, 15, {2023, 3, 6}, 2, 15},     // the regular month of a year with its leap month
      {2024, 14, 15, {2024, 3, 24}, 2, 15},   // no 闰二月 in 2024: 二月十五
      {2024, 14, 30, {2024, 4, 8}, 2, 30},    // ... and 二月 has a 三十
      {2022, 14, 30, {2022, 3, 31}, 2, 29},   // no 闰二月, and 二月 of 29 days
      {2020, 16, 15, {2020, 6, 6}, 16, 15},   // 闰四月十五
      {2021, 16, 15, {2021, 5, 26}, 4, 15},   // no 闰四月 in 2021
      {2025, 6, 15, {2025, 7, 9}, 6, 15},
      {2025, 18, 15, {2025, 8, 8}, 18, 15},   // 闰六月十五
      {2023, 12, 30, {2024, 2, 9}, 12, 30},   // 除夕 2024
      {2024, 12, 30, {2025, 1, 28}, 12, 29},  // 除夕 2025
      {2024, 8, 15, {2024, 9, 17}, 8, 15},    // 中秋
      {2025, 8, 15, {2025, 10, 6}, 8, 15},
  };
  for (const Case& c : cases) {
    const AnniversaryPlacement p = PlaceLunarAnniversary(c.lunarYear, c.monthCode, c.day, kHistoricalRules);
    EXPECT_EQ(p.day, Day(c.expected.year, c.expected.month, c.expected.day))
        << c.lunarYear << " " << c.monthCode << "-" << c.day;
    EXPECT_EQ(p.lunarYear, c.lunarYear);
    EXPECT_EQ(p.monthCode, c.placedMonth) << c.lunarYear << " " << c.monthCode << "-" << c.day;
    EXPECT_EQ(p.lunarDay, c.placedDay) << c.lunarYear << " " << c.monthCode << "-" << c.day;
  }
}

TEST(Anniversaries, InvalidInputPlacesNothing) {
  const std::pair<int, int> invalid[] = {{0, 1}, {25, 1}, {1, 0}, {1, 31}, {-1, 15}};
  for (const auto& [month, day] : invalid) {
    EXPECT_EQ(PlaceLunarAnniversary(2024, month, day, kHistoricalRules).day, InvalidDayNumber) << month << "-" << day;
    EXPECT_TRUE(NextLunarAnniversaries(Day(2024, 1, 1), month, day, 3, kHistoricalRules).empty()) << month << "-" << day;
    EXPECT_TRUE(LunarAnniversariesBetween(Day(2024, 1, 1), Day(2030, 1, 1), month, day, kHistoricalRules).empty()) << month << "-" << day;
  }
  EXPECT_EQ(PlaceLunarAnniversary(9001, 1, 1, kHistoricalRules).day, InvalidDayNumber);
  EXPECT_EQ(PlaceLunarAnniversary(-9000, 1, 1, kHistoricalRules).day, InvalidDayNumber);
}

// Spans and walks reach back into the lunar year that began in the civil year
// before (its 腊月 falls in January or February).
TEST(Anniversaries, SpansAndWalks) {
  struct Case {
    const char* what;
    std::vector<AnniversaryPlacement> got;
    std::vector<CivilDate> expected;
  };
  const Case cases[] = {
      {"中秋 2024-2025", LunarAnniversariesBetween(Day(2024, 1, 1), Day(2025, 12, 31), 8, 15, kHistoricalRules),
       {{2024, 9, 17}, {2025, 10, 6}}},
      {"除夕 2024-2025", LunarAnniversariesBetween(Day(2024, 1, 1), Day(2025, 12, 31), 12, 30, kHistoricalRules),
       {{2024, 2, 9}, {2025, 1, 28}}},
      {"a span of one day", LunarAnniversariesBetween(Day(2024, 9, 17), Day(2024, 9, 17), 8, 15, kHistoricalRules), {{2024, 9, 17}}},
      {"the day itself counts", NextLunarAnniversaries(Day(2024, 9, 17), 8, 15, 1, kHistoricalRules), {{2024, 9, 17}}},
      {"中秋 after 2024's", NextLunarAnniversaries(Day(2024, 9, 18), 8, 15, 2, kHistoricalRules), {{2025, 10, 6}, {2026, 9, 25}}},
      {"除夕 from New Year's Day", NextLunarAnniversaries(Day(2025, 1, 1), 12, 30, 2, kHistoricalRules), {{2025, 1, 28}, {2026, 2, 16}}},
      {"the lunar range ends with 9000", NextLunarAnniversaries(Day(8999, 6, 1), 1, 1, 5, kHistoricalRules),
       {*DayNumberToDate(PlaceLunarAnniversary(9000, 1, 1, kHistoricalRules).day)}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(c.got.size(), c.expected.size()) << c.what;
    for (std::size_t i = 0; i < c.got.size(); ++i) EXPECT_EQ(*DayNumberToDate(c.got[i].day), c.expected[i]) << c.what;
  }
}

}  // namespace
}  // namespace tovani
