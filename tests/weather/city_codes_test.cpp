#include "weather/city_codes.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "engine/cities.h"

namespace tovani {
namespace {

struct ProvinceRow {
  const char* name;
  int count;
  int serviceNumber;  // the two digits after "101"
};

// In table order.
constexpr ProvinceRow kProvinceRows[] = {
    {"北京", 15, 1},   {"上海", 12, 2},   {"天津", 13, 3},   {"重庆", 34, 4},   {"黑龙江", 13, 5}, {"吉林", 9, 6},
    {"辽宁", 14, 7},   {"内蒙古", 12, 8}, {"河北", 11, 9},   {"河南", 18, 18},  {"山东", 17, 12},  {"山西", 11, 10},
    {"陕西", 10, 11},  {"甘肃", 14, 16},  {"宁夏", 5, 17},   {"新疆", 16, 13},  {"青海", 8, 15},   {"西藏", 7, 14},
    {"四川", 21, 27},  {"云南", 16, 29},  {"贵州", 9, 26},   {"湖南", 14, 25},  {"湖北", 17, 20},  {"安徽", 17, 22},
    {"江苏", 13, 19},  {"浙江", 11, 21},  {"江西", 11, 24},  {"福建", 9, 23},   {"广东", 21, 28},  {"广西", 14, 30},
    {"海南", 20, 31},
};

// The places whose code breaks their province's rule.
const std::map<std::pair<int, int>, std::int32_t>& Exceptions() {
  static const std::map<std::pair<int, int>, std::int32_t> m = [] {
    std::map<std::pair<int, int>, std::int32_t> e;
    for (int i = 4; i <= 12; ++i) e[{2, i}] = 101020000 + 100 * (i + 1);  // 上海 嘉定 .. 浦东
    e[{3, 13}] = 101031400;                                                // 蓟县
    for (int i = 12; i <= 33; ++i) e[{4, i}] = 101040000 + 100 * (i + 1);  // 重庆 万州 .. 酉阳
    e[{4, 34}] = 101043600;                                                // 秀山
    e[{5, 10}] = 101051002;
    e[{9, 4}] = 101090402;
    e[{12, 11}] = 101101100;
    e[{13, 2}] = 101110200;
    e[{13, 3}] = 101110300;
    e[{22, 7}] = 101250700;
    e[{22, 13}] = 101251401;
    e[{22, 14}] = 101251501;
    e[{29, 8}] = 101280800;
    const int hainan[] = {202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 214, 215, 216, 217, 220, 221, 222};
    for (int i = 3; i <= 20; ++i) e[{31, i}] = 101310000 + hainan[i - 3];
    return e;
  }();
  return m;
}

TEST(WeatherCityCodes, ProvincesAndCounts) {
  EXPECT_EQ(WeatherPlaceName(0, -1), "31");
  EXPECT_EQ(WeatherPlaceName(0, 5), "31");
  EXPECT_EQ(WeatherPlaceName(-7, 100), "31");  // clamped to 0
  int total = 0;
  for (int p = 1; p <= kWeatherProvinceCount; ++p) {
    SCOPED_TRACE(p);
    const ProvinceRow& row = kProvinceRows[p - 1];
    EXPECT_EQ(WeatherPlaceName(p, -1), row.name);
    EXPECT_EQ(WeatherPlaceName(p, -5), row.name);  // clamped to -1
    EXPECT_EQ(WeatherPlaceName(p, 0), std::to_string(row.count));
    EXPECT_EQ(WeatherPlaceCount(p), row.count);
    EXPECT_NE(WeatherPlaceName(p, row.count), "");
    EXPECT_EQ(WeatherPlaceName(p, row.count + 1), "");
    EXPECT_EQ(WeatherPlaceName(p, INT_MAX), "");
    total += row.count;
  }
  EXPECT_EQ(total, 432);
  // Beyond 31 is province 31.
  EXPECT_EQ(WeatherPlaceName(32, -1), "海南");
  EXPECT_EQ(WeatherPlaceName(INT_MAX, 20), "五指山");
  EXPECT_EQ(WeatherPlaceName(5, 0), "13");
  EXPECT_EQ(WeatherPlaceName(5, 14), "");
}

TEST(WeatherCityCodes, PlaceNames) {
  const struct {
    int province, position;
    const char* name;
  } cases[] = {
      {1, 1, "市区"},    {1, 15, "平谷"},     {2, 4, "嘉定"},       {2, 12, "浦东"},   {3, 13, "蓟县"},
      {4, 34, "秀山"},   {5, 2, "齐齐哈尔"},  {8, 12, "阿拉善左旗"}, {9, 11, "秦皇岛"}, {10, 16, "驻马店"},
      {16, 1, "乌鲁木齐"}, {17, 4, "海南"},   {20, 13, "香格里拉"}, {24, 9, "亳州"},   {26, 4, "宁波"},
      {29, 6, "深圳"},   {31, 6, "儋州"},     {31, 18, "南沙"},     {31, 20, "五指山"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WeatherPlaceName(c.province, c.position), c.name) << c.province << "," << c.position;
  }
  // Names are unique within a province.
  for (int p = 1; p <= kWeatherProvinceCount; ++p) {
    std::set<std::string> names;
    for (int i = 1; i <= WeatherPlaceCount(p); ++i) names.insert(WeatherPlaceName(p, i));
    EXPECT_EQ(static_cast<int>(names.size()), WeatherPlaceCount(p)) << p;
  }
}

TEST(WeatherCityCodes, EveryCodeFollowsItsRuleOrItsException) {
  std::set<std::int32_t> codes;
  int exceptional = 0;
  for (int p = 1; p <= kWeatherProvinceCount; ++p) {
    const ProvinceRow& row = kProvinceRows[p - 1];
    for (int i = 1; i <= row.count; ++i) {
      SCOPED_TRACE(testing::Message() << p << "," << i);
      const std::int32_t code = WeatherCityCode(p, i);
      const auto e = Exceptions().find({p, i});
      if (e != Exceptions().end()) {
        EXPECT_EQ(code, e->second);
        ++exceptional;
      } else {
        EXPECT_EQ(code, 101000000 + row.serviceNumber * 10000 + 100 * i + (p <= 4 ? 0 : 1));
      }
      // Nine digits: "101", the service's province number, city and district.
      EXPECT_EQ(code / 10000, 10100 + row.serviceNumber);
      EXPECT_TRUE(codes.insert(code).second) << "duplicate " << code;
    }
  }
  EXPECT_EQ(exceptional, static_cast<int>(Exceptions().size()));
  EXPECT_EQ(codes.size(), 432u);
}

TEST(WeatherCityCodes, NamedCodesAndClamping) {
  const struct {
    int province, position;
    std::int32_t code;
  } cases[] = {
      {1, 1, 101010100},   {2, 3, 101020300},  {2, 4, 101020500},   {4, 11, 101041100},  {4, 12, 101041300},
      {4, 34, 101043600},  {5, 9, 101050901},  {5, 10, 101051002},  {9, 4, 101090402},   {10, 1, 101180101},
      {11, 2, 101120201},  {13, 1, 101110101}, {13, 2, 101110200},  {22, 7, 101250700},  {22, 12, 101251201},
      {22, 14, 101251501}, {29, 8, 101280800}, {31, 2, 101310201},  {31, 18, 101310220}, {31, 20, 101310222},
      // Clamped positions and provinces.
      {1, 99, 101011500},  {1, 0, 101010100},  {1, -3, 101010100},  {1, INT_MIN, 101010100},
      {40, 1, 101310101},  {0, 1, 101010100},  {-5, 2, 101010200},  {INT_MAX, INT_MAX, 101310222},
      {2, 13, 101021300},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WeatherCityCode(c.province, c.position), c.code) << c.province << "," << c.position;
  }
}

TEST(WeatherCityCodes, PlacesOfTheCityTable) {
  // Row: weather province and position.
  const std::pair<int, int> links[44] = {
      {1, 1},   {1, 1},   {2, 1},   {3, 1},   {4, 1},   {5, 1},   {6, 1},   {7, 1},   {7, 2},   {8, 1},   {9, 1},
      {9, 11},  {9, 11},  {10, 1},  {11, 1},  {11, 2},  {12, 1},  {13, 1},  {14, 1},  {15, 1},  {16, 1},  {17, 1},
      {18, 1},  {19, 1},  {20, 1},  {21, 1},  {22, 1},  {23, 1},  {24, 1},  {25, 1},  {26, 1},  {26, 4},  {27, 1},
      {28, 1},  {28, 2},  {29, 1},  {29, 6},  {30, 1},  {31, 1},  {31, 2},  {29, 6},  {29, 6},  {28, 2},  {1, 1},
  };
  for (int row = 1; row <= 44; ++row) {
    SCOPED_TRACE(row);
    const WeatherSelection s = WeatherPlaceOfCity(row);
    EXPECT_EQ(s, (WeatherSelection{links[row - 1].first, links[row - 1].second}));
  }
  EXPECT_EQ(WeatherPlaceOfCity(0), (WeatherSelection{1, 1}));
  EXPECT_EQ(WeatherPlaceOfCity(45), (WeatherSelection{1, 1}));
  EXPECT_EQ(WeatherPlaceOfCity(INT_MIN), (WeatherSelection{1, 1}));

  // A place of the table that is itself a weather place links to that place.
  const std::set<std::string> elsewhere = {"天安门", "北京", "上海", "天津", "重庆", "北戴河",
                                           "山海关", "香港", "澳门", "台北"};
  for (int row = 1; row <= CityCount(); ++row) {
    const std::string name = CityAt(row)->name;
    const WeatherSelection s = WeatherPlaceOfCity(row);
    if (elsewhere.count(name) == 0) {
      EXPECT_EQ(WeatherPlaceName(s.province, s.city), name) << row;
    }
  }
  EXPECT_EQ(WeatherPlaceName(9, 11), "秦皇岛");
}

}  // namespace
}  // namespace tovani
