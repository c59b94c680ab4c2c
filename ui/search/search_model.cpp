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

constexpr const char* kConditionLabels[kConditionCount] = {"公历月", "公历日", "农历月", "农历日", "回历月", "回历日",
                                                           "干支年", "干支月", "干支日", "星期",   "节气",   "节日"};
constexpr const char* kWeekdays[7] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
constexpr const char* kRuleFestivals[4] = {"复活节", "母亲节", "父亲节", "感恩节"};
constexpr const char* kToday = "今日";

// The value of a digit field, saturating far beyond any year.
long long DigitsValue(const std::string& s) {
  long long v = 0;
  for (char c : s) {
    v = v * 10 + (c - '0');
    if (v > 1000000000LL) return 1000000000LL;
  }
  return v;
}

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
      for (const LunarMonth& b : buffer_) items_ += kLineBreak + std::string("    ") + YearPart(b.year) + MonthWithSpan(b, "→", rules_);
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

const char* PageCaption(int page) {
  return page == kMonths ? "查询条件月" : page == kDays ? "查询条件日" : "";
}

const char* StartLabel(int page) {
  return page == kMonths ? "起始农历年份" : page == kDays ? "起始公历年份" : "";
}

const char* MonthSearchLabel(MonthSearchKind kind) {
  switch (kind) {
    case MonthSearchKind::kLeapMonths: return "农历闰月";
    case MonthSearchKind::kThreeBig: return "三连大月";
    case MonthSearchKind::kThreeSmall: return "三连小月";
    case MonthSearchKind::kFourBig: return "四连大月";
  }
  return "";
}

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

Fields InitialFields(std::int32_t displayedYear) {
  Fields f;
  f.beforeEra = displayedYear <= 0;
  f.start = std::to_string(f.beforeEra ? 1 - static_cast<long long>(displayedYear) : displayedYear);
  return f;
}

std::optional<Request> ReadRequest(Fields& fields, int page, std::int32_t firstYear) {
  if (!AllCharsIn(fields.start, "0123456789")) fields.start.clear();
  if (!AllCharsIn(fields.range, "0123456789")) fields.range.clear();
  if (fields.start.empty()) return std::nullopt;
  const long long number = DigitsValue(fields.start);
  const long long start = fields.beforeEra ? 1 - number : number;
  if (start < firstYear || start > kLastYear) {
    fields.start.clear();
    return std::nullopt;
  }
  long long range = fields.range.empty() ? 0 : DigitsValue(fields.range);
  if (page == kDays && range > kMaxDayRange) {
    range = kMaxDayRange;
    fields.range = std::to_string(range);
  }
  if (start + range - 1 > kLastYear) {
    range = kLastYear - start + 1;
    fields.range = std::to_string(range);
  }
  if (range <= 0) return std::nullopt;
  return Request{static_cast<std::int32_t>(start), static_cast<int>(range)};
}

int ReadMonthRestriction(Fields& fields) {
  if (fields.month.empty()) return 0;
  if (AllCharsIn(fields.month, "0123456789") && fields.month.size() <= 2) {
    const int m = std::stoi(fields.month);
    if (m >= 1 && m <= 12 && fields.month[0] != '0') return m;
  }
  fields.month.clear();
  return 0;
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

SearchSession::~SearchSession() {
  RequestStop();
  Join();
}

void SearchSession::Open(int page) {
  if (page == kMonths) stop_ = false;
}

bool SearchSession::Press() {
  if (worker_.joinable() && !ended_) {
    stop_ = true;
    return false;
  }
  Join();
  return true;
}

void SearchSession::Start(std::unique_ptr<Search> search, std::function<void()> notify,
                          std::function<std::int64_t()> clockMs, int pauseAfterStepMs) {
  Join();
  stop_ = false;
  ended_ = false;
  {
    const std::lock_guard<std::mutex> hold(lock_);
    progress_.clear();
    result_.reset();
  }
  worker_ = std::thread([this, search = std::move(search), notify = std::move(notify), clockMs = std::move(clockMs),
                         pauseAfterStepMs] {
    bool more = true;
    while (more && !stop_) {
      more = search->Step();
      if (pauseAfterStepMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseAfterStepMs));
      const std::string progress =
          clockMs ? search->ProgressUpdate(clockMs(), kProgressIntervalMs) : search->ProgressUpdate();
      if (more && !progress.empty()) {
        bool first = false;
        {
          const std::lock_guard<std::mutex> hold(lock_);
          first = progress_.empty();  // else a notification is on its way
          progress_ = progress;
        }
        if (first && notify) notify();
      }
    }
    {
      const std::lock_guard<std::mutex> hold(lock_);
      if (!stop_) result_ = search->Result();
    }
    ended_ = true;
    if (notify) notify();
  });
}

SearchSession::News SearchSession::Collect() {
  News news;
  const std::lock_guard<std::mutex> hold(lock_);
  if (!stop_) news.progress = progress_;
  progress_.clear();
  news.ended = ended_;
  if (news.ended) {
    news.result = std::move(result_);
    result_.reset();
  }
  return news;
}

void SearchSession::Join() {
  if (worker_.joinable()) worker_.join();
  if (ended_) stop_ = false;  // the stopped search has taken the request
}

bool DayConditions::Any() const {
  for (int v : values) {
    if (v != 0) return true;
  }
  return !weekday.empty() || !solarTerm.empty() || !festival.empty();
}

const char* ConditionLabel(Condition c) { return c >= 0 && c < kConditionCount ? kConditionLabels[c] : ""; }

std::vector<std::string> ConditionItems(Condition c) {
  std::vector<std::string> items;
  const auto numbers = [&](int last, const char* unit) {
    for (int i = 1; i <= last; ++i) items.push_back(std::to_string(i) + unit);
  };
  switch (c) {
    case kGregorianMonth: numbers(12, "月"); break;
    case kGregorianDay: numbers(31, "日"); break;
    case kHijriMonth: numbers(12, "月"); break;
    case kHijriDay: numbers(30, "日"); break;
    case kLunarMonth:
      for (int m = 1; m <= 12; ++m) items.push_back(LunarMonthBaseName(m));
      for (int m = 1; m <= 12; ++m) items.push_back("闰" + LunarMonthBaseName(m));
      break;
    case kLunarDay:
      for (int d = 1; d <= 30; ++d) items.push_back(LunarDayName(d));
      break;
    case kCycleYear:
    case kCycleMonth:
    case kCycleDay: {
      const char* unit = c == kCycleYear ? "年" : c == kCycleMonth ? "月" : "日";
      for (int i = 1; i <= 60; ++i) items.push_back(CycleName(i) + unit);
      break;
    }
    case kWeekday: items.assign(std::begin(kWeekdays), std::end(kWeekdays)); break;
    case kSolarTerm:
      for (int k = 1; k <= 24; ++k) items.push_back(SolarTermName(k));
      break;
    case kFestival: items.assign(std::begin(kRuleFestivals), std::end(kRuleFestivals)); break;
    default: break;
  }
  return items;
}

DayConditions ConditionsFromSelections(const std::array<int, kConditionCount>& selections) {
  DayConditions c;
  for (int i = 0; i <= kCycleDay; ++i) {
    const int s = selections[i];
    c.values[i] = s > 0 && s <= static_cast<int>(ConditionItems(static_cast<Condition>(i)).size()) ? s : 0;
  }
  const auto text = [&](Condition which) -> std::string {
    const int s = selections[which];
    const auto items = ConditionItems(which);
    return s >= 1 && s <= static_cast<int>(items.size()) ? items[s - 1] : std::string();
  };
  c.weekday = text(kWeekday);
  c.solarTerm = text(kSolarTerm);
  c.festival = text(kFestival);
  return c;
}

}  // namespace tovani::search
