#include "engine/events.h"

#include <algorithm>
#include <cmath>

namespace tovani {
namespace {

// Asks find(day) from the first day on; keeps the answers that fall in the
// span and are new, and goes on from the day after the later of the day asked
// and the answer.
template <typename Find>
std::vector<CalendarEvent> Walk(DayNumber first, DayNumber last, Find find) {
  std::vector<CalendarEvent> events;
  DayNumber day = first;
  while (day <= last) {
    const CalendarEvent e = find(day);
    const DayNumber at = static_cast<DayNumber>(std::floor(e.instant));
    if (at > last) break;
    if (at >= day) events.push_back(e);
    day = std::max(at, day) + 1;
  }
  return events;
}

}  // namespace

std::vector<CalendarEvent> TermsInRange(DayNumber first, DayNumber last, CalendarRules rules) {
  return Walk(first, last, [rules](DayNumber d) {
    const TermAndIndex t = NextTermWithIndex(d, rules);
    return CalendarEvent{t.instant, EventKind::kTerm, t.index};
  });
}

std::vector<CalendarEvent> MoonsInRange(DayNumber first, DayNumber last, Phase phase, CalendarRules rules) {
  if (phase == Phase::kNew) {
    return Walk(first, last, [rules](DayNumber d) { return CalendarEvent{NewMoonInstant(d, rules), EventKind::kNewMoon, 0}; });
  }
  return Walk(first, last, [rules](DayNumber d) { return CalendarEvent{FullMoonInstant(d, rules), EventKind::kFullMoon, 0}; });
}

std::vector<CalendarEvent> EventsInRange(DayNumber first, DayNumber last, CalendarRules rules) {
  std::vector<CalendarEvent> all = TermsInRange(first, last, rules);
  for (Phase p : {Phase::kNew, Phase::kFull}) {
    const auto moons = MoonsInRange(first, last, p, rules);
    all.insert(all.end(), moons.begin(), moons.end());
  }
  std::stable_sort(all.begin(), all.end(),
                   [](const CalendarEvent& a, const CalendarEvent& b) { return a.instant < b.instant; });
  return all;
}

}  // namespace tovani
