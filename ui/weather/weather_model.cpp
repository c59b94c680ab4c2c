#include "ui/weather/weather_model.h"

#include "weather/request.h"

namespace tovani::weather {

WeatherForm::WeatherForm(const CurrentPlace& place) {
  for (int p = 1; p <= kWeatherProvinceCount; ++p) provinces_.push_back(WeatherPlaceName(p, -1));
  if (place.weatherProvince >= 1 && place.weatherProvince <= kWeatherProvinceCount) {
    selection_.province = place.weatherProvince;
    if (place.weatherCity >= 1 && place.weatherCity <= WeatherPlaceCount(place.weatherProvince)) {
      selection_.city = place.weatherCity;
    }
  }
  FillCities();
}

void WeatherForm::FillCities() {
  cities_.clear();
  const int count = WeatherPlaceCount(selection_.province);
  for (int c = 1; c <= count; ++c) cities_.push_back(WeatherPlaceName(selection_.province, c));
}

bool WeatherForm::ChooseProvince(int index) {
  if (index < 0 || index >= kWeatherProvinceCount || index == provinceIndex()) return false;
  selection_ = {index + 1, 1};
  FillCities();
  return true;
}

bool WeatherForm::ChooseCity(int index) {
  if (index < 0 || index >= static_cast<int>(cities_.size()) || index == cityIndex()) return false;
  selection_.city = index + 1;
  return true;
}

WeatherQuery WeatherForm::Query(std::string_view hostSetting) const {
  return MakeWeatherQuery(selection_.province, selection_.city, ParseWeatherHost(hostSetting));
}

int CellAt(int column, int row) {
  if (column < 0 || column >= kGridColumns || row < 0 || row >= kGridValueRows) return 0;
  const int day = column / 2 + 1;
  const int firstRow = column % 2 == 0 ? 1 : 1 + kGridValueRows;
  return WeatherCellNumber(day, firstRow + row);
}

const std::string& CellText(const WeatherView& view, int column, int row) { return view.Cell(CellAt(column, row)); }

}  // namespace tovani::weather
