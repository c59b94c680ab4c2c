// The historical layer of solar_terms.h: what the Chinese calendars of the
// time used before 1887 (and for some new moons up to 1920) -- the mean new
// moons and mean terms of each period, the late-new-moon cut-offs, the period
// solar theories of 1645..1886, the corrections of single terms and new
// moons, and the days where one rule set hands over to the next -- or modern
// astronomy throughout when the rules given ask for it.
#include "engine/historical_rules.h"

#include <cmath>
#include <functional>

#include "engine/astronomical_terms.h"
#include "engine/historical_tables.h"

namespace tovani {

using roots::Precision;

namespace history {
namespace {

// ---- The hand-overs between the rule sets ----

// Historical terms replace the corrected astronomical ones for the years the
// historical rules cover: from 104 BC (-103-01-01) to the last day of the
// period solar theories (1886-12-22).
constexpr DayNumber kHistoricalTermsFirstDay = CivilDayNumber(-103, 1, 1);
constexpr DayNumber kPeriodTheoriesLastDay = CivilDayNumber(1886, 12, 22);
// The true winter solstice of -104, which the term correction moves two days
// on to -104-12-25: a request from the two days after it, before the mean
// terms begin (-104-12-26), searches from it so that it is found.
constexpr DayNumber kTrueSolsticeOfMinus104 = CivilDayNumber(-104, 12, 23);
// Astronomy takes over the terms the day after the period theories end; its
// first four days answer as its fifth, like those of every historical range.
constexpr DayNumber kAstronomicalTermsFirstDay = kPeriodTheoriesLastDay + 1;

// ---- Single new and full moons asked for as another day ----

// The day before the mean new moons begin (-103-01-25) is asked as the day
// before it: it answers with the new moon of -103-01-23.
constexpr DayNumber kEveOfMeanNewMoons = CivilDayNumber(-103, 1, 24);
// The first days of true new moons after the mean ones end (618-12-22,
// 664-12-23) are asked as the next day, as the first day of each period of
// mean moons and cut-offs is.
constexpr DayNumber kTrueNewMoonsFrom618 = CivilDayNumber(618, 12, 23);
constexpr DayNumber kTrueNewMoonsFrom664 = CivilDayNumber(664, 12, 24);
// Likewise the first days of true full moons after the mean ones end
// (619-01-06, 665-01-07).
constexpr DayNumber kTrueFullMoonsFrom619 = CivilDayNumber(619, 1, 7);
constexpr DayNumber kTrueFullMoonsFrom665 = CivilDayNumber(665, 1, 8);

// One second before midnight, as a fraction of a day.
constexpr double kOneSecondBeforeMidnight = 0.000011574;

double Floor(double x) { return std::floor(x); }

// ---- Corrections and cut-offs ----

LocalInstant ApplyNewMoonCorrection(LocalInstant x) {
  const double day = Floor(x);
  switch (NewMoonCorrection(static_cast<DayNumber>(day))) {
    case +1:
      return day + 1;
    case -1:
      return day - kOneSecondBeforeMidnight;
    default:
      return x;
  }
}

// The true new moon after the start, with the cut-off, the exemptions and the
// corrections of the historical calendars.  A cut-off needs the instant.
LocalInstant TrueNewMoonFrom(double startJdUt, double cutoff, Precision precision) {
  LocalInstant r =
      LocalInstantOf(roots::Solve(startJdUt, 0, Motion::kElongation, cutoff > 0 ? Precision::kInstant : precision));
  if (!IsNewMoonExemptDay(DayOf(r))) {
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

// ---- Mean moons and mean terms ----

// The mean-lunation rule: the first mean moon E + L*g on or after the day.
LocalInstant MeanMoon(DayNumber day, double lunation, double epoch) {
  const double g = Floor((day - epoch) / lunation);
  const double h = epoch + lunation * g;
  if (day <= Floor(h)) return h;
  return epoch + lunation * (g + 1);
}

const MeanTermPeriod* MeanTermPeriodFor(DayNumber day) {
  if (day < kMeanTermsFirstDay || day > kMeanTermsLastDay) return nullptr;
  for (const auto& p : MeanTermPeriods()) {
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

MeanTerm MeanTermOnOrAfter(DayNumber day, const MeanTermPeriod& p, bool majorOnly) {
  const double s = p.year / (majorOnly ? 12 : 24);
  const double k = Floor((day + 0.5 - p.epoch) / s);
  const LocalInstant t = ApplyTermCorrection(p.epoch + k * s);
  if (day <= Floor(t)) return {t, k};
  return {ApplyTermCorrection(p.epoch + (k + 1) * s), k + 1};
}

// ---- The period solar theories ----

const SolarTheory* TheoryFor(DayNumber day) {
  for (const auto& t : SolarTheories()) {
    if (day >= t.first && day <= t.last) return &t;
  }
  return nullptr;
}

double PeriodSunLongitudeBy(double x, const SolarTheory& th) {
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

LocalInstant PeriodTermBy(DayNumber day, bool majorOnly, const SolarTheory& th) {
  return TermFromDailyLongitudes(day, majorOnly, [&](double x) { return PeriodSunLongitudeBy(x, th); });
}

int PeriodIndexAt(DayNumber raisedDay, const SolarTheory& th) {
  const double lambda0 = PeriodSunLongitudeBy(raisedDay, th);
  const double n = lambda0 / 15 == Floor(lambda0 / 15) ? lambda0 / 15 : Floor(lambda0 / 15) + 1;
  int index = 6 + static_cast<int>(n);
  if (index > 24) index -= 24;
  return index;
}

// ---- The rule in force ----

// The day the astronomical branch searches from: a few days at the edges of
// the historical ranges are asked as other days.
DayNumber AstronomicalTermDay(DayNumber day) {
  if (day > kTrueSolsticeOfMinus104 && day < kMeanTermsFirstDay) return kTrueSolsticeOfMinus104;
  if (day >= kAstronomicalTermsFirstDay) return RaiseToRangeStart(day, kAstronomicalTermsFirstDay);
  return day;
}

// The historical rule in force for a day: the instant of the next term and,
// when asked for all terms, its index.
TermAndIndex HistoricalTerm(DayNumber day, bool majorOnly, CalendarRules rules, Precision precision) {
  if (rules.modern) {
    const astronomical::TermSearch s = astronomical::SearchNextTerm(day, majorOnly, false, precision);
    return {s.instant, astronomical::IndexOfLongitude(s.longitude)};
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
  const astronomical::TermSearch s =
      astronomical::SearchNextTerm(AstronomicalTermDay(day), majorOnly, true, precision);
  return {s.instant, astronomical::IndexOfLongitude(s.longitude)};
}

LocalInstant TermByRules(DayNumber day, int k, CalendarRules rules, Precision precision) {
  if (rules.modern) return astronomical::TermOnOrAfter(day, k, false, precision);
  LocalInstant t = astronomical::TermOnOrAfter(day, k, true, precision);
  if (DayOf(t) >= kHistoricalTermsFirstDay && DayOf(t) <= kPeriodTheoriesLastDay) {
    t = HistoricalTerm(DayOf(t) - 5, false, rules, precision).instant;
    if (t < day) t = HistoricalTerm(DayOf(t) + 360, false, rules, precision).instant;
  }
  return t;
}

LocalInstant NewMoonByRules(DayNumber day, CalendarRules rules, Precision precision) {
  if (rules.modern) return astronomical::TrueMoon(day, Phase::kNew, precision);
  for (const auto& p : MeanMoonPeriods()) {
    if (day >= p.first && day <= p.last) return MeanMoon(day == p.first ? day + 1 : day, p.lunation, p.epoch);
  }
  for (const auto& p : LateMoonPeriods()) {
    if (day >= p.first && day <= p.last) {
      return TrueNewMoonWithRules(day == p.first ? day + 1 : day, p.cutoff, precision);
    }
  }
  if (day == kEveOfMeanNewMoons) {
    day -= 1;
  } else if (day == kTrueNewMoonsFrom618 || day == kTrueNewMoonsFrom664) {
    day += 1;
  }
  return TrueNewMoonWithRules(day, 0, precision);
}

LocalInstant FullMoonByRules(DayNumber day, CalendarRules rules, Precision precision) {
  if (rules.modern) return astronomical::TrueMoon(day, Phase::kFull, precision);
  for (const auto& p : MeanMoonPeriods()) {
    if (day >= p.fullFirst && day <= p.fullLast) {
      return MeanMoon(day == p.fullFirst ? day + 1 : day, p.lunation, p.epoch + p.lunation / 2);
    }
  }
  if (day == kTrueFullMoonsFrom619 || day == kTrueFullMoonsFrom665) day += 1;
  return astronomical::TrueMoon(day, Phase::kFull, precision);
}

}  // namespace

LocalInstant ApplyTermCorrection(LocalInstant x) {
  const double day = Floor(x);
  const int n = SolarTermCorrection(static_cast<DayNumber>(day));
  if (n > 0) return day + n;
  if (n < 0) return day + n + 1 - kOneSecondBeforeMidnight;
  return x;
}

}  // namespace history

using history::Floor;

TermAndIndex NextTermWithIndex(DayNumber day, CalendarRules rules) {
  return history::HistoricalTerm(day, false, rules, Precision::kInstant);
}
LocalInstant TermInstant(DayNumber day, bool majorOnly, CalendarRules rules) {
  return history::HistoricalTerm(day, majorOnly, rules, Precision::kInstant).instant;
}
int TermIndex(DayNumber day, CalendarRules rules) {
  return history::HistoricalTerm(day, false, rules, Precision::kDay).index;
}

LocalInstant TermOnOrAfter(DayNumber day, int k, CalendarRules rules) {
  return history::TermByRules(day, k, rules, Precision::kInstant);
}
DayNumber TermDayOnOrAfter(DayNumber day, int k, CalendarRules rules) {
  return DayOf(history::TermByRules(day, k, rules, Precision::kDay));
}

bool HasMajorTerm(DayNumber first, DayNumber last, CalendarRules rules) {
  const DayNumber t = DayOf(history::HistoricalTerm(first, true, rules, Precision::kDay).instant);
  return first <= t && t <= last;
}

LocalInstant NewMoonInstant(DayNumber day, CalendarRules rules) {
  return history::NewMoonByRules(day, rules, Precision::kInstant);
}
LocalInstant FullMoonInstant(DayNumber day, CalendarRules rules) {
  return history::FullMoonByRules(day, rules, Precision::kInstant);
}
DayNumber NewMoonDay(DayNumber day, CalendarRules rules) {
  return DayOf(history::NewMoonByRules(day, rules, Precision::kDay));
}
DayNumber FullMoonDay(DayNumber day, CalendarRules rules) {
  return DayOf(history::FullMoonByRules(day, rules, Precision::kDay));
}

DayNumber MonthStartOnOrBefore(DayNumber day, Phase phase, CalendarRules rules) {
  const auto moonDay = phase == Phase::kNew ? NewMoonDay : FullMoonDay;
  const DayNumber m = moonDay(day - 10, rules);
  return day < m ? moonDay(m - 40, rules) : m;
}

int TermInForce(std::int32_t y, std::int32_t m, std::int32_t d, CalendarRules rules) {
  if (!IsValidDate(y, m, d)) return 0;
  const DayNumber j = DateToDayNumber(y, m, d);
  const TermAndIndex t = history::HistoricalTerm(j, false, rules, Precision::kDay);
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

namespace {
// The moons of one phase whose dates fall in a civil year.
int MoonCountInYear(std::int32_t y, CalendarRules rules, LocalInstant (*moon)(DayNumber, CalendarRules)) {
  if (y < -9998 || y > 9999) return 0;
  return static_cast<int>(
      Floor((moon(DateToDayNumber(y, 12, 31) + 1, rules) - moon(DateToDayNumber(y, 1, 1), rules)) / 29));
}
}  // namespace

int NewMoonCountInYear(std::int32_t y, CalendarRules rules) { return MoonCountInYear(y, rules, NewMoonInstant); }
int FullMoonCountInYear(std::int32_t y, CalendarRules rules) { return MoonCountInYear(y, rules, FullMoonInstant); }

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
  const auto* th = history::TheoryFor(periodDay);
  return th != nullptr ? history::PeriodSunLongitudeBy(x, *th) : 0;
}

LocalInstant PeriodTermInstant(DayNumber day, bool majorOnly, CalendarRules rules) {
  const auto* th = history::TheoryFor(day);
  if (th == nullptr) return TermInstant(day, majorOnly, rules);
  return history::PeriodTermBy(history::RaiseToRangeStart(day, th->first), majorOnly, *th);
}

int PeriodTermIndex(DayNumber day, CalendarRules rules) {
  const auto* th = history::TheoryFor(day);
  if (th == nullptr) return TermIndex(day, rules);
  return history::PeriodIndexAt(history::RaiseToRangeStart(day, th->first), *th);
}

}  // namespace tovani
