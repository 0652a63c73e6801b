// Search with formatting: what one Calculate costs, without the window.
#include "common/gear_lines.h"
#include "ordinary/ordinary_search.h"

#include <benchmark/benchmark.h>

namespace {

void BM_OrdinaryCalculation(benchmark::State& state, double ratio, double tolerance, double zmin,
                            double zmax) {
    std::size_t items = 0;
    for (auto _ : state) {
        auto outcome =
            kelvaro::resultsOutcome(kelvaro::searchOrdinaryGears(ratio, tolerance, zmin, zmax));
        items = outcome.items.size();
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["items"] = static_cast<double>(items);
}

BENCHMARK_CAPTURE(BM_OrdinaryCalculation, ratio_1_5_tol_1e_5_teeth_20_120, 1.5, 0.00001, 20, 120)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OrdinaryCalculation, ratio_1_5_tol_1e_3_teeth_20_200, 1.5, 0.001, 20, 200)
    ->Unit(benchmark::kMillisecond);

} // namespace
