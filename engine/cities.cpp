#include "engine/cities.h"

#include <array>

#include "engine/date_text.h"

namespace tovani {
namespace {

// In code order from 1: name, longitude (east negative), latitude (north
// positive), and the province and city of the weather table.
constexpr std::array<City, 43> kCities = {{
    {"天安门", "-116.3833", "39.9000", 1, 1},
    {"北京", "-116.4000", "39.9000", 1, 1},
    {"上海", "-121.4667", "31.2333", 2, 1},
    {"天津", "-117.2000", "39.1167", 3, 1},
    {"重庆", "-106.5500", "29.5667", 4, 1},
    {"哈尔滨", "-126.5333", "45.8000", 5, 1},
    {"长春", "-125.3167", "43.9000", 6, 1},
    {"沈阳", "-123.4333", "41.8000", 7, 1},
    {"大连", "-121.6167", "38.9167", 7, 2},
    {"呼和浩特", "-111.7333", "40.8333", 8, 1},
    {"石家庄", "-114.5167", "38.0500", 9, 1},
    {"北戴河", "-119.4833", "39.8333", 9, 11},
    {"山海关", "-119.7667", "40.0000", 9, 11},
    {"郑州", "-113.6167", "34.7500", 10, 1},
    {"济南", "-116.9833", "36.6667", 11, 1},
    {"青岛", "-120.3833", "36.0667", 11, 2},
    {"太原", "-112.5500", "37.8667", 12, 1},
    {"西安", "-108.9333", "34.2667", 13, 1},
    {"兰州", "-103.8167", "36.0667", 14, 1},
    {"银川", "-106.2833", "38.4667", 15, 1},
    {"乌鲁木齐", "-87.6167", "43.8167", 16, 1},
    {"西宁", "-101.7833", "36.6167", 17, 1},
    {"拉萨", "-91.1333", "29.6500", 18, 1},
    {"成都", "-104.0667", "30.6667", 19, 1},
    {"昆明", "-102.7167", "25.0500", 20, 1},
    {"贵阳", "-106.6333", "26.6500", 21, 1},
    {"长沙", "-112.9333", "28.2333", 22, 1},
    {"武汉", "-114.3000", "30.6000", 23, 1},
    {"合肥", "-117.2500", "31.8333", 24, 1},
    {"南京", "-118.7833", "32.0667", 25, 1},
    {"杭州", "-120.1500", "30.2833", 26, 1},
    {"宁波", "-121.5500", "29.8833", 26, 4},
    {"南昌", "-115.8500", "28.6833", 27, 1},
    {"福州", "-119.3000", "26.0833", 28, 1},
    {"厦门", "-118.0833", "24.4833", 28, 2},
    {"广州", "-113.2667", "23.1333", 29, 1},
    {"深圳", "-114.0500", "22.5500", 29, 6},
    {"南宁", "-108.3667", "22.8167", 30, 1},
    {"海口", "-110.3167", "20.0333", 31, 1},
    {"三亚", "-109.5000", "18.2500", 31, 2},
    {"香港", "-114.0833", "22.2000", 29, 6},
    {"澳门", "-113.3333", "22.1333", 29, 6},
    {"台北", "-121.5000", "25.0333", 28, 2},
}};

// The longest own-place name kept in the settings.
constexpr int kOwnNameBytes = 12;

// The value of a decimal-degree text ("-116.3833"): an optional sign, digits
// and an optional fraction.  All digits make one integer that a single
// division scales, so the value is the double nearest to the text, as the C
// library would give it (whose conversion, though, follows the locale's
// decimal separator).
double DegreesOf(const char* text) {
  const char* p = text;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  double digits = 0, scale = 1;
  for (; *p >= '0' && *p <= '9'; ++p) digits = digits * 10 + (*p - '0');
  if (*p == '.') {
    for (++p; *p >= '0' && *p <= '9'; ++p) {
      digits = digits * 10 + (*p - '0');
      scale *= 10;
    }
  }
  const double value = digits / scale;
  return negative ? -value : value;
}

}  // namespace

int CityCount() { return static_cast<int>(kCities.size()); }

const City* CityAt(int code) {
  if (code < 1 || code > CityCount()) return nullptr;
  return &kCities[code - 1];
}

bool SelectCity(int code, const OwnPlace& own, CurrentPlace& current) {
  if (const City* city = CityAt(code)) {
    current.name = city->name;
    current.longitude = DegreesOf(city->longitude);
    current.latitude = DegreesOf(city->latitude);
    current.weatherProvince = city->weatherProvince;
    current.weatherCity = city->weatherCity;
    return true;
  }
  if (code == kOwnPlaceCode) {
    current.name = TruncateBytes(own.name, kOwnNameBytes);
    current.longitude = own.longitude;
    current.latitude = own.latitude;
    current.weatherProvince = 1;
    current.weatherCity = 1;
    return true;
  }
  return false;
}

}  // namespace tovani
