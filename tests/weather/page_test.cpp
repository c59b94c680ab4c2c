#include "weather/page.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "framework/codepage.h"
#include "tests/weather/fixture_pages.h"

namespace tovani {
namespace {

using fixture::U8;

std::optional<Forecast> Scrape(const std::string& utf8Page) { return ScrapeForecast(Utf8ToGbk(utf8Page)); }

ForecastHalf Half(const char* weather, std::optional<std::int32_t> t, const char* direction, const char* force) {
  return {weather, t, direction, force};
}

// The forecast of fixture::FullPage().
std::array<ForecastDay, 5> FullPageDays() {
  return {{
      {"1日", Half("多云", 28, "无持续风向", "微风"), Half("晴", 15, "北风", "3-4级")},
      {"2日", Half("雷阵雨转多云", 25, "东南风", "4-5级"), Half("小雨", -3, "东风", "小于3级")},
      {"3日", Half("晴", 31, "南风", "3-4级"), Half("晴转多云", 18, "无持续风向", "微风")},
      {"4日", Half("阵雨", 22, "西北风", "5-6级"), Half("阴", 12, "西北风", "4-5级")},
      {"5日", Half("阴", 12, "北风", "微风"), Half("雨夹雪", 0, "北风", "3-4级")},
  }};
}

TEST(Utf8ToGbk, ConvertsThreeByteSequencesOnly) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"plain ASCII <td>\r\n", "plain ASCII <td>\r\n"},
      {U8(u8"今天是2008年"), "今天是2008年"},
      {U8(u8"28℃～30℃"), "28℃～30℃"},
      {U8(u8"€"), "\x80"},
      // Characters code page 936 does not have.
      {U8(u8"한"), "?"},
      {"\xEF\xBF\xBD", "?"},
      // A surrogate code point, and overlong forms read by their bits.
      {"\xED\xA0\x80", "?"},
      {"\xE0\x81\x81", "A"},
      {"\xE0\x80\x80", std::string(1, '\0')},
      // Two-byte sequences and stray bytes are copied.
      {U8(u8"é"), "\xC3\xA9"},
      {"\x80\xBF\xC0", "\x80\xBF\xC0"},
      // A sequence cut short or with a byte that does not continue it.
      {"\xE4\xBB", "\xE4\xBB"},
      {"ab\xE4", "ab\xE4"},
      {"\xE4\x41\xBB\x8A", "\xE4\x41\xBB\x8A"},
      {"\xE4\xBB\x41", "\xE4\xBB\x41"},
      {"\xE4\xE4\xBB\x8A", "\xE4今"},
      // Four-byte sequences pass through as they are, as the two-byte ones do.
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"\xF4\xB8\x80", "\xF4\xB8\x80"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToGbk(c.in), c.out) << testing::PrintToString(c.in);
  }
}

TEST(Utf8ToGbk, AgreesWithTheProgramsConversionOnWellFormedText) {
  // Every character from U+0800 to U+FFFF (but the surrogates), in one text.
  std::u16string all;
  for (char32_t c = 0x800; c <= 0xFFFF; ++c) {
    if (c < 0xD800 || c > 0xDFFF) all += static_cast<char16_t>(c);
  }
  std::string utf8;
  for (const char16_t c : all) {
    utf8 += static_cast<char>(0xE0 | (c >> 12));
    utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
    utf8 += 'a';
  }
  EXPECT_EQ(Utf8ToGbk(utf8), Utf8ToCp936(utf8));
}

TEST(ParseTemperature, ReadsTheLeadingNumber) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"28℃<", 28},
      {"-3℃<", -3},
      {"+5℃", 5},
      {"0℃</", 0},
      {"007", 7},
      {"12a34", 12},
      {"-12-3", -12},
      {"N/A<", 0},
      {"", 0},
      {"-", 0},
      {"+", 0},
      {"-℃", 0},
      {" 28", 0},
      {"℃28", 0},
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"99999999999999999999", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"-99999999999999999999", INT32_MIN},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseTemperature(c.text), c.value) << c.text;
  }
  // Only the given bytes are read.
  EXPECT_EQ(ParseTemperature(std::string_view("12345", 2)), 12);
}

TEST(ScrapeForecast, FullPage) {
  const auto f = Scrape(fixture::FullPage());
  ASSERT_TRUE(f);
  EXPECT_EQ(f->year, 2008);
  EXPECT_EQ(f->month, 5);
  EXPECT_EQ(f->day, 1);
  EXPECT_EQ(f->publication, "18时00分");
  EXPECT_EQ(f->dayCount, 5);
  const auto expected = FullPageDays();
  for (int d = 0; d < 5; ++d) {
    EXPECT_EQ(f->days[d], expected[d]) << "day " << d + 1;
  }
}

TEST(ScrapeForecast, DaysAndHalvesThatAreMissing) {
  std::vector<fixture::Day> three = fixture::FiveDays();
  three.resize(3);
  std::vector<fixture::Day> noNight = fixture::FiveDays();
  noNight[1].night.reset();
  std::vector<fixture::Day> noDay = fixture::FiveDays();
  noDay[0].day.reset();
  std::vector<fixture::Day> letter = fixture::FiveDays();
  letter[0].day->temperature = "N/A";
  // Halves whose temperature has no marker: their winds are read all the same.
  std::vector<fixture::Day> unmarked = fixture::FiveDays();
  unmarked[0].day->temperatureMarker = false;
  unmarked[3].night->temperatureMarker = false;
  std::vector<fixture::Day> longWeather = fixture::FiveDays();
  longWeather[2].day->weather = U8(u8"小雨转中到大雨");  // 14 bytes: "_blank" falls outside the 20 bytes
  std::vector<fixture::Day> tabs = fixture::FiveDays();
  tabs[3].night->windDirection = "\t\t" + tabs[3].night->windDirection + " \t";

  const auto all = FullPageDays();
  const struct {
    const char* name;
    std::vector<fixture::Day> days;
    int dayCount;
    std::array<ForecastDay, 5> expected;
  } cases[] = {
      {"three days", three, 3, {{all[0], all[1], all[2], {}, {}}}},
      {"no night on day 2", noNight, 5, {{all[0], {"2日", all[1].day, {}}, all[2], all[3], all[4]}}},
      {"no day on day 1", noDay, 5, {{{"1日", {}, all[0].night}, all[1], all[2], all[3], all[4]}}},
      {"letter temperature", letter, 5, {{{"1日", Half("多云", 0, "无持续风向", "微风"), all[0].night}, all[1], all[2], all[3], all[4]}}},
      {"temperatures without their marker", unmarked, 5,
       {{{"1日", Half("多云", std::nullopt, "无持续风向", "微风"), all[0].night}, all[1], all[2],
         {"4日", all[3].day, Half("阴", std::nullopt, "西北风", "4-5级")}, all[4]}}},
      // The night block finds the same "</a></td>" again and ends as well.
      {"long weather", longWeather, 5, {{all[0], all[1], {"3日", {}, {}}, all[3], all[4]}}},
      {"tabs around a wind", tabs, 5, all},
      {"no days", {}, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto f = Scrape(fixture::Page(fixture::DateLine(), c.days));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->dayCount, c.dayCount);
    for (int d = 0; d < 5; ++d) EXPECT_EQ(f->days[d], c.expected[d]) << "day " << d + 1;
  }
}

TEST(ScrapeForecast, DateHeader) {
  const struct {
    std::string line;  // UTF-8
    bool ok;
    int year = 0, month = 0, day = 0;
    const char* publication = "";
  } cases[] = {
      {fixture::DateLine(u8"2008年5月1日"), true, 2008, 5, 1, "18时00分"},
      // Exactly 14 bytes from the year to "日".
      {fixture::DateLine(u8"2008年12月31日"), true, 2008, 12, 31, "18时00分"},
      {fixture::DateLine(u8"2008年02月29日"), true, 2008, 2, 29, "18时00分"},
      {fixture::DateLine(u8"2008年 5月 1日"), true, 2008, 5, 1, "18时00分"},
      {fixture::DateLine(u8"2100年2月28日"), true, 2100, 2, 28, "18时00分"},
      // "日" beyond the 14 bytes.
      {fixture::DateLine(u8" 2008年12月31日"), false},
      // Impossible dates.
      {fixture::DateLine(u8"2008年2月30日"), false},
      {fixture::DateLine(u8"2100年2月29日"), false},
      {fixture::DateLine(u8"2008年13月1日"), false},
      {fixture::DateLine(u8"2008年5月0日"), false},
      {fixture::DateLine(u8"10000年1月1日"), false},
      {fixture::DateLine(u8"2008年x月1日"), false},
      // Markers out of order or missing.
      {fixture::DateLine(u8"5月1日2008年"), false},
      {fixture::DateLine(u8"2008年5月1"), false},
      {U8(u8"今日是2008年5月1日 星期四 (  18时00分发布)"), false},
      {U8(u8"今天是2008年5月1日 星期四 (  18时00分发布"), false},
      {U8(u8"今天是2008年5月1日 星期四 (  18时00分公布)"), false},
      // "发布)" before the date counts only after "今天是".
      {U8(u8"(发布)今天是2008年5月1日 星期四"), false},
      // The publication: ten bytes, blanks trimmed, no half character.
      {U8(u8"今天是2008年5月1日 星期四 (中央气象台1发布)"), true, 2008, 5, 1, "央气象台1"},
      {U8(u8"今天是2008年5月1日 星期四 (中央气象台发布)"), true, 2008, 5, 1, "中央气象台"},
      {U8(u8"今天是2008年5月1日 (       8时发布)"), true, 2008, 5, 1, "8时"},
      {U8(u8"今天是2008年5月1日发布)"), true, 2008, 5, 1, "08年5月1日"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto f = Scrape(fixture::Page(c.line, fixture::FiveDays()));
    ASSERT_EQ(f.has_value(), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(f->year, c.year);
    EXPECT_EQ(f->month, c.month);
    EXPECT_EQ(f->day, c.day);
    EXPECT_EQ(f->publication, c.publication);
    EXPECT_EQ(f->dayCount, 5);
  }
}

// Pages written directly in code page 936, for the details of the markers.
TEST(ScrapeForecast, DayLabels) {
  const std::string head = "今天是2008年5月1日 (18时发布)\r\n";
  const struct {
    std::string day;
    const char* label;
  } cases[] = {
      {"<b>12日星期一", "12日"},
      {"<td>1日星期一", "1日"},
      {"xy1日星期一", "xy1日"},
      {"十二日星期一", "二日"},  // three bytes back would split "十"
      {"a二日星期一", "a二日"},
      {">日星期一", "日"},
  };
  for (const auto& c : cases) {
    const auto f = ScrapeForecast(head + c.day + "</td>\r\n");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->dayCount, 1);
    EXPECT_EQ(f->days[0].label, c.label) << c.day;
  }
  // A label does not reach back into the day before: day 2's marker stands
  // one byte after the 20 bytes of day 1's.
  const auto f = ScrapeForecast(head + "<b>1日星期四123456789012z日星期五");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->dayCount, 2);
  EXPECT_EQ(f->days[0].label, "1日");
  EXPECT_EQ(f->days[1].label, "z日");
}

TEST(ScrapeForecast, MarkersCountOnlyOnWholeCharacters) {
  // The bytes of "日星期" inside 叭招瞧凇, across its characters.
  const std::string bytes = "叭招瞧凇";
  ASSERT_NE(bytes.find("日星期"), std::string::npos);
  const std::string page = "今天是2008年5月1日 (18时发布)<b>" + bytes + "</b>\r\n<b>7日星期三</b>";
  const auto f = ScrapeForecast(page);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->dayCount, 1);
  EXPECT_EQ(f->days[0].label, "7日");
}

TEST(ScrapeForecast, ABlocksTemperatureComesFromItsOwnDay) {
  const std::string head = "今天是2008年5月1日 (18时发布)\r\n";
  const std::string day2 =
      "<b>2日星期五</b></td>\r\n<td>白天</td><td><a target=\"_blank\">阴</a></td><td><strong>21℃</strong>\r\n";
  // Day 1 has weather but no temperature: day 2's does not stand in for it.
  {
    const std::string day1 =
        "<b>1日星期四</b></td>\r\n<td>白天</td><td><a target=\"_blank\">多云</a></td>\r\n</tr><tr><td>\r\n";
    const auto f = ScrapeForecast(head + day1 + day2);
    ASSERT_TRUE(f);
    ASSERT_EQ(f->dayCount, 2);
    EXPECT_EQ(f->days[0].day, Half("多云", std::nullopt, "", ""));
    EXPECT_EQ(f->days[1].day, Half("阴", 21, "", ""));
    const WeatherView v = ForecastView(*f, "北京", "市区");
    EXPECT_EQ(v.Cell(1), "多云");
    EXPECT_EQ(v.Cell(2), "");  // no "最高0℃" for a temperature that is not there
    EXPECT_EQ(v.Cell(10), "最高21℃");
  }
  // Nor for the night, whose temperature is looked for after the day's winds.
  {
    const std::string day1 =
        "<b>1日星期四</b></td>\r\n<td>白天</td><td><a target=\"_blank\">多云</a></td>"
        "<td><strong>28℃</strong></td>\r\n"
        "<a href=\"/778.php\" target=\"_blank\">\r\n   东风\r\n</a>\r\n"
        "<a href=\"/778.php\" target=\"_blank\">\r\n   3级\r\n</a>\r\n"
        "<td>夜间</td><td><a target=\"_blank\">晴</a></td>\r\n</tr><tr><td>\r\n";
    const auto f = ScrapeForecast(head + day1 + day2);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->days[0].day, Half("多云", 28, "东风", "3级"));
    EXPECT_EQ(f->days[0].night, Half("晴", std::nullopt, "", ""));
    const WeatherView v = ForecastView(*f, "北京", "市区");
    EXPECT_EQ(v.Cell(5), "晴");
    EXPECT_EQ(v.Cell(6), "");
  }
}

TEST(ScrapeForecast, FixedDistancesFromTheMarkers) {
  // The wind 30 bytes after the start of "778.php", up to CR LF (none after
  // the second one); the temperature from the 5 bytes after "<strong>".
  const std::string page =
      "今天是2008年5月1日 (18时发布)\r\n<b>1日星期四</b></td>\r\n<td>白天</td>"
      "<td><a target=\"_blank\">多云</a></td><td><strong>123456</strong></td>\r\n"
      "<a href=\"/778.php\" target=\"_blank\">\r\nxyz东风\r\n</a>"
      "<a href=\"/778.php\" target=\"_blank\">\r\n   3级</a>";
  const auto f = ScrapeForecast(page);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->days[0].day, Half("多云", 12345, "东风", ""));

  // A day's segment ends 6 bytes before the next "日星期", and the
  // temperature is read within it.
  const auto g = ScrapeForecast(
      "今天是2008年5月1日 (18时发布)\r\n<b>1日星期四</b></td>\r\n<td>白天</td>"
      "<td><a target=\"_blank\">多云</a></td><td><strong>7<b>12日星期五");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->dayCount, 2);
  EXPECT_EQ(g->days[0].day, Half("多云", 0, "", ""));
}

TEST(ForecastView, CellsAndStatusLine) {
  std::vector<fixture::Day> days = fixture::FiveDays();
  days[1].night.reset();
  days[0].day->temperature = "N/A";
  days.resize(4);
  const auto f = Scrape(fixture::Page(fixture::DateLine(), days));
  ASSERT_TRUE(f);
  const WeatherView v = ForecastView(*f, "北京", "市区");
  EXPECT_EQ(v.status, "  北京市区 2008年5月1日 18时00分发布");
  EXPECT_EQ(v.dates, (std::array<std::string, 5>{"1日", "2日", "3日", "4日", ""}));
  const struct {
    int day, row;
    const char* text;
  } cells[] = {
      {1, 1, "多云"}, {1, 2, "最高0℃"}, {1, 3, "无持续风向"}, {1, 4, "微风"},
      {1, 5, "晴"}, {1, 6, "最低15℃"}, {1, 7, "北风"}, {1, 8, "3-4级"},
      {2, 1, "雷阵雨转多云"}, {2, 2, "最高25℃"}, {2, 3, "东南风"}, {2, 4, "4-5级"},
      {2, 5, ""}, {2, 6, ""}, {2, 7, ""}, {2, 8, ""},
      {3, 2, "最高31℃"}, {3, 6, "最低18℃"}, {4, 8, "4-5级"},
      {5, 1, ""}, {5, 2, ""}, {5, 8, ""},
  };
  for (const auto& c : cells) {
    EXPECT_EQ(v.Cell(WeatherCellNumber(c.day, c.row)), c.text) << c.day << "," << c.row;
  }
  EXPECT_EQ(WeatherCellNumber(1, 1), 1);
  EXPECT_EQ(WeatherCellNumber(2, 1), 9);
  EXPECT_EQ(WeatherCellNumber(5, 8), 40);
  EXPECT_EQ(v.Cell(0), "");
  EXPECT_EQ(v.Cell(41), "");
  EXPECT_EQ(v.Cell(INT_MIN), "");

  // A negative temperature, and a half whose weather is empty shows nothing.
  Forecast g = *f;
  g.days[0].night.temperature = -3;
  g.days[2].day.weather.clear();
  g.year = -5;
  g.publication.clear();
  const WeatherView w = ForecastView(g, "海南", "五指山");
  EXPECT_EQ(w.Cell(WeatherCellNumber(1, 6)), "最低-3℃");
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(w.Cell(WeatherCellNumber(3, r)), "") << r;
  EXPECT_EQ(w.Cell(WeatherCellNumber(3, 5)), "晴转多云");
  EXPECT_EQ(w.status, "  海南五指山 -5年5月1日 发布");
}

}  // namespace
}  // namespace tovani
