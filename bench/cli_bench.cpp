// The command-line tool's calendar files and lunar anniversaries, each run as a
// user runs it: a fresh process has no remembered instants and no lunar-year
// records, so every iteration starts from empty caches.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani::cli {
namespace {

void RunCold(benchmark::State& state, const std::vector<std::string>& args) {
  setenv("SOURCE_DATE_EPOCH", "0", 1);
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ClearSolvedEventCache();
    ClearLunarYearCache();
    std::ostringstream out, err;
    state.ResumeTiming();
    if (Run(args, out, err) != kOk) state.SkipWithError(err.str().c_str());
    bytes += out.str().size();
  }
  unsetenv("SOURCE_DATE_EPOCH");
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

// 100 years of solar terms and festivals: about 10,800 events, 1.3 MB.
void BM_IcsHundredYearsTermsAndFestivals(benchmark::State& state) {
  RunCold(state, {"ics", "2000-01-01", "2099-12-31", "--terms", "--festivals"});
}
BENCHMARK(BM_IcsHundredYearsTermsAndFestivals)->Unit(benchmark::kMillisecond);

// The next 100 Mid-Autumn days.
void BM_NextHundredYears(benchmark::State& state) {
  RunCold(state, {"next", "08-15", "--from", "2000-01-01", "--count", "100"});
}
BENCHMARK(BM_NextHundredYears)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovani::cli
