// The inner parts of the astronomical layer of solar_terms.h: the steps of
// the root finder, which the root cache takes, and the searches for terms and
// moons at either precision, on which the historical rules build.
#pragma once

#include "engine/dates.h"
#include "engine/root_cache.h"
#include "engine/solar_terms.h"

namespace tovani::astronomical {

// ---- The root finder ----

// A point of a secant search: the instant (JD, UT), the gap there and the
// last slope.
struct SecantPoint {
  double x, gap, slope;
};
// The root on the rough longitudes, the first after the start.
SecantPoint RoughRoot(double startJdUt, double target, Motion mode);
// The root on the whole series from the rough one and its slope.
double WholeRoot(SecantPoint rough, double target, Motion mode);
// The rough longitudes keep their error bounds within 2500 years of J2000.
bool WithinRoughBounds(double jdUt);
// How close a rough root is to the true one, in days.
double RoughRootError(Motion mode);

// ---- The searches ----

// The index of the term at a longitude that is a multiple of 15.
int IndexOfLongitude(double longitude);
// The first term (major term when majorOnly) whose local date is on or after
// the day, and the longitude of that term; correct applies the solar-term
// correction table.
struct TermSearch {
  LocalInstant instant;
  double longitude;
};
TermSearch SearchNextTerm(DayNumber day, bool majorOnly, bool correct, roots::Precision precision);
// Term k (clamped to 1..24) on or after the day.
LocalInstant TermOnOrAfter(DayNumber day, int k, bool correct, roots::Precision precision);
// The first new moon whose date is on or after the day, or the first full
// moon after 00:00 local of the day.
LocalInstant TrueMoon(DayNumber day, Phase phase, roots::Precision precision);

}  // namespace tovani::astronomical
