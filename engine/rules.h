// The rule set of the lunar calendar, as a value every computation that
// depends on it is given: the rules the historical Chinese calendars used
// before 1887 (and for some new moons up to 1920) -- mean new moons and terms,
// late-new-moon cut-offs, the period solar theories, one-day corrections --
// or modern astronomy throughout.  The user's setting chooses it
// (ModernCalculateAncientFlag); a computation keeps the value it was given,
// whatever another thread is given meanwhile.
#pragma once

namespace tovani {

struct CalendarRules {
  bool modern = false;
  friend bool operator==(const CalendarRules&, const CalendarRules&) = default;
};

inline constexpr CalendarRules kHistoricalRules{false};
inline constexpr CalendarRules kModernRules{true};

}  // namespace tovani
