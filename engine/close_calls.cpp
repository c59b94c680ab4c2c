#include "engine/close_calls.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/date_text.h"
#include "engine/historical_tables.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani {
namespace {

constexpr double kMinutesPerDay = 1440;
// Two computations of one instant agree to far better than this (days).
constexpr double kSameInstant = 1e-6;
constexpr int kWinterSolstice = 24;

double MarginMinutes(LocalInstant t) { return (t - std::round(t)) * kMinutesPerDay; }

bool NearMidnight(LocalInstant t) { return std::fabs(MarginMinutes(t)) <= kCloseCallMinutes; }

// The new moon that starts the month on day b is the calendar's true new moon
// against midnight: no mean moon, cut-off or correction decided the day.
bool NewMoonByEphemeris(DayNumber b, LocalInstant instant, CalendarRules rules) {
  if (!rules.modern) {
    for (const auto& p : history::LateMoonPeriods()) {
      if (b >= p.first && b <= p.last) return false;
    }
  }
  return std::fabs(TrueNewOrFullMoon(b, Phase::kNew) - instant) < kSameInstant;
}

// The calendar's major term is the true term, not a mean term, a period
// theory's term or a corrected one.
bool TermByEphemeris(LocalInstant instant) {
  return std::fabs(NextTermInstant(DayOf(instant), true, false) - instant) < kSameInstant;
}

struct LunarDay {
  std::int32_t year;
  int month, day;
};

bool LunarDateOf(DayNumber z, LunarDay& out, CalendarRules rules) {
  const auto civil = DayNumberToDate(z);
  if (!civil) return false;
  const auto lunar = ParseCalendarDateText(SolarToLunar(civil->year, civil->month, civil->day, rules));
  if (!lunar) return false;
  out = {lunar->year, lunar->month, lunar->day};
  return true;
}

// The first month after the 十一月 at index 0 without a major term, among the
// twelve that follow it; 0 when every one has one.
int FirstMonthWithoutMajorTerm(const std::array<int, 14>& terms) {
  for (int i = 1; i <= 12; ++i) {
    if (terms[i] == 0) return i;
  }
  return 0;
}

// Whether moving a major term (not 冬至) at the instant across its nearest
// midnight would change the leap month (see the header).
bool MovingTheTermMovesTheLeapMonth(LocalInstant instant, CalendarRules rules) {
  const DayNumber day = DayOf(instant);
  const DayNumber s1 = TermDayOnOrAfter(day, kWinterSolstice, rules);
  const DayNumber s0 = TermDayOnOrAfter(s1 - 380, kWinterSolstice, rules);
  const DayNumber m0 = MonthStartOnOrBefore(s0, Phase::kNew, rules);
  const DayNumber m1 = MonthStartOnOrBefore(s1, Phase::kNew, rules);
  // a[i]: the first day of the i-th month after the 十一月 of m0.
  std::array<DayNumber, 15> a{};
  a[0] = m0;
  int n = 0;
  while (n < 14 && a[n] < m1) {
    a[n + 1] = NewMoonDay(a[n] + 20, rules);
    ++n;
  }
  if (a[n] != m1 || n != 13) return false;  // twelve months: no leap month to move
  a[14] = NewMoonDay(a[13] + 20, rules);

  const auto monthOf = [&](DayNumber z) {
    int i = 0;
    while (i < 13 && a[i + 1] <= z) ++i;
    return i;
  };
  std::array<int, 14> terms{};
  for (DayNumber z = a[0]; z < a[14];) {
    const DayNumber t = DayOf(TermInstant(z, true, rules));
    if (t >= a[14]) break;
    if (t >= a[0]) ++terms[monthOf(t)];
    z = std::max(z, t) + 1;
  }
  const int from = monthOf(day);
  // After midnight it sits on a month's first day and would move back into
  // the month before; before midnight on a month's last day, forward.
  const int to = MarginMinutes(instant) >= 0 ? from - 1 : from + 1;
  if (to < 0 || to > 13 || terms[from] == 0) return false;
  const int before = FirstMonthWithoutMajorTerm(terms);
  --terms[from];
  ++terms[to];
  return FirstMonthWithoutMajorTerm(terms) != before;
}

}  // namespace

std::vector<CloseCall> CloseCallsOfLunarYear(std::int32_t year, CalendarRules rules) {
  const int length = LunarYearLength(year, rules);
  if (length == 0) return {};
  const DayNumber first = NewYearDay(year, rules), last = first + length - 1;

  // The new moons that start the year's months.
  std::vector<CloseCall> calls;
  DayNumber start = first;
  for (int position = 1; position <= 13; ++position) {
    const int month = OrdinalToMonthCode(year, position, rules);
    if (month == 0) break;
    const LocalInstant t = NewMoonInstant(start, rules);
    if (DayOf(t) == start && NearMidnight(t) && NewMoonByEphemeris(start, t, rules)) {
      calls.push_back({CloseCallKind::kNewMoon, t, MarginMinutes(t), 0, year, month, 1});
    }
    start += LunarMonthLength(year, month, rules);
  }

  // The major terms of the year's days that sit next to a month's first
  // midnight and decide the leap month.
  for (DayNumber z = first; z <= last;) {
    const TermAndIndex next = NextTermWithIndex(z, rules);
    const DayNumber day = DayOf(next.instant);
    if (day > last) break;
    z = std::max(z, day) + 1;
    if (day < first || next.index % 2 != 0 || !NearMidnight(next.instant) || !TermByEphemeris(next.instant)) continue;
    LunarDay boundary, here;
    if (!LunarDateOf(static_cast<DayNumber>(std::round(next.instant)), boundary, rules) || boundary.day != 1) continue;
    if (next.index != kWinterSolstice && !MovingTheTermMovesTheLeapMonth(next.instant, rules)) continue;
    if (!LunarDateOf(day, here, rules)) continue;
    calls.push_back({CloseCallKind::kMajorTerm, next.instant, MarginMinutes(next.instant), next.index, here.year,
                     here.month, here.day});
  }

  std::stable_sort(calls.begin(), calls.end(),
                   [](const CloseCall& a, const CloseCall& b) { return a.instant < b.instant; });
  return calls;
}

std::vector<CloseCall> CloseCallsOfLunarYears(std::int32_t first, std::int32_t last, CalendarRules rules) {
  std::vector<CloseCall> calls;
  for (std::int32_t y = first; y <= last; ++y) {
    const auto year = CloseCallsOfLunarYear(y, rules);
    calls.insert(calls.end(), year.begin(), year.end());
  }
  return calls;
}

}  // namespace tovani
