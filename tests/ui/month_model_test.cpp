#include "ui/month/month_model.h"

#include <gtest/gtest.h>

namespace tovani::month {
namespace {

const CalendarRange& Range() {
  static const CalendarRange range = MakeCalendarRange(-103, 4103, kHistoricalRules);
  return range;
}

MonthModel ModelAt(int y, int m, int d) { return MonthModel(Range(), *FromGregorian({y, m, d}, kHistoricalRules)); }

// The day and second line of a cell.
std::pair<std::string, std::string> Cell(const MonthGrid& grid, int cell) {
  const std::string& text = grid.cells[cell - 1];
  if (text.empty()) return {};
  const auto second = text.find("\r\n", 2);
  return {text.substr(2, second - 2), text.substr(second + 2)};
}

TEST(MonthGrid, AMonthStartingOnSaturdayFillsCells7To37) {
  const MonthGrid grid = MakeMonthGrid(2022, 10, kHistoricalRules);  // 1 October 2022 was a Saturday
  EXPECT_EQ(grid.firstCell, 7);
  EXPECT_EQ(grid.lastCell, 37);
  for (int cell = 1; cell < 7; ++cell) EXPECT_EQ(grid.cells[cell - 1], "") << cell;
  EXPECT_EQ(Cell(grid, 7).first, "1");
  EXPECT_EQ(Cell(grid, 37).first, "31");
  EXPECT_EQ(Cell(grid, 7).second, "国庆节");
}

TEST(MonthGrid, October1582RunsFrom4To15WithoutAGap) {
  MonthModel model = ModelAt(1582, 10, 1);
  const MonthGrid& grid = model.grid();
  EXPECT_EQ(grid.firstCell, 2);  // 1582-10-01 was a Monday
  EXPECT_EQ(grid.lastCell, 22);
  EXPECT_EQ(Cell(grid, 5).first, "4");
  EXPECT_EQ(Cell(grid, 6).first, "15");
  EXPECT_TRUE(model.ClickCell(6));
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{1582, 10, 15}));
  EXPECT_EQ(model.SelectedCell(), 6);
  EXPECT_FALSE(model.ClickCell(1));  // an empty cell
  EXPECT_FALSE(model.ClickCell(23));
}

// The weeks from Monday: every day one cell earlier, except a month that
// begins on a Sunday, which moves to the end of the first row.
TEST(MonthGrid, WeeksFromMonday) {
  const struct {
    std::int32_t year, month;
    int sundayFirst, mondayFirst;
  } cases[] = {{2022, 10, 7, 6}, {1582, 10, 2, 1}, {2024, 2, 5, 4}, {2023, 1, 1, 7}, {2023, 10, 1, 7}};
  for (const auto& c : cases) {
    const MonthGrid sunday = MakeMonthGrid(c.year, c.month, kHistoricalRules, WeekStart::kSunday);
    const MonthGrid monday = MakeMonthGrid(c.year, c.month, kHistoricalRules, WeekStart::kMonday);
    EXPECT_EQ(sunday.firstCell, c.sundayFirst) << c.year << "-" << c.month;
    EXPECT_EQ(monday.firstCell, c.mondayFirst) << c.year << "-" << c.month;
    EXPECT_EQ(monday.lastCell - monday.firstCell, sunday.lastCell - sunday.firstCell);
    EXPECT_LE(monday.lastCell, kCellCount);
    EXPECT_EQ(monday.cells[monday.firstCell - 1], sunday.cells[sunday.firstCell - 1]);
  }
  const char* const heads[7] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
  for (int column = 0; column < 7; ++column) {
    EXPECT_EQ(std::string(WeekdayHeader(column, WeekStart::kMonday)), heads[column]);
    EXPECT_EQ(std::string(WeekdayHeader(column, WeekStart::kSunday)), heads[(column + 6) % 7]);
    EXPECT_EQ(IsWeekendColumn(column, WeekStart::kMonday), column >= 5) << column;
    EXPECT_EQ(IsWeekendColumn(column, WeekStart::kSunday), column == 0 || column == 6) << column;
  }
  // The displayed day stays when the week's start changes; its cell moves.
  MonthModel model = ModelAt(2022, 10, 15);
  EXPECT_EQ(model.SelectedCell(), 21);
  model.SetWeekStart(WeekStart::kMonday);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2022, 10, 15}));
  EXPECT_EQ(model.SelectedCell(), 20);
  EXPECT_TRUE(model.ClickCell(6));
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2022, 10, 1}));
}

TEST(MonthGrid, SecondLines) {
  const MonthGrid grid = MakeMonthGrid(2024, 2, kHistoricalRules);  // 1 February 2024 is a Thursday: cell 5
  ASSERT_EQ(grid.firstCell, 5);
  const auto line = [&](int day) { return Cell(grid, grid.firstCell + day - 1).second; };
  EXPECT_EQ(line(4), "立春");       // a solar term without a festival
  EXPECT_EQ(line(10), "春节");      // a lunar festival first
  EXPECT_EQ(line(14), "情人节");    // a Gregorian festival, short list
  EXPECT_EQ(line(11), "初二");
  EXPECT_EQ(line(9), "除夕");
  const MonthGrid march = MakeMonthGrid(2023, 3, kHistoricalRules);
  // 22 March 2023 is the first day of 闰二月, of 29 days.
  EXPECT_EQ(Cell(march, march.firstCell + 21).second, "闰二月小");
  const MonthGrid may = MakeMonthGrid(2023, 5, kHistoricalRules);
  EXPECT_EQ(Cell(may, may.firstCell + 18).second, "四月大");  // 19 May 2023
  const MonthGrid april = MakeMonthGrid(2023, 4, kHistoricalRules);
  EXPECT_EQ(Cell(april, april.firstCell + 19).second, "谷雨");  // 20 April 2023, 三月初一 and 谷雨
}

TEST(MonthSummary, TermsAndMoonsOfAMonth) {
  EXPECT_EQ(MonthSummary(2024, 2, kHistoricalRules), "4日16:27:02立春 19日12:13:05雨水\r\n10日06:59:04朔 24日20:30:17望");
}

TEST(DayDetails, TheLinesOfTheDetailsBox) {
  const std::string details = DayDetails(*FromGregorian({2024, 2, 10}, kHistoricalRules), YearStart::kStartOfSpring,
                                         -116.4, 39.9, kHistoricalRules);
  EXPECT_EQ(details.substr(0, details.find("\r\n", 2)), "\r\n农历 二○二四年 正月小初一 甲辰(龙)年丙寅月甲辰日");
  EXPECT_NE(details.find("\r\n回历 1445年7月30日 水瓶座 六九第6天\r\n"), std::string::npos) << details;
  EXPECT_NE(details.find("天亮 "), std::string::npos);
  EXPECT_EQ(details.substr(details.rfind("\r\n")), "\r\n 春节 国际气象节");
  // A leap month and an era name.
  const std::string leap = DayDetails(*FromGregorian({1722, 6, 1}, kHistoricalRules), YearStart::kStartOfSpring, -116.4,
                                      39.9, kHistoricalRules);
  EXPECT_EQ(leap.rfind("\r\n农历 清代康熙61年 ", 0), 0u) << leap;
  const std::string leapMonth = DayDetails(*FromGregorian({2023, 4, 10}, kHistoricalRules), YearStart::kStartOfSpring,
                                           -116.4, 39.9, kHistoricalRules);
  EXPECT_NE(leapMonth.find("年  闰二月小二十 "), std::string::npos) << leapMonth;
  // No festival: three lines only.
  const std::string plain = DayDetails(*FromGregorian({2024, 2, 11}, kHistoricalRules), YearStart::kStartOfSpring,
                                       -116.4, 39.9, kHistoricalRules);
  EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), 3);
}

TEST(MonthModel, ChoosingAndStepping) {
  MonthModel model = ModelAt(2000, 2, 29);
  model.ChooseYear(1900 + 103);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{1900, 2, 28}));
  model = ModelAt(2000, 2, 29);
  model.ChooseYear(2004 + 103);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2004, 2, 29}));
  model = ModelAt(2023, 1, 31);
  model.ChooseMonth(3);  // April
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2023, 4, 30}));
  model = ModelAt(1582, 9, 10);
  model.ChooseMonth(9);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{1582, 10, 4}));
  model = ModelAt(2023, 12, 20);
  model.StepMonth(+1);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2024, 1, 20}));
  model.StepMonth(-1);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2023, 12, 20}));
  model.StepYear(+1);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2024, 12, 20}));
  model.StepDay(+1);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{2024, 12, 21}));
  model = ModelAt(4103, 12, 31);
  model.StepDay(+1);
  model.StepMonth(+1);
  model.StepYear(+1);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{4103, 12, 31}));
  model = ModelAt(-103, 1, 1);
  model.StepMonth(-1);
  model.StepDay(-1);
  EXPECT_EQ(model.date().gregorian, (CalendarTriple{-103, 1, 1}));
  EXPECT_TRUE(model.GoTo({2026, 12, 7}));
  EXPECT_EQ(model.grid().firstCell, 3);  // 1 December 2026 is a Tuesday
  EXPECT_EQ(model.SelectedCell(), 9);
}

}  // namespace
}  // namespace tovani::month
