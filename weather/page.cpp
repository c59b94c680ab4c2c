#include "weather/page.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/dates.h"
#include "framework/codepage.h"

namespace tovani {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trimmed(std::string_view s) {
  std::size_t first = 0, last = s.size();
  while (first < last && IsBlank(s[first])) ++first;
  while (last > first && IsBlank(s[last - 1])) --last;
  return std::string(s.substr(first, last - first));
}

// A code page 936 text with the positions where its characters start: a lead
// byte 0x81..0xFE and a trail byte 0x40..0xFE (not 0x7F) make one character,
// every other byte is one by itself.
class GbkText {
 public:
  explicit GbkText(std::string_view text) : text_(text), starts_(text.size() + 1, 1) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
      const auto lead = static_cast<unsigned char>(text[i]);
      const auto trail = static_cast<unsigned char>(text[i + 1]);
      if (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) starts_[++i] = 0;
    }
  }

  std::size_t size() const { return text_.size(); }

  // The first position at or after pos where a character starts.
  std::size_t CharStart(std::size_t pos) const {
    pos = std::min(pos, text_.size());
    return starts_[pos] ? pos : pos + 1;
  }

  // The first occurrence of marker lying within [from, to) and starting on a
  // character; kNone when there is none.
  std::size_t Find(std::string_view marker, std::size_t from, std::size_t to) const {
    to = std::min(to, text_.size());
    for (std::size_t pos = text_.find(marker, from); pos != kNone && pos + marker.size() <= to;
         pos = text_.find(marker, pos + 1)) {
      if (starts_[pos]) return pos;
    }
    return kNone;
  }

  // The bytes [from, to), cut to the text.
  std::string_view Slice(std::size_t from, std::size_t to) const {
    to = std::min(to, text_.size());
    from = std::min(from, to);
    return text_.substr(from, to - from);
  }

 private:
  std::string_view text_;
  std::vector<char> starts_;  // size() + 1 entries: the end is a start too
};

// pos - n, but not before floor.
std::size_t Back(std::size_t pos, std::size_t n, std::size_t floor) { return pos >= floor + n ? pos - n : floor; }

constexpr std::string_view kToday = "今天是";
constexpr std::string_view kWeekday = "日星期";
constexpr std::string_view kPublished = "发布)";

// One half of a day from the segment [seg, segEnd) of the page.  seg moves on
// past the wind texts it reads; a missing marker ends the half where it is.
void ScrapeHalf(const GbkText& page, std::size_t& seg, std::size_t segEnd, ForecastHalf& half) {
  // The weather: what follows `_blank">` in the 20 bytes before "</a></td>".
  const std::size_t close = page.Find("</a></td>", seg, segEnd);
  if (close == kNone) return;
  const std::size_t blank = page.Find("_blank", Back(close, 20, seg), close);
  if (blank == kNone) return;
  half.weather = std::string(page.Slice(page.CharStart(blank + 8), close));

  // The temperature stands before the half's winds; a half without one keeps
  // its winds (and the next half's temperature is not taken for its own).
  const std::size_t firstLegend = page.Find("778.php", seg, segEnd);
  const std::size_t strong = page.Find("<strong>", seg, firstLegend == kNone ? segEnd : firstLegend);
  if (strong != kNone) half.temperature = ParseTemperature(page.Slice(strong + 8, std::min(strong + 13, segEnd)));

  // The wind direction and force: from 30 bytes after "778.php" to the line end.
  for (std::string* wind : {&half.windDirection, &half.windForce}) {
    const std::size_t legend = page.Find("778.php", seg, segEnd);
    if (legend == kNone) return;
    seg = std::min(legend + 30, segEnd);
    const std::size_t lineEnd = page.Find("\r\n", seg, segEnd);
    if (lineEnd == kNone) return;
    *wind = Trimmed(page.Slice(page.CharStart(seg), lineEnd));
  }
}

std::string Decimal(std::int32_t n) { return std::to_string(n); }

}  // namespace

std::string Utf8ToGbk(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  for (std::size_t i = 0; i < text.size();) {
    // A three-byte sequence: a lead 1110xxxx and two followers 10xxxxxx.
    // Two- and four-byte sequences pass through as raw bytes.
    if ((byte(i) & 0xF0) == 0xE0 && i + 2 < text.size() && (byte(i + 1) & 0xC0) == 0x80 &&
        (byte(i + 2) & 0xC0) == 0x80) {
      const auto c = static_cast<char16_t>((byte(i) & 0x0F) << 12 | (byte(i + 1) & 0x3F) << 6 | (byte(i + 2) & 0x3F));
      out += Utf16ToCp936(std::u16string_view(&c, 1));
      i += 3;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::int32_t ParseTemperature(std::string_view t) {
  if (t.empty()) return 0;
  const bool negative = t[0] == '-';
  std::size_t i = 0;
  if (t[0] == '+' || t[0] == '-') {
    i = 1;
  } else if (!IsDigit(t[0])) {
    return 0;
  }
  // Held at 2^31, which is INT32_MIN negated: enough to saturate either way.
  constexpr std::int64_t kCap = std::int64_t{1} << 31;
  std::int64_t value = 0;
  for (; i < t.size() && IsDigit(t[i]); ++i) value = std::min(value * 10 + (t[i] - '0'), kCap);
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

std::optional<Forecast> ScrapeForecast(std::string_view text) {
  const GbkText page(text);
  const std::size_t end = page.size();

  // The header: "今天是2008年5月1日 ... 18时00分发布)".
  const std::size_t today = page.Find(kToday, 0, end);
  if (today == kNone) return std::nullopt;
  const std::size_t start = today + kToday.size();
  const std::size_t headEnd = std::min(start + 14, end);
  const std::size_t year = page.Find("年", start, headEnd);
  const std::size_t month = year == kNone ? kNone : page.Find("月", year + 2, headEnd);
  const std::size_t day = month == kNone ? kNone : page.Find("日", month + 2, headEnd);
  const std::size_t published = page.Find(kPublished, start, end);
  if (day == kNone || published == kNone) return std::nullopt;

  Forecast forecast;
  forecast.year = ParseTemperature(Trimmed(page.Slice(start, year)));
  forecast.month = ParseTemperature(Trimmed(page.Slice(year + 2, month)));
  forecast.day = ParseTemperature(Trimmed(page.Slice(month + 2, day)));
  forecast.publication = Trimmed(page.Slice(page.CharStart(Back(published, 10, start)), published));
  if (!IsValidDate(forecast.year, forecast.month, forecast.day)) return std::nullopt;

  // The days: each starts at "日星期" and its segment ends 6 bytes before the
  // next one (or at the end of the page).
  std::size_t pos = start;
  for (ForecastDay& d : forecast.days) {
    const std::size_t marker = page.Find(kWeekday, pos, end);
    if (marker == kNone) break;
    const std::string_view label = page.Slice(page.CharStart(Back(marker, 3, pos)), marker + 2);
    const std::size_t gt = label.find('>');
    d.label = std::string(gt == kNone ? label : label.substr(gt + 1));

    pos = std::min(marker + 20, end);
    const std::size_t next = page.Find(kWeekday, pos, end);
    const std::size_t segEnd = next == kNone ? end : Back(next, 6, pos);
    std::size_t seg = pos;
    if (page.Find("白天", seg, segEnd) != kNone) ScrapeHalf(page, seg, segEnd, d.day);
    if (page.Find("夜间", seg, segEnd) != kNone) ScrapeHalf(page, seg, segEnd, d.night);
    ++forecast.dayCount;
  }
  return forecast;
}

const std::string& WeatherView::Cell(int n) const {
  static const std::string kEmpty;
  if (n < 1 || n > kForecastCells) return kEmpty;
  return cells[static_cast<std::size_t>(n - 1)];
}

WeatherView ForecastView(const Forecast& forecast, std::string_view provinceName, std::string_view cityName) {
  WeatherView view;
  for (int d = 1; d <= kForecastDays; ++d) {
    const ForecastDay& day = forecast.days[static_cast<std::size_t>(d - 1)];
    view.dates[static_cast<std::size_t>(d - 1)] = day.label;
    const auto show = [&](const ForecastHalf& half, int firstRow, const char* temperatureWord) {
      if (half.weather.empty()) return;
      const auto cell = [&](int row) -> std::string& {
        return view.cells[static_cast<std::size_t>(WeatherCellNumber(d, firstRow + row) - 1)];
      };
      cell(0) = half.weather;
      if (half.temperature) cell(1) = std::string(temperatureWord) + Decimal(*half.temperature) + "℃";
      cell(2) = half.windDirection;
      cell(3) = half.windForce;
    };
    show(day.day, 1, "最高");
    show(day.night, 5, "最低");
  }
  view.status = "  ";
  view.status.append(provinceName).append(cityName);
  view.status += " " + Decimal(forecast.year) + "年" + Decimal(forecast.month) + "月" + Decimal(forecast.day) + "日 " +
                 forecast.publication + "发布";
  return view;
}

}  // namespace tovani
