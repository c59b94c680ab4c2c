// The memory of the roots the astronomical layer has found: a search whose
// answer is known costs nothing.  Shared by all threads under one lock;
// ClearSolvedEventCache (solar_terms.h) forgets it.
#pragma once

#include "engine/solar_terms.h"

namespace tovani::roots {

// How well an event is wanted: its instant, or only its local date.  Most
// of the calendar needs only dates, and a rough root more than its error
// bound from a local midnight gives the date for a fraction of the work.
enum class Precision { kInstant, kDay };

// The Julian Date (UT) at which the longitude (elongation) reaches the
// target, the first such instant after the start (as SolveLongitude): the
// exact root, or for kDay possibly a rough root whose local date is certain.
double Solve(double startJdUt, double target, Motion mode, Precision precision = Precision::kInstant);

}  // namespace tovani::roots
