#include "ui/day/day_model.h"

#include <gtest/gtest.h>

#include "engine/solar_terms.h"

namespace tovani::day {
namespace {

const CalendarRange& Range() {
  static const CalendarRange range = MakeCalendarRange(-103, 4103, kHistoricalRules);
  return range;
}

DayModel ModelAt(int y, int m, int d, bool dynasty = false) {
  return DayModel(Range(), *FromGregorian({y, m, d}, kHistoricalRules), dynasty);
}

std::string SelectedItem(const DayModel& model, ListId list) {
  const int i = model.Selected(list);
  return i >= 0 ? model.List(list).items[i] : "<none>";
}

int IndexOf(const DayModel& model, ListId list, int value) {
  const auto& v = model.List(list).values;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] == value) return static_cast<int>(i);
  }
  return -1;
}

TEST(DayModel, TheNineListsOfADate) {
  const DayModel model = ModelAt(2024, 2, 10);
  EXPECT_EQ(model.List(kGregorianYear).items.size(), 4207u);
  EXPECT_EQ(model.List(kGregorianYear).items.front(), "   前104年");
  EXPECT_EQ(SelectedItem(model, kGregorianYear), "    2024年");
  EXPECT_EQ(model.List(kGregorianMonth).items.front(), "   1月");
  EXPECT_EQ(SelectedItem(model, kGregorianMonth), "   2月");
  EXPECT_EQ(model.List(kGregorianDay).items.size(), 29u);
  EXPECT_EQ(model.List(kGregorianDay).items.front(), " 1日");
  EXPECT_EQ(SelectedItem(model, kGregorianDay), "10日");
  EXPECT_EQ(SelectedItem(model, kLunarYear), "  二○二四年");
  EXPECT_EQ(SelectedItem(model, kLunarMonth), "  正月");
  EXPECT_EQ(model.List(kLunarMonth).items.size(), 12u);
  EXPECT_EQ(model.List(kLunarMonth).items.back(), "  腊月");
  EXPECT_EQ(SelectedItem(model, kLunarDay), "初一");
  EXPECT_EQ(model.List(kLunarDay).items.size(), 29u);  // 正月 of 2024 is small
  EXPECT_EQ(SelectedItem(model, kHijriYear), "  回历1445年");
  EXPECT_EQ(SelectedItem(model, kHijriMonth), "   7月");
  EXPECT_EQ(SelectedItem(model, kHijriDay), "30日");
  for (int l = 0; l < kListCount; ++l) EXPECT_GE(model.Selected(static_cast<ListId>(l)), 0) << ListName(static_cast<ListId>(l));
  // A leap year: 闰二月 directly after 二月.
  const DayModel leap = ModelAt(2023, 4, 10);
  const auto& months = leap.List(kLunarMonth).items;
  ASSERT_EQ(months.size(), 13u);
  EXPECT_EQ(months[1], "  二月");
  EXPECT_EQ(months[2], "闰二月");
  EXPECT_EQ(SelectedItem(leap, kLunarMonth), "闰二月");
}

TEST(DayModel, OctoberOf1582) {
  DayModel model = ModelAt(1582, 10, 20);
  const auto& days = model.List(kGregorianDay);
  ASSERT_EQ(days.items.size(), 21u);
  EXPECT_EQ(days.items[3], " 4日");
  EXPECT_EQ(days.items[4], "15日");
  EXPECT_EQ(days.values[4], 15);
  // A displayed 10th reached by changing the year becomes the 4th.
  DayModel other = ModelAt(1581, 10, 10);
  other.Choose(kGregorianYear, 1582 + 103);
  EXPECT_EQ(other.date().gregorian, (CalendarTriple{1582, 10, 4}));
  // Choosing the item after the 4th is the 15th.
  model.Choose(kGregorianDay, 4);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{1582, 10, 15}));
  // The 15th is not the list's first item: the list itself handles the key.
  EXPECT_FALSE(model.Step(kGregorianDay, -1));
  DayModel first = ModelAt(1582, 10, 1);
  EXPECT_TRUE(first.Step(kGregorianDay, -1));
  EXPECT_EQ(first.date().gregorian, (CalendarTriple{1582, 9, 30}));
}

TEST(DayModel, ChoicesClampTheDay) {
  DayModel model = ModelAt(2023, 1, 31);
  model.Choose(kGregorianMonth, 1);  // February
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2023, 2, 28}));
  model = ModelAt(2024, 2, 29);
  model.Choose(kGregorianYear, 2023 + 103);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2023, 2, 28}));
  // A leap month the chosen year lacks becomes its regular month.
  model = ModelAt(2023, 4, 10);  // 闰二月二十 of 2023
  ASSERT_EQ(model.date().lunar, (CalendarTriple{2023, 14, 20}));
  model.Choose(kLunarYear, IndexOf(model, kLunarYear, 2024));
  EXPECT_EQ(model.date().lunar, (CalendarTriple{2024, 2, 20}));
  // Day 30 in a month of 29 days becomes 29.
  model = ModelAt(2024, 2, 9);  // 腊月三十 of 2023
  ASSERT_EQ(model.date().lunar, (CalendarTriple{2023, 12, 30}));
  model.Choose(kLunarMonth, IndexOf(model, kLunarMonth, 11));  // 冬月 of 2023 has 29 days
  EXPECT_EQ(model.date().lunar, (CalendarTriple{2023, 11, 29}));
  // Hijri: month 9 has 30 days, month 8 has 29.
  model = ModelAt(2024, 4, 9);  // 1445-09-30
  ASSERT_EQ(model.date().hijri, (CalendarTriple{1445, 9, 30}));
  model.Choose(kHijriMonth, IndexOf(model, kHijriMonth, 8));
  EXPECT_EQ(model.date().hijri, (CalendarTriple{1445, 8, 29}));
  // Every choice keeps the three calendars on one day.
  EXPECT_EQ(*FromGregorian(model.date().gregorian, kHistoricalRules), model.date());
}

TEST(DayModel, SteppingAtTheEndsOfTheLists) {
  DayModel model = ModelAt(2023, 12, 15);
  EXPECT_TRUE(model.Step(kGregorianMonth, +1));  // Right on December
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2024, 1, 15}));
  EXPECT_TRUE(model.Step(kGregorianMonth, -1));
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2023, 12, 15}));
  EXPECT_FALSE(model.Step(kGregorianMonth, -1));  // December is not the first item
  EXPECT_FALSE(model.Step(kGregorianYear, +1));   // year lists do not step
  // Day lists step by one day across months and years.
  model = ModelAt(2023, 12, 31);
  EXPECT_TRUE(model.Step(kGregorianDay, +1));
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2024, 1, 1}));
  // The lunar month list steps across the lunar year, shortening day 30.
  model = ModelAt(2024, 2, 10);  // 正月初一 of 2024, the first item
  model.Choose(kLunarDay, 0);
  EXPECT_TRUE(model.Step(kLunarMonth, -1));
  EXPECT_EQ(model.date().lunar, (CalendarTriple{2023, 12, 1}));
  model = ModelAt(2024, 2, 9);  // 腊月三十, the last month of 2023
  EXPECT_TRUE(model.Step(kLunarMonth, +1));
  EXPECT_EQ(model.date().lunar, (CalendarTriple{2024, 1, 29}));  // 正月 of 2024 has 29 days
  // The Hijri month list likewise.
  model = ModelAt(2024, 7, 8);  // 1446-01-01
  ASSERT_EQ(model.date().hijri, (CalendarTriple{1446, 1, 1}));
  EXPECT_TRUE(model.Step(kHijriMonth, -1));
  EXPECT_EQ(model.date().hijri, (CalendarTriple{1445, 12, 1}));
}

TEST(DayModel, TheRangeEnds) {
  const CalendarRange& r = Range();
  EXPECT_EQ(r.lunarFirst.year, -104);
  EXPECT_EQ(r.firstDay, DateToDayNumber(-103, 1, 1));
  DayModel first = ModelAt(-103, 1, 1);
  EXPECT_TRUE(first.Step(kGregorianDay, -1));  // handled, but nothing moves
  EXPECT_EQ(first.date().gregorian, (CalendarTriple{-103, 1, 1}));
  EXPECT_TRUE(first.Step(kGregorianMonth, -1));
  EXPECT_EQ(first.date().gregorian, (CalendarTriple{-103, 1, 1}));
  // The first lunar year's lists start at the range's first month and day.
  EXPECT_EQ(first.List(kLunarMonth).values.front(), r.lunarFirst.month);
  EXPECT_EQ(first.List(kLunarDay).values.front(), r.lunarFirst.day);
  EXPECT_EQ(first.List(kHijriYear).values.front(), r.hijriFirst.year);
  EXPECT_EQ(first.List(kHijriDay).values.front(), r.hijriFirst.day);
  // Choosing an earlier month of the first lunar year gives the range's first day.
  first.Choose(kLunarYear, 0);
  EXPECT_EQ(first.date().gregorian, (CalendarTriple{-103, 1, 1}));
  DayModel last = ModelAt(4103, 12, 31);
  EXPECT_TRUE(last.Step(kGregorianDay, +1));
  EXPECT_EQ(last.date().gregorian, (CalendarTriple{4103, 12, 31}));
  EXPECT_EQ(last.List(kLunarMonth).values.back(), r.lunarLast.month);
  EXPECT_EQ(last.List(kLunarDay).values.back(), r.lunarLast.day);
  EXPECT_EQ(last.List(kHijriMonth).values.back(), r.hijriLast.month);
  EXPECT_FALSE(last.GoTo({4104, 1, 1}));
}

TEST(DayModel, EraNamesInTheLunarYearList) {
  DayModel model = ModelAt(1722, 6, 1);
  EXPECT_EQ(SelectedItem(model, kLunarYear), "  一七二二年");
  const unsigned version = model.List(kLunarYear).version;
  model.SetShowDynasty(true);
  EXPECT_EQ(SelectedItem(model, kLunarYear), "清代康熙61年");
  EXPECT_NE(model.List(kLunarYear).version, version);
  // Lists whose content stays are not rebuilt.
  const unsigned months = model.List(kGregorianMonth).version;
  model.Choose(kGregorianMonth, 6);
  EXPECT_EQ(model.List(kGregorianMonth).version, months);
}

TEST(DayModel, TextLines) {
  const auto day = *FromGregorian({2024, 2, 10}, kHistoricalRules);
  EXPECT_EQ(DayTextLine1(day, YearStart::kStartOfSpring, kHistoricalRules), "星期六 水瓶座  甲辰(龙)年丙寅月甲辰日");
  EXPECT_EQ(DayTextLine2(day, DayInfo::kFestivals, -116.4, 39.9, kHistoricalRules),
            "春节 国际气象节 2月19日雨水 六九第6天");
  const std::string sun = DayTextLine2(day, DayInfo::kSunriseSunset, -116.4, 39.9, kHistoricalRules);
  EXPECT_EQ(sun.substr(0, 8), "日出时刻");
  EXPECT_EQ(sun.size(), 8u + 8 + 2 + 8 + 8);
  EXPECT_EQ(DayTextLine2(day, DayInfo::kDawnDusk, -116.4, 39.9, kHistoricalRules).substr(0, 8), "天亮时刻");
  // The day before the lunar new year: 除夕, and the sexagenary year changed at 立春.
  const auto eve = *FromGregorian({2024, 2, 9}, kHistoricalRules);
  EXPECT_EQ(DayTextLine2(eve, DayInfo::kFestivals, -116.4, 39.9, kHistoricalRules).substr(0, 4), "除夕");
  EXPECT_NE(DayTextLine1(eve, YearStart::kStartOfSpring, kHistoricalRules).find("甲辰(龙)年"), std::string::npos);
  EXPECT_NE(DayTextLine1(eve, YearStart::kLunarNewYear, kHistoricalRules).find("癸卯(兔)年"), std::string::npos);
}

TEST(DayModel, ANewRangeRecomputesTheLunarDate) {
  DayModel model = ModelAt(-103, 3, 1);
  const CalendarTriple historical = model.date().lunar;
  model.SetRange(MakeCalendarRange(-103, 4103, kModernRules));
  EXPECT_NE(model.date().lunar, historical);  // the astronomical new moon of -103 differs
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{-103, 3, 1}));
}

}  // namespace
}  // namespace tovani::day
