#include "engine/sexagenary.h"

#include <array>
#include <string_view>

#include "engine/dates.h"
#include "engine/rules.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani {
namespace {

constexpr std::array<const char*, 10> kStemNames = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
constexpr std::array<const char*, 12> kBranchNames = {"子", "丑", "寅", "卯", "辰", "巳",
                                                      "午", "未", "申", "酉", "戌", "亥"};
constexpr std::array<const char*, 12> kAnimalNames = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                      "马", "羊", "猴", "鸡", "狗", "猪"};
constexpr std::array<const char*, 7> kWeekdayNames = {"星期一", "星期二", "星期三", "星期四",
                                                      "星期五", "星期六", "星期日"};

struct SignBoundary {
  int lastDayOfFirst;
  const char* first;
  const char* second;
};
constexpr std::array<SignBoundary, 12> kSigns = {{
    {19, "摩羯座", "水瓶座"},
    {18, "水瓶座", "双鱼座"},
    {20, "双鱼座", "白羊座"},
    {20, "白羊座", "金牛座"},
    {20, "金牛座", "双子座"},
    {21, "双子座", "巨蟹座"},
    {22, "巨蟹座", "狮子座"},
    {22, "狮子座", "处女座"},
    {22, "处女座", "天秤座"},
    {22, "天秤座", "天蝎座"},
    {21, "天蝎座", "射手座"},
    {21, "射手座", "摩羯座"},
}};

// The years the texts are written for.
bool InTextRange(std::int32_t year) { return year >= -8999 && year <= 9000; }

// Cycle index of a sexagenary year number; 1984 is 甲子.  The offset keeps
// the dividend positive for every year of the date range.
int CycleIndexOfYear(std::int32_t y) { return (y + 12057 - 1) % 60 + 1; }

// The sexagenary year number of a date when the year begins at 立春.
std::int32_t YearFromSpringStart(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules) {
  const DayNumber j1 = DateToDayNumber(year, 1, 1);
  // Day of the year of a 立春 early in the year (-400 when none) and of a
  // second one late in the year (400 when none).
  int a = TermDayOnOrAfter(j1, 3, rules) - j1 + 1;
  int b = 400;
  if (a < 180) {
    if (a < 10) b = TermDayOnOrAfter(j1 + 180, 3, rules) - j1 + 1;
  } else {
    b = a;
    a = -400;
  }
  const int d = DayOfYear(year, month, day);
  if (d < a) return year - 1;
  if (d < b) return year;
  return year + 1;
}

// The digit at position i of a text, or -1.
int DigitAt(std::string_view s, std::size_t i) {
  if (i >= s.size() || s[i] < '0' || s[i] > '9') return -1;
  return s[i] - '0';
}

// The sexagenary year number of a date when the year begins at the lunar new
// year; false when the lunar data of the year is missing.
bool YearFromLunarNewYear(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t& out, CalendarRules rules) {
  const std::string record = LunarYearRecordOf(year, rules);
  if (record.size() != 17) return false;
  const int m = DigitAt(record, 14), d1 = DigitAt(record, 15), d2 = DigitAt(record, 16);
  if (m < 0 || d1 < 0 || d2 < 0) return false;
  out = 100 * month + day < 100 * m + 10 * d1 + d2 ? year - 1 : year;
  return true;
}

// The cycle index of the 寅 month (the first month) of a year with the stem.
int FirstMonthIndex(int stem) { return 3 + 12 * ((stem - 1) % 5); }

}  // namespace

std::string StemName(int stem) {
  if (stem < 1 || stem > 10) return {};
  return kStemNames[stem - 1];
}

std::string BranchName(int branch) {
  if (branch < 1 || branch > 12) return {};
  return kBranchNames[branch - 1];
}

std::string AnimalName(int animal) {
  if (animal < 1 || animal > 12) return {};
  return kAnimalNames[animal - 1];
}

std::string CycleName(int index) {
  if (index < 1 || index > 60) return {};
  return StemName((index - 1) % 10 + 1) + BranchName((index - 1) % 12 + 1);
}

int YearCycleIndex(std::int32_t year, std::int32_t month, std::int32_t day, YearStart start, CalendarRules rules) {
  if (!IsValidDate(year, month, day)) return 0;
  std::int32_t y = 0;
  if (start == YearStart::kStartOfSpring) {
    y = YearFromSpringStart(year, month, day, rules);
  } else if (!YearFromLunarNewYear(year, month, day, y, rules)) {
    return 0;
  }
  return CycleIndexOfYear(y);
}

int AnimalIndex(std::int32_t year, std::int32_t month, std::int32_t day, YearStart start, CalendarRules rules) {
  const int index = YearCycleIndex(year, month, day, start, rules);
  if (index == 0) return 0;
  return (index - 1) % 12 + 1;
}

int MonthCycleIndex(std::int32_t year, std::int32_t month, std::int32_t day, YearStart start, CalendarRules rules) {
  const int yearIndex = YearCycleIndex(year, month, day, start, rules);
  if (yearIndex == 0) return 0;
  const int first = FirstMonthIndex((yearIndex - 1) % 10 + 1);
  if (start == YearStart::kStartOfSpring) {
    const int t = TermInForce(year, month, day, rules);
    if (t < 1 || t > 24) return 0;
    const int n = (t - 1) / 2 + 1;  // 1 for the 丑 month, 2 for 寅 .. 12 for 子
    return (first - 1 + (n + 10) % 12) % 60 + 1;
  }
  const auto lunar = LunarDateOf(year, month, day, rules);
  if (!lunar) return 0;
  // A leap month counts as the month before it.
  return (first - 1 + (lunar->month - 1)) % 60 + 1;
}

int DayCycleIndex(std::int32_t year, std::int32_t month, std::int32_t day) {
  const DayNumber j = DateToDayNumber(year, month, day);
  if (j == InvalidDayNumber) return 0;
  int r = (j - 11) % 60;
  if (r < 0) r += 60;
  return r + 1;
}

std::string SexagenaryText(std::int32_t year, std::int32_t month, std::int32_t day, YearStart start,
                           CalendarRules rules) {
  if (!InTextRange(year) || !IsValidDate(year, month, day)) return {};
  const int yearIndex = YearCycleIndex(year, month, day, start, rules);
  const int animal = AnimalIndex(year, month, day, start, rules);
  const int monthIndex = MonthCycleIndex(year, month, day, start, rules);
  const int dayIndex = DayCycleIndex(year, month, day);
  if (yearIndex < 1 || yearIndex > 60 || monthIndex < 1 || monthIndex > 60 || dayIndex < 1 || dayIndex > 60 ||
      animal < 1 || animal > 12) {
    return {};
  }
  return CycleName(yearIndex) + "(" + AnimalName(animal) + ")" + "年" + CycleName(monthIndex) + "月" +
         CycleName(dayIndex) + "日";
}

std::string WeekdayName(std::int32_t year, std::int32_t month, std::int32_t day) {
  const auto w = WeekdayOf(year, month, day);  // also tests the year range
  if (!w || *w < 0 || *w > 6) return {};
  return kWeekdayNames[*w];
}

std::string ZodiacSignName(std::int32_t year, std::int32_t month, std::int32_t day) {
  if (!InTextRange(year) || !IsValidDate(year, month, day)) return {};
  const SignBoundary& s = kSigns[month - 1];
  return day <= s.lastDayOfFirst ? s.first : s.second;
}

}  // namespace tovani
