// What reading a machine data file ("<model>.dat.txt") costs, against
// reading a plain file of the same size in the same run (compare ratios:
// absolute times on a shared machine are noise). The files:
//   box-10MB   box = 1-1000 and 2,000,000 empty "box=" lines (refused for
//              its size; it once took half a minute, each line copying the box)
//   box-1MB    the same within 1 MB, read whole
//   gbk-1MB    1 MB of index rows with GBK notes, decoded first
//   index-1MB  1 MB of index rows, the most lines of work a file can hold
// Uses only loadMachineData and readWholeFile, so that the same program
// can be built against an older tree for a figure before a change.
#include "catalogue/machine_data.h"
#include "platform/file_system.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string& folder() {
    static const std::string path = [] {
        std::string name = (std::filesystem::temp_directory_path() / "kelvaro-data-bench-XXXXXX");
        if (::mkdtemp(name.data()) == nullptr) std::abort();
        return name;
    }();
    return path;
}

// Lines of `line` after `head`, up to `size` bytes.
std::string filled(std::string head, const std::string& line, std::size_t size) {
    while (head.size() + line.size() <= size)
        head += line;
    return head;
}

// Writes the file once; returns the model whose data it is.
std::string prepared(const std::string& model, const std::string& bytes) {
    std::ofstream(folder() + "/" + model + ".dat.txt", std::ios::binary) << bytes;
    return model;
}

constexpr std::size_t kMegabyte = 1048576;

void BM_PlainRead(benchmark::State& state) {
    const std::size_t size = static_cast<std::size_t>(state.range(0)) * kMegabyte;
    const std::string model =
        prepared("plain" + std::to_string(state.range(0)),
                 filled("", "index = 24 for Z/K from 1 to 161, e/f = 36/36\n", size - 48));
    const std::string path = folder() + "/" + model + ".dat.txt";
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvaro::readWholeFile(kelvaro::realFileSystem(), path));
}
BENCHMARK(BM_PlainRead)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state, const std::string& model, const std::string& bytes) {
    prepared(model, bytes);
    std::string outcome;
    for (auto _ : state) {
        const kelvaro::MachineDataFile file = kelvaro::loadMachineData(folder(), model);
        outcome = file.result.failed() ? "refused" : "read";
        benchmark::DoNotOptimize(file);
    }
    state.SetLabel(outcome);
}

// The file of the fault: 10,000,013 bytes.
const std::string kBoxLines = filled("box = 1-1000\n", "box=\n", 13 + 2000000 * 5);
const std::string kBoxLines1MB = filled("box = 1-1000\n", "box=\n", kMegabyte);
BENCHMARK_CAPTURE(BM_Load, box - 10MB, "box10", kBoxLines)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, box - 1MB, "box1", kBoxLines1MB)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, gbk - 1MB, "gbk1",
                  filled("", "index = 24 for Z/K from 1 to 2, \xCB\xB5\xC3\xF7\r\n", kMegabyte))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, index - 1MB, "index1",
                  filled("", "index=1 for Z/K from 1 to 2\n", kMegabyte))
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder());
}
