// Day-number conversions over the whole date range.
#include <benchmark/benchmark.h>

#include "engine/dates.h"

namespace tovani {
namespace {

constexpr std::int64_t kRangeDays = LastValidDayNumber - FirstValidDayNumber + 1;

void BM_DayNumberToDateWholeRange(benchmark::State& state) {
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (DayNumber z = FirstValidDayNumber; z <= LastValidDayNumber; ++z) {
      const auto d = DayNumberToDate(z);
      sum += d->day;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kRangeDays);
}
BENCHMARK(BM_DayNumberToDateWholeRange)->Unit(benchmark::kMillisecond);

void BM_DateToDayNumberWholeRange(benchmark::State& state) {
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (int y = -9998; y <= 9999; ++y) {
      for (int m = 1; m <= 12; ++m) {
        const int days = DaysInMonth(y, m);
        for (int d = 1; d <= days; ++d) {
          // October 1582 lists its 21 days as 1..4 and 15..31.
          const int day = (y == 1582 && m == 10 && d > 4) ? d + 10 : d;
          sum += DateToDayNumber(y, m, day);
        }
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kRangeDays);
}
BENCHMARK(BM_DateToDayNumberWholeRange)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovani
