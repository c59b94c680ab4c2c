// Forecast pages as the weather service sends them (UTF-8 HTML after an HTTP
// status line and headers), built from the values they carry.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovani::fixture {

// The UTF-8 bytes of a u8 literal (plain literals are code page 936 here).
std::string U8(std::u8string_view text);

// Half a day's row: the texts exactly as they stand in the page (UTF-8).
struct Half {
  std::string weather, temperature, windDirection, windForce;
  bool temperatureMarker = true;  // false: the row has no "<strong>" at all
};

struct Day {
  std::string date;  // "1日"
  std::string weekday;
  std::optional<Half> day, night;
};

// The five days of the standard page (1日 .. 5日 of May 2008).
std::vector<Day> FiveDays();

// The date line: "今天是" + date + " 星期四 (  18时00分发布)".
std::string DateLine(std::u8string_view date = u8"2008年5月1日");

// An HTTP answer with a page holding the date line and the days.
std::string Page(std::string_view dateLine, const std::vector<Day>& days);

// The standard page: DateLine() and FiveDays().
std::string FullPage();

}  // namespace tovani::fixture
