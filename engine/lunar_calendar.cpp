#include "engine/lunar_calendar.h"

#include <array>
#include <cmath>
#include <functional>
#include <mutex>
#include <vector>

#include "engine/date_text.h"
#include "engine/solar_terms.h"

namespace tovani {
namespace {

constexpr const char* kHexDigits = "0123456789ABC";

// The mean calendar of the early centuries: lunation L, a cycle of N months in
// P years, epoch year Y0 and epoch day E.
struct MeanCalendar {
  std::int32_t first, last;
  double lunation;
  double months, years;
  double epochYear, epochDay;
};

constexpr double kL590 = 5372209.0 / 181920;

constexpr MeanCalendar kMeanCalendars[] = {
    {-103, 84, 2392.0 / 81, 235, 19, -103 - 1.0 / 6, 1683431},
    {85, 237, 27759.0 / 940, 235, 19, -160 - 1.0 / 6, 1662611},
    {238, 444, 134630.0 / 4559, 235, 19, -3808 - 1.0 / 6, 330191},
    {445, 509, 22207.0 / 752, 235, 19, 212, 1798541},
    {510, 589, 116321.0 / 3939, 4836, 391, -51476 - 1.0 / 6, -17080189},
    {590, 596, kL590, 5306, 429, -4128416 - 1.0 / 6 - 1.0 / 12, -1506155749 - kL590},
    {597, 618, 33783.0 / 1144, 5071, 410, -1427036 - 1.0 / 6, -519493909},
    {645, 665, 384075.0 / 13006, 8361, 676, -163722 - 1.0 / 6, -58077529},
};

const MeanCalendar* MeanCalendarFor(std::int32_t year, CalendarRules rules) {
  if (rules.modern) return nullptr;
  for (const auto& c : kMeanCalendars) {
    if (year >= c.first && year <= c.last) return &c;
  }
  return nullptr;
}

// Leap kind and first day together, so a record asks the layout rule once.
struct YearStart {
  int leapKind;
  DayNumber newYear;
};

YearStart StartOf(std::int32_t year, CalendarRules rules) {
  if (const MeanCalendar* c = MeanCalendarFor(year, rules)) {
    const double x = c->months * (year - c->epochYear);
    const double r = std::floor(x - c->years * std::floor(x / c->years));
    const double leapThreshold = c->years - std::fmod(c->months, c->years);
    const double newYear = std::floor(c->epochDay + c->lunation * std::floor(x / c->years));
    return {r >= leapThreshold ? 1 : 0, static_cast<DayNumber>(newYear)};
  }
  const LunarYearLayout layout = YearLayout(year, rules);
  return {layout.leapKind, DateToDayNumber(year, layout.month, layout.day)};
}

char SizeDigit(DayNumber start, DayNumber next) { return next - start == 30 ? '1' : '0'; }

// A record read back: month sizes, leap month and its size, first day.
struct Record {
  std::array<int, 13> length{};  // lengths of months 1..12, and [0] of the leap month
  int leap = 0;
  int newYearMonth = 0, newYearDay = 0;
};

bool ParseRecord(const std::string& r, Record& out) {
  if (r.size() != 17) return false;
  for (int m = 1; m <= 12; ++m) out.length[m] = r[m - 1] == '1' ? 30 : 29;
  const char leap = r[12];
  out.leap = leap >= '0' && leap <= '9' ? leap - '0' : leap - 'A' + 10;
  out.length[0] = r[13] == '1' ? 30 : 29;
  out.newYearMonth = r[14] - '0';
  out.newYearDay = (r[15] - '0') * 10 + (r[16] - '0');
  return true;
}

bool RecordOf(std::int32_t year, CalendarRules rules, Record& out) {
  return ParseRecord(LunarYearRecordOf(year, rules), out);
}

// Months in year order: month code of each position.
int CodeAt(const Record& r, int position) {
  if (r.leap > 0) {
    if (position < 1 || position > 13) return 0;
    if (position <= r.leap) return position;
    if (position == r.leap + 1) return r.leap + 12;
    return position - 1;
  }
  return position >= 1 && position <= 12 ? position : 0;
}

int LengthOfCode(const Record& r, int code) { return code > 12 ? r.length[0] : r.length[code]; }

int MonthCount(const Record& r) { return r.leap > 0 ? 13 : 12; }

// The lunar-year caches, one for each rule set, shared by every thread
// under one lock.
struct Caches {
  std::mutex lock;
  std::array<std::vector<std::string>, 2> records;  // historical, modern
};

Caches& TheCaches() {
  static Caches caches;
  return caches;
}

std::vector<std::string>& RecordsOf(Caches& c, CalendarRules rules) {
  std::vector<std::string>& records = c.records[rules.modern ? 1 : 0];
  if (records.empty()) records.assign(kLastLunarYear - kFirstLunarYear + 1, std::string());
  return records;
}

}  // namespace

LunarYearLayout YearLayout(std::int32_t y, CalendarRules rules) {
  const DayNumber d0 = DateToDayNumber(y, 1, 1);
  if (d0 == InvalidDayNumber) return {0, 0, 0};
  const auto solstice = [rules](DayNumber from) {
    return TermDayOnOrAfter(from, 24, rules);
  };
  const DayNumber w0 = solstice(d0 - 180);
  const DayNumber w1 = solstice(w0 + 300);
  const DayNumber w2 = solstice(w1 + 300);
  const DayNumber m0 = MonthStartOnOrBefore(w0, Phase::kNew, rules);
  const DayNumber m1 = MonthStartOnOrBefore(w1, Phase::kNew, rules);
  const DayNumber m2 = MonthStartOnOrBefore(w2, Phase::kNew, rules);

  int kind = 0;
  DayNumber newYear;
  if (m1 - m0 < 360) {
    if (m2 - m1 >= 360) {
      const DayNumber a1 = NewMoonDay(m1 + 20, rules), a2 = NewMoonDay(a1 + 20, rules), a3 = NewMoonDay(a2 + 20, rules);
      kind = HasMajorTerm(a1, a2 - 1, rules) && HasMajorTerm(a2, a3 - 1, rules) ? 0 : 2;
    }
    newYear = NewMoonDay(m0 + 50, rules);
  } else {
    const DayNumber a1 = NewMoonDay(m0 + 20, rules), a2 = NewMoonDay(a1 + 20, rules), a3 = NewMoonDay(a2 + 20, rules);
    if (HasMajorTerm(a1, a2 - 1, rules) && HasMajorTerm(a2, a3 - 1, rules)) {
      kind = 1;
      newYear = a2;
    } else {
      newYear = a3;  // 闰十一月 or 闰十二月 of the year before
    }
  }
  const auto date = DayNumberToDate(newYear);
  return {kind, date ? date->month : 0, date ? date->day : 0};
}

int LeapKindOf(std::int32_t year, CalendarRules rules) { return StartOf(year, rules).leapKind; }
DayNumber NewYearDay(std::int32_t year, CalendarRules rules) { return StartOf(year, rules).newYear; }

std::string ComposeLunarYearRecord(int leapKind, int newYearMonth, int newYearDay,
                                   const std::array<DayNumber, 15>& a, const std::function<bool(int)>& hasMajorTerm) {
  std::string sizes;
  char leap = '0', leapSize = '0';
  if (leapKind == 2) {
    for (int k = 1; k <= 11; ++k) sizes += SizeDigit(a[k], a[k + 1]);
    if (hasMajorTerm(12)) {  // 十二月, then 闰十二月
      sizes += SizeDigit(a[12], a[13]);
      leap = 'C';
      leapSize = SizeDigit(a[13], a[14]);
    } else {  // 闰十一月, then 十二月
      leap = 'B';
      leapSize = SizeDigit(a[12], a[13]);
      sizes += SizeDigit(a[13], a[14]);
    }
  } else if (leapKind == 1) {
    // The leap month is the first month without a major term.  正月 cannot be
    // a leap month, and a year whose months all have one (possible only where
    // the mean cycle and the terms disagree) takes its thirteenth month as
    // 闰十二月: either way the record keeps twelve size digits and the year
    // its thirteen months, as the next year's first day expects.
    int leapAt = 0;
    for (int k = 2; k <= 13 && leapAt == 0; ++k) {
      if (!hasMajorTerm(k)) leapAt = k;
    }
    if (leapAt == 0) leapAt = 13;
    for (int k = 1; k <= 13; ++k) {
      if (k == leapAt) {
        leap = kHexDigits[k - 1];
        leapSize = SizeDigit(a[k], a[k + 1]);
      } else {
        sizes += SizeDigit(a[k], a[k + 1]);
      }
    }
  } else {
    for (int k = 1; k <= 12; ++k) sizes += SizeDigit(a[k], a[k + 1]);
  }
  const char datePart[4] = {static_cast<char>('0' + newYearMonth), static_cast<char>('0' + newYearDay / 10),
                            static_cast<char>('0' + newYearDay % 10), 0};
  return sizes + leap + leapSize + datePart;
}

std::string BuildLunarYearRecord(std::int32_t y, CalendarRules rules) {
  if (y < kFirstLunarYear || y > kLastLunarYear) return {};
  const YearStart start = StartOf(y, rules);
  const auto date = DayNumberToDate(start.newYear);
  if (!date) return {};
  // a[k]: the first day of the k-th month from 正月.
  std::array<DayNumber, 15> a{};
  a[1] = start.newYear;
  const int months = start.leapKind == 0 ? 12 : 13;
  for (int k = 2; k <= months + 1; ++k) a[k] = NewMoonDay(a[k - 1] + 20, rules);
  return ComposeLunarYearRecord(start.leapKind, date->month, date->day, a,
                                [&](int k) { return HasMajorTerm(a[k], a[k + 1] - 1, rules); });
}

std::string LunarYearRecordOf(std::int32_t y, CalendarRules rules) {
  if (y < kFirstLunarYear || y > kLastLunarYear) return {};
  Caches& c = TheCaches();
  {
    const std::lock_guard<std::mutex> hold(c.lock);
    const std::string& known = RecordsOf(c, rules)[y - kFirstLunarYear];
    if (!known.empty()) return known;
  }
  // Built outside the lock: two threads may build the same year, and keep
  // the same record.
  std::string record = BuildLunarYearRecord(y, rules);
  const std::lock_guard<std::mutex> hold(c.lock);
  RecordsOf(c, rules)[y - kFirstLunarYear] = record;
  return record;
}

void ClearLunarYearCache() {
  Caches& c = TheCaches();
  const std::lock_guard<std::mutex> hold(c.lock);
  for (auto& records : c.records) records.clear();
}

namespace {

// Month m of a parsed record exists and has day d.
bool HasDay(const Record& r, int m, int d) {
  if (m >= 1 && m <= 12) return d >= 1 && d <= r.length[m];
  if (m >= 13 && m <= 24) return r.leap != 0 && r.leap == m - 12 && d >= 1 && d <= r.length[0];
  return false;
}

}  // namespace

bool IsValidLunarDate(std::int32_t y, int m, int d, CalendarRules rules) {
  Record r;
  return RecordOf(y, rules, r) && HasDay(r, m, d);
}

int LunarMonthLength(std::int32_t y, int m, CalendarRules rules) {
  Record r;
  if (!RecordOf(y, rules, r) || !HasDay(r, m, 1)) return 0;
  return LengthOfCode(r, m);
}

int LunarYearLength(std::int32_t y, CalendarRules rules) {
  Record r;
  if (!RecordOf(y, rules, r)) return 0;
  int n = 0;
  for (int m = 1; m <= 12; ++m) n += r.length[m];
  if (r.leap != 0) n += r.length[0];
  return n;
}

int MonthCodeToOrdinal(std::int32_t y, int m, CalendarRules rules) {
  Record r;
  if (!RecordOf(y, rules, r) || !HasDay(r, m, 1)) return 0;
  if (r.leap > 0) {
    if (m > 12) return r.leap + 1;
    return m <= r.leap ? m : m + 1;
  }
  return m;
}

int OrdinalToMonthCode(std::int32_t y, int position, CalendarRules rules) {
  Record r;
  if (!RecordOf(y, rules, r)) return 0;
  return CodeAt(r, position);
}

int LunarDayOfYear(std::int32_t y, int m, int d, CalendarRules rules) {
  Record r;
  if (!RecordOf(y, rules, r) || !HasDay(r, m, d)) return 0;
  int n = 0;
  for (int p = 1; p <= MonthCount(r); ++p) {
    const int code = CodeAt(r, p);
    if (code == m) return n + d;
    n += LengthOfCode(r, code);
  }
  return 0;
}

namespace {

// Day n of a lunar year as a date; nothing when n is outside the year.
std::optional<LunarDate> DayOfLunarYear(std::int32_t y, int n, CalendarRules rules) {
  Record r;
  if (!RecordOf(y, rules, r) || n < 1) return std::nullopt;
  for (int p = 1; p <= MonthCount(r); ++p) {
    const int code = CodeAt(r, p);
    const int length = LengthOfCode(r, code);
    if (n <= length) {
      if (!IsValidLunarDate(y, code, n, rules)) return std::nullopt;
      return LunarDate{y, code > 12 ? code - 12 : code, code > 12, n};
    }
    n -= length;
  }
  return std::nullopt;
}

}  // namespace

std::string LunarDateText(const std::optional<LunarDate>& d) {
  return d ? CalendarDateText(d->year, d->code(), d->day) : std::string();
}

std::optional<LunarDate> LunarDateOf(std::int32_t y, std::int32_t m, std::int32_t d, CalendarRules rules) {
  if (y < -8999 || y > 9000 || !IsValidDate(y, m, d)) return std::nullopt;
  Record r;
  if (!RecordOf(y, rules, r)) return std::nullopt;
  std::int32_t lunarYear = y;
  if (100 * m + d < 100 * r.newYearMonth + r.newYearDay) {
    lunarYear = y - 1;
    if (!RecordOf(lunarYear, rules, r)) return std::nullopt;
  }
  const DayNumber first = DateToDayNumber(lunarYear, r.newYearMonth, r.newYearDay);
  if (first == InvalidDayNumber) return std::nullopt;
  return DayOfLunarYear(lunarYear, DateToDayNumber(y, m, d) - first + 1, rules);
}

std::optional<CivilDate> CivilDateOfLunar(std::int32_t y, int m, int d, CalendarRules rules) {
  Record r;
  if (y < -8999 || y > 9000 || !RecordOf(y, rules, r) || !HasDay(r, m, d)) return std::nullopt;
  const DayNumber first = DateToDayNumber(y, r.newYearMonth, r.newYearDay);
  if (first == InvalidDayNumber) return std::nullopt;
  return DayNumberToDate(first + LunarDayOfYear(y, m, d, rules) - 1);
}

std::string SolarToLunar(std::int32_t y, std::int32_t m, std::int32_t d, CalendarRules rules) {
  return LunarDateText(LunarDateOf(y, m, d, rules));
}

std::string LunarToSolar(std::int32_t y, int m, int d, CalendarRules rules) {
  const auto civil = CivilDateOfLunar(y, m, d, rules);
  return civil ? CalendarDateText(civil->year, civil->month, civil->day) : std::string();
}

}  // namespace tovani
