#include "engine/lunar_calendar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "engine/date_text.h"
#include "engine/math_batch.h"
#include "engine/solar_terms.h"

namespace tovani {
namespace {

DayNumber Day(int y, int m, int d) { return DateToDayNumber(y, m, d); }

struct ReferenceYear {
  std::string record;
  bool closeCall;
};

// The published records of the lunar years 1901..2100 (UTC+8, modern astronomy).
std::map<int, ReferenceYear> ReferenceYears() {
  static const char* const kCsv =
#include "reference_lunar_years.inc"
      ;
  std::map<int, ReferenceYear> years;
  std::istringstream in(kCsv);
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const auto c1 = line.find(','), c2 = line.find(',', c1 + 1);
    years[std::stoi(line.substr(0, c1))] = {line.substr(c1 + 1, c2 - c1 - 1), line.substr(c2 + 1, 1) == "1"};
  }
  return years;
}

TEST(LunarCalendar, Reproduces1901To2100) {
  const auto reference = ReferenceYears();
  ASSERT_EQ(reference.size(), 200u);
  for (const auto& [year, ref] : reference) {
    if (ref.closeCall) continue;
    EXPECT_EQ(LunarYearRecordOf(year, kHistoricalRules), ref.record) << year;
  }
  // The close calls: new moons within two minutes of midnight.  Only 2057 comes
  // out differently (its new moon of 2057-09-29 00:00:40 falls here a little
  // before midnight, so 八月 and 九月 trade sizes).
  EXPECT_EQ(LunarYearRecordOf(1924, kHistoricalRules), reference.at(1924).record);
  EXPECT_EQ(LunarYearRecordOf(2057, kHistoricalRules), "01101010101000204");
  EXPECT_EQ(reference.at(2057).record, "01101011001000204");
}

// Modern astronomy throughout drops the one-day corrections that the tables of
// 1887..1920 kept: the new moons of 1914-11-18 00:01:51, 1916-02-04 00:05:15
// and 1920-11-11 00:04:39 start their months on those days instead of the day
// before, which changes the records of 1914, 1915, 1916 and 1920.
TEST(LunarCalendar, ModernModeDiffersOnlyWhereCorrectionsDecide) {
  const auto reference = ReferenceYears();
  std::set<int> differ;
  for (const auto& [year, ref] : reference) {
    if (LunarYearRecordOf(year, kModernRules) != ref.record && !ref.closeCall) differ.insert(year);
  }
  EXPECT_EQ(differ, (std::set<int>{1914, 1915, 1916, 1920}));
  EXPECT_EQ(LunarYearRecordOf(1914, kModernRules), "11010010100151126");
  EXPECT_EQ(LunarYearRecordOf(1916, kModernRules), "01010110101000204");
}

// The whole range of the calendar windows in both modes: every record is well
// formed and each year ends where the next begins.  The digests pin every
// record, so that no change to the engine can move a date unnoticed; they hold
// for every implementation of the vector math this machine has.
TEST(LunarCalendar, WholeRangeRecordsAreConsistentAndUnchanged) {
  const std::uint64_t expected[2] = {0xe4350ca9fd2fef3cULL, 0x90414427fc7865d8ULL};
  const MathPath original = ActiveMathPath();
  for (MathPath path : {MathPath::kAvx512, MathPath::kAvx2, MathPath::kPortable}) {
    if (!SelectMathPath(path)) continue;
    for (int mode : {0, 1}) {
      const CalendarRules rules{mode == 1};
      ClearLunarYearCache();
      ClearSolvedEventCache();
      std::uint64_t digest = 0xcbf29ce484222325ULL;  // FNV-1a over "year\trecord\n"
      for (int y = -103; y <= 4103; ++y) {
        const std::string r = LunarYearRecordOf(y, rules);
        ASSERT_EQ(r.size(), 17u) << y;
        for (int i = 0; i < 12; ++i) ASSERT_TRUE(r[i] == '0' || r[i] == '1') << y;
        ASSERT_NE(std::string("0123456789ABC").find(r[12]), std::string::npos) << y;
        ASSERT_TRUE(r[13] == '0' || r[13] == '1') << y;
        if (r[12] == '0') {
          ASSERT_EQ(r[13], '0') << y;
        }
        ASSERT_TRUE(r[14] == '1' || r[14] == '2') << y;
        ASSERT_EQ(NewYearDay(y, rules) + LunarYearLength(y, rules), NewYearDay(y + 1, rules)) << y << " mode " << mode;
        const std::string line = std::to_string(y) + "\t" + r + "\n";
        for (unsigned char c : line) digest = (digest ^ c) * 0x100000001b3ULL;
      }
      EXPECT_EQ(digest, expected[mode]) << "mode " << mode << ", vector math " << static_cast<int>(path);
    }
  }
  SelectMathPath(original);
  ClearLunarYearCache();
  ClearSolvedEventCache();
}

TEST(LunarCalendar, MeanCalendarYearsAndTheirStart) {
  // -103 begins on the mean new moon INT(1683431 + 2L), L = 2392/81.
  EXPECT_EQ(NewYearDay(-103, kHistoricalRules), static_cast<DayNumber>(1683431 + 2 * 2392.0 / 81));
  EXPECT_EQ(LunarYearRecordOf(-103, kHistoricalRules), "01010101010100222");
  EXPECT_EQ(NewYearDay(-103, kModernRules), Day(-103, 2, 21));  // the astronomical new moon
  // The 19-year cycle: leap when 7 * (y - Y0) mod 19 is 12 or more.
  int leapYears = 0;
  for (int y = -103; y < -103 + 19; ++y) leapYears += LeapKindOf(y, kHistoricalRules) == 1;
  EXPECT_EQ(leapYears, 7);
  // A year that ends with 闰十二月 (leap number C), from the mean calendar.
  EXPECT_EQ(LunarYearRecordOf(-96, kHistoricalRules), "101010101101C0205");
  EXPECT_TRUE(IsValidLunarDate(-96, 24, 29, kHistoricalRules));
  EXPECT_EQ(MonthCodeToOrdinal(-96, 24, kHistoricalRules), 13);
}

TEST(LunarCalendar, LeapMonthsAndTheirPlaces) {
  // 2023: 闰二月 of 29 days after a 30-day 二月.
  EXPECT_EQ(LunarYearRecordOf(2023, kHistoricalRules), "01011011010120122");
  EXPECT_EQ(LeapKindOf(2023, kHistoricalRules), 1);
  EXPECT_TRUE(IsValidLunarDate(2023, 14, 29, kHistoricalRules));
  EXPECT_FALSE(IsValidLunarDate(2023, 14, 30, kHistoricalRules));
  EXPECT_FALSE(IsValidLunarDate(2023, 13, 1, kHistoricalRules));
  EXPECT_EQ(MonthCodeToOrdinal(2023, 2, kHistoricalRules), 2);
  EXPECT_EQ(MonthCodeToOrdinal(2023, 14, kHistoricalRules), 3);
  EXPECT_EQ(MonthCodeToOrdinal(2023, 3, kHistoricalRules), 4);
  EXPECT_EQ(OrdinalToMonthCode(2023, 3, kHistoricalRules), 14);
  EXPECT_EQ(OrdinalToMonthCode(2023, 13, kHistoricalRules), 12);
  EXPECT_EQ(OrdinalToMonthCode(2023, 14, kHistoricalRules), 0);
  EXPECT_EQ(LunarYearLength(2023, kHistoricalRules), 384);
  // 2033 ends with 闰十一月 (leap number B): digit 12 is 十二月, after the leap.
  EXPECT_EQ(LunarYearRecordOf(2033, kHistoricalRules), "010010101111B0131");
  EXPECT_EQ(LeapKindOf(2033, kHistoricalRules), 2);
  EXPECT_EQ(LunarToSolar(2033, 23, 1, kHistoricalRules), "AD12-22-2033");
  EXPECT_EQ(LunarToSolar(2033, 12, 1, kHistoricalRules), "AD01-20-2034");
  EXPECT_EQ(LunarToSolar(2034, 1, 1, kHistoricalRules), "AD02-19-2034");
  // A year without a leap month has no 13th position.
  EXPECT_EQ(LunarYearLength(2024, kHistoricalRules), 354);
  EXPECT_EQ(OrdinalToMonthCode(2024, 13, kHistoricalRules), 0);
  EXPECT_EQ(MonthCodeToOrdinal(2024, 13, kHistoricalRules), 0);
  // IsValidLunarDate(y, 13, 1, kHistoricalRules) only where the leap month follows 正月.
  int leapAfterFirst = 0;
  for (int y = 1600; y <= 2400; ++y) {
    const bool valid = IsValidLunarDate(y, 13, 1, kHistoricalRules);
    EXPECT_EQ(valid, LunarYearRecordOf(y, kHistoricalRules)[12] == '1') << y;
    leapAfterFirst += valid;
  }
  EXPECT_GT(leapAfterFirst, 0);
}

TEST(LunarCalendar, ConversionsBothWays) {
  struct Case {
    int y, m, d;
    const char* lunar;
  };
  const Case cases[] = {
      {2024, 2, 10, "AD01-01-2024"},  // 春节 2024
      {2024, 2, 9, "AD12-30-2023"},   // 除夕
      {2023, 5, 28, "AD04-10-2023"},
      {2023, 4, 10, "AD14-20-2023"},  // 闰二月二十
      {2001, 5, 23, "AD16-01-2001"},  // 闰四月初一
      {1, 1, 1, "BC11-18-0001"},      // lunar year 0 is 1 BC
      {1583, 1, 10, "AD12-17-1582"},  // before the new year of 1583, across October 1582
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    const std::string lunar = SolarToLunar(c.y, c.m, c.d, kHistoricalRules);
    EXPECT_EQ(lunar, c.lunar);
    const auto parsed = ParseCalendarDateText(lunar);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(LunarToSolar(parsed->year, parsed->month, parsed->day, kHistoricalRules), CalendarDateText(c.y, c.m, c.d));
  }
  // January 1583 before 正月初一 belongs to the lunar year 1582, counted in day
  // numbers from 1582-01-24 across the ten missing days.
  EXPECT_EQ(LunarDayOfYear(1582, 12, 17, kHistoricalRules), Day(1583, 1, 10) - Day(1582, 1, 24) + 1);
  // Out of range or invalid.
  EXPECT_EQ(SolarToLunar(9001, 1, 1, kHistoricalRules), "");
  EXPECT_EQ(SolarToLunar(-9000, 6, 1, kHistoricalRules), "");
  EXPECT_EQ(SolarToLunar(2024, 2, 30, kHistoricalRules), "");
  EXPECT_EQ(LunarToSolar(2024, 1, 31, kHistoricalRules), "");
  EXPECT_EQ(LunarToSolar(2024, 25, 1, kHistoricalRules), "");
  EXPECT_EQ(LunarToSolar(2024, 0, 1, kHistoricalRules), "");
  EXPECT_EQ(LunarToSolar(9001, 1, 1, kHistoricalRules), "");
  EXPECT_EQ(LunarYearLength(2024, kHistoricalRules), 354);
  EXPECT_EQ(LunarDateOf(2025, 1, 28, kHistoricalRules), (LunarDate{2024, 12, false, 29}));  // its last day
  EXPECT_EQ(LunarYearRecordOf(9999, kHistoricalRules), "");
  EXPECT_EQ(LunarYearRecordOf(-9998, kHistoricalRules), "");
  EXPECT_EQ(LunarYearLength(-9998, kHistoricalRules), 0);
}

// Every day of the records' years converts to a lunar date and back, in
// both rule sets; consecutive days are consecutive lunar days, and the leap
// flag marks exactly the year's leap month.
TEST(LunarCalendar, EveryDayFrom1800To2200RoundTrips) {
  for (CalendarRules rules : {kHistoricalRules, kModernRules}) {
    LunarDate previous{};
    for (DayNumber z = Day(1800, 1, 1); z <= Day(2200, 12, 31); ++z) {
      const CivilDate d = *DayNumberToDate(z);
      const auto lunar = LunarDateOf(d.year, d.month, d.day, rules);
      ASSERT_TRUE(lunar.has_value()) << z;
      ASSERT_EQ(CivilDateOfLunar(lunar->year, lunar->code(), lunar->day, rules), d) << z;
      if (lunar->leap) {
        ASSERT_EQ(LunarYearRecordOf(lunar->year, rules)[12], "0123456789ABC"[lunar->month]) << z;
      }
      if (z > Day(1800, 1, 1)) {
        const bool nextDay = lunar->year == previous.year && lunar->code() == previous.code() &&
                             lunar->day == previous.day + 1;
        const bool nextMonth =
            lunar->day == 1 && previous.day == LunarMonthLength(previous.year, previous.code(), rules);
        ASSERT_TRUE(nextDay || nextMonth) << DateText(z);
      }
      previous = *lunar;
    }
  }
}

// Each rule set has its cache: two threads, one per rule set, asking for the
// same years at once each get the records of their own rules.
TEST(LunarCalendar, TwoThreadsInTwoRuleSetsEachGetTheirOwnRecords) {
  ClearLunarYearCache();
  ClearSolvedEventCache();
  std::vector<std::string> got[2];
  const auto run = [&got](CalendarRules rules) {
    for (int y = 1880; y <= 1930; ++y) got[rules.modern].push_back(LunarYearRecordOf(y, rules));
  };
  std::thread modern(run, kModernRules);
  run(kHistoricalRules);
  modern.join();
  for (int y = 1880; y <= 1930; ++y) {
    EXPECT_EQ(got[0][y - 1880], BuildLunarYearRecord(y, kHistoricalRules)) << y;
    EXPECT_EQ(got[1][y - 1880], BuildLunarYearRecord(y, kModernRules)) << y;
  }
  EXPECT_NE(got[0][1914 - 1880], got[1][1914 - 1880]);
}

// A leap year whose months all have a major term (which the real calendar
// never produces in either mode) still gets twelve size digits: its 13th month
// becomes 闰十二月.  And 正月 is never taken for the leap month.
TEST(LunarRecordComposition, ALeapYearWithoutAMonthLackingAMajorTerm) {
  std::array<DayNumber, 15> a{};
  a[1] = 1000;
  const int lengths[14] = {0, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 30};
  for (int k = 2; k <= 14; ++k) a[k] = a[k - 1] + lengths[k - 1];
  EXPECT_EQ(ComposeLunarYearRecord(1, 2, 5, a, [](int) { return true; }), "101010101010C1205");
  EXPECT_EQ(ComposeLunarYearRecord(1, 2, 5, a, [](int k) { return k != 1; }), "101010101010C1205");
  // The fifth month lacks one: it is 闰四月, of 30 days.
  EXPECT_EQ(ComposeLunarYearRecord(1, 1, 22, a, [](int k) { return k != 5; }), "10100101010141122");
  EXPECT_EQ(ComposeLunarYearRecord(0, 1, 22, a, [](int) { return true; }), "10101010101000122");
  EXPECT_EQ(ComposeLunarYearRecord(2, 1, 22, a, [](int) { return true; }), "101010101010C1122");
  EXPECT_EQ(ComposeLunarYearRecord(2, 1, 22, a, [](int k) { return k != 12; }), "101010101011B0122");
}

}  // namespace
}  // namespace tovani
