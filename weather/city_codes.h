// The weather service's places: 31 provinces (the four municipalities first)
// with 432 cities and districts, their nine-digit city codes, and the link
// from the places of the city table to a weather province and position.
//
// A code is "101", the service's two-digit province number, a two-digit city
// number and a two-digit district number, e.g. 101010100 for 北京 市区.
#pragma once

#include <cstdint>
#include <string>

namespace tovani {

inline constexpr int kWeatherProvinceCount = 31;

// Province 0 gives "31" (the number of provinces) whatever the position.  For
// a province 1..31: position -1 gives the province's name, 0 its count of
// places as decimal text, 1..count the name of the city or district, and a
// larger position "".  province is clamped to 0..31, position to -1 or more.
std::string WeatherPlaceName(int province, int position);

// The number of places of a province (after clamping it to 1..31).
int WeatherPlaceCount(int province);

// The nine-digit code of a place.  province is clamped to 1..31 and position
// to 1..count of the province.
std::int32_t WeatherCityCode(int province, int position);

// A weather province 1..31 and a position within it.
struct WeatherSelection {
  int province = 1;
  int city = 1;
  friend bool operator==(const WeatherSelection&, const WeatherSelection&) = default;
};

// The weather place linked to a row 1..43 of the city table; the user's own
// place (row 44), and any row outside the table, selects province 1, city 1.
WeatherSelection WeatherPlaceOfCity(int row);

}  // namespace tovani
