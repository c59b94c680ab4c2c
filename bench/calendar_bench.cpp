// The astronomy and the lunar calendar: single evaluations, single events, and
// every lunar-year record of the calendar windows' range from an empty cache.
#include <benchmark/benchmark.h>

#include "engine/astronomy.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani {
namespace {

void BM_SunApparentLongitude(benchmark::State& state) {
  double jd = 2460000.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SunApparentLongitude(jd));
    jd += 0.37;
  }
}
BENCHMARK(BM_SunApparentLongitude);

void BM_MoonApparentLongitude(benchmark::State& state) {
  double jd = 2460000.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MoonApparentLongitude(jd));
    jd += 0.37;
  }
}
BENCHMARK(BM_MoonApparentLongitude);

// One event, computed afresh (no remembered instants), in both modes.
void BM_NewMoonInstant(benchmark::State& state) {
  const CalendarRules rules{state.range(0) == 1};
  DayNumber day = DateToDayNumber(1000, 1, 1);
  for (auto _ : state) {
    ClearSolvedEventCache();
    benchmark::DoNotOptimize(NewMoonInstant(day, rules));
    day += 37;
  }
}
BENCHMARK(BM_NewMoonInstant)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_TermInstant(benchmark::State& state) {
  const CalendarRules rules{state.range(0) == 1};
  DayNumber day = DateToDayNumber(1000, 1, 1);
  for (auto _ : state) {
    ClearSolvedEventCache();
    benchmark::DoNotOptimize(TermInstant(day, false, rules));
    day += 37;
  }
}
BENCHMARK(BM_TermInstant)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Every record of the calendar windows' years, from an empty cache.
void BM_LunarYearRecordsWholeRange(benchmark::State& state) {
  const CalendarRules rules{state.range(0) == 1};
  for (auto _ : state) {
    ClearLunarYearCache();
    ClearSolvedEventCache();
    std::size_t n = 0;
    for (int y = -103; y <= 4103; ++y) n += LunarYearRecordOf(y, rules).size();
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_LunarYearRecordsWholeRange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
}  // namespace tovani
