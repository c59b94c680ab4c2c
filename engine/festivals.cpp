#include "engine/festivals.h"

#include <array>
#include <cmath>

#include "engine/date_text.h"
#include "engine/dates.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani {

namespace {

constexpr std::int32_t kFirstYear = -8999;
constexpr std::int32_t kLastYear = 9000;
constexpr std::int32_t kAnyYear = kFirstYear;

bool InYearRange(std::int32_t year) { return year >= kFirstYear && year <= kLastYear; }

// Remainder that is never negative.
int FloorMod(std::int64_t a, int m) {
  const int r = static_cast<int>(a % m);
  return r < 0 ? r + m : r;
}

// A day number falls on weekday (J + 1) mod 7 counted from Sunday = 0.
int SundayBasedWeekday(DayNumber j) { return FloorMod(static_cast<std::int64_t>(j) + 1, 7); }

struct FixedFestival {
  int month, day;
  std::int32_t fromYear;
  const char* shortName;  // in the main list
  const char* fullName;   // in the full list
  bool fullListOnly;
};

// Rows of one date are ordered by their first year; the last row in force wins.
constexpr FixedFestival kFixedFestivals[] = {
    {1, 1, kAnyYear, "元旦节", "元旦节", false},
    {2, 2, 1997, "世界湿地日", "世界湿地日", true},
    {2, 10, 1991, "国际气象节", "国际气象节", true},
    {2, 14, kAnyYear, "情人节", "情人节", false},
    {3, 1, 1983, "国际海豹节", "国际海豹节", true},
    {3, 3, 2000, "爱耳日", "爱耳日", true},
    {3, 5, 1963, "学雷锋纪念日", "学雷锋纪念日", true},
    {3, 8, 1911, "妇女节", "国际妇女节", false},
    {3, 12, 1979, "植树节", "植树节", true},
    {3, 14, 2004, "国际警察节", "国际警察节", true},
    {3, 15, 1983, "国际消费者权益日", "国际消费者权益日", true},
    {3, 21, 1972, "世界森林日", "世界森林日", true},
    {3, 22, 1993, "世界水日", "世界水日", true},
    {3, 23, 1960, "世界气象日", "世界气象日", true},
    {4, 1, 1564, "愚人节", "愚人节", false},
    {4, 7, 1950, "世界卫生日", "世界卫生日", true},
    {4, 22, 1970, "世界地球日", "世界地球日", true},
    {5, 1, 1889, "劳动节", "国际劳动节", false},
    {5, 4, 1939, "青年节", "青年节", false},
    {5, 8, 1948, "世界红十字日", "世界红十字日", true},
    {5, 12, 1912, "国际护士节", "国际护士节", true},
    {5, 15, 1994, "国际家庭日", "国际家庭日", true},
    {5, 17, 1969, "世界电信日", "世界电信日", true},
    {5, 19, 2011, "中国旅游日", "中国旅游日", true},
    {5, 31, 1988, "世界无烟日", "世界无烟日", true},
    {6, 1, 1949, "儿童节", "国际儿童节", false},
    {6, 5, 1974, "世界环境保护日", "世界环境保护日", true},
    {6, 6, 1996, "爱眼日", "爱眼日", true},
    {6, 23, 1948, "国际奥林匹克日", "国际奥林匹克日", true},
    {6, 25, 1991, "土地日", "土地日", true},
    {6, 26, 1987, "国际禁毒日", "国际禁毒日", true},
    {7, 1, 1921, "建党节", "建党节", false},
    {7, 1, 1999, "建党节", "建党节 香港回归纪念日", false},
    {7, 11, 1987, "世界人口日", "世界人口日", true},
    {8, 1, 1927, "建军节", "建军节", false},
    {8, 8, 1988, "男子节", "男子节", true},
    {8, 12, 2000, "国际青年日", "国际青年日", true},
    {9, 8, 1966, "世界扫盲日", "世界扫盲日", true},
    {9, 10, 1985, "教师节", "教师节", false},
    {9, 20, 1989, "爱牙日", "爱牙日", true},
    {9, 27, 1980, "世界旅游日", "世界旅游日", true},
    {10, 1, 1949, "国庆节", "国庆节", false},
    {10, 4, 1949, "世界动物日", "世界动物日", true},
    {10, 5, 1944, "世界教师日", "世界教师日", true},
    {10, 9, 1969, "世界邮政日", "世界邮政日", true},
    {10, 12, 1999, "世界60亿人口日", "世界60亿人口日", true},
    {10, 14, 1969, "世界标准日", "世界标准日", true},
    {10, 15, 1984, "国际盲人节", "国际盲人节", true},
    {10, 16, 1979, "世界粮食日", "世界粮食日", true},
    {10, 24, 1948, "联合国日", "联合国日", true},
    {10, 31, kAnyYear, "万圣节", "万圣节", true},
    {11, 10, 1946, "世界青年日", "世界青年日", true},
    {11, 11, 1901, "光棍节", "光棍节", true},
    {11, 16, 1996, "国际宽容日", "国际宽容日", true},
    {11, 20, 1986, "世界儿童日", "世界儿童日", true},
    {11, 21, 1996, "世界电视日", "世界电视日", true},
    {12, 1, 1988, "世界艾滋病日", "世界艾滋病日", true},
    {12, 3, 1992, "世界残疾人日", "世界残疾人日", true},
    {12, 10, 1950, "世界人权日", "世界人权日", true},
    {12, 20, 1999, "澳门回归纪念日", "澳门回归纪念日", true},
    {12, 21, 1891, "国际篮球日", "国际篮球日", true},
    {12, 24, 440, "平安夜", "平安夜", false},
    {12, 25, 440, "圣诞节", "圣诞节", false},
};

// The festivals kept by a rule rather than a date: 复活节 by the computus
// (EasterDay), the others on the n-th weekday (0 = Sunday) of a month.  In the
// order the lists of festivals show them; no two fall on one day (Easter is in
// March or April), so the order never decides a day's text.
struct RuleFestival {
  const char* name;
  int month;  // 0 for 复活节
  std::int32_t fromYear;
  int n, weekday;
};

constexpr std::int32_t kFirstEasterYear = 325;
constexpr std::int32_t kLastJulianEasterYear = 1582;

constexpr RuleFestival kRuleFestivals[] = {
    {"复活节", 0, kFirstEasterYear, 0, 0},
    {"母亲节", 5, 1913, 2, 0},
    {"父亲节", 6, 1934, 3, 0},
    {"感恩节", 11, 1863, 4, 4},
};

constexpr auto kRuleFestivalNames = [] {
  std::array<const char*, std::size(kRuleFestivals)> names{};
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = kRuleFestivals[i].name;
  return names;
}();

constexpr int kSummerSolstice = 12;  // 夏至
constexpr int kWinterSolstice = 24;  // 冬至
constexpr int kGrainInEar = 11;      // 芒种
constexpr int kLesserHeat = 13;      // 小暑
constexpr int kAutumnBegins = 15;    // 立秋

struct LunarFestival {
  int month, day;
  std::int32_t fromYear;
  const char* name;
};

constexpr LunarFestival kLunarFestivals[] = {
    {1, 1, kAnyYear, "春节"},    {1, 15, kAnyYear, "元宵节"}, {2, 2, kAnyYear, "春龙节"}, {5, 5, -277, "端午节"},
    {6, 24, kAnyYear, "火把节"}, {7, 7, kAnyYear, "七夕节"},  {7, 15, kAnyYear, "中元节"}, {8, 15, kAnyYear, "中秋节"},
    {9, 9, kAnyYear, "重阳节"},  {10, 1, kAnyYear, "祭祖节"}, {12, 8, kAnyYear, "腊八节"},
};
constexpr int kLeapTwelfthMonth = 24;

// The first day on or after d whose day number leaves the remainder r modulo m
// (a 庚 day is J mod 10 = 7, a 丙 day J mod 10 = 3, a 未 day J mod 12 = 6).
DayNumber FirstCycleDayOnOrAfter(DayNumber d, int r, int m) {
  return d + FloorMod(static_cast<std::int64_t>(r) - d, m);
}

// The day number of a date the functions here accept, or InvalidDayNumber.
DayNumber CheckedDay(std::int32_t year, std::int32_t month, std::int32_t day) {
  if (!InYearRange(year) || !IsValidDate(year, month, day)) return InvalidDayNumber;
  return DateToDayNumber(year, month, day);
}

}  // namespace

std::span<const char* const> RuleFestivalNames() { return kRuleFestivalNames; }

// The churches' Easter tables written as arithmetic: the Julian computus as
// Meeus gives it (the 19-year cycle of paschal full moons on the Julian
// calendar), the Gregorian one by the anonymous algorithm (Meeus, chapter 8:
// the same cycle with the solar and lunar corrections of the reform).
EasterDate EasterByComputus(std::int32_t year, Computus computus) {
  if (year < 1) return {0, 0};
  int sum;  // 31 * month + day - 1
  if (computus == Computus::kJulian) {
    const int a = year % 4, b = year % 7, c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int e = (2 * a + 4 * b - d + 34) % 7;
    sum = d + e + 114;
  } else {
    const int a = year % 19, b = year / 100, c = year % 100;
    const int d = b / 4, e = b % 4, f = (b + 8) / 25, g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    sum = h + l - 7 * m + 114;
  }
  return {sum / 31, sum % 31 + 1};
}

DayNumber EasterDay(std::int32_t year) {
  if (year < kFirstEasterYear || !InYearRange(year)) return InvalidDayNumber;
  // The program's dates are Julian up to 1582-10-04, so the Julian computus
  // gives its dates as they stand; Easter 1582 (15 April) came before the reform.
  const EasterDate e =
      EasterByComputus(year, year <= kLastJulianEasterYear ? Computus::kJulian : Computus::kGregorian);
  return DateToDayNumber(year, e.month, e.day);
}

int NthWeekdayOfMonth(std::int32_t year, std::int32_t month, int n, int weekday) {
  const DayNumber first = DateToDayNumber(year, month, 1);
  if (first == InvalidDayNumber) return 0;
  int day = 7 * (n - 1) + 1 + FloorMod(weekday - SundayBasedWeekday(first), 7);
  if (year == 1582 && month == 10 && day > 4) day += 10;
  return day;
}

std::string GregorianFestivalText(std::int32_t year, std::int32_t month, std::int32_t day, FestivalList list) {
  const bool full = list == FestivalList::kFull;
  const DayNumber j = CheckedDay(year, month, day);
  if (j == InvalidDayNumber) return {};

  const FixedFestival* row = nullptr;
  for (const auto& f : kFixedFestivals) {
    if (f.month == month && f.day == day && year >= f.fromYear) row = &f;
  }
  std::string text;
  if (row != nullptr && (!row->fullListOnly || full)) text = full ? row->fullName : row->shortName;

  // A rule festival stands alone, or follows a fixed one in the full list only.
  const auto add = [&](const char* name) {
    if (text.empty()) {
      text = name;
    } else if (full) {
      text += ' ';
      text += name;
    }
  };
  for (const auto& r : kRuleFestivals) {
    const bool falls = r.month == 0 ? j == EasterDay(year)
                                    : month == r.month && year >= r.fromYear &&
                                          day == NthWeekdayOfMonth(year, month, r.n, r.weekday);
    if (falls) add(r.name);
  }
  return text;
}

std::string LunarFestivalText(std::int32_t lunarYear, int lunarMonth, int lunarDay, CalendarRules rules) {
  if (!InYearRange(lunarYear) || !IsValidLunarDate(lunarYear, lunarMonth, lunarDay, rules)) return {};
  for (const auto& f : kLunarFestivals) {
    if (f.month == lunarMonth && f.day == lunarDay) {
      return lunarYear >= f.fromYear ? f.name : "";
    }
  }
  // 小年 and 除夕 belong to the last month of the year: the leap twelfth month
  // when the year has one.
  const int lastMonth = IsValidLunarDate(lunarYear, kLeapTwelfthMonth, 1, rules) ? kLeapTwelfthMonth : 12;
  if (lunarMonth != lastMonth) return {};
  if (lunarDay == 23) return "小年";
  if (lunarDay == 30 || (lunarDay == 29 && !IsValidLunarDate(lunarYear, lastMonth, 30, rules))) return "除夕";
  return {};
}

std::string NextSolarTermNote(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules) {
  const DayNumber j = CheckedDay(year, month, day);
  if (j == InvalidDayNumber) return {};
  const TermAndIndex next = NextTermWithIndex(j, rules);
  const std::string name = SolarTermName(next.index);
  const std::string s = DateTimeText(next.instant);
  if (name.empty() || s.size() != 21) return {};
  const DayNumber t = DayOf(next.instant);
  if (t == j) return "今日" + name + " " + s.substr(13);
  if (t == j + 1) return "明日" + name + " " + s.substr(13);
  if (t < j) return {};

  const auto date = ParseCalendarDateText(s.substr(0, 12));
  if (!date) return {};
  std::string note;
  if (date->year != year) {
    const bool ad = s.compare(0, 2, "AD") == 0;
    note = (ad ? "" : "公元前") + std::to_string(ad ? date->year : 1 - date->year) + "年";
  }
  return note + std::to_string(date->month) + "月" + std::to_string(date->day) + "日" + name;
}

std::string NineNinesText(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules) {
  const DayNumber j = CheckedDay(year, month, day);
  if (j == InvalidDayNumber) return {};
  const DayNumber solstice = TermDayOnOrAfter(j - 90, kWinterSolstice, rules);
  const int k = j - solstice;
  if (k < 0 || k > 80) return {};
  const int n = k + 1;
  if (n % 9 == 0) return ChineseDigitName(n / 9) + "九第9天";
  return ChineseDigitName(n / 9 + 1) + "九第" + std::to_string(n % 9) + "天";
}

std::string DogDaysText(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules) {
  const DayNumber j = CheckedDay(year, month, day);
  if (j == InvalidDayNumber) return {};
  const DayNumber solstice = TermDayOnOrAfter(j - 90, kSummerSolstice, rules);
  const DayNumber autumn = TermDayOnOrAfter(solstice + 30, kAutumnBegins, rules);
  // 初伏 starts on the third 庚 day from the solstice (the solstice itself
  // counting), 中伏 ten days later, 末伏 on the first 庚 day from 立秋.
  const DayNumber c1 = FirstCycleDayOnOrAfter(solstice, 7, 10) + 20;
  const DayNumber c2 = c1 + 10;
  const DayNumber c3 = FirstCycleDayOnOrAfter(autumn, 7, 10);
  if (j >= c1 && j < c2) return "初伏第" + std::to_string(j - c1 + 1) + "天";
  if (j >= c2 && j < c3) return "中伏第" + std::to_string(j - c2 + 1) + "天";
  if (j >= c3 && j < c3 + 10) return "末伏第" + std::to_string(j - c3 + 1) + "天";
  return {};
}

std::string PlumRainText(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules) {
  const DayNumber j = CheckedDay(year, month, day);
  if (j == InvalidDayNumber) return {};
  const DayNumber grainInEar = TermDayOnOrAfter(j - 15, kGrainInEar, rules);
  const DayNumber lesserHeat = TermDayOnOrAfter(j - 15, kLesserHeat, rules);
  // 入梅 is the first 丙 day from 芒种, 出梅 the first 未 day from 小暑.
  if (j >= lesserHeat) return j == FirstCycleDayOnOrAfter(lesserHeat, 6, 12) ? "出梅" : "";
  if (j >= grainInEar) return j == FirstCycleDayOnOrAfter(grainInEar, 3, 10) ? "入梅" : "";
  return {};
}

}  // namespace tovani
