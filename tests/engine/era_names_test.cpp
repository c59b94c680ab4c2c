#include "engine/era_names.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace tovani {
namespace {

TEST(EraNames, RowsCoverTheSpanInOrderWithoutGapsOrOverlaps) {
  const auto rows = EraTable();
  ASSERT_EQ(rows.size(), 330u);
  EXPECT_EQ(rows.front().first, -139);
  EXPECT_EQ(rows.back().last, 1911);
  int otherBases = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    const EraRow& row = rows[i];
    ASSERT_NE(row.name, nullptr);
    EXPECT_EQ(std::string(row.name).size(), 8u);  // four characters
    EXPECT_LE(row.first, row.last);
    if (i > 0) {
      EXPECT_EQ(row.first, rows[i - 1].last + 1);
    }
    EXPECT_LE(row.countBase, row.first);
    if (row.countBase != row.first) ++otherBases;
  }
  EXPECT_EQ(otherBases, 1);
}

// The line of succession: each run of rows of one dynasty and the year it
// takes over.
TEST(EraNames, DynastiesFollowOneLineOfSuccession) {
  const struct {
    const char* dynasty;
    int first;
  } expected[] = {
      {"西汉", -139}, {"新莽", 9},    {"西汉", 23},   {"东汉", 25},   {"魏代", 220}, {"西晋", 265}, {"东晋", 317},
      {"刘宋", 420},  {"南齐", 479},  {"南梁", 502},  {"北周", 557},  {"隋代", 581}, {"唐代", 618}, {"武周", 690},
      {"唐代", 705},  {"后梁", 907},  {"后唐", 923},  {"后晋", 936},  {"后汉", 947}, {"后周", 951}, {"北宋", 960},
      {"南宋", 1127}, {"元代", 1280}, {"明代", 1368}, {"清代", 1644},
  };
  struct Run {
    std::string dynasty;
    int first;
  };
  std::vector<Run> runs;
  for (const EraRow& row : EraTable()) {
    const std::string dynasty = std::string(row.name).substr(0, 4);
    if (runs.empty() || runs.back().dynasty != dynasty) runs.push_back({dynasty, row.first});
  }
  ASSERT_EQ(runs.size(), std::size(expected));
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].dynasty, expected[i].dynasty) << i;
    EXPECT_EQ(runs[i].first, expected[i].first) << i;
  }
}

TEST(EraNames, YearTexts) {
  const struct {
    int year;
    const char* text;
  } cases[] = {
      {-139, "西汉建元01"}, {-134, "西汉建元06"}, {-133, "西汉元光01"}, {-1, "西汉元寿01"},   {0, "西汉元寿02"},
      {1, "西汉元始01"},    {8, "西汉初始01"},    {9, "新莽建国01"},    {22, "新莽地皇03"},   {23, "西汉更始01"},
      {24, "西汉更始02"},   {25, "东汉建武01"},   {220, "魏代黄初01"},  {627, "唐代贞观01"},  {649, "唐代贞观23"},
      {690, "武周天授01"},  {704, "武周长安04"},  {705, "唐代神龙01"},  {713, "唐代开元01"},  {741, "唐代开元29"},
      {1279, "南宋祥兴02"}, {1280, "元代至元17"}, {1294, "元代至元31"}, {1295, "元代元贞01"}, {1335, "元代至元01"},
      {1367, "元代至正27"}, {1368, "明代洪武01"}, {1398, "明代洪武31"}, {1620, "明代泰昌01"}, {1643, "明代崇祯16"},
      {1644, "清代顺治01"}, {1722, "清代康熙61"}, {1795, "清代乾隆60"}, {1908, "清代光绪34"}, {1909, "清代宣统01"},
      {1911, "清代宣统03"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EraYearText(c.year), c.text) << c.year;
  }
}

// Era years run 01, 02, ... within a row and begin again at 01 with the next
// row (the 至元 row of 1280 goes on from 17, counted from 1264).
TEST(EraNames, EveryYearOfTheSpanCountsOnWithinItsRow) {
  std::string previousName;
  int previousNumber = 0;
  for (int year = -139; year <= 1911; ++year) {
    SCOPED_TRACE(year);
    const std::string text = EraYearText(year);
    ASSERT_EQ(text.size(), 10u);
    const std::string name = text.substr(0, 8);
    const int number = std::atoi(text.substr(8).c_str());
    const bool newRow = year == -139 || number != previousNumber + 1;
    if (newRow) {
      EXPECT_EQ(number, year == 1280 ? 17 : 1);
      if (year != -139) {
        EXPECT_NE(name, previousName);
      }
    } else {
      EXPECT_EQ(name, previousName);
    }
    previousName = name;
    previousNumber = number;
  }
}

TEST(EraNames, OutsideTheSpanTheYearIsWrittenInNumerals) {
  const struct {
    int year;
    const char* text;
  } cases[] = {
      {-140, "  前一四一"}, {1912, "  一九一二"}, {2024, "  二○二四"}, {-8999, "前九○○○"}, {9000, "  九○○○"},
      {1, "西汉元始01"},    {-9000, ""},          {9001, ""},          {-9998, ""},        {10000, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EraYearText(c.year), c.text) << c.year;
  }
}

}  // namespace
}  // namespace tovani
