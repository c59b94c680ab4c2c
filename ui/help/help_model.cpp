#include "ui/help/help_model.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>

#include "engine/holidays.h"
#include "weather/http.h"

namespace tovani::help {
namespace {

constexpr const char* kIndent = "    ";
constexpr const char* kProductName = "青鹭万年历";
// The same name in UTF-8, as a page in that encoding writes it (a literal:
// nothing to destroy at exit while a check may still be reading).
constexpr std::u8string_view kProductNameUtf8 = u8"青鹭万年历";
std::string_view ProductNameUtf8() {
  return {reinterpret_cast<const char*>(kProductNameUtf8.data()), kProductNameUtf8.size()};
}

std::string Paragraphs(std::initializer_list<std::string> paragraphs) {
  std::string text;
  for (const std::string& p : paragraphs) {
    if (!text.empty()) text += kLineBreak;
    text += kIndent + p;
  }
  return text;
}

// "公元前104年" for the year -103, "公元4103年" for 4103.
std::string YearText(std::int32_t year) {
  return year <= 0 ? "公元前" + std::to_string(1 - static_cast<std::int64_t>(year)) + "年"
                   : "公元" + std::to_string(year) + "年";
}

std::string Span(std::int32_t first, std::int32_t last) { return YearText(first) + "~" + YearText(last); }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHostChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '.' || c == '-' || c == '_';
}
bool IsPathChar(char c) { return c > ' ' && c < 0x7F; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

std::size_t CountDigits(std::string_view s, std::size_t from) {
  std::size_t n = 0;
  while (from + n < s.size() && IsDigit(s[from + n])) ++n;
  return n;
}

// The length of the version number at the start of s (0 when there is none):
// 1..3 digits, then "." and 1..3 digits when they follow.  A longer run of
// digits is no version number (a year, a download count).
std::size_t VersionLength(std::string_view s) {
  const std::size_t whole = CountDigits(s, 0);
  if (whole == 0 || whole > kMaxVersionDigits) return 0;
  if (whole + 1 < s.size() && s[whole] == '.' && IsDigit(s[whole + 1])) {
    const std::size_t fraction = CountDigits(s, whole + 1);
    if (fraction > kMaxVersionDigits) return 0;
    return whole + 1 + fraction;
  }
  return whole;
}

// A version number split into its whole part without leading zeros and its
// fraction without trailing zeros, which compare as the decimal numbers do.
struct Decimal {
  std::string_view whole, fraction;
};

std::optional<Decimal> ReadDecimal(std::string_view s) {
  if (s.empty() || VersionLength(s) != s.size()) return std::nullopt;
  const std::size_t dot = s.find('.');
  std::string_view whole = s.substr(0, dot);
  std::string_view fraction = dot == std::string_view::npos ? std::string_view{} : s.substr(dot + 1);
  while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  return Decimal{whole, fraction};
}

// The version after a mention of the name that ends at pos, if one follows.
std::optional<std::string> VersionAfter(std::string_view text, std::size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  if (pos < text.size() && (text[pos] == 'V' || text[pos] == 'v')) ++pos;
  const std::size_t n = VersionLength(text.substr(pos));
  if (n == 0) return std::nullopt;
  return std::string(text.substr(pos, n));
}

// The setting "host[:port][/path]", or nothing when it is not one.
std::optional<VersionPage> ReadVersionPage(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  if (StartsWithNoCase(s, "http://")) s.remove_prefix(7);

  VersionPage page;
  const std::size_t slash = s.find('/');
  std::string_view authority = s.substr(0, slash);
  if (slash != std::string_view::npos) {
    const std::string_view path = s.substr(slash);
    if (path.size() > kMaxPathBytes || !std::all_of(path.begin(), path.end(), IsPathChar)) return std::nullopt;
    page.path = std::string(path);
  }
  if (const std::size_t colon = authority.find(':'); colon != std::string_view::npos) {
    const std::string_view port = authority.substr(colon + 1);
    authority = authority.substr(0, colon);
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), IsDigit)) return std::nullopt;
    int value = 0;
    for (const char c : port) value = value * 10 + (c - '0');
    if (value < 1 || value > 65535) return std::nullopt;
    page.port = static_cast<std::uint16_t>(value);
  }
  if (authority.empty() || authority.size() > kMaxHostBytes ||
      !std::all_of(authority.begin(), authority.end(), IsHostChar)) {
    return std::nullopt;
  }
  page.host = std::string(authority);
  return page;
}

}  // namespace

const char* PageLabel(int page) {
  static constexpr std::array<const char*, kPageCount> kLabels = {"功能", "说明", "快捷键", "关于"};
  return page >= 0 && page < kPageCount ? kLabels[static_cast<std::size_t>(page)] : "";
}

std::string VersionLine() {
  return std::string(kProductName) + "V" + std::to_string(kMajorVersion) + "." + std::to_string(kMinorVersion);
}

std::string Introduction(const Coverage& years) {
  const std::int64_t count = static_cast<std::int64_t>(years.lastYear) - years.firstYear + 1;
  return Paragraphs({VersionLine() + "只有一个文件，是一款绿色免安装万年历软件，直接运行即可使用。显示" +
                     Span(years.firstYear, years.lastYear) + "共" + std::to_string(count) +
                     "年范围内的公历、农历、回历、星期、星座、干支、属相、节日、节气、九伏梅、日出日落天亮天黑时刻、 "
                     "5日内天气预报等信息。"});
}

std::string PageText(int page, const Coverage& years) {
  switch (page) {
    case kFeatures:
      return Paragraphs({"1.支持日历、月历功能以及公农回历互转互查功能；",
                         std::string("2.支持纪念日、提醒日、倒计日功能(选择") + "允许使用注册表" +
                             "后有效)以及音频播放功能，日历界面下相关信息显示在下文本框的工具提示窗口中；",
                         "3.支持闹钟、语音报时和整点自动报时功能；",
                         "4.提供查询" + Span(years.firstYear, years.toolLastYear) +
                             "范围内儒略日、间隔日、干支历、气朔日、条件月、条件日、日出日落天亮天黑时刻、"
                             "5日内天气预报等信息的实用工具；",
                         "5.可以更换日历界面背景图片；",
                         "6.显示法定节假日的放假（休）和调休上班（班）：月历的日期格中和所选日期的信息中，"
                         "日历界面的下文本框中。已内置" + std::to_string(HolidayCalendar().FirstYear()) + "~" +
                             std::to_string(HolidayCalendar().LastYear()) +
                             "年的放假安排；以后公布的年份可以添加在注册表HKEY_CURRENT_USER\\Software\\Tovani\\Holidays"
                             "下，每天一个字符串值：名称为日期（如2027-01-01），数据为“休 元旦”或“班 春节”，"
                             "添加的年份代替内置的同一年(选择允许使用注册表后有效)；",
                         "7.闹钟可以每天、只在工作日或只在休息日响铃，整点报时可以设免打扰时段、只在工作日报时。"});
    case kNotes:
      return Paragraphs({"1.回历9月份起止日期还须根据望月修订；",
                         "2.使用的日期格式：MM-DD-YYYY， 即2位月数-2位日数-4位年数，前缀BC、AD表示纪元前、后；",
                         "3.农历闰月的表示：月数+12。"});
    case kHotKeys:
      return Paragraphs({"1.窗体级快捷键", "Alt+X(退出软件)", "2.系统级快捷键", "Ctrl+Alt+R(激活软件)",
                         "Ctrl+Alt+W(天气预报)", "Ctrl+Alt+V(语音报时)", "Ctrl+Alt+X(退出软件)"});
    case kAbout:
      return Paragraphs({VersionLine()});
    default:
      return {};
  }
}

// ---- The version check ----

std::string VersionPage::Authority() const { return port == 80 ? host : host + ":" + std::to_string(port); }

std::string VersionPage::Address() const { return "http://" + Authority() + path; }

std::optional<VersionPage> ParseVersionPage(std::string_view setting) { return ReadVersionPage(setting); }

std::string VersionRequest(const VersionPage& page) { return net::HttpGetRequest(page.Address(), page.Authority()); }

std::optional<int> CompareVersions(std::string_view a, std::string_view b) {
  const auto x = ReadDecimal(a), y = ReadDecimal(b);
  if (!x || !y) return std::nullopt;
  if (x->whole.size() != y->whole.size()) return x->whole.size() < y->whole.size() ? -1 : 1;
  if (const int c = x->whole.compare(y->whole); c != 0) return c < 0 ? -1 : 1;
  // Fractions compare digit by digit, a missing digit counting as 0.
  if (const int c = x->fraction.compare(y->fraction); c != 0) return c < 0 ? -1 : 1;
  return 0;
}

std::optional<std::string> FindVersion(std::string_view text) {
  // The first mention followed by a version, in whichever encoding.
  std::size_t first = std::string_view::npos;
  std::optional<std::string> found;
  for (const std::string_view name : {std::string_view(kProductName), ProductNameUtf8()}) {
    for (std::size_t at = text.find(name); at < first; at = text.find(name, at + 1)) {
      if (auto version = VersionAfter(text, at + name.size())) {
        first = at;
        found = std::move(version);
        break;
      }
    }
  }
  return found;
}

std::optional<std::string> NewerVersion(std::string_view answer) {
  // The status line: "HTTP/" + version, a blank, "200", a blank or its end.
  if (!StartsWithNoCase(answer, "HTTP/")) return std::nullopt;
  const std::size_t lineEnd = answer.find('\n');
  if (lineEnd == std::string_view::npos) return std::nullopt;
  const std::string_view status = answer.substr(0, lineEnd);
  const std::size_t blank = status.find(' ');
  if (blank == std::string_view::npos || status.substr(blank + 1, 3) != "200") return std::nullopt;
  if (blank + 4 < status.size() && !IsBlank(status[blank + 4])) return std::nullopt;
  // The page follows the empty line after the headers.
  std::size_t bodyAt = std::string_view::npos;
  for (std::size_t pos = lineEnd; pos != std::string_view::npos; pos = answer.find('\n', pos + 1)) {
    std::size_t next = pos + 1;
    if (next < answer.size() && answer[next] == '\r') ++next;
    if (next < answer.size() && answer[next] == '\n') {
      bodyAt = next + 1;
      break;
    }
  }
  if (bodyAt == std::string_view::npos) return std::nullopt;
  auto version = FindVersion(answer.substr(bodyAt));
  if (!version) return std::nullopt;
  const std::string own = std::to_string(kMajorVersion) + "." + std::to_string(kMinorVersion);
  const auto order = CompareVersions(*version, own);
  if (!order || *order <= 0) return std::nullopt;
  return version;
}

std::string NewVersionNote(std::string_view version, const VersionPage& page) {
  return std::string(kLineBreak) + kIndent + "下载" + std::string(version) + "版→" + page.Address();
}

}  // namespace tovani::help
