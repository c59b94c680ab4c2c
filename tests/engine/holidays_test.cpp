#include "engine/holidays.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tovani {
namespace {

std::string Iso(const CivilDate& d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

DayNumber Day(const CivilDate& d) { return DateToDayNumber(d); }

// Holidays as the State Council's notices give them: the first day off, the
// number of days off in a row, and the make-up working days.
TEST(Holidays, ArrangementsAsTheNoticesGiveThem) {
  const struct {
    int year;
    const char* name;
    CivilDate firstOff;
    int daysOff;
    std::vector<CivilDate> workDays;
  } cases[] = {
      // 2025: 春节 and 劳动节 one day longer from this year on.
      {2025, "元旦", {2025, 1, 1}, 1, {}},
      {2025, "春节", {2025, 1, 28}, 8, {{2025, 1, 26}, {2025, 2, 8}}},
      {2025, "清明节", {2025, 4, 4}, 3, {}},
      {2025, "劳动节", {2025, 5, 1}, 5, {{2025, 4, 27}}},
      {2025, "端午节", {2025, 5, 31}, 3, {}},
      {2025, "国庆节、中秋节", {2025, 10, 1}, 8, {{2025, 9, 28}, {2025, 10, 11}}},
      // 2023: 元旦 begins in the year before.
      {2023, "元旦", {2022, 12, 31}, 3, {}},
      {2023, "春节", {2023, 1, 21}, 7, {{2023, 1, 28}, {2023, 1, 29}}},
      {2023, "劳动节", {2023, 4, 29}, 5, {{2023, 4, 23}, {2023, 5, 6}}},
      {2023, "中秋节、国庆节", {2023, 9, 29}, 8, {{2023, 10, 7}, {2023, 10, 8}}},
      {2026, "春节", {2026, 2, 15}, 9, {{2026, 2, 14}, {2026, 2, 28}}},
      {2024, "春节", {2024, 2, 10}, 8, {{2024, 2, 4}, {2024, 2, 18}}},
      {2019, "元旦", {2018, 12, 30}, 3, {{2018, 12, 29}}},
      // 2020: 春节 extended to 2 February, which freed 1 February from work.
      {2020, "春节", {2020, 1, 24}, 10, {{2020, 1, 19}}},
      {2015, "抗战胜利纪念日", {2015, 9, 3}, 3, {{2015, 9, 6}}},
      {2015, "劳动节", {2015, 5, 1}, 1, {}},  // 5月1日放假，与周末连休
      {2008, "端午节", {2008, 6, 7}, 3, {}},   // the first year of 端午节
      // The golden weeks before 2008, and 2003's week cut short for SARS.
      {2007, "劳动节", {2007, 5, 1}, 7, {{2007, 4, 28}, {2007, 4, 29}}},
      {2003, "劳动节", {2003, 5, 1}, 5, {}},
  };
  const HolidayCalendar calendar;
  for (const auto& c : cases) {
    std::vector<DayNumber> off;
    std::vector<std::string> work;
    for (const HolidayDay& day : calendar.Arrangement(c.year)) {
      if (day.name != c.name) continue;
      if (day.status == HolidayStatus::kDayOff) off.push_back(Day(day.date));
      if (day.status == HolidayStatus::kWorkDay) work.push_back(Iso(day.date));
    }
    std::vector<DayNumber> expectedOff;
    for (int i = 0; i < c.daysOff; ++i) expectedOff.push_back(Day(c.firstOff) + i);
    std::vector<std::string> expectedWork;
    for (const CivilDate& d : c.workDays) expectedWork.push_back(Iso(d));
    EXPECT_EQ(off, expectedOff) << c.year << " " << c.name;
    EXPECT_EQ(work, expectedWork) << c.year << " " << c.name;
    for (const CivilDate& d : c.workDays) EXPECT_EQ(calendar.Of(d).status, HolidayStatus::kWorkDay) << Iso(d);
    EXPECT_EQ(calendar.Of(c.firstOff).name, c.name) << Iso(c.firstOff);
  }
}

// The statutory days of the 全国年节及纪念日放假办法 (10 from 1999, 11 from
// 2008, 13 from 2025); one falling on a weekend is made good on a weekday, so
// weekdays off less make-up working days come to them, every year.  2015 had
// 9月3日 besides, 2020 the extended 春节.
TEST(Holidays, EveryYearGivesItsStatutoryDays) {
  const HolidayCalendar calendar;
  ASSERT_EQ(calendar.FirstYear(), 2000);
  ASSERT_GE(calendar.LastYear(), 2026);
  for (std::int32_t year = calendar.FirstYear(); year <= calendar.LastYear(); ++year) {
    int balance = 0;
    for (const HolidayDay& day : calendar.Arrangement(year)) {
      const bool weekend = *WeekdayOf(day.date.year, day.date.month, day.date.day) >= Saturday;
      if (day.status == HolidayStatus::kWorkDay) {
        EXPECT_TRUE(weekend) << "a make-up working day on a weekday: " << Iso(day.date);
        --balance;
      } else if (!weekend) {
        ++balance;
      }
      EXPECT_EQ(ArrangementYear(day.date), year) << Iso(day.date);
      EXPECT_EQ(calendar.Of(day.date).status, day.status) << Iso(day.date);
    }
    const int statutory = year < 2008 ? 10 : year < 2025 ? 11 : 13;
    const int extra = year == 2015 ? 1 : year == 2020 ? 2 : 0;
    EXPECT_EQ(balance, statutory + extra) << year;
  }
}

TEST(Holidays, OutsideTheAnnouncedYearsNothingIsKnown) {
  const HolidayCalendar calendar;
  const std::int32_t last = calendar.LastYear();
  const struct {
    CivilDate date;
    HolidayStatus status;
  } cases[] = {
      {{2025, 3, 3}, HolidayStatus::kOrdinary},  // a Monday
      {{2025, 3, 1}, HolidayStatus::kOrdinary},  // a Saturday: the table says nothing of weekends
      {{2000, 6, 1}, HolidayStatus::kOrdinary},
      {{last, 12, 27}, HolidayStatus::kOrdinary},
      {{last, 12, 28}, HolidayStatus::kNotAnnounced},  // the next year's 元旦 may reach back to here
      {{last, 12, 31}, HolidayStatus::kNotAnnounced},
      {{last + 1, 1, 1}, HolidayStatus::kNotAnnounced},
      {{last + 1, 10, 1}, HolidayStatus::kNotAnnounced},
      {{1999, 12, 27}, HolidayStatus::kNotAnnounced},
      {{1999, 10, 1}, HolidayStatus::kNotAnnounced},
      {{-500, 1, 1}, HolidayStatus::kNotAnnounced},
      {{2025, 2, 30}, HolidayStatus::kNotAnnounced},
  };
  for (const auto& c : cases) {
    const HolidayInfo info = calendar.Of(c.date);
    EXPECT_EQ(info.status, c.status) << Iso(c.date);
    EXPECT_EQ(info.name, "") << Iso(c.date);
  }
  EXPECT_TRUE(calendar.Arrangement(last + 1).empty());
  EXPECT_FALSE(calendar.Announced(last + 1));
  EXPECT_EQ(HolidayMark(HolidayStatus::kDayOff), "休");
  EXPECT_EQ(HolidayMark(HolidayStatus::kWorkDay), "班");
  EXPECT_EQ(HolidayMark(HolidayStatus::kOrdinary), "");
  EXPECT_EQ(HolidayMark(HolidayStatus::kNotAnnounced), "");
}

// Official working days: Monday to Friday unless off, and the make-up days;
// in a year not announced, Monday to Friday.  Every year of the table has
// between 247 and 253 of them: its 260 to 262 weekdays less the statutory
// days off (10 to 13), give or take the make-up days that the next year's 元旦
// puts at its end (2001 ends with two, worked for 2002's 元旦: 253).
TEST(Holidays, OfficialWorkingDays) {
  const HolidayCalendar calendar;
  const struct {
    CivilDate date;
    bool working;
  } cases[] = {
      {{2025, 10, 1}, false},  // a Wednesday off
      {{2025, 10, 4}, false},  // a Saturday off
      {{2025, 9, 28}, true},   // a Sunday worked
      {{2025, 10, 11}, true},  // a Saturday worked
      {{2025, 10, 13}, true},  // an ordinary Monday
      {{2025, 10, 18}, false},  // an ordinary Saturday
      {{2027, 10, 1}, true},   // a Friday of a year not announced
      {{2027, 10, 2}, false},
      {{2025, 2, 30}, false},  // no such day
  };
  for (const auto& c : cases) EXPECT_EQ(IsOfficialWorkingDay(calendar, c.date), c.working) << Iso(c.date);
  for (std::int32_t year = calendar.FirstYear(); year <= calendar.LastYear(); ++year) {
    int working = 0;
    for (DayNumber z = DateToDayNumber(year, 1, 1); z <= DateToDayNumber(year, 12, 31); ++z) {
      working += IsOfficialWorkingDay(calendar, *DayNumberToDate(z)) ? 1 : 0;
    }
    EXPECT_GE(working, 247) << year;
    EXPECT_LE(working, 253) << year;
  }
}

TEST(Holidays, AddedYearsReplaceTheBuiltInOnes) {
  HolidayCalendar calendar;
  EXPECT_TRUE(calendar
                  .AddText("# 2099, announced late\n"
                           "2098-12-31 休 元旦\n"
                           "2099-01-01 休 元旦\r\n"
                           "\n"
                           "2099-01-04=班 元旦\n"
                           "\"2025-10-09\"=\"班 国庆节\"  # 补充\n"
                           "  2025-10-08 \t休　国庆节  \n"
                           "2099-01-02 休 元旦  # 补充\n"
                           "2099-01-03 休 元旦#2\n")
                  .empty());
  const struct {
    CivilDate date;
    HolidayStatus status;
    const char* name;
  } cases[] = {
      {{2099, 1, 1}, HolidayStatus::kDayOff, "元旦"},
      {{2098, 12, 31}, HolidayStatus::kDayOff, "元旦"},  // 2099's arrangement
      {{2099, 1, 4}, HolidayStatus::kWorkDay, "元旦"},
      {{2099, 1, 2}, HolidayStatus::kDayOff, "元旦"},    // a trailing comment is no part of the name
      {{2099, 1, 3}, HolidayStatus::kDayOff, "元旦#2"},  // a "#" inside a word is
      {{2099, 10, 1}, HolidayStatus::kOrdinary, ""},     // 2099 is announced now
      {{2098, 12, 30}, HolidayStatus::kOrdinary, ""},
      {{2098, 12, 27}, HolidayStatus::kNotAnnounced, ""},  // 2098 is not
      {{2025, 10, 8}, HolidayStatus::kDayOff, "国庆节"},
      {{2025, 10, 9}, HolidayStatus::kWorkDay, "国庆节"},
      {{2025, 10, 1}, HolidayStatus::kOrdinary, ""},      // the built-in 2025 is replaced
      {{2025, 1, 28}, HolidayStatus::kOrdinary, ""},
      {{2024, 10, 1}, HolidayStatus::kDayOff, "国庆节"},  // other years stay
  };
  for (const auto& c : cases) {
    const HolidayInfo info = calendar.Of(c.date);
    EXPECT_EQ(info.status, c.status) << Iso(c.date);
    EXPECT_EQ(info.name, c.name) << Iso(c.date);
  }
  EXPECT_EQ(calendar.LastYear(), 2099);
  EXPECT_FALSE(calendar.Announced(2098));
  ASSERT_EQ(calendar.Arrangement(2099).size(), 5u);
  EXPECT_EQ(Iso(calendar.Arrangement(2099)[0].date), "2098-12-31");

  // Later additions to a year keep its earlier days; a date given again takes the new line.
  EXPECT_TRUE(calendar.Add({{"2099-05-01", "休 劳动节"}, {"2099-01-04", "休 元旦"}, {"1999-10-01", "休 国庆节"}})
                  .empty());
  EXPECT_EQ(calendar.Of({2099, 1, 1}).status, HolidayStatus::kDayOff);
  EXPECT_EQ(calendar.Of({2099, 5, 1}).name, "劳动节");
  EXPECT_EQ(calendar.Of({2099, 1, 4}).status, HolidayStatus::kDayOff);
  EXPECT_EQ(calendar.FirstYear(), 1999);
  // A new calendar holds the built-in table only.
  EXPECT_EQ(HolidayCalendar().Of({2025, 10, 1}).status, HolidayStatus::kDayOff);
}

TEST(Holidays, BadLinesAreReportedAndTheRestIsUsed) {
  const std::string text =
      "2099-13-01 休 元旦\n"      // 1: no such date
      "2099-02-29 休 元旦\n"      // 2: not a leap year
      "99-01-01 休 元旦\n"        // 3: two-digit year
      "2099-1-01 休 元旦\n"       // 4
      "1582-12-25 休 圣诞\n"      // 5: before the Gregorian years
      "2099-01-02 放 元旦\n"      // 6: bad mark
      "2099-01-02 休\n"           // 7: no name
      "2099-01-02 休   \n"        // 8
      "2099-01-02 休元旦\n"       // 9: no blank after the mark
      "2099-01-02\n"              // 10
      "xyzzy\n"                   // 11
      "2099-01-02 休 元\x01旦\n"  // 12: a control character
      "2099-01-02 休 元\t旦\n"    // 13: a tab inside the name
      "2099-01-02 休 元\xB5\n"    // 14: half a character
      "\"2099-01-02 休 元旦\n"    // 15: unclosed quote
      "2099-01-01 班 元旦\n";     // 16: good
  HolidayCalendar calendar;
  const auto errors = calendar.AddText(text);
  std::vector<int> lines;
  for (const auto& e : errors) lines.push_back(e.line);
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors[0].text, "2099-13-01 休 元旦");
  EXPECT_EQ(errors[10].text, "xyzzy");
  EXPECT_EQ(calendar.Of({2099, 1, 1}).status, HolidayStatus::kWorkDay);
  EXPECT_EQ(calendar.Of({2099, 1, 2}).status, HolidayStatus::kOrdinary);

  // The same from entries: the number is the entry's place, the text "name=value".
  HolidayCalendar registry;
  const auto skipped =
      registry.Add({{"2099-01-01", "休 元旦　# 补充"}, {"元旦", "休 元旦"}, {"2099-01-02", ""}});
  ASSERT_EQ(skipped.size(), 2u);
  EXPECT_EQ(skipped[0].line, 2);
  EXPECT_EQ(skipped[0].text, "元旦=休 元旦");
  EXPECT_EQ(skipped[1].line, 3);
  EXPECT_EQ(skipped[1].text, "2099-01-02=");
  EXPECT_EQ(registry.Of({2099, 1, 1}).status, HolidayStatus::kDayOff);
  EXPECT_EQ(registry.Of({2099, 1, 1}).name, "元旦");
  // A year whose every line is bad is not announced.
  EXPECT_FALSE(calendar.Announced(2098));
}

}  // namespace
}  // namespace tovani
