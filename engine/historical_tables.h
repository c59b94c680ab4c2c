// The constants of the historical Chinese calendars: the periods of mean new
// moons and mean solar terms, the late-new-moon cut-offs, the period solar
// theories, and the one-day correction tables.
#pragma once

#include <cstdint>
#include <span>

#include "engine/dates.h"

namespace tovani::history {

// A period of mean new moons: lunation L and epoch E (a new moon instant on
// the local-instant scale).  Full moons use the same rows with E + L/2 over
// days shifted by the full-moon period bounds.
struct MeanMoonPeriod {
  DayNumber first, last;
  double lunation, epoch;
  DayNumber fullFirst, fullLast;
};
std::span<const MeanMoonPeriod> MeanMoonPeriods();

// A period whose true new moons after the cut-off fraction of the day start
// the month on the next day.
struct LateMoonPeriod {
  DayNumber first, last;
  double cutoff;
};
std::span<const LateMoonPeriod> LateMoonPeriods();

// A period of mean solar terms: year length Y and epoch E (a winter solstice).
struct MeanTermPeriod {
  DayNumber first, last;
  double year, epoch;
};
std::span<const MeanTermPeriod> MeanTermPeriods();
// The mean terms hold from the day after the winter solstice of -104 to the
// day before the first period solar theory.
inline constexpr DayNumber kMeanTermsFirstDay = CivilDayNumber(-104, 12, 26);
inline constexpr DayNumber kMeanTermsLastDay = CivilDayNumber(1645, 9, 6);

// A period solar theory (1645-09-07 .. 1886-12-22).
struct SolarTheory {
  DayNumber first, last;
  int epochYear;          // Y0
  double solsticeEpoch;   // S0
  double tropicalYear;    // Y
  double dailyMotion;     // v, arc seconds per day
  double perigee;         // P at the epoch year, degrees
  double perigeePerYear;  // degrees per civil year
  double perigeePerDay;   // degrees per day since the mean solstice
  bool ellipse;           // the ellipse model, else the circle model
};
std::span<const SolarTheory> SolarTheories();

// The day's correction of a solar term: +n moves the term to 00:00 of the day
// n days later, -n to 23:59:59 of the day n days earlier; 0 for none.
int SolarTermCorrection(DayNumber day);
// The day's correction of a new moon: +1, -1 or 0.
int NewMoonCorrection(DayNumber day);
// New moons on these days are neither advanced by a cut-off nor corrected.
bool IsNewMoonExemptDay(DayNumber day);

// The raw tables, for inspection.
std::span<const std::int32_t> NewMoonCorrectionEntries();  // +d or -d, ascending by day
std::span<const DayNumber> NewMoonExemptDays();           // in their listed order

}  // namespace tovani::history
