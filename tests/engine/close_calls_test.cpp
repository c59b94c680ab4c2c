#include "engine/close_calls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani {
namespace {

// Local instant of a UTC+8 date and clock time.
LocalInstant At(int y, int m, int d, int hour, int minute, int second) {
  return DateToDayNumber(y, m, d) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

const CloseCall* Find(const std::vector<CloseCall>& calls, CloseCallKind kind, LocalInstant near, double minutes) {
  for (const CloseCall& c : calls) {
    if (c.kind == kind && std::fabs(c.instant - near) * 1440 <= minutes) return &c;
  }
  return nullptr;
}

// The new moons of 1901..2100 that a full-precision ephemeris puts within two
// minutes of midnight, with the months they start in the published tables.
// This ephemeris differs from that one by less than a minute there, so the
// side of midnight may differ (2057 and 2097), never the close call.
TEST(CloseCalls, TheNewMoonsNextToMidnightOf1901To2100) {
  const struct {
    LocalInstant published;
    std::int32_t lunarYear;
    int month;
  } cases[] = {
      {At(1924, 3, 5, 23, 58, 0), 1924, 2},
      {At(2057, 9, 29, 0, 0, 40), 2057, 9},
      {At(2089, 9, 4, 23, 58, 0), 2089, 8},
      {At(2097, 8, 8, 0, 0, 15), 2097, 7},
  };
  for (const auto& c : cases) {
    const auto calls = CloseCallsOfLunarYear(c.lunarYear, kHistoricalRules);
    const CloseCall* call = Find(calls, CloseCallKind::kNewMoon, c.published, 1.5);
    ASSERT_NE(call, nullptr) << c.lunarYear;
    EXPECT_EQ(call->lunarMonth, c.month) << c.lunarYear;
    EXPECT_EQ(call->lunarDay, 1);
    EXPECT_LT(std::fabs(call->marginMinutes), 3) << c.lunarYear;
    EXPECT_NEAR(call->marginMinutes, (call->instant - std::round(call->instant)) * 1440, 1e-9);
  }
}

// Where the published table of 1901..2100 and this calendar disagree, the
// year holds a close call: the disagreements are all of this kind.
TEST(CloseCalls, EveryDisagreementWithThePublishedTableIsAnnounced) {
  static const char* const kCsv =
#include "reference_lunar_years.inc"
      ;
  std::istringstream in(kCsv);
  std::string line;
  std::getline(in, line);
  int years = 0, disagreements = 0;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const int year = std::stoi(line.substr(0, line.find(',')));
    const std::string record = line.substr(line.find(',') + 1, 17);
    ++years;
    if (LunarYearRecordOf(year, kHistoricalRules) == record) continue;
    ++disagreements;
    EXPECT_FALSE(CloseCallsOfLunarYear(year, kHistoricalRules).empty()) << year;
  }
  EXPECT_EQ(years, 200);
  EXPECT_GE(disagreements, 1);  // 2057
}

// 1987 has 闰六月 (published table) because 处暑 came ten minutes after the
// midnight that began 七月 (1987-08-24); ten minutes earlier it would have
// fallen in 闰六月 and made 七月 the leap month.
TEST(CloseCalls, AMajorTermThatDecidesTheLeapMonth) {
  EXPECT_EQ(LunarYearRecordOf(1987, kHistoricalRules).substr(12, 1), "6");
  const auto calls = CloseCallsOfLunarYear(1987, kHistoricalRules);
  const CloseCall* call = Find(calls, CloseCallKind::kMajorTerm, At(1987, 8, 24, 0, 10, 0), 1.5);
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(call->term, 16);  // 处暑
  EXPECT_EQ(call->lunarMonth, 7);
  EXPECT_EQ(call->lunarDay, 1);
  EXPECT_GT(call->marginMinutes, 0);
  EXPECT_LE(call->marginMinutes, kCloseCallMinutes);
}

// Where a correction table fixed the day (the new moon of 1914-11-18 00:01:51,
// kept on the 17th by the tables of the time), nothing hangs on the minutes;
// under modern astronomy throughout it does.  The terms before 1645 and the new
// moons of -103..618 are mean ones: no close calls there.
TEST(CloseCalls, OnlyWhereTheEphemerisDecides) {
  const LocalInstant moon1914 = At(1914, 11, 18, 0, 1, 51);
  // (The calendar's own instant there is 1914-11-17 23:59:59, the corrected one.)
  EXPECT_EQ(Find(CloseCallsOfLunarYear(1914, kHistoricalRules), CloseCallKind::kNewMoon, moon1914, 5), nullptr);
  const auto modern = CloseCallsOfLunarYear(1914, kModernRules);
  const CloseCall* call = Find(modern, CloseCallKind::kNewMoon, moon1914, 1);
  ASSERT_NE(call, nullptr);
  EXPECT_GT(call->marginMinutes, 0);
  EXPECT_TRUE(CloseCallsOfLunarYears(-103, 600, kHistoricalRules).empty());
  EXPECT_TRUE(CloseCallsOfLunarYear(kFirstLunarYear - 1, kHistoricalRules).empty());
  EXPECT_TRUE(CloseCallsOfLunarYear(kLastLunarYear + 1, kHistoricalRules).empty());
}

}  // namespace
}  // namespace tovani
