// The month view and dump ask for every day's holiday.
#include <benchmark/benchmark.h>

#include "engine/holidays.h"

namespace tovani {
namespace {

// Every day of 2000..2030: announced years, years not announced, late December.
void HolidayOfEveryDay(benchmark::State& state, const HolidayCalendar& calendar) {
  const DayNumber first = DateToDayNumber(2000, 1, 1), last = DateToDayNumber(2030, 12, 31);
  for (auto _ : state) {
    int marked = 0;
    for (DayNumber z = first; z <= last; ++z) {
      marked += calendar.Of(*DayNumberToDate(z)).status == HolidayStatus::kDayOff;
    }
    benchmark::DoNotOptimize(marked);
  }
  state.SetItemsProcessed(state.iterations() * (last - first + 1));
}

void BM_HolidayOfBuiltIn(benchmark::State& state) { HolidayOfEveryDay(state, HolidayCalendar()); }
BENCHMARK(BM_HolidayOfBuiltIn);

void BM_HolidayOfWithAddedYears(benchmark::State& state) {
  HolidayCalendar calendar;
  calendar.AddText("2025-10-01 休 国庆节\n2027-01-01 休 元旦\n2028-01-01 休 元旦\n2029-01-01 休 元旦\n");
  HolidayOfEveryDay(state, calendar);
}
BENCHMARK(BM_HolidayOfWithAddedYears);

}  // namespace
}  // namespace tovani
