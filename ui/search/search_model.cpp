// The search window's searches: the leap months and the runs of big or small
// months (a lunar year a step), and the days that meet the conditions (a day
// a step), each making its result text as it goes, and their progress texts.
#include "ui/search/search_model.h"

#include <cstdio>
#include <vector>

#include "engine/date_text.h"
#include "engine/dates.h"
#include "engine/festivals.h"
#include "engine/hijri.h"
#include "engine/lunar_calendar.h"
#include "engine/sexagenary.h"
#include "engine/solar_terms.h"

namespace tovani::search {
namespace {

constexpr const char* kToday = "今日";

// "AD2023" or "BC0104": the year part of an item.
std::string YearPart(std::int32_t year) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%s%04d", year >= 1 ? "AD" : "BC", year >= 1 ? year : 1 - year);
  return buf;
}

// The header alone when nothing was found; else the header, a line break and
// the items (each beginning with its own line break).
std::string Report(const std::string& header, int count, const std::string& items) {
  return count == 0 ? header : header + kLineBreak + items;
}

std::string Percent(double p, int decimals) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, p);
  return buf;
}

// A month of a lunar year with its size and Gregorian span.
struct LunarMonth {
  std::int32_t year;
  int code, length;
};

std::vector<LunarMonth> MonthsOf(std::int32_t year, CalendarRules rules) {
  std::vector<LunarMonth> months;
  for (int p = 1; p <= 13; ++p) {
    const int code = OrdinalToMonthCode(year, p, rules);
    if (code == 0) break;
    months.push_back({year, code, LunarMonthLength(year, code, rules)});
  }
  return months;
}

// "闰二月小    AD03-22-2023 ～ AD04-19-2023" without the year part.
std::string MonthWithSpan(const LunarMonth& m, const char* separator, CalendarRules rules) {
  return LunarMonthName(m.code, MonthSizeOf(m.length)) + separator + LunarToSolar(m.year, m.code, 1, rules) + " ～ " +
         LunarToSolar(m.year, m.code, m.length, rules);
}

// The years start .. start + years - 1, a year a step.
class YearSearch : public Search {
 public:
  YearSearch(std::int32_t start, int years, CalendarRules rules)
      : rules_(rules), start_(start), years_(years), next_(start) {}
  bool Step() final {
    if (next_ >= start_ + years_) return false;
    Visit(next_++);
    return next_ < start_ + years_;
  }

 protected:
  virtual void Visit(std::int32_t year) = 0;
  std::string Progress() const final {
    return Percent(100.0 * (next_ - 1 - start_) / years_, 1);
  }
  const CalendarRules rules_;  // kept for the whole search

 private:
  const std::int32_t start_;
  const int years_;
  std::int32_t next_;
};

class LeapMonthSearch final : public YearSearch {
 public:
  LeapMonthSearch(std::int32_t start, int years, int month, CalendarRules rules)
      : YearSearch(start, years, rules), month_(month) {}
  std::string Result() const override {
    std::string header = "    共找到 " + std::to_string(count_) + " 个农历闰";
    header += month_ != 0 ? LunarMonthBaseName(month_) : "月";
    return Report(header, count_, items_);
  }

 private:
  void Visit(std::int32_t year) override {
    for (const LunarMonth& m : MonthsOf(year, rules_)) {
      if (m.code <= 12 || (month_ != 0 && m.code - 12 != month_)) continue;
      ++count_;
      items_ += kLineBreak + YearPart(year) + MonthWithSpan(m, "    ", rules_);
    }
  }
  const int month_;
  int count_ = 0;
  std::string items_;
};

class RunSearch final : public YearSearch {
 public:
  RunSearch(std::int32_t start, int years, RunKind kind, CalendarRules rules)
      : YearSearch(start, years, rules),
        length_(kind == RunKind::kThreeSmall ? 29 : 30),
        slots_(kind == RunKind::kFourBig ? 4 : 3),
        name_(kind == RunKind::kFourBig ? "组四连大月" : kind == RunKind::kThreeBig ? "组三连大月" : "组三连小月") {}
  std::string Result() const override {
    return Report("    共找到 " + std::to_string(count_) + " " + name_, count_, items_);
  }

 private:
  void Visit(std::int32_t year) override {
    for (const LunarMonth& m : MonthsOf(year, rules_)) {
      if (m.length != length_) {
        buffer_.clear();
        continue;
      }
      buffer_.push_back(m);
      if (static_cast<int>(buffer_.size()) < slots_) continue;
      // A full buffer is one run; the next run starts afresh, so runs never overlap.
      ++count_;
      items_ += std::string(kLineBreak) + kLineBreak + "第" + std::to_string(count_) + name_ + "：";
      for (const LunarMonth& b : buffer_) {
        items_ += kLineBreak + std::string("    ") + YearPart(b.year) + MonthWithSpan(b, "→", rules_);
      }
      buffer_.clear();
    }
  }
  const int length_, slots_;
  const std::string name_;  // "组三连大月" and the like
  std::vector<LunarMonth> buffer_;
  int count_ = 0;
  std::string items_;
};

class ConditionDaySearch final : public Search {
 public:
  ConditionDaySearch(std::int32_t start, int years, const DayConditions& c, YearStart yearStart, CalendarRules rules)
      : rules_(rules),
        first_(DateToDayNumber(start, 1, 1)),
        last_(DateToDayNumber(start + years - 1, 12, 31)),
        next_(first_),
        c_(c),
        yearStart_(yearStart) {}

  bool Step() override {
    if (next_ > last_ || !c_.Any()) return false;
    Visit(next_++);
    return next_ <= last_;
  }

  std::string Result() const override {
    return Report("    共找到 " + std::to_string(count_) + " 个条件日", count_, items_);
  }

 private:
  std::string Progress() const override {
    const double span = last_ > first_ ? static_cast<double>(last_ - first_) : 1.0;
    return Percent(100.0 * (next_ - 1 - first_) / span, 2);
  }

  // The conditions are tested cheapest first and the day is dropped at the
  // first that fails; a match collects everything for its report.
  void Visit(DayNumber z) {
    const CivilDate g = *DayNumberToDate(z);
    const auto& v = c_.values;
    if (v[kGregorianMonth] != 0 && g.month != v[kGregorianMonth]) return;
    if (v[kGregorianDay] != 0 && g.day != v[kGregorianDay]) return;
    if (v[kCycleDay] != 0 && DayCycleIndex(g.year, g.month, g.day) != v[kCycleDay]) return;
    const std::string weekday = WeekdayName(g.year, g.month, g.day);
    if (!c_.weekday.empty() && weekday != c_.weekday) return;
    const auto hijri = HijriDateOf(g.year, g.month, g.day);
    if (v[kHijriMonth] != 0 && (!hijri || hijri->month != v[kHijriMonth])) return;
    if (v[kHijriDay] != 0 && (!hijri || hijri->day != v[kHijriDay])) return;
    const auto lunar = LunarDateOf(g.year, g.month, g.day, rules_);
    if (v[kLunarMonth] != 0 && (!lunar || lunar->code() != v[kLunarMonth])) return;
    if (v[kLunarDay] != 0 && (!lunar || lunar->day != v[kLunarDay])) return;
    if (v[kCycleYear] != 0 && YearCycleIndex(g.year, g.month, g.day, yearStart_, rules_) != v[kCycleYear]) return;
    if (v[kCycleMonth] != 0 && MonthCycleIndex(g.year, g.month, g.day, yearStart_, rules_) != v[kCycleMonth]) return;
    const std::string note = NextSolarTermNote(g.year, g.month, g.day, rules_);
    const bool termDay = note.compare(0, std::string(kToday).size(), kToday) == 0;
    if (!c_.solarTerm.empty() && note.find(kToday + c_.solarTerm) == std::string::npos) return;
    const std::string festival = GregorianFestivalText(g.year, g.month, g.day, FestivalList::kFull);
    if (!c_.festival.empty() && festival.find(c_.festival) == std::string::npos) return;

    ++count_;
    items_ += std::string(kLineBreak) + kLineBreak + "第" + std::to_string(count_) + "个条件日：";
    items_ += std::string(kLineBreak) + "    对应公历→" + DateText(z);
    items_ += std::string(kLineBreak) + "    对应农历→" + LunarDateText(lunar);
    items_ += std::string(kLineBreak) + "    对应回历→" + HijriDateText(g.year, g.month, g.day);
    items_ += std::string(kLineBreak) + "    对应星期→" + weekday;
    items_ += std::string(kLineBreak) + "    对应干支→" + SexagenaryText(g.year, g.month, g.day, yearStart_, rules_);
    if (termDay) items_ += std::string(kLineBreak) + "    对应节气→" + note.substr(std::string(kToday).size());
    if (!festival.empty()) items_ += std::string(kLineBreak) + "    对应节日→" + festival;
  }

  const CalendarRules rules_;  // kept for the whole search
  const DayNumber first_, last_;
  DayNumber next_;
  const DayConditions c_;
  const YearStart yearStart_;
  int count_ = 0;
  std::string items_;
};

}  // namespace

std::unique_ptr<Search> MakeMonthSearch(MonthSearchKind kind, const Request& request, int monthRestriction,
                                        CalendarRules rules) {
  switch (kind) {
    case MonthSearchKind::kLeapMonths:
      return MakeLeapMonthSearch(request.start, request.years, monthRestriction, rules);
    case MonthSearchKind::kThreeBig: return MakeRunSearch(request.start, request.years, RunKind::kThreeBig, rules);
    case MonthSearchKind::kThreeSmall: return MakeRunSearch(request.start, request.years, RunKind::kThreeSmall, rules);
    case MonthSearchKind::kFourBig: return MakeRunSearch(request.start, request.years, RunKind::kFourBig, rules);
  }
  return nullptr;
}

std::string Search::ProgressUpdate(std::int64_t nowMs, std::int64_t minIntervalMs) {
  if (!shownAt_) shownAt_ = nowMs;  // the interval before the first text starts here
  std::string p = Progress();
  if (p == shown_ || nowMs - *shownAt_ < minIntervalMs) return {};
  shown_ = p;
  shownAt_ = nowMs;
  return "    正在查询，已完成 " + p + "%...";
}

std::unique_ptr<Search> MakeLeapMonthSearch(std::int32_t start, int years, int monthRestriction, CalendarRules rules) {
  return std::make_unique<LeapMonthSearch>(start, years, monthRestriction, rules);
}

std::unique_ptr<Search> MakeRunSearch(std::int32_t start, int years, RunKind kind, CalendarRules rules) {
  return std::make_unique<RunSearch>(start, years, kind, rules);
}

std::unique_ptr<Search> MakeConditionDaySearch(std::int32_t start, int years, const DayConditions& conditions,
                                               YearStart yearStart, CalendarRules rules) {
  return std::make_unique<ConditionDaySearch>(start, years, conditions, yearStart, rules);
}

}  // namespace tovani::search
