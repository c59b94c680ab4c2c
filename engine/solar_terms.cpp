#include "engine/solar_terms.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <mutex>
#include <optional>
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

// The gap from the approximate, the rough or the whole series' longitudes.
enum class Series { kApproximate, kRough, kWhole };

double Gap(double jdUt, double target, Motion mode, Series series) {
  const double jdTt = UtToTt(jdUt);
  const bool sun = mode == Motion::kSun;
  double position;
  switch (series) {
    case Series::kApproximate:
      position = sun ? ApproximateSunApparentLongitude(jdTt) : ApproximateMoonMinusSunLongitude(jdTt);
      break;
    case Series::kRough:
      position = sun ? RoughSunApparentLongitude(jdTt) : RoughMoonMinusSunLongitude(jdTt);
      break;
    default:
      position = sun ? SunApparentLongitude(jdTt) : MoonMinusSunLongitude(jdTt);
      break;
  }
  return NormalizeAngle(target - position, 180, 180);
}

// Within 2500 years of J2000 the approximate longitudes are within this of
// the whole series', in degrees (measured: 0.041 at most), the rough ones
// within kRoughError (measured: 0.0017); further away their errors grow with
// the cube of the time, and the solver takes nothing from their bounds.
constexpr double kApproximateError = 0.1;
constexpr double kRoughError = 0.01;
bool WithinRoughBounds(double jdUt) { return std::fabs(jdUt - J2000) < 2500 * 365.25; }
// A gap is below this, in degrees, at a root.
constexpr double kRootGap = 1e-10;

// A gap near a root, taken within half a turn either way.
double Near(double gap) { return gap > 180 ? gap - 360 : gap; }

struct SecantPoint {
  double x, gap, slope;
};

// Secant steps on one series' gap from (x0, f0) and x1 until a gap is below
// `close` degrees: the last point, its gap and the last slope.
SecantPoint Approach(double target, Motion mode, Series series, double x0, double f0, double x1, double slope,
                     double close) {
  for (int i = 0; i < 20; ++i) {
    const double f1 = Near(Gap(x1, target, mode, series));
    if (x1 != x0) {
      const double q = (f1 - f0) / (x1 - x0);
      if (std::fabs(q) > 1e-15) slope = q;
    }
    x0 = x1;
    f0 = f1;
    if (std::fabs(f1) < close) break;
    x1 -= f1 / slope;
  }
  return {x0, f0, slope};
}

// The root on the rough longitudes, the first after the start: the gap
// there, in [0, 360), closed at the mean rate is the first guess, refined on
// the approximate longitudes and then on the rough ones.
SecantPoint RoughRoot(double x0, double target, Motion mode) {
  const double meanRate = mode == Motion::kElongation ? 360 / 29.530589 : 360 / 365.242189;
  double f0 = Gap(x0, target, mode, Series::kApproximate);
  // Near a root the whole series says whether it comes before or after the start.
  if (f0 < kApproximateError || f0 > 360 - kApproximateError || !WithinRoughBounds(x0)) {
    f0 = LongitudeGap(x0, target, mode);
  }
  const SecantPoint p =
      Approach(target, mode, Series::kApproximate, x0, f0, x0 + f0 / meanRate, -meanRate, kApproximateError / 10);
  return Approach(target, mode, Series::kRough, p.x, 0, p.x, p.slope, kRoughError / 100);
}

// The root on the whole series from the rough one and its slope: usually two
// evaluations of the whole series.
double WholeRoot(SecantPoint p, double target, Motion mode) {
  double slope = p.slope, x0 = p.x;
  double f0 = Near(LongitudeGap(x0, target, mode));
  if (std::fabs(f0) < kRootGap) return x0;
  double x1 = x0 - f0 / slope;
  for (int i = 0; i < 20; ++i) {
    const double f1 = Near(LongitudeGap(x1, target, mode));
    if (std::fabs(f1) < kRootGap || x1 == x0) break;
    const double q = (f1 - f0) / (x1 - x0);
    if (std::fabs(q) > 1e-15) slope = q;
    const double x2 = x1 - f1 / slope;
    // From gaps this close the secant step's error, of the order of their
    // product times the change of the rate, is below a root's gap.
    if (std::fabs(f0) < 1e-2 && std::fabs(f0 * f1) < 1e-8) return x2;
    x0 = x1;
    f0 = f1;
    x1 = x2;
  }
  return x1;
}

// A rough root is this close to the true one, in days: the rough longitudes'
// error bound over the slowest motion (elongation 10.8 degrees a day at the
// least, the Sun 0.95).
double RoughRootError(Motion mode) { return kRoughError / (mode == Motion::kElongation ? 10 : 0.9); }

// How well an event is wanted: its instant, or only its local date.  Most
// of the calendar needs only dates, and a rough root more than its error
// bound from a local midnight gives the date for a fraction of the work.
enum class Precision { kInstant, kDay };

// The roots found so far, per motion and target.  The Sun's longitude and the
// Moon-Sun elongation only grow, so a search finds the first root after its
// start; and a root recurs no sooner than 29 days (elongation) or 360 days
// (longitude) after the last.  So a known root less than that after a start is
// the root a search from that start would find, and is answered without
// computing it again: neighbouring years ask for the same solstices, terms and
// new moons from different days, and each is computed once.  The rough roots
// are kept apart, and a start within a rough root's error bound of it is
// never answered from it.
class RootCache {
 public:
  explicit RootCache(bool rough) : rough_(rough) {}

  std::optional<double> Find(double start, double target, Motion mode) const {
    const auto roots = roots_.find(Key(target, mode));
    if (roots == roots_.end()) return std::nullopt;
    const double fuzz = Fuzz(mode);
    const auto it = roots->second.upper_bound(start - fuzz);
    if (it == roots->second.end() || *it - start <= fuzz || *it - start >= Recurrence(mode) - fuzz) {
      return std::nullopt;
    }
    return *it;
  }

  // Keeps the root a search from the start found, unless it is not the plain
  // answer; the answer to give for it (the same event known from the other
  // side, a start after it, is answered as known).
  double Keep(double start, double root, double target, Motion mode) {
    const double fuzz = Fuzz(mode);
    if (!(root - start > fuzz && root - start < Recurrence(mode) - fuzz)) return root;
    auto& roots = roots_[Key(target, mode)];
    const auto same = roots.lower_bound(root - kSameEvent - fuzz);
    if (same != roots.end() && *same <= root + kSameEvent + fuzz) return *same;
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
  static double Recurrence(Motion mode) { return mode == Motion::kElongation ? 29.0 : 360.0; }
  double Fuzz(Motion mode) const { return rough_ ? RoughRootError(mode) : 0; }
  bool rough_;
  std::unordered_map<int, std::set<double>> roots_;
  std::size_t size_ = 0;
};

RootCache& Roots(Precision precision) {
  static RootCache exact(false), rough(true);
  return precision == Precision::kInstant ? exact : rough;
}
std::mutex& RootsLock() {
  static std::mutex lock;
  return lock;
}

// A rough root at least its error bound from a local midnight: its date is the true root's.
bool DateIsCertain(double roughRoot, Motion mode) {
  const LocalInstant local = ToLocal(roughRoot);
  const double time = local - Floor(local);
  return time > RoughRootError(mode) && time < 1 - RoughRootError(mode);
}

// The root a search from the start finds: exact, or for kDay possibly a rough
// root whose date is certain.
double Solve(double start, double target, Motion mode, Precision precision = Precision::kInstant) {
  const std::lock_guard<std::mutex> hold(RootsLock());
  RootCache& exact = Roots(Precision::kInstant);
  if (const auto known = exact.Find(start, target, mode)) return *known;
  if (precision == Precision::kDay && WithinRoughBounds(start)) {
    RootCache& rough = Roots(Precision::kDay);
    if (const auto known = rough.Find(start, target, mode)) return *known;
    const SecantPoint p = RoughRoot(start, target, mode);
    if (DateIsCertain(p.x, mode)) return rough.Keep(start, p.x, target, mode);
    return exact.Keep(start, WholeRoot(p, target, mode), target, mode);
  }
  return exact.Keep(start, SolveLongitude(start, target, mode), target, mode);
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

// The Sun's longitude at the start of a day, as far as the step it is in:
// the rough one unless it is near a step's end.
double StepOfSunAt(DayNumber day, double step) {
  const double jdUt = LocalMidnightJd(day), jdTt = UtToTt(jdUt);
  double lambda = RoughSunApparentLongitude(jdTt);
  const double into = lambda - step * Floor(lambda / step);
  if (into < kRoughError || into > step - kRoughError || !WithinRoughBounds(jdUt)) lambda = SunApparentLongitude(jdTt);
  return step * Floor(lambda / step);
}

TermSearch SearchNextTerm(DayNumber day, bool majorOnly, bool correct, Precision precision) {
  const double s = majorOnly ? 30 : 15;
  double h = StepOfSunAt(day, s);
  LocalInstant r = ToLocal(Solve(day - (majorOnly ? 40 : 20), h, Motion::kSun, precision));
  if (correct) r = ApplyTermCorrection(r);
  for (int attempt = 2; attempt <= 3 && day > Floor(r); ++attempt) {
    h += s;
    if (h >= 360) h -= 360;
    r = ToLocal(Solve(r + (majorOnly ? 20 : 10), h, Motion::kSun, precision));
    if (correct) r = ApplyTermCorrection(r);
  }
  return {r, h};
}

// The true new moon after the start, with the cut-off, the exemptions and the
// corrections of the historical calendars.  A cut-off needs the instant.
LocalInstant TrueNewMoonFrom(double startJdUt, double cutoff, Precision precision) {
  LocalInstant r = ToLocal(Solve(startJdUt, 0, Motion::kElongation, cutoff > 0 ? Precision::kInstant : precision));
  if (!history::IsNewMoonExemptDay(DayOf(r))) {
    if (cutoff > 0 && r - Floor(r) > cutoff) {
      r = Floor(r) + 1;  // the month begins on the next day
    } else {
      r = ApplyNewMoonCorrection(r);
    }
  }
  return r;
}

LocalInstant TrueNewMoonWithRules(DayNumber day, double cutoff, Precision precision) {
  const LocalInstant r = TrueNewMoonFrom(day - 10, cutoff, precision);
  if (day <= Floor(r)) return r;
  return TrueNewMoonFrom(r + 20, cutoff, precision);
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

LocalInstant TermOnOrAfter(DayNumber day, int k, bool correct, Precision precision) {
  if (k < 1) k = 1;
  if (k > 24) k = 24;
  const double target = SolarTermLongitude(k);
  LocalInstant r = ToLocal(Solve(LocalMidnightJd(day), target, Motion::kSun, precision));
  if (correct) r = ApplyTermCorrection(r);
  if (day <= Floor(r)) return r;
  r = ToLocal(Solve(r + 300, target, Motion::kSun, precision));
  if (correct) r = ApplyTermCorrection(r);
  return r;
}

LocalInstant TrueMoon(DayNumber day, Phase phase, Precision precision) {
  if (phase == Phase::kFull) return ToLocal(Solve(LocalMidnightJd(day), 180, Motion::kElongation, precision));
  const LocalInstant r = ToLocal(Solve(day - 10, 0, Motion::kElongation, precision));
  if (day <= Floor(r)) return r;
  return ToLocal(Solve(r + 20, 0, Motion::kElongation, precision));
}

}  // namespace

void ClearSolvedEventCache() {
  const std::lock_guard<std::mutex> hold(RootsLock());
  Roots(Precision::kInstant).Clear();
  Roots(Precision::kDay).Clear();
}

std::string SolarTermName(int k) {
  if (k < 1 || k > 24) return {};
  return kTermNames[k - 1];
}

int SolarTermLongitude(int k) { return k >= 6 ? 15 * (k - 6) : 15 * (k - 6) + 360; }

// ---- Astronomical layer ----

double LongitudeGap(double jdUt, double target, Motion mode) { return Gap(jdUt, target, mode, Series::kWhole); }

// The rough root first, then the whole series from there.
double SolveLongitude(double x0, double target, Motion mode) {
  return WholeRoot(RoughRoot(x0, target, mode), target, mode);
}

LocalInstant NextTermInstant(DayNumber day, bool majorOnly, bool correct) {
  return SearchNextTerm(day, majorOnly, correct, Precision::kInstant).instant;
}

int NextTermIndex(DayNumber day, bool correct) {
  return IndexOfLongitude(SearchNextTerm(day, false, correct, Precision::kDay).longitude);
}

LocalInstant TermInstantOnOrAfter(DayNumber day, int k, bool correct) {
  return TermOnOrAfter(day, k, correct, Precision::kInstant);
}

LocalInstant TrueNewOrFullMoon(DayNumber day, Phase phase) { return TrueMoon(day, phase, Precision::kInstant); }

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
TermAndIndex HistoricalTerm(DayNumber day, bool majorOnly, CalendarRules rules, Precision precision) {
  if (rules.modern) {
    const TermSearch s = SearchNextTerm(day, majorOnly, false, precision);
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
  const TermSearch s = SearchNextTerm(AstronomicalTermDay(day), majorOnly, true, precision);
  return {s.instant, IndexOfLongitude(s.longitude)};
}

LocalInstant TermByRules(DayNumber day, int k, CalendarRules rules, Precision precision) {
  if (rules.modern) return TermOnOrAfter(day, k, false, precision);
  LocalInstant t = TermOnOrAfter(day, k, true, precision);
  if (DayOf(t) >= 1683438 && DayOf(t) <= 2410263) {
    t = HistoricalTerm(DayOf(t) - 5, false, rules, precision).instant;
    if (t < day) t = HistoricalTerm(DayOf(t) + 360, false, rules, precision).instant;
  }
  return t;
}

LocalInstant NewMoonByRules(DayNumber day, CalendarRules rules, Precision precision) {
  if (rules.modern) return TrueMoon(day, Phase::kNew, precision);
  for (const auto& p : history::MeanMoonPeriods()) {
    if (day >= p.first && day <= p.last) return MeanMoon(day == p.first ? day + 1 : day, p.lunation, p.epoch);
  }
  for (const auto& p : history::LateMoonPeriods()) {
    if (day >= p.first && day <= p.last) return TrueNewMoonWithRules(day == p.first ? day + 1 : day, p.cutoff, precision);
  }
  if (day == 1683461) {
    day -= 1;
  } else if (day == 1947139 || day == 1963942) {
    day += 1;
  }
  return TrueNewMoonWithRules(day, 0, precision);
}

LocalInstant FullMoonByRules(DayNumber day, CalendarRules rules, Precision precision) {
  if (rules.modern) return TrueMoon(day, Phase::kFull, precision);
  for (const auto& p : history::MeanMoonPeriods()) {
    if (day >= p.fullFirst && day <= p.fullLast) {
      return MeanMoon(day == p.fullFirst ? day + 1 : day, p.lunation, p.epoch + p.lunation / 2);
    }
  }
  if (day == 1947154 || day == 1963957) day += 1;
  return TrueMoon(day, Phase::kFull, precision);
}

}  // namespace

TermAndIndex NextTermWithIndex(DayNumber day, CalendarRules rules) {
  return HistoricalTerm(day, false, rules, Precision::kInstant);
}
LocalInstant TermInstant(DayNumber day, bool majorOnly, CalendarRules rules) {
  return HistoricalTerm(day, majorOnly, rules, Precision::kInstant).instant;
}
int TermIndex(DayNumber day, CalendarRules rules) { return HistoricalTerm(day, false, rules, Precision::kDay).index; }

LocalInstant TermOnOrAfter(DayNumber day, int k, CalendarRules rules) {
  return TermByRules(day, k, rules, Precision::kInstant);
}
DayNumber TermDayOnOrAfter(DayNumber day, int k, CalendarRules rules) {
  return DayOf(TermByRules(day, k, rules, Precision::kDay));
}

bool HasMajorTerm(DayNumber first, DayNumber last, CalendarRules rules) {
  const DayNumber t = DayOf(HistoricalTerm(first, true, rules, Precision::kDay).instant);
  return first <= t && t <= last;
}

LocalInstant NewMoonInstant(DayNumber day, CalendarRules rules) { return NewMoonByRules(day, rules, Precision::kInstant); }
LocalInstant FullMoonInstant(DayNumber day, CalendarRules rules) {
  return FullMoonByRules(day, rules, Precision::kInstant);
}
DayNumber NewMoonDay(DayNumber day, CalendarRules rules) { return DayOf(NewMoonByRules(day, rules, Precision::kDay)); }
DayNumber FullMoonDay(DayNumber day, CalendarRules rules) { return DayOf(FullMoonByRules(day, rules, Precision::kDay)); }

DayNumber MonthStartOnOrBefore(DayNumber day, Phase phase, CalendarRules rules) {
  const auto moonDay = phase == Phase::kNew ? NewMoonDay : FullMoonDay;
  const DayNumber m = moonDay(day - 10, rules);
  return day < m ? moonDay(m - 40, rules) : m;
}

int TermInForce(std::int32_t y, std::int32_t m, std::int32_t d, CalendarRules rules) {
  if (!IsValidDate(y, m, d)) return 0;
  const DayNumber j = DateToDayNumber(y, m, d);
  const TermAndIndex t = HistoricalTerm(j, false, rules, Precision::kDay);
  if (DayOf(t.instant) > j) return t.index == 1 ? 24 : t.index - 1;
  return t.index;
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
