// The 43 built-in places and the current place.
//
// Longitudes are degrees with east NEGATIVE (positive west); latitudes are
// north positive.  Code 44 (the table size + 1) stands for the user's own place.
#pragma once

#include <string>

namespace tovani {

struct City {
  const char* name;
  const char* longitude;  // decimal-degree text, e.g. "-116.3833"
  const char* latitude;
  int weatherProvince, weatherCity;
};

inline constexpr int kOwnPlaceCode = 44;

int CityCount();
// The row of code 1..43; nullptr otherwise.
const City* CityAt(int code);

struct OwnPlace {
  std::string name;  // at most 12 bytes
  double longitude = 0, latitude = 0;
};

struct CurrentPlace {
  std::string name;
  double longitude = 0, latitude = 0;
  int weatherProvince = 1, weatherCity = 1;
};

// Code 1..43 copies that row into the current place, 44 the user's own place
// (with weather province 1, city 1); any other code changes nothing and
// returns false.
bool SelectCity(int code, const OwnPlace& own, CurrentPlace& current);

}  // namespace tovani
