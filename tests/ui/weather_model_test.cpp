#include "ui/weather/weather_model.h"

#include <gtest/gtest.h>

namespace tovani::weather {
namespace {

CurrentPlace PlaceOfCity(int code) {
  CurrentPlace place;
  EXPECT_TRUE(SelectCity(code, OwnPlace{"老家", -100, 30}, place)) << code;
  return place;
}

CurrentPlace Linked(int province, int city) {
  CurrentPlace place;
  place.weatherProvince = province;
  place.weatherCity = city;
  return place;
}

TEST(WeatherForm, ListsAndSelectionFromTheCurrentPlace) {
  const struct {
    const char* name;
    CurrentPlace place;
    int province, city;  // list indices
    const char* provinceName;
    const char* cityName;
    std::size_t cityCount;
  } cases[] = {
      {"天安门", PlaceOfCity(1), 0, 0, "北京", "市区", 15},
      {"宁波", PlaceOfCity(32), 25, 3, "浙江", "宁波", 11},
      {"山海关", PlaceOfCity(13), 8, 10, "河北", "秦皇岛", 11},
      {"台北", PlaceOfCity(43), 27, 1, "福建", "厦门", 9},
      {"三亚", PlaceOfCity(40), 30, 1, "海南", "三亚", 20},
      {"the own place", PlaceOfCity(kOwnPlaceCode), 0, 0, "北京", "市区", 15},
      // A link outside the table.
      {"province 0", Linked(0, 3), 0, 0, "北京", "市区", 15},
      {"province 32", Linked(32, 1), 0, 0, "北京", "市区", 15},
      {"city beyond its province", Linked(15, 6), 14, 0, "宁夏", "银川", 5},
      {"city 0", Linked(4, 0), 3, 0, "重庆", "市区", 34},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WeatherForm form(c.place);
    ASSERT_EQ(form.provinces().size(), 31u);
    EXPECT_EQ(form.provinces().front(), "北京");
    EXPECT_EQ(form.provinces().back(), "海南");
    EXPECT_EQ(form.provinceIndex(), c.province);
    EXPECT_EQ(form.cityIndex(), c.city);
    EXPECT_EQ(form.provinces()[c.province], c.provinceName);
    ASSERT_EQ(form.cities().size(), c.cityCount);
    EXPECT_EQ(form.cities()[c.city], c.cityName);
  }
}

TEST(WeatherForm, ChoosingProvinceAndCity) {
  WeatherForm form(PlaceOfCity(32));  // 浙江 宁波
  // The same province again, and indices outside the list, change nothing.
  for (const int index : {25, -1, 31}) {
    EXPECT_FALSE(form.ChooseProvince(index)) << index;
    EXPECT_EQ(form.selection(), (WeatherSelection{26, 4}));
  }
  EXPECT_TRUE(form.ChooseProvince(3));
  EXPECT_EQ(form.selection(), (WeatherSelection{4, 1}));
  ASSERT_EQ(form.cities().size(), 34u);
  EXPECT_EQ(form.cities()[33], "秀山");
  EXPECT_FALSE(form.ChooseCity(0));
  EXPECT_FALSE(form.ChooseCity(34));
  EXPECT_TRUE(form.ChooseCity(33));
  EXPECT_EQ(form.cityIndex(), 33);

  const struct {
    const char* setting;
    WeatherHost host;
  } hosts[] = {
      {"", WeatherHost{}},
      {"127.0.0.1:8080", WeatherHost{"127.0.0.1", 8080}},
      {"bad host!", WeatherHost{}},
  };
  for (const auto& h : hosts) {
    const WeatherQuery q = form.Query(h.setting);
    EXPECT_EQ(q.code, 101043600) << h.setting;
    EXPECT_EQ(q.provinceName, "重庆");
    EXPECT_EQ(q.cityName, "秀山");
    EXPECT_EQ(q.host, h.host) << h.setting;
  }
}

TEST(WeatherGrid, CellsStandInTheirDayAndHalf) {
  const struct {
    int column, row, cell;
  } cases[] = {
      {0, 0, 1}, {0, 1, 2}, {0, 3, 4},                   // day 1 by day
      {1, 0, 5}, {1, 1, 6}, {1, 3, 8},                   // day 1 by night
      {2, 0, 9}, {3, 2, 15}, {8, 1, 34}, {9, 3, 40},     // days 2, 5
      {-1, 0, 0}, {10, 0, 0}, {0, -1, 0}, {0, 4, 0},     // outside
  };
  for (const auto& c : cases) EXPECT_EQ(CellAt(c.column, c.row), c.cell) << c.column << "," << c.row;

  // The texts of a forecast land under their day and half.
  Forecast f;
  f.year = 2008, f.month = 5, f.day = 1;
  f.dayCount = 2;
  f.days[0] = {"1日", {"多云", 28, "无持续风向", "微风"}, {"晴", 15, "北风", "3-4级"}};
  f.days[1] = {"2日", {"小雨", std::nullopt, "东风", "4-5级"}, {"阴", -3, "东风", "小于3级"}};
  const WeatherView v = ForecastView(f, "北京", "市区");
  const struct {
    int column, row;
    const char* text;
  } texts[] = {
      {0, 0, "多云"}, {0, 1, "最高28℃"}, {0, 2, "无持续风向"}, {0, 3, "微风"},
      {1, 0, "晴"},   {1, 1, "最低15℃"}, {1, 2, "北风"},       {1, 3, "3-4级"},
      {2, 0, "小雨"}, {2, 1, ""},        {2, 3, "4-5级"},      {3, 1, "最低-3℃"},
      {3, 3, "小于3级"}, {4, 0, ""},     {9, 3, ""},           {10, 0, ""},
  };
  for (const auto& t : texts) EXPECT_EQ(CellText(v, t.column, t.row), t.text) << t.column << "," << t.row;
}

}  // namespace
}  // namespace tovani::weather
