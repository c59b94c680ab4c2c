// The weather window's rules, without any Win32: the province and city lists
// and their selection, the query they make, and where the forecast's texts
// stand in the window's grid.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/cities.h"
#include "weather/city_codes.h"
#include "weather/client.h"
#include "weather/page.h"

namespace tovani::weather {

// The two drop-down lists.  List indices are 0-based: index i stands for
// province (or city) i + 1 of the weather table.
class WeatherForm {
 public:
  // The selection of the current place's weather province and city (a pair
  // outside the table becomes province 1, city 1, or city 1 of the province).
  explicit WeatherForm(const CurrentPlace& place);

  // The 31 provinces, and the cities of the selected province.
  const std::vector<std::string>& provinces() const { return provinces_; }
  const std::vector<std::string>& cities() const { return cities_; }
  int provinceIndex() const { return selection_.province - 1; }
  int cityIndex() const { return selection_.city - 1; }
  WeatherSelection selection() const { return selection_; }

  // A province picked in its list: when it differs from the selected one,
  // the city list holds its cities with city 1 selected, and the result is
  // true (the city list must be filled again).  An index outside the list
  // changes nothing.
  bool ChooseProvince(int index);
  // A city picked in its list; false when nothing changed.
  bool ChooseCity(int index);

  // The download of the selected place, at the host of the WeatherHost
  // setting ("name[:port]", empty for the public service).
  WeatherQuery Query(std::string_view hostSetting) const;

 private:
  void FillCities();

  WeatherSelection selection_;
  std::vector<std::string> provinces_, cities_;
};

// The grid: two columns per day (column 2 (d - 1) by day, 2 (d - 1) + 1 by
// night) and four value rows (weather, temperature, wind direction, wind
// force).
inline constexpr int kGridColumns = 2 * kForecastDays;
inline constexpr int kGridValueRows = 4;

// The number 1..40 of the value cell at a column 0..9 and a row 0..3; 0
// outside the grid.
int CellAt(int column, int row);

// The text of the value cell at a column and a row ("" outside the grid).
const std::string& CellText(const WeatherView& view, int column, int row);

// The captions: the rows ("日期", "天气", "温度", "风向", "风力") and the two
// halves of a day ("白天", "夜间").
inline constexpr const char* kRowCaptions[1 + kGridValueRows] = {"日期", "天气", "温度", "风向", "风力"};
inline constexpr const char* kHalfCaptions[2] = {"白天", "夜间"};

}  // namespace tovani::weather
