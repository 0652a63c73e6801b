// What a search and a whole Calculate cost. The straight loop (the
// definition of the results) and the skipping search run side by side on
// the same inputs (compare them as ratios: absolute times on a shared
// machine are noise); the Calculate of a long list is taken apart into
// search, formatting and filling the list view.
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "job/hobbing_job.h"
#include "ordinary/ordinary_calculation.h"
#include "support/plain_search.h"
#include "widgets/message_sink.h"
#include "widgets/result_list_model.h"

#include <QApplication>
#include <QListView>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using kelvaro::GearSearchResult;

struct SearchInput {
    double ratio;
    double tolerance;
    double zmin;
    double zmax;
    std::vector<std::int16_t> missing;
};

using SearchFunction = GearSearchResult (*)(const SearchInput&);

GearSearchResult straightLoop(const SearchInput& in) {
    return kelvaro::reference::plainSearchGears(in.ratio, in.tolerance, in.zmin, in.zmax,
                                                in.missing);
}

GearSearchResult skippingSearch(const SearchInput& in) {
    return kelvaro::searchGears(in.ratio, in.tolerance, in.zmin, in.zmax, in.missing);
}

void BM_Search(benchmark::State& state, SearchFunction search, const SearchInput& in) {
    std::size_t sets = 0;
    for (auto _ : state) {
        GearSearchResult result = search(in);
        sets = result.sets.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["sets"] = static_cast<double>(sets);
}

const SearchInput kRatio15Tight{1.5, 0.00001, 20, 200, {}};
const SearchInput kRatio086Tight{0.8627301359629121, 0.00001, 20, 200, {}};
const SearchInput kRatio012Tight{0.1170840239232265, 0.00001, 20, 200, {}};
const SearchInput kRatio15Loose{1.5, 0.001, 20, 200, {}};
const SearchInput kRatio73{7.3, 0.0001, 20, 300, {}};
// As the differential window searches: its ratio of the worked example, the
// tolerance field's starting value, a machine's range without five counts.
const SearchInput kDifferential{0.8627301359629121, 0.00001, 20, 200, {23, 37, 41, 53, 97}};

#define KELVARO_SEARCH_PAIR(name, input)                                                           \
    BENCHMARK_CAPTURE(BM_Search, name##_plain, straightLoop, input)                                \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_CAPTURE(BM_Search, name##_fast, skippingSearch, input)->Unit(benchmark::kMicrosecond)

KELVARO_SEARCH_PAIR(r1_5_t1e_5_z20_200, kRatio15Tight);
KELVARO_SEARCH_PAIR(r0_8627_t1e_5_z20_200, kRatio086Tight);
KELVARO_SEARCH_PAIR(r0_1171_t1e_5_z20_200, kRatio012Tight);
KELVARO_SEARCH_PAIR(r1_5_t1e_3_z20_200, kRatio15Loose);
KELVARO_SEARCH_PAIR(r7_3_t1e_4_z20_300, kRatio73);
KELVARO_SEARCH_PAIR(differential_5_missing, kDifferential);

// Every list line of an outcome written into one buffer, as kelvaro-calc
// writes them; the buffer is reused, as kelvaro-calc reuses its chunk.
std::size_t writeLines(const kelvaro::CalculationOutcome& outcome, std::string& buffer) {
    buffer.clear();
    const std::size_t rows = kelvaro::resultLineCount(*outcome.results);
    for (std::size_t row = 0; row < rows; ++row) {
        kelvaro::appendResultLine(buffer, *outcome.results, row);
        buffer += '\n';
    }
    return rows;
}

// The calculation without a window: search and every list line.
void BM_SearchAndFormat(benchmark::State& state, kelvaro::OrdinaryInput input) {
    std::size_t items = 0;
    std::string buffer;
    for (auto _ : state) {
        const kelvaro::CalculationOutcome outcome = kelvaro::calculateOrdinary(input);
        items = writeLines(outcome, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK_CAPTURE(BM_SearchAndFormat, r1_5_t1e_5_z20_120,
                  kelvaro::OrdinaryInput{"1.5", "0.00001", "20", "120"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchAndFormat, r1_5_t1e_3_z20_200,
                  kelvaro::OrdinaryInput{"1.5", "0.001", "20", "200"})
    ->Unit(benchmark::kMillisecond);

// Calculate on ratio 1.5, tolerance 0.001, teeth 20 to 200: over 120,000 sets.
const kelvaro::OrdinaryInput kLongList{"1.5", "0.001", "20", "200"};

void BM_Calculate_1_Search(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvaro::searchGears(1.5, 0.001, 20, 200));
}

// Every list line, as kelvaro-calc writes them, and printText, as Print
// makes it; the window makes neither until they are drawn or printed.
void BM_Calculate_2_Lines(benchmark::State& state) {
    const kelvaro::CalculationOutcome outcome = kelvaro::calculateOrdinary(kLongList);
    std::string buffer;
    for (auto _ : state)
        benchmark::DoNotOptimize(writeLines(outcome, buffer));
    state.counters["items"] = static_cast<double>(kelvaro::resultLineCount(*outcome.results));
}

void BM_Calculate_2_PrintText(benchmark::State& state) {
    const kelvaro::CalculationOutcome outcome = kelvaro::calculateOrdinary(kLongList);
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvaro::printText(outcome));
}

// The calculation's outcome has no message; none is shown.
struct QuietMessages final : kelvaro::MessageSink {
    using MessageSink::show;
    void show(QWidget*, const QString&) override {}
    bool ask(QWidget*, const QString&) override { return false; }
};

// Replacing a full list by the items of a calculation, in a shown list view
// that then lays out and paints.
void BM_Calculate_3_FillList(benchmark::State& state) {
    const kelvaro::CalculationOutcome outcome = kelvaro::calculateOrdinary(kLongList);
    QListView view;
    view.setUniformItemSizes(true);
    kelvaro::ResultListModel model;
    view.setModel(&model);
    view.show();
    QuietMessages messages;
    model.apply(outcome, &view, messages);
    for (auto _ : state) {
        state.PauseTiming();
        kelvaro::CalculationOutcome copy = outcome;
        state.ResumeTiming();
        model.apply(std::move(copy), &view, messages);
        QApplication::processEvents();
    }
}

void BM_Calculate_4_Whole(benchmark::State& state) {
    QListView view;
    view.setUniformItemSizes(true);
    kelvaro::ResultListModel model;
    view.setModel(&model);
    view.show();
    QuietMessages messages;
    for (auto _ : state) {
        model.apply(kelvaro::calculateOrdinary(kLongList), &view, messages);
        QApplication::processEvents();
    }
}

BENCHMARK(BM_Calculate_1_Search)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calculate_2_Lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calculate_2_PrintText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calculate_3_FillList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calculate_4_Whole)->Unit(benchmark::kMillisecond);

// A hobbing job on a box of 20 to 100 teeth, beside the differential
// search over the same gears (the reference: one train of the two). The
// first job is found at once; the second (Z 101, a prime above the box)
// tries every gear of 20 to 120 that could be added.
struct JobMachine {
    std::string directory = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvaro-bench-XXXXXX");
        if (!::mkdtemp(pattern.data())) std::abort();
        std::ofstream(pattern + "/M.dat", std::ios::binary) << "20\r\n120\r\n 1\r\n9\r\n0\r\n";
        return pattern;
    }();
    ~JobMachine() { std::filesystem::remove_all(directory); }
};

void BM_Job(benchmark::State& state, const char* teeth) {
    static const JobMachine machine;
    kelvaro::JobRequest request;
    request.model = "M";
    request.teeth = teeth;
    request.module = "3";
    request.degrees = "15";
    request.minutes = request.seconds = "0";
    request.indexConstant = "24";
    request.box = "20-100";
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvaro::runHobbingJob(request, machine.directory));
}
BENCHMARK_CAPTURE(BM_Search, job_reference_differential_z20_100, skippingSearch,
                  SearchInput{0.7764571223666209, 0.00001, 20, 100, {}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Job, found_z40, "40")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Job, add_one_gear_z101, "101")->Unit(benchmark::kMillisecond);

// Differential indexing: every prime Z from 101 to 199 (K = 1) on a box of
// 20 to 100 with the machine's own feed pairs, each timed alone, beside the
// exact job (Z 100) on the same box in the same loop. The counters give the
// median and the worst prime in ms and as multiples of the exact job.
void BM_DifferentialIndexing(benchmark::State& state) {
    static const JobMachine machine;
    kelvaro::JobRequest request;
    request.model = "M";
    request.module = "3";
    request.degrees = "15";
    request.minutes = request.seconds = "0";
    request.indexConstant = "24";
    request.box = "20-100";
    request.feed = "1.1";
    request.feedConstants = "0.4608π × 30/54, 0.9216π × 30/54";
    request.feedPairs = "26/52, 32/46, 46/32, 52/26";
    request.hands = kelvaro::Hands::Same;
    request.helixExtra = kelvaro::HelixExtra::With;
    const auto timed = [&request](int teeth) {
        request.teeth = std::to_string(teeth);
        const auto start = std::chrono::steady_clock::now();
        const kelvaro::HobbingJob job = kelvaro::runHobbingJob(request, machine.directory);
        benchmark::DoNotOptimize(job);
        if (teeth != 100 && job.indexMethod != kelvaro::IndexMethod::Differential) std::abort();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    std::vector<double> primes, exact;
    for (auto _ : state) {
        exact.push_back(timed(100));
        for (int z = 101; z <= 199; ++z) {
            bool prime = true;
            for (int d = 2; d * d <= z; ++d)
                prime = prime && z % d != 0;
            if (prime) primes.push_back(timed(z));
        }
    }
    std::sort(primes.begin(), primes.end());
    std::sort(exact.begin(), exact.end());
    const double median = primes[primes.size() / 2], worst = primes.back(),
                 reference = exact[exact.size() / 2];
    state.counters["exact_ms"] = reference;
    state.counters["median_ms"] = median;
    state.counters["worst_ms"] = worst;
    state.counters["median_x_exact"] = median / reference;
    state.counters["worst_x_exact"] = worst / reference;
}
BENCHMARK(BM_DifferentialIndexing)->Unit(benchmark::kMillisecond);

} // namespace

// The list view needs an application; without a display it draws offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
