// Fuzz target: the hobbing job's machine data ("<model>.dat.txt") and box
// lists over arbitrary bytes.
//
// - A text either reads, or fails with a problem that names its line
//   ("第 N 行") or what the file is ("文件是 UTF-16…"); what reads is
//   written back by machineDataText as UTF-8 that reads again to the same
//   facts (the written text is a fixed point), and saving it is allowed.
// - A box list that reads gives back its box through boxListText; the box
//   never holds more gears than counts up to kMaxBoxTeeth allow.

#include "catalogue/machine_data.h"
#include "fuzz_check.h"
#include "gears/utf8_text.h"

#include <cstdint>
#include <string>

namespace {

void checkData(const std::string& bytes) {
    const kelvaro::MachineDataReading reading = kelvaro::readMachineData(bytes);
    if (!reading.problem.empty()) {
        FUZZ_CHECK(reading.problem.starts_with("第 ") || reading.problem.starts_with("文件"),
                   bytes);
        FUZZ_CHECK(kelvaro::firstInvalidUtf8(reading.problem) == std::string::npos, bytes);
        return;
    }
    const std::string written = kelvaro::machineDataText("M", reading.data);
    FUZZ_CHECK(kelvaro::firstInvalidUtf8(written) == std::string::npos, bytes + "\n-> " + written);
    // Written lines gain blanks around "=": only a file near the size limit
    // can outgrow it.
    if (written.size() > kelvaro::kMaxMachineDataBytes) return;
    FUZZ_CHECK(!kelvaro::machineDataWriteProblem(reading.data), bytes + "\n-> " + written);
    const kelvaro::MachineDataReading again = kelvaro::readMachineData(written);
    FUZZ_CHECK(again.problem.empty(), bytes + "\n-> " + written);
    FUZZ_CHECK(kelvaro::machineDataText("M", again.data) == written, bytes + "\n-> " + written);
}

void checkBox(const std::string& bytes) {
    const kelvaro::BoxReading reading = kelvaro::readBoxList(bytes);
    if (!reading.problem.empty()) return;
    for (const auto& [teeth, count] : reading.box)
        FUZZ_CHECK(teeth > 0 && teeth <= kelvaro::kMaxBoxTeeth && count > 0, bytes);
    const std::string text = kelvaro::boxListText(reading.box);
    const kelvaro::BoxReading again = kelvaro::readBoxList(text);
    FUZZ_CHECK(again.problem.empty() && again.box == reading.box, bytes + "\n-> " + text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkData(bytes);
    checkBox(bytes);
    return 0;
}
