#include "tests/weather/fixture_pages.h"

namespace tovani::fixture {
namespace {

const std::string kCrLf = "\r\n";

// A wind cell: the text on a line of its own after the legend link.
std::string WindCell(const std::string& text) {
  return "<td class=\"wind\"><a href=\"/static/html/legend/778.php\" target=\"_blank\">\r\n    " + text +
         "\r\n</a>\r\n</td>\r\n";
}

std::string HalfRow(std::u8string_view caption, const Half& h, int icon) {
  return "<tr>\r\n<td class=\"half\">" + U8(caption) + "</td>\r\n" +
         "<td class=\"sky\"><a href=\"/sky/" + std::to_string(icon) + ".html\" target=\"_blank\">" + h.weather +
         "</a></td>\r\n" +
         "<td class=\"temperature\">" + U8(caption == u8"白天" ? u8"高温 " : u8"低温 ") +
         (h.temperatureMarker ? "<strong>" + h.temperature + "</strong>" : h.temperature) + "</td>\r\n" +
         WindCell(h.windDirection) + WindCell(h.windForce) + "</tr>\r\n";
}

}  // namespace

std::string U8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

std::vector<Day> FiveDays() {
  const auto half = [](std::u8string_view w, std::u8string_view t, std::u8string_view d, std::u8string_view f) {
    return Half{U8(w), U8(t), U8(d), U8(f)};
  };
  return {
      {U8(u8"1日"), U8(u8"星期四"), half(u8"多云", u8"28℃", u8"无持续风向", u8"微风"),
       half(u8"晴", u8"15℃", u8"北风", u8"3-4级")},
      {U8(u8"2日"), U8(u8"星期五"), half(u8"雷阵雨转多云", u8"25℃", u8"东南风", u8"4-5级"),
       half(u8"小雨", u8"-3℃", u8"东风", u8"小于3级")},
      {U8(u8"3日"), U8(u8"星期六"), half(u8"晴", u8"+31℃", u8"南风", u8"3-4级"),
       half(u8"晴转多云", u8"18℃", u8"无持续风向", u8"微风")},
      {U8(u8"4日"), U8(u8"星期日"), half(u8"阵雨", u8"22℃", u8"西北风", u8"5-6级"),
       half(u8"阴", u8"12℃", u8"西北风", u8"4-5级")},
      {U8(u8"5日"), U8(u8"星期一"), half(u8"阴", u8"12℃", u8"北风", u8"微风"),
       half(u8"雨夹雪", u8"0℃", u8"北风", u8"3-4级")},
  };
}

std::string DateLine(std::u8string_view date) {
  return U8(u8"今天是") + U8(date) + U8(u8" 星期四 (  18时00分发布)");
}

std::string Page(std::string_view dateLine, const std::vector<Day>& days) {
  std::string page = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n";
  page += "<html>\r\n<head><title>" + U8(u8"天气预报") + "</title></head>\r\n<body>\r\n";
  page += "<div class=\"today\">" + std::string(dateLine) + "</div>\r\n";
  page += "<table class=\"forecast\">\r\n";
  int icon = 0;
  for (const Day& d : days) {
    page += "<tr>\r\n<td class=\"date\" rowspan=\"2\"><b>" + d.date + d.weekday + "</b></td>\r\n</tr>\r\n";
    if (d.day) page += HalfRow(u8"白天", *d.day, ++icon);
    if (d.night) page += HalfRow(u8"夜间", *d.night, ++icon);
  }
  page += "</table>\r\n</body>\r\n</html>\r\n";
  return page;
}

std::string FullPage() { return Page(DateLine(), FiveDays()); }

}  // namespace tovani::fixture
