// The astronomical layer of solar_terms.h: the terms' names and longitudes,
// the secant root finder on the gaps of the Sun's longitude and the Moon-Sun
// elongation (approximate, rough and whole series), and the searches for the
// true terms and moons built on it.  The roots go through the root cache.
#include "engine/astronomical_terms.h"

#include <array>
#include <cmath>

#include "engine/astronomy.h"
#include "engine/historical_rules.h"

namespace tovani {
namespace astronomical {
namespace {

constexpr std::array<const char*, 24> kTermNames = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

double Floor(double x) { return std::floor(x); }

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
// A gap is below this, in degrees, at a root.
constexpr double kRootGap = 1e-10;

// A gap near a root, taken within half a turn either way.
double Near(double gap) { return gap > 180 ? gap - 360 : gap; }

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

// The Sun's longitude at the start of a day, as far as the step it is in:
// the rough one unless it is near a step's end.
double StepOfSunAt(DayNumber day, double step) {
  const double jdUt = LocalMidnightJd(day), jdTt = UtToTt(jdUt);
  double lambda = RoughSunApparentLongitude(jdTt);
  const double into = lambda - step * Floor(lambda / step);
  if (into < kRoughError || into > step - kRoughError || !WithinRoughBounds(jdUt)) lambda = SunApparentLongitude(jdTt);
  return step * Floor(lambda / step);
}

LocalInstant Corrected(LocalInstant x, bool correct) { return correct ? history::ApplyTermCorrection(x) : x; }

}  // namespace

bool WithinRoughBounds(double jdUt) { return std::fabs(jdUt - J2000) < 2500 * 365.25; }

// The rough root: the gap at the start, in [0, 360), closed at the mean rate
// is the first guess, refined on the approximate longitudes and then on the
// rough ones.
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

// Usually two evaluations of the whole series.
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

// The rough longitudes' error bound over the slowest motion (elongation 10.8
// degrees a day at the least, the Sun 0.95).
double RoughRootError(Motion mode) { return kRoughError / (mode == Motion::kElongation ? 10 : 0.9); }

int IndexOfLongitude(double longitude) {
  int k = 6 + static_cast<int>(longitude / 15);
  if (k > 24) k -= 24;
  return k;
}

TermSearch SearchNextTerm(DayNumber day, bool majorOnly, bool correct, roots::Precision precision) {
  const double s = majorOnly ? 30 : 15;
  double h = StepOfSunAt(day, s);
  LocalInstant r = Corrected(LocalInstantOf(roots::Solve(day - (majorOnly ? 40 : 20), h, Motion::kSun, precision)),
                             correct);
  for (int attempt = 2; attempt <= 3 && day > Floor(r); ++attempt) {
    h += s;
    if (h >= 360) h -= 360;
    r = Corrected(LocalInstantOf(roots::Solve(r + (majorOnly ? 20 : 10), h, Motion::kSun, precision)), correct);
  }
  return {r, h};
}

LocalInstant TermOnOrAfter(DayNumber day, int k, bool correct, roots::Precision precision) {
  if (k < 1) k = 1;
  if (k > 24) k = 24;
  const double target = SolarTermLongitude(k);
  const LocalInstant r =
      Corrected(LocalInstantOf(roots::Solve(LocalMidnightJd(day), target, Motion::kSun, precision)), correct);
  if (day <= Floor(r)) return r;
  return Corrected(LocalInstantOf(roots::Solve(r + 300, target, Motion::kSun, precision)), correct);
}

LocalInstant TrueMoon(DayNumber day, Phase phase, roots::Precision precision) {
  if (phase == Phase::kFull) {
    return LocalInstantOf(roots::Solve(LocalMidnightJd(day), 180, Motion::kElongation, precision));
  }
  const LocalInstant r = LocalInstantOf(roots::Solve(day - 10, 0, Motion::kElongation, precision));
  if (day <= Floor(r)) return r;
  return LocalInstantOf(roots::Solve(r + 20, 0, Motion::kElongation, precision));
}

}  // namespace astronomical

std::string SolarTermName(int k) {
  if (k < 1 || k > 24) return {};
  return astronomical::kTermNames[k - 1];
}

int SolarTermLongitude(int k) { return k >= 6 ? 15 * (k - 6) : 15 * (k - 6) + 360; }

double LongitudeGap(double jdUt, double target, Motion mode) {
  return astronomical::Gap(jdUt, target, mode, astronomical::Series::kWhole);
}

// The rough root first, then the whole series from there.
double SolveLongitude(double x0, double target, Motion mode) {
  return astronomical::WholeRoot(astronomical::RoughRoot(x0, target, mode), target, mode);
}

LocalInstant NextTermInstant(DayNumber day, bool majorOnly, bool correct) {
  return astronomical::SearchNextTerm(day, majorOnly, correct, roots::Precision::kInstant).instant;
}

int NextTermIndex(DayNumber day, bool correct) {
  const auto search = astronomical::SearchNextTerm(day, false, correct, roots::Precision::kDay);
  return astronomical::IndexOfLongitude(search.longitude);
}

LocalInstant TermInstantOnOrAfter(DayNumber day, int k, bool correct) {
  return astronomical::TermOnOrAfter(day, k, correct, roots::Precision::kInstant);
}

LocalInstant TrueNewOrFullMoon(DayNumber day, Phase phase) {
  return astronomical::TrueMoon(day, phase, roots::Precision::kInstant);
}

}  // namespace tovani
