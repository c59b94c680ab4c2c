// Solar terms, new moons and full moons, as local (UTC+8) instants.
//
// The astronomical layer finds the true instants by a secant search on the
// apparent longitudes.  The historical layer gives what the Chinese calendars
// actually used: before 1887 (and for some new moons up to 1920) mean new
// moons and mean terms of each period, late-new-moon cut-offs, period solar
// theories and one-day corrections -- unless the rules given ask for modern
// astronomy throughout.  The astronomical layer is in astronomical_terms.cpp,
// the roots it remembers in root_cache.cpp, the historical layer in
// historical_rules.cpp.
//
// Solar-term index k = 1..24 counts from 小寒 (longitude 285); even indices
// are the major terms, at multiples of 30 degrees.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/dates.h"
#include "engine/rules.h"

namespace tovani {

// The name of term k ("小寒" .. "冬至"); empty outside 1..24.
std::string SolarTermName(int k);
// The longitude of term k, degrees in [0, 360).
int SolarTermLongitude(int k);

enum class Motion { kSun = 0, kElongation = 1 };
enum class Phase { kNew = 0, kFull = 1 };

// ---- Astronomical layer ----

// How far the target lies ahead of the Sun's longitude (or the Moon-Sun
// elongation) at a Julian Date (UT): degrees in [0, 360).
double LongitudeGap(double jdUt, double target, Motion mode);
// The Julian Date (UT) at which the longitude (elongation) reaches the target,
// the first such instant after the start: secant searches on approximate and
// rough longitudes and then on the whole series, of 20 steps at the most each.
double SolveLongitude(double startJdUt, double target, Motion mode);
// The first term (major term when majorOnly) whose local date is on or after
// the day; correct applies the solar-term correction table.
LocalInstant NextTermInstant(DayNumber day, bool majorOnly, bool correct);
int NextTermIndex(DayNumber day, bool correct);
// Term k (clamped to 1..24) on or after the day.
LocalInstant TermInstantOnOrAfter(DayNumber day, int k, bool correct);
// The first new moon whose date is on or after the day, or the first full moon
// after 00:00 local of the day.
LocalInstant TrueNewOrFullMoon(DayNumber day, Phase phase);

// The astronomical layer remembers the instants it has found, so that asking
// again for the same solstice, term or new moon from another day costs nothing
// (from any thread: the memory is shared under a lock).  This forgets them.
void ClearSolvedEventCache();

// ---- Historical layer: what the rest of the program calls ----

// The next term (major term when majorOnly) on or after the day, by the rules.
LocalInstant TermInstant(DayNumber day, bool majorOnly, CalendarRules rules);
// The index of that term.
int TermIndex(DayNumber day, CalendarRules rules);
// Both at once: the next term (of all 24) on or after the day, and its index.
struct TermAndIndex {
  LocalInstant instant;
  int index;
};
TermAndIndex NextTermWithIndex(DayNumber day, CalendarRules rules);
// Term k on or after the day, by the rules; and its date alone (faster).
LocalInstant TermOnOrAfter(DayNumber day, int k, CalendarRules rules);
DayNumber TermDayOnOrAfter(DayNumber day, int k, CalendarRules rules);
// The next major term on or after the first day falls on or before the last.
bool HasMajorTerm(DayNumber first, DayNumber last, CalendarRules rules);
// The first new (full) moon on or after the day, by the rules.  Near
// the start of the historical range the answer may lie before the day (day
// 1683461 answers with the new moon of 1683460), so a walk over moons must not
// rely on the answer being on or after the day asked for.
LocalInstant NewMoonInstant(DayNumber day, CalendarRules rules);
LocalInstant FullMoonInstant(DayNumber day, CalendarRules rules);
DayNumber NewMoonDay(DayNumber day, CalendarRules rules);
DayNumber FullMoonDay(DayNumber day, CalendarRules rules);
// The day of the last new (full) moon on or before the day.
DayNumber MonthStartOnOrBefore(DayNumber day, Phase phase, CalendarRules rules);
// The term in force on a civil date (the last one on or before it); 0 for an invalid date.
int TermInForce(std::int32_t year, std::int32_t month, std::int32_t day, CalendarRules rules);
// The number of terms (23, 24 or 25), new moons and full moons whose dates fall
// in a civil year; 0 for a year outside -9998..9999.
int TermCountInYear(std::int32_t year, CalendarRules rules);
int NewMoonCountInYear(std::int32_t year, CalendarRules rules);
int FullMoonCountInYear(std::int32_t year, CalendarRules rules);

// The period solar theory of 1645..1886: the Sun's longitude (degrees) at a
// local instant under the theory of the period that holds the day, and the
// term that theory gives on or after a day in one of its periods.
double PeriodSunLongitude(double x, DayNumber periodDay);
// The term search of the period theories, for any model of the Sun's
// longitude at day values: the day itself when the longitude there is a
// multiple of the step, otherwise the next multiple found by scanning 21 days
// and interpolating linearly within the day that crosses it.
LocalInstant TermFromDailyLongitudes(DayNumber day, bool majorOnly, const std::function<double(double)>& longitude);
LocalInstant PeriodTermInstant(DayNumber day, bool majorOnly, CalendarRules rules);
int PeriodTermIndex(DayNumber day, CalendarRules rules);

}  // namespace tovani
