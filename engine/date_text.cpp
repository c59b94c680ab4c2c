#include "engine/date_text.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace tovani {
namespace {

constexpr std::array<const char*, 12> kMonthNames = {"正月", "二月", "三月", "四月", "五月", "六月",
                                                     "七月", "八月", "九月", "十月", "冬月", "腊月"};

constexpr std::array<const char*, 30> kDayNames = {
    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

constexpr std::array<const char*, 10> kDigits = {"○", "一", "二", "三", "四", "五", "六", "七", "八", "九"};

constexpr const char* kBeforeYearOne = "前";
constexpr const char* kLeapMark = "闰";
constexpr const char* kBigMark = "大";
constexpr const char* kSmallMark = "小";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Value of an all-digit field; -1 when it is empty or holds anything else.
int DigitsValue(std::string_view s) {
  if (s.empty() || s.size() > 9) return -1;
  int v = 0;
  for (char c : s) {
    if (!IsDigit(c)) return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

std::string PadLeft(std::string s, std::size_t width) {
  if (s.size() < width) s.insert(0, width - s.size(), ' ');
  return s;
}

}  // namespace

std::string CalendarDateText(std::int32_t year, std::int32_t month, std::int32_t day) {
  const bool ad = year >= 1;
  const long long number = ad ? year : 1LL - year;
  if (number > 9999 || month < 0 || month > 99 || day < 0 || day > 99) return {};
  char buf[16];
  std::snprintf(buf, sizeof buf, "%s%02d-%02d-%04lld", ad ? "AD" : "BC", month, day, number);
  return buf;
}

std::optional<CivilDate> ParseCalendarDateText(std::string_view t) {
  if (t.size() != 12 || t[4] != '-' || t[7] != '-') return std::nullopt;
  const std::string_view era = t.substr(0, 2);
  if (era != "AD" && era != "BC") return std::nullopt;
  const int month = DigitsValue(t.substr(2, 2));
  const int day = DigitsValue(t.substr(5, 2));
  const int number = DigitsValue(t.substr(8, 4));
  if (month < 0 || day < 0 || number < 0) return std::nullopt;
  return CivilDate{era == "AD" ? number : 1 - number, month, day};
}

std::string DateText(DayNumber z) {
  const auto d = DayNumberToDate(z);
  if (!d) return {};
  return CalendarDateText(d->year, d->month, d->day);
}

std::optional<LocalDateTime> DateTimeOf(LocalInstant t) {
  // The negated test also turns away NaN.
  if (!(t >= FirstValidDayNumber && t < LastValidDayNumber + 1.0)) return std::nullopt;
  const double day = std::floor(t);
  const auto date = DayNumberToDate(static_cast<DayNumber>(day));
  if (!date) return std::nullopt;
  const double f = t - day;
  const int h = static_cast<int>(std::floor(24 * f));
  const double f1 = 24 * f - h;
  const int m = static_cast<int>(std::floor(60 * f1));
  const int s = static_cast<int>(std::floor(60 * (60 * f1 - m)));
  return LocalDateTime{*date, h, m, s};
}

std::string DateTimeText(LocalInstant t) {
  const auto at = DateTimeOf(t);
  if (!at) return {};
  char buf[16];
  std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", at->hour, at->minute, at->second);
  return CalendarDateText(at->date.year, at->date.month, at->date.day) + buf;
}

std::optional<CivilDate> ReadDateInput(std::string_view s) {
  const std::string normal = NormalizeDateInput(s);
  if (normal.empty()) return std::nullopt;
  return ParseCalendarDateText("AD" + normal);
}

bool AllCharsIn(std::string_view s, std::string_view set) {
  for (char c : s) {
    if (set.find(c) == std::string_view::npos) return false;
  }
  return true;
}

std::string NormalizeDateInput(std::string_view s) {
  if (s.size() < 5 || s.size() > 10 || !AllCharsIn(s, "1234567890-")) return {};
  // Positions of the dashes, counted from 1.
  const std::size_t p1 = s.find('-') + 1;
  if (p1 == 0) return {};
  const std::size_t p2 = s.find('-', p1) + 1;
  if (p2 == 0) return {};
  if (s.find('-', p2) != std::string_view::npos) return {};
  if (p1 != 2 && p1 != 3) return {};
  if (p2 - p1 != 2 && p2 - p1 != 3) return {};
  const std::size_t yearDigits = s.size() - p2;
  if (yearDigits < 1 || yearDigits > 4) return {};
  const int month = DigitsValue(s.substr(0, p1 - 1));
  const int day = DigitsValue(s.substr(p1, p2 - p1 - 1));
  const int year = DigitsValue(s.substr(p2));
  if (month <= 0 || day <= 0 || year <= 0) return {};
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", month, day, year);
  return buf;
}

std::string LunarMonthName(int code, MonthSize size) {
  if (code < 1 || code > 24) return {};
  std::string out = code > 12 ? kLeapMark : "";
  out += kMonthNames[(code - 1) % 12];
  out += size == MonthSize::kBig ? kBigMark : kSmallMark;
  return out;
}

std::string LunarMonthBaseName(int month) {
  if (month < 1 || month > 12) return {};
  return kMonthNames[month - 1];
}

std::string LunarDayName(int day) {
  if (day < 1 || day > 30) return {};
  return kDayNames[day - 1];
}

std::string LunarMonthReading(int monthCode) {
  if (monthCode < 1 || monthCode > 24) return {};
  return std::string(monthCode > 12 ? "闰" : "") + LunarMonthBaseName((monthCode - 1) % 12 + 1);
}

std::string LunarReading(int monthCode, int day) { return LunarMonthReading(monthCode) + LunarDayName(day); }

std::string ChineseDigitName(int n) {
  if (n < 1 || n > 9) return {};
  return kDigits[n];
}

std::string YearNumeralText(std::int32_t year) {
  if (year < -9998 || year > 9999) return {};
  std::string out = year >= 1 ? "" : kBeforeYearOne;
  for (char c : std::to_string(year >= 1 ? year : 1 - year)) out += kDigits[c - '0'];
  return PadLeft(std::move(out), 10);
}

std::string YearNumberText(std::int32_t year) {
  if (year < -9998 || year > 9999) return {};
  std::string out = year >= 1 ? "" : kBeforeYearOne;
  out += std::to_string(year >= 1 ? year : 1 - year);
  return PadLeft(std::move(out), 8);
}

std::string TruncateBytes(std::string_view s, int n) {
  if (s.empty() || n <= 0) return {};
  if (s.size() <= static_cast<std::size_t>(n)) return std::string(s);
  std::size_t end = 0;
  while (end < s.size()) {
    const std::size_t width = static_cast<unsigned char>(s[end]) < 128 ? 1 : 2;
    if (end + width > static_cast<std::size_t>(n)) break;
    end += width;
  }
  return std::string(s.substr(0, end));
}

std::string TrimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

}  // namespace tovani
