// What the windows compute for the user: all texts of the day window for one
// date, one month view, a year of sun times, and the two kinds of search.
#include <benchmark/benchmark.h>

#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"
#include "ui/day/day_model.h"
#include "ui/month/month_model.h"
#include "ui/search/search_model.h"
#include "ui/tables/tables_model.h"

namespace tovani {
namespace {

const CalendarRange& Range() {
  static const CalendarRange range = MakeCalendarRange(-103, 4103, kHistoricalRules);
  return range;
}

// Every list, both text lines, for a new date each time (a different day of
// a different year, so that nothing computed for one date serves the next).
void BM_DayWindowTexts(benchmark::State& state) {
  day::DayModel model(Range(), *FromGregorian({2024, 2, 10}, kHistoricalRules), false);
  int year = 1500;
  for (auto _ : state) {
    model.Choose(day::kGregorianYear, year - Range().firstYear);
    model.Step(day::kGregorianDay, +1);
    benchmark::DoNotOptimize(day::DayTextLine1(model.date(), YearStart::kStartOfSpring, kHistoricalRules));
    benchmark::DoNotOptimize(day::DayTextLine2(model.date(), DayInfo::kFestivals, -116.4, 39.9, kHistoricalRules));
    benchmark::DoNotOptimize(day::DayTextLine2(model.date(), DayInfo::kSunriseSunset, -116.4, 39.9, kHistoricalRules));
    if (++year > 2500) year = 1500;
  }
}
BENCHMARK(BM_DayWindowTexts)->Unit(benchmark::kMicrosecond);

void BM_MonthWindow(benchmark::State& state) {
  int year = 1500, month = 1;
  for (auto _ : state) {
    month::MonthModel model(Range(), *FromGregorian({year, month, 15}, kHistoricalRules));
    benchmark::DoNotOptimize(model.grid());
    benchmark::DoNotOptimize(month::MonthSummary(year, month, kHistoricalRules));
    benchmark::DoNotOptimize(
        month::DayDetails(model.date(), YearStart::kStartOfSpring, -116.4, 39.9, kHistoricalRules));
    if (++month > 12) month = 1, ++year;
  }
}
BENCHMARK(BM_MonthWindow)->Unit(benchmark::kMillisecond);

void BM_SunTimesTable(benchmark::State& state) {
  int year = 1900;
  for (auto _ : state) benchmark::DoNotOptimize(tables::SunTimesTable(year++, "北京", -116.4, 39.9, false));
}
BENCHMARK(BM_SunTimesTable)->Unit(benchmark::kMillisecond);

// Page 2 over 100 years with every condition chosen.
void BM_ConditionDaySearch100Years(benchmark::State& state) {
  search::DayConditions all;
  all.values = {2, 4, 1, 15, 9, 1, 41, 3, 41};
  all.weekday = "星期六";
  all.solarTerm = "立春";
  all.festival = "复活节";
  for (auto _ : state) {
    const auto s = search::MakeConditionDaySearch(1950, 100, all, YearStart::kStartOfSpring, kHistoricalRules);
    while (s->Step()) {
    }
    benchmark::DoNotOptimize(s->Result());
  }
}
BENCHMARK(BM_ConditionDaySearch100Years)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// Page 2 over 100 years with one condition that every search must test on
// every day: the solar term.
void BM_TermDaySearch100Years(benchmark::State& state) {
  search::DayConditions term;
  term.solarTerm = "冬至";
  for (auto _ : state) {
    const auto s = search::MakeConditionDaySearch(1950, 100, term, YearStart::kStartOfSpring, kHistoricalRules);
    while (s->Step()) {
    }
    benchmark::DoNotOptimize(s->Result());
  }
}
BENCHMARK(BM_TermDaySearch100Years)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// Page 1 over 5000 years of leap months, from an empty cache.
void BM_LeapMonthSearch5000Years(benchmark::State& state) {
  for (auto _ : state) {
    ClearLunarYearCache();
    ClearSolvedEventCache();
    const auto s = search::MakeLeapMonthSearch(1, 5000, 0, kHistoricalRules);
    while (s->Step()) {
    }
    benchmark::DoNotOptimize(s->Result());
  }
}
BENCHMARK(BM_LeapMonthSearch5000Years)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
}  // namespace tovani
