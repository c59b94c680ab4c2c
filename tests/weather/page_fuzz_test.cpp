// The page reader on generated bad input: cut, mutated and random pages.
// Every input lies in a buffer of exactly its size, so that a read past its
// end shows (the native tests run with AddressSanitizer).  The generators are
// seeded and use only the raw output of the engine, so every run and every
// build sees the same inputs.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/dates.h"
#include "tests/weather/fixture_pages.h"
#include "weather/page.h"

namespace tovani {
namespace {

class Rng {
 public:
  explicit Rng(std::uint32_t seed) : engine_(seed) {}
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : engine_() % n; }
  bool OneIn(std::size_t n) { return Below(n) == 0; }
  char Byte() { return static_cast<char>(engine_() & 0xFF); }

 private:
  std::mt19937 engine_;
};

// A copy of a text in a heap block of exactly its size.
class ExactBuffer {
 public:
  explicit ExactBuffer(std::string_view s) : size_(s.size()), bytes_(new char[s.size()]) {
    std::copy(s.begin(), s.end(), bytes_.get());
  }
  std::string_view view() const { return {bytes_.get(), size_}; }

 private:
  std::size_t size_;
  std::unique_ptr<char[]> bytes_;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool Trimmed(const std::string& s) { return s.empty() || (!IsBlank(s.front()) && !IsBlank(s.back())); }

// What the reader may return for any page.
testing::AssertionResult Plausible(std::string_view page, const std::optional<Forecast>& f) {
  if (!f) return testing::AssertionSuccess();
  const auto part = [&](const std::string& s) { return s.empty() || page.find(s) != std::string_view::npos; };
  if (!IsValidDate(f->year, f->month, f->day)) return testing::AssertionFailure() << "date " << f->year;
  if (f->publication.size() > 10 || !Trimmed(f->publication) || !part(f->publication)) {
    return testing::AssertionFailure() << "publication " << f->publication;
  }
  if (f->dayCount < 0 || f->dayCount > kForecastDays) return testing::AssertionFailure() << "days " << f->dayCount;
  for (int d = 0; d < kForecastDays; ++d) {
    const ForecastDay& day = f->days[d];
    if (d >= f->dayCount) {
      if (!(day == ForecastDay{})) return testing::AssertionFailure() << "day " << d << " beyond the count";
      continue;
    }
    if (day.label.size() > 5 || !part(day.label) || day.label.size() < 2 ||
        day.label.substr(day.label.size() - 2) != "日") {
      return testing::AssertionFailure() << "label " << day.label;
    }
    for (const ForecastHalf* h : {&day.day, &day.night}) {
      if (h->weather.size() > 12 || !part(h->weather)) return testing::AssertionFailure() << "weather " << h->weather;
      if (h->temperature && (*h->temperature < -9999 || *h->temperature > 99999)) {
        return testing::AssertionFailure() << "temperature " << *h->temperature;
      }
      for (const std::string* wind : {&h->windDirection, &h->windForce}) {
        if (!Trimmed(*wind) || !part(*wind) || wind->find("\r\n") != std::string::npos) {
          return testing::AssertionFailure() << "wind " << *wind;
        }
      }
    }
  }
  const WeatherView view = ForecastView(*f, "北京", "市区");
  if (view.status.rfind("  北京市区 ", 0) != 0 || view.status.size() < 4 ||
      view.status.substr(view.status.size() - 4) != "发布") {
    return testing::AssertionFailure() << "status " << view.status;
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult ScrapeIsPlausible(std::string_view input) {
  const ExactBuffer buffer(input);
  return Plausible(buffer.view(), ScrapeForecast(buffer.view()));
}

// Markers and pieces of them, to lead the generated pages deep into the reader.
const std::vector<std::string>& Tokens() {
  static const std::vector<std::string> tokens = {
      "今天是", "2008", "年",  "5",  "月",   "1",       "日",         "发布)",     "日星期", "白天",   "夜间",
      "_blank", "\">",  "</a></td>", "<strong>", "28℃", "-3", "778.php",   "\r\n",  "\r",     "\n",   " ",
      "\t",     ">",    "<",         "二",       "\xB0", "\xFF", "+",         "-",     "日星",   "</a>", "strong>",
  };
  return tokens;
}

std::string Mutate(std::string s, Rng& rng) {
  const std::size_t edits = 1 + rng.Below(8);
  for (std::size_t e = 0; e < edits; ++e) {
    const std::size_t at = rng.Below(s.size() + 1);
    switch (rng.Below(6)) {
      case 0:  // a byte changed
        if (at < s.size()) s[at] = rng.Byte();
        break;
      case 1:  // a stretch removed
        s.erase(at, rng.Below(64));
        break;
      case 2:  // a stretch repeated
        s.insert(at, s.substr(at, rng.Below(128)));
        break;
      case 3:  // a marker added
        s.insert(at, Tokens()[rng.Below(Tokens().size())]);
        break;
      case 4:  // cut short
        if (rng.OneIn(3)) s.resize(at);
        break;
      default:  // random bytes
        for (std::size_t n = rng.Below(8); n > 0; --n) s.insert(s.begin() + static_cast<std::ptrdiff_t>(at), rng.Byte());
        break;
    }
  }
  return s;
}

TEST(PageFuzz, EveryCutOfTheFullPage) {
  const std::string utf8 = fixture::FullPage();
  const std::string gbk = Utf8ToGbk(utf8);
  int read = 0;
  for (std::size_t n = 0; n <= gbk.size(); ++n) {
    const ExactBuffer cut(std::string_view(gbk).substr(0, n));
    const auto f = ScrapeForecast(cut.view());
    ASSERT_TRUE(Plausible(cut.view(), f)) << "cut at " << n;
    read += f.has_value();
  }
  // The cut pages that keep the date header are read.
  EXPECT_GT(read, static_cast<int>(gbk.size()) / 2);
  for (std::size_t n = 0; n <= utf8.size(); n += 7) {
    const ExactBuffer cut(std::string_view(utf8).substr(0, n));
    ASSERT_TRUE(ScrapeIsPlausible(Utf8ToGbk(cut.view()))) << "cut at " << n;
  }
}

TEST(PageFuzz, MutatedPages) {
  Rng rng(20080501);
  const std::string utf8 = fixture::FullPage();
  const std::string gbk = Utf8ToGbk(utf8);
  int read = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::string page = Mutate(i % 2 ? gbk : Utf8ToGbk(Mutate(utf8, rng)), rng);
    const ExactBuffer buffer(page);
    const auto f = ScrapeForecast(buffer.view());
    ASSERT_TRUE(Plausible(buffer.view(), f)) << "case " << i;
    read += f.has_value();
  }
  // Most mutations leave the header alone.
  EXPECT_GT(read, 2000);
}

TEST(PageFuzz, RandomPagesOfMarkers) {
  Rng rng(4103);
  int read = 0, withDays = 0, withWind = 0;
  for (int i = 0; i < 4000; ++i) {
    std::string page;
    if (rng.OneIn(2)) page = "今天是2008年5月1日 (18时发布)";
    for (std::size_t n = rng.Below(300); n > 0; --n) {
      if (rng.OneIn(4)) {
        page += rng.Byte();
      } else {
        page += Tokens()[rng.Below(Tokens().size())];
      }
    }
    const ExactBuffer buffer(page);
    const auto f = ScrapeForecast(buffer.view());
    ASSERT_TRUE(Plausible(buffer.view(), f)) << "case " << i;
    read += f.has_value();
    withDays += f.has_value() && f->dayCount > 0;
    if (f) {
      for (const ForecastDay& d : f->days) withWind += !d.day.windForce.empty() || !d.night.windForce.empty();
    }
  }
  // The generated pages reach every step of the reader.
  EXPECT_GT(read, 1000);
  EXPECT_GT(withDays, 500);
  EXPECT_GT(withWind, 5);
}

TEST(PageFuzz, RandomBytesThroughTheDecoder) {
  Rng rng(1582);
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    for (std::size_t n = rng.Below(2000); n > 0; --n) {
      // Mostly bytes that start or continue multi-byte sequences.
      const std::size_t kind = rng.Below(4);
      text += kind == 0 ? rng.Byte() : static_cast<char>(kind == 1 ? 0xE0 | rng.Below(32) : 0x80 | rng.Below(64));
    }
    const ExactBuffer buffer(text);
    const std::string gbk = Utf8ToGbk(buffer.view());
    ASSERT_LE(gbk.size(), text.size()) << "case " << i;
    ASSERT_TRUE(ScrapeIsPlausible(gbk)) << "case " << i;
  }
}

TEST(PageFuzz, TemperaturesOfRandomTexts) {
  Rng rng(28);
  const std::string alphabet = "+-0123456789 a<\xA1\xE6";
  for (int i = 0; i < 20000; ++i) {
    std::string t;
    for (std::size_t n = rng.Below(24); n > 0; --n) t += alphabet[rng.Below(alphabet.size())];
    const ExactBuffer buffer(t);
    // Against the C library: the sign or digit and the digits after it.
    long long expected = 0;
    if (!t.empty() && (t[0] == '+' || t[0] == '-' || (t[0] >= '0' && t[0] <= '9'))) {
      std::size_t end = 1;
      while (end < t.size() && t[end] >= '0' && t[end] <= '9') ++end;
      expected = std::strtoll(t.substr(0, end).c_str(), nullptr, 10);
      expected = std::max<long long>(INT32_MIN, std::min<long long>(INT32_MAX, expected));
    }
    ASSERT_EQ(ParseTemperature(buffer.view()), expected) << t;
  }
}

}  // namespace
}  // namespace tovani
