#include "engine/solar_terms.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <mutex>
#include <set>
#include <unordered_map>

#include "engine/astronomy.h"
#include "engine/historical_tables.h"

namespace tovani {
namespace {

constexpr std::array<const char*, 24> kTermNames = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

// One second before midnight, as a fraction of a day.
constexpr double kOneSecondBeforeMidnight = 0.000011574;

double Floor(double x) { return std::floor(x); }
DayNumber DayOf(double instant) { return static_cast<DayNumber>(std::floor(instant)); }

LocalInstant ToLocal(double jdUt) { return LocalInstantOf(jdUt); }

// The roots found so far, per motion and target.  The Sun's longitude and the
// Moon-Sun elongation only grow, so a search finds the first root after its
// start; and a root recurs no sooner than 29 days (elongation) or 360 days
// (longitude) after the last.  So a known root less than that after a start is
// the root a search from that start would find, and is answered without
// computing it again: neighbouring years ask for the same solstices, terms and
// new moons from different days, and each is computed once.
class RootCache {
 public:
  double Solve(double start, double target, Motion mode) {
    auto& roots = roots_[Key(target, mode)];
    const double recurrence = mode == Motion::kElongation ? 29.0 : 360.0;
    const auto it = roots.upper_bound(start);
    if (it != roots.end() && *it - start < recurrence) return *it;
    const double root = SolveLongitude(start, target, mode);
    if (!(root > start && root - start < recurrence)) return root;  // not the plain answer: keep nothing
    // The same event may be known from the other side (a start after it).
    const auto same = roots.lower_bound(root - kSameEvent);
    if (same != roots.end() && *same <= root + kSameEvent) return *same;
    if (++size_ > kMaxRoots) {
      roots_.clear();
      size_ = 0;
    }
    roots_[Key(target, mode)].insert(root);
    return root;
  }

  void Clear() {
    roots_.clear();
    size_ = 0;
  }

 private:
  static constexpr double kSameEvent = 1e-3;  // days
  static constexpr std::size_t kMaxRoots = 2000000;
  static int Key(double target, Motion mode) { return static_cast<int>(target) * 2 + static_cast<int>(mode); }
  std::unordered_map<int, std::set<double>> roots_;
  std::size_t size_ = 0;
};

RootCache& Roots() {
  static RootCache cache;
  return cache;
}
std::mutex& RootsLock() {
  static std::mutex lock;
  return lock;
}

double Solve(double start, double target, Motion mode) {
  const std::lock_guard<std::mutex> hold(RootsLock());
  return Roots().Solve(start, target, mode);
}

// The index of the term at a longitude that is a multiple of 15.
int IndexOfLongitude(double longitude) {
  int k = 6 + static_cast<int>(longitude / 15);
  if (k > 24) k -= 24;
  return k;
}

LocalInstant ApplyTermCorrection(LocalInstant x) {
  const double day = Floor(x);
  const int n = history::SolarTermCorrection(static_cast<DayNumber>(day));
  if (n > 0) return day + n;
  if (n < 0) return day + n + 1 - kOneSecondBeforeMidnight;
  return x;
}

LocalInstant ApplyNewMoonCorrection(LocalInstant x) {
  const double day = Floor(x);
  switch (history::NewMoonCorrection(static_cast<DayNumber>(day))) {
    case +1:
      return day + 1;
    case -1:
      return day - kOneSecondBeforeMidnight;
    default:
      return x;
  }
}

// The search shared by NextTermInstant and NextTermIndex: the instant, and the
// longitude of the term it ends on.
struct TermSearch {
  LocalInstant instant;
  double longitude;
};

TermSearch SearchNextTerm(DayNumber day, bool majorOnly, bool correct) {
  const double s = majorOnly ? 30 : 15;
  const double lambda = SunApparentLongitude(UtToTt(LocalMidnightJd(day)));
  double h = s * Floor(lambda / s);
  LocalInstant r = ToLocal(Solve(day - (majorOnly ? 40 : 20), h, Motion::kSun));
  if (correct) r = ApplyTermCorrection(r);
  for (int attempt = 2; attempt <= 3 && day > Floor(r); ++attempt) {
    h += s;
    if (h >= 360) h -= 360;
    r = ToLocal(Solve(r + (majorOnly ? 20 : 10), h, Motion::kSun));
    if (correct) r = ApplyTermCorrection(r);
  }
  return {r, h};
}

// The true new moon after the start, with the cut-off, the exemptions and the
// corrections of the historical calendars.
LocalInstant TrueNewMoonFrom(double startJdUt, double cutoff) {
  LocalInstant r = ToLocal(Solve(startJdUt, 0, Motion::kElongation));
  if (!history::IsNewMoonExemptDay(DayOf(r))) {
    if (cutoff > 0 && r - Floor(r) > cutoff) {
      r = Floor(r) + 1;  // the month begins on the next day
    } else {
      r = ApplyNewMoonCorrection(r);
    }
  }
  return r;
}

LocalInstant TrueNewMoonWithRules(DayNumber day, double cutoff) {
  const LocalInstant r = TrueNewMoonFrom(day - 10, cutoff);
  if (day <= Floor(r)) return r;
  return TrueNewMoonFrom(r + 20, cutoff);
}

// The mean-lunation rule: the first mean moon E + L*g on or after the day.
LocalInstant MeanMoon(DayNumber day, double lunation, double epoch) {
  const double g = Floor((day - epoch) / lunation);
  const double h = epoch + lunation * g;
  if (day <= Floor(h)) return h;
  return epoch + lunation * (g + 1);
}

const history::SolarTheory* TheoryFor(DayNumber day) {
  for (const auto& t : history::SolarTheories()) {
    if (day >= t.first && day <= t.last) return &t;
  }
  return nullptr;
}

const history::MeanTermPeriod* MeanTermPeriodFor(DayNumber day) {
  if (day < history::kMeanTermsFirstDay || day > history::kMeanTermsLastDay) return nullptr;
  for (const auto& p : history::MeanTermPeriods()) {
    if (day >= p.first && day <= p.last) return &p;
  }
  return nullptr;
}

// A request for one of the first four days of a historical range is answered
// as for the range's fifth day.
DayNumber RaiseToRangeStart(DayNumber day, DayNumber first) { return day < first + 4 ? first + 4 : day; }

// The mean-term rule; the accepted term's step count k (for its index).
struct MeanTerm {
  LocalInstant instant;
  double steps;
};

MeanTerm MeanTermOnOrAfter(DayNumber day, const history::MeanTermPeriod& p, bool majorOnly) {
  const double s = p.year / (majorOnly ? 12 : 24);
  const double k = Floor((day + 0.5 - p.epoch) / s);
  const LocalInstant t = ApplyTermCorrection(p.epoch + k * s);
  if (day <= Floor(t)) return {t, k};
  return {ApplyTermCorrection(p.epoch + (k + 1) * s), k + 1};
}

// The astronomical branch of the historical layer skips a few days at the
// edges of the historical ranges.
DayNumber AstronomicalTermDay(DayNumber day) {
  if (day == 1683430 || day == 1683431) return 1683429;
  if (day >= 2410264 && day <= 2410267) return 2410268;
  return day;
}

double PeriodSunLongitudeBy(double x, const history::SolarTheory& th) {
  const auto date = DayNumberToDate(DayOf(x));
  const int y = date ? date->year : th.epochYear;
  const double s = th.solsticeEpoch + th.tropicalYear * (y - th.epochYear);
  const double d = Floor(s) + 1;
  const double v = th.dailyMotion;
  const double m = (v * (x - d) + v * (d - s)) / 3600;
  const double perigee = th.perigee + th.perigeePerYear * (y - th.epochYear) + th.perigeePerDay * (x - d);
  const double g = NormalizeAngle(m - perigee, 180, 180);
  const bool middleHalf = g >= 90 && g < 270;
  double e;
  if (!th.ellipse) {
    const double gp = g < 90 ? g : g < 180 ? 180 - g : g < 270 ? g - 180 : 360 - g;
    const double sinG = std::sin(gp * Degree), cosG = std::cos(gp * Degree);
    e = std::atan(358416 * sinG / (middleHalf ? 10000000 + 179208 * cosG : 10000000 - 179208 * cosG)) / Degree;
  } else {
    const double gp = g < 180 ? g : 360 - g;
    const double u = (180 - gp) / 2;
    const double e1 = 2 * (u - std::atan(std::tan(u * Degree) * 19662000 / 20338000) / Degree);
    double e2 = std::fabs(gp - std::atan(std::tan(gp * Degree) * 10000000 / 9998571.85) / Degree);
    e2 -= 180 * Floor(e2 / 180);
    e = middleHalf ? e1 - e2 : e1 + e2;
  }
  const double l = g < 180 ? m + e : m - e;
  return NormalizeAngle(l + 270, 180, 180);
}

LocalInstant PeriodTermBy(DayNumber day, bool majorOnly, const history::SolarTheory& th) {
  return TermFromDailyLongitudes(day, majorOnly, [&](double x) { return PeriodSunLongitudeBy(x, th); });
}

}  // namespace

void ClearSolvedEventCache() {
  const std::lock_guard<std::mutex> hold(RootsLock());
  Roots().Clear();
}

std::string SolarTermName(int k) {
  if (k < 1 || k > 24) return {};
  return kTermNames[k - 1];
}

int SolarTermLongitude(int k) { return k >= 6 ? 15 * (k - 6) : 15 * (k - 6) + 360; }

// ---- Astronomical layer ----

double LongitudeGap(double jdUt, double target, Motion mode) {
  const double jdTt = UtToTt(jdUt);
  const double position = mode == Motion::kSun ? SunApparentLongitude(jdTt) : MoonMinusSunLongitude(jdTt);
  return NormalizeAngle(target - position, 180, 180);
}

double SolveLongitude(double x0, double target, Motion mode) {
  double x1 = x0 + (mode == Motion::kElongation ? 25 : 360);
  double f0 = LongitudeGap(x0, target, mode);
  double f1 = LongitudeGap(x1, target, mode);
  if (f1 > f0) f1 -= 360;
  double d = 1;
  double x2 = x1;
  for (int i = 0; i < 20; ++i) {
    if (100000 * std::fabs(x1 - x0) < 1e-10) break;
    const double q = (f1 - f0) / (x1 - x0);
    if (100000 * std::fabs(q) > 1e-10) d = q;
    x2 = x0 - f0 / d;
    double f2 = LongitudeGap(x2, target, mode);
    if (f2 > 180) f2 -= 360;
    if (std::fabs(f2) < 1e-10) break;
    x0 = x1;
    f0 = f1;
    x1 = x2;
    f1 = f2;
  }
  return x2;
}

LocalInstant NextTermInstant(DayNumber day, bool majorOnly, bool correct) {
  return SearchNextTerm(day, majorOnly, correct).instant;
}

int NextTermIndex(DayNumber day, bool correct) { return IndexOfLongitude(SearchNextTerm(day, false, correct).longitude); }

LocalInstant TermInstantOnOrAfter(DayNumber day, int k, bool correct) {
  if (k < 1) k = 1;
  if (k > 24) k = 24;
  const double target = SolarTermLongitude(k);
  LocalInstant r = ToLocal(Solve(LocalMidnightJd(day), target, Motion::kSun));
  if (correct) r = ApplyTermCorrection(r);
  if (day <= Floor(r)) return r;
  r = ToLocal(Solve(r + 300, target, Motion::kSun));
  if (correct) r = ApplyTermCorrection(r);
  return r;
}

LocalInstant TrueNewOrFullMoon(DayNumber day, Phase phase) {
  if (phase == Phase::kFull) return ToLocal(Solve(LocalMidnightJd(day), 180, Motion::kElongation));
  const LocalInstant r = ToLocal(Solve(day - 10, 0, Motion::kElongation));
  if (day <= Floor(r)) return r;
  return ToLocal(Solve(r + 20, 0, Motion::kElongation));
}

// ---- Historical layer ----

namespace {

int PeriodIndexAt(DayNumber raisedDay, const history::SolarTheory& th) {
  const double lambda0 = PeriodSunLongitudeBy(raisedDay, th);
  const double n = lambda0 / 15 == Floor(lambda0 / 15) ? lambda0 / 15 : Floor(lambda0 / 15) + 1;
  int index = 6 + static_cast<int>(n);
  if (index > 24) index -= 24;
  return index;
}

// The historical rule in force for a day: the instant of the next term and,
// when asked for all terms, its index.
TermAndIndex HistoricalTerm(DayNumber day, bool majorOnly, CalendarRules rules) {
  if (rules.modern) {
    const TermSearch s = SearchNextTerm(day, majorOnly, false);
    return {s.instant, IndexOfLongitude(s.longitude)};
  }
  if (const auto* p = MeanTermPeriodFor(day)) {
    const MeanTerm t = MeanTermOnOrAfter(RaiseToRangeStart(day, p->first), *p, majorOnly);
    const int r = static_cast<int>(t.steps - 24 * Floor(t.steps / 24));
    return {t.instant, r == 0 ? 24 : r};
  }
  if (const auto* th = TheoryFor(day)) {
    const DayNumber raised = RaiseToRangeStart(day, th->first);
    return {PeriodTermBy(raised, majorOnly, *th), PeriodIndexAt(raised, *th)};
  }
  const TermSearch s = SearchNextTerm(AstronomicalTermDay(day), majorOnly, true);
  return {s.instant, IndexOfLongitude(s.longitude)};
}

}  // namespace

TermAndIndex NextTermWithIndex(DayNumber day, CalendarRules rules) { return HistoricalTerm(day, false, rules); }
LocalInstant TermInstant(DayNumber day, bool majorOnly, CalendarRules rules) {
  return HistoricalTerm(day, majorOnly, rules).instant;
}
int TermIndex(DayNumber day, CalendarRules rules) { return HistoricalTerm(day, false, rules).index; }

LocalInstant TermDayOnOrAfter(DayNumber day, int k, CalendarRules rules) {
  if (rules.modern) return TermInstantOnOrAfter(day, k, false);
  LocalInstant t = TermInstantOnOrAfter(day, k, true);
  if (DayOf(t) >= 1683438 && DayOf(t) <= 2410263) {
    t = TermInstant(DayOf(t) - 5, false, rules);
    if (t < day) t = TermInstant(DayOf(t) + 360, false, rules);
  }
  return t;
}

bool HasMajorTerm(DayNumber first, DayNumber last, CalendarRules rules) {
  const DayNumber t = DayOf(TermInstant(first, true, rules));
  return first <= t && t <= last;
}

LocalInstant NewMoonInstant(DayNumber day, CalendarRules rules) {
  if (rules.modern) return TrueNewOrFullMoon(day, Phase::kNew);
  for (const auto& p : history::MeanMoonPeriods()) {
    if (day >= p.first && day <= p.last) return MeanMoon(day == p.first ? day + 1 : day, p.lunation, p.epoch);
  }
  for (const auto& p : history::LateMoonPeriods()) {
    if (day >= p.first && day <= p.last) return TrueNewMoonWithRules(day == p.first ? day + 1 : day, p.cutoff);
  }
  if (day == 1683461) {
    day -= 1;
  } else if (day == 1947139 || day == 1963942) {
    day += 1;
  }
  return TrueNewMoonWithRules(day, 0);
}

LocalInstant FullMoonInstant(DayNumber day, CalendarRules rules) {
  if (rules.modern) return TrueNewOrFullMoon(day, Phase::kFull);
  for (const auto& p : history::MeanMoonPeriods()) {
    if (day >= p.fullFirst && day <= p.fullLast) {
      return MeanMoon(day == p.fullFirst ? day + 1 : day, p.lunation, p.epoch + p.lunation / 2);
    }
  }
  if (day == 1947154 || day == 1963957) day += 1;
  return TrueNewOrFullMoon(day, Phase::kFull);
}

DayNumber NewMoonDay(DayNumber day, CalendarRules rules) { return DayOf(NewMoonInstant(day, rules)); }
DayNumber FullMoonDay(DayNumber day, CalendarRules rules) { return DayOf(FullMoonInstant(day, rules)); }

DayNumber MonthStartOnOrBefore(DayNumber day, Phase phase, CalendarRules rules) {
  const auto moonDay = phase == Phase::kNew ? NewMoonDay : FullMoonDay;
  const DayNumber m = moonDay(day - 10, rules);
  return day < m ? moonDay(m - 40, rules) : m;
}

int TermInForce(std::int32_t y, std::int32_t m, std::int32_t d, CalendarRules rules) {
  if (!IsValidDate(y, m, d)) return 0;
  const DayNumber j = DateToDayNumber(y, m, d);
  const int i = TermIndex(j, rules);
  if (DayOf(TermInstant(j, false, rules)) > j) return i == 1 ? 24 : i - 1;
  return i;
}

int TermCountInYear(std::int32_t y, CalendarRules rules) {
  if (y < -9998 || y > 9999) return 0;
  const int first = TermIndex(DateToDayNumber(y, 1, 1), rules);
  int last = TermIndex(DateToDayNumber(y, 12, 31) + 1, rules) - 1;
  if (last == 0) last = 24;
  int n = last - first + 1;
  if (n <= 2) n += 24;
  return n;
}

int NewMoonCountInYear(std::int32_t y, CalendarRules rules) {
  if (y < -9998 || y > 9999) return 0;
  return static_cast<int>(Floor(
      (NewMoonInstant(DateToDayNumber(y, 12, 31) + 1, rules) - NewMoonInstant(DateToDayNumber(y, 1, 1), rules)) / 29));
}

int FullMoonCountInYear(std::int32_t y, CalendarRules rules) {
  if (y < -9998 || y > 9999) return 0;
  return static_cast<int>(Floor(
      (FullMoonInstant(DateToDayNumber(y, 12, 31) + 1, rules) - FullMoonInstant(DateToDayNumber(y, 1, 1), rules)) / 29));
}

LocalInstant TermFromDailyLongitudes(DayNumber day, bool majorOnly, const std::function<double(double)>& longitude) {
  const double lambda0 = longitude(day);
  const double s = majorOnly ? 30 : 15;
  if (s * Floor(lambda0 / s) == lambda0) return day;
  const double target = s * (Floor(lambda0 / s) + 1);
  double d = day + 20;
  for (DayNumber c = day; c <= day + 20; ++c) {
    const double here = longitude(c), next = longitude(c + 1.0);
    if (target == 360) {
      if (here == 0) return c;
      if (next < 2) {
        d = c;
        break;
      }
    } else if (here <= target && next > target) {
      if (here == target) return c;
      d = c;
      break;
    }
  }
  const double here = longitude(d), next = longitude(d + 1);
  if (target == 360) return d + (360 - here) / (360 + next - here);
  return d + (target - here) / (next - here);
}

double PeriodSunLongitude(double x, DayNumber periodDay) {
  const auto* th = TheoryFor(periodDay);
  return th != nullptr ? PeriodSunLongitudeBy(x, *th) : 0;
}

LocalInstant PeriodTermInstant(DayNumber day, bool majorOnly, CalendarRules rules) {
  const auto* th = TheoryFor(day);
  if (th == nullptr) return TermInstant(day, majorOnly, rules);
  return PeriodTermBy(RaiseToRangeStart(day, th->first), majorOnly, *th);
}

int PeriodTermIndex(DayNumber day, CalendarRules rules) {
  const auto* th = TheoryFor(day);
  if (th == nullptr) return TermIndex(day, rules);
  return PeriodIndexAt(RaiseToRangeStart(day, th->first), *th);
}

}  // namespace tovani
