// Walking the solar terms and the new and full moons of a span of days.
#pragma once

#include <vector>

#include "engine/dates.h"
#include "engine/solar_terms.h"

namespace tovani {

enum class EventKind { kTerm, kNewMoon, kFullMoon };

struct CalendarEvent {
  LocalInstant instant;
  EventKind kind;
  int term;  // 1..24 for a solar term, 0 for a moon
};

// The events whose local dates fall in first..last, in time order (by the rule
// in force).  Each walk asks again from the day after the last event found
// and always moves forward, also where an answer lies before the day asked.
std::vector<CalendarEvent> TermsInRange(DayNumber first, DayNumber last, CalendarRules rules);
std::vector<CalendarEvent> MoonsInRange(DayNumber first, DayNumber last, Phase phase, CalendarRules rules);
std::vector<CalendarEvent> EventsInRange(DayNumber first, DayNumber last, CalendarRules rules);

}  // namespace tovani
