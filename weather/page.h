// The forecast page of the weather service and what the weather window shows
// of it.
//
// The page arrives as UTF-8 and is read as code page 936 text (Utf8ToGbk).
// The scraper looks for fixed markers and takes texts at fixed byte distances
// from them; every such window is cut to the text it lies in, and markers
// count only where they start on a character, so a short, cut or hostile page
// gives empty cells, never a read outside the text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovani {

inline constexpr int kForecastDays = 5;
// Rows of a day's column: weather, temperature, wind direction, wind force
// by day (1..4), then the same by night (5..8).
inline constexpr int kForecastRows = 8;
inline constexpr int kForecastCells = kForecastDays * kForecastRows;

// The status line.
inline constexpr const char* kWeatherConnecting = "  正在连接网络 ......";
inline constexpr const char* kWeatherReceiving = "  正在接收天气信息 ......";
inline constexpr const char* kWeatherOffline = "  网络断开！！！";
inline constexpr const char* kWeatherUnreadable = "  无法接收天气信息！！！";

// Every three-byte UTF-8 sequence (a lead byte with its three high bits set and
// two continuation bytes) becomes its character in code page 936 ("?" when it
// has none); every other byte is copied unchanged, so two- and four-byte
// sequences and stray bytes pass through as they are.
std::string Utf8ToGbk(std::string_view text);

// The number at the start of a temperature text ("28℃<" gives 28, "-3℃" -3):
// the first byte must be "+", "-" or a digit, else the result is 0; the value
// is that of the first byte and the digits after it, held to the 32-bit range.
std::int32_t ParseTemperature(std::string_view t);

// Half a day of the forecast.  The temperature is empty when the page gave
// none (a text after its marker that is no number reads as 0); the wind texts
// are read all the same.
struct ForecastHalf {
  std::string weather;
  std::optional<std::int32_t> temperature;
  std::string windDirection;
  std::string windForce;
  friend bool operator==(const ForecastHalf&, const ForecastHalf&) = default;
};

struct ForecastDay {
  std::string label;  // the day of the month and "日" as on the page, e.g. "12日"
  ForecastHalf day, night;
  friend bool operator==(const ForecastDay&, const ForecastDay&) = default;
};

struct Forecast {
  std::int32_t year = 0, month = 0, day = 0;  // the page's date
  std::string publication;                    // at most 10 bytes, e.g. "18时00分"
  int dayCount = 0;                           // days found on the page, 0..5
  std::array<ForecastDay, kForecastDays> days;
};

// The forecast of a page in code page 936; empty when the page has no date
// header ("今天是", then year, month and day within the next 14 bytes, a real
// date, and a publication time before "发布)").
std::optional<Forecast> ScrapeForecast(std::string_view page);

// What the weather window shows: the status line, the five date cells and the
// forty value cells, cell n (1..40) of day d and row r being 8 (d - 1) + r.
struct WeatherView {
  std::string status;
  std::array<std::string, kForecastDays> dates;
  std::array<std::string, kForecastCells> cells;

  // Cell 1..40; "" for any other number.
  const std::string& Cell(int n) const;
  friend bool operator==(const WeatherView&, const WeatherView&) = default;
};

// The number 1..40 of the cell of day 1..5 and row 1..8.
constexpr int WeatherCellNumber(int day, int row) { return kForecastRows * (day - 1) + row; }

// The view of a forecast for a place: the dates, "最高"/"最低" + temperature +
// "℃", and "  " + province + city + " 2008年5月1日 " + publication + "发布" in
// the status line.  A half without weather shows nothing; a half whose
// temperature is missing leaves that cell empty.
WeatherView ForecastView(const Forecast& forecast, std::string_view provinceName, std::string_view cityName);

}  // namespace tovani
