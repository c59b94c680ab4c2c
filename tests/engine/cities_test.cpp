#include "engine/cities.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <string>

namespace tovani {
namespace {

TEST(Cities, TableRows) {
  ASSERT_EQ(CityCount(), 43);
  EXPECT_EQ(CityAt(0), nullptr);
  EXPECT_EQ(CityAt(44), nullptr);
  EXPECT_EQ(CityAt(-1), nullptr);
  EXPECT_EQ(CityAt(INT_MIN), nullptr);
  std::set<std::string> names;
  for (int code = 1; code <= CityCount(); ++code) {
    SCOPED_TRACE(code);
    const City* city = CityAt(code);
    ASSERT_NE(city, nullptr);
    names.insert(city->name);
    // Every place lies in China: east longitudes (negative here), north latitudes.
    const double longitude = std::strtod(city->longitude, nullptr);
    const double latitude = std::strtod(city->latitude, nullptr);
    EXPECT_GT(longitude, -135.0);
    EXPECT_LT(longitude, -73.0);
    EXPECT_GT(latitude, 18.0);
    EXPECT_LT(latitude, 54.0);
    EXPECT_GE(city->weatherProvince, 1);
    EXPECT_LE(city->weatherProvince, 31);
    EXPECT_GE(city->weatherCity, 1);
  }
  EXPECT_EQ(names.size(), 43u);
  EXPECT_STREQ(CityAt(1)->name, "天安门");
  EXPECT_STREQ(CityAt(43)->name, "台北");
}

TEST(Cities, SelectingATableRowSetsTheCurrentPlace) {
  const struct {
    int code;
    const char* name;
    double longitude, latitude;
    int province, city;
  } cases[] = {
      {1, "天安门", -116.3833, 39.9, 1, 1},       {2, "北京", -116.4, 39.9, 1, 1},
      {3, "上海", -121.4667, 31.2333, 2, 1},      {12, "北戴河", -119.4833, 39.8333, 9, 11},
      {21, "乌鲁木齐", -87.6167, 43.8167, 16, 1}, {32, "宁波", -121.55, 29.8833, 26, 4},
      {37, "深圳", -114.05, 22.55, 29, 6},        {40, "三亚", -109.5, 18.25, 31, 2},
      {41, "香港", -114.0833, 22.2, 29, 6},       {42, "澳门", -113.3333, 22.1333, 29, 6},
      {43, "台北", -121.5, 25.0333, 28, 2},
  };
  const OwnPlace own{"家", 10, 20};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    CurrentPlace current;
    ASSERT_TRUE(SelectCity(c.code, own, current));
    EXPECT_EQ(current.name, c.name);
    EXPECT_EQ(current.longitude, c.longitude);
    EXPECT_EQ(current.latitude, c.latitude);
    EXPECT_EQ(current.weatherProvince, c.province);
    EXPECT_EQ(current.weatherCity, c.city);
  }
}

// The coordinates are the values of the texts, as the C library reads them.
TEST(Cities, CoordinatesAreTheValuesOfTheirTexts) {
  const OwnPlace own;
  for (int code = 1; code <= CityCount(); ++code) {
    SCOPED_TRACE(code);
    CurrentPlace current;
    ASSERT_TRUE(SelectCity(code, own, current));
    EXPECT_EQ(current.longitude, std::strtod(CityAt(code)->longitude, nullptr));
    EXPECT_EQ(current.latitude, std::strtod(CityAt(code)->latitude, nullptr));
  }
}

TEST(Cities, TheOwnPlace) {
  CurrentPlace current;
  ASSERT_TRUE(SelectCity(6, OwnPlace{}, current));
  ASSERT_TRUE(SelectCity(kOwnPlaceCode, OwnPlace{"我的家乡", -100.25, 30.5}, current));
  EXPECT_EQ(current.name, "我的家乡");
  EXPECT_EQ(current.longitude, -100.25);
  EXPECT_EQ(current.latitude, 30.5);
  EXPECT_EQ(current.weatherProvince, 1);
  EXPECT_EQ(current.weatherCity, 1);
  // An empty own place is copied as it is.
  ASSERT_TRUE(SelectCity(kOwnPlaceCode, OwnPlace{}, current));
  EXPECT_EQ(current.name, "");
  EXPECT_EQ(current.longitude, 0.0);
  EXPECT_EQ(current.latitude, 0.0);
  // A name longer than the 12 bytes the settings keep is cut without
  // splitting a character.
  ASSERT_TRUE(SelectCity(kOwnPlaceCode, OwnPlace{"a乌鲁木齐市区", 1, 2}, current));
  EXPECT_EQ(current.name, "a乌鲁木齐市");
}

TEST(Cities, OtherCodesChangeNothing) {
  const OwnPlace own{"家", 10, 20};
  CurrentPlace current;
  ASSERT_TRUE(SelectCity(35, own, current));
  for (int code : {0, 45, -1, -44, 1000, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(code);
    EXPECT_FALSE(SelectCity(code, own, current));
    EXPECT_EQ(current.name, "厦门");
    EXPECT_EQ(current.longitude, -118.0833);
    EXPECT_EQ(current.latitude, 24.4833);
    EXPECT_EQ(current.weatherProvince, 28);
    EXPECT_EQ(current.weatherCity, 2);
  }
}

}  // namespace
}  // namespace tovani
