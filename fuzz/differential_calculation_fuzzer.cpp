// Fuzz target: the differential calculation behind kelvaro-calc on
// arbitrary field texts and an arbitrary machine file.
//
// The input holds, separated by "|", the model, the module, the helix
// angle's degrees, minutes and seconds, the tolerance and the part's tooth
// count; whatever follows the seventh "|" is the model's machine file, in a
// catalogue folder of the target's own (no file without it). An input whose
// search would span more than kMaxSpan tooth counts is left out.
//
// Properties:
// - calculateDifferential and runCalcCommand never throw;
// - an empty text among the first five fields gives exactly the item
//   "请输入数值" and changes nothing else;
// - then a tolerance below zero gives only the message "允差不能为负数";
// - then, emptying the list, in this order: no model gives "选择机床型号";
//   a machine file that cannot be read or used a message that names the
//   model's file; a part tooth count below 1 for "Y7150" and "ZSTZ"
//   "零件齿数错误"; a ratio that no search can use (a module of 0, "C630"
//   with degrees of 0, not finite, or ratio and tolerance that the ordinary
//   search would refuse) the item "请输入数值";
// - otherwise the results: the heading and the best line last, every set
//   line's gears within the machine's range and none of its missing teeth;
// - kelvaro-calc prints exactly the items, or the message to standard error
//   with status 1.

#include "catalogue/machine_file.h"
#include "differential/differential_calculation.h"
#include "differential/differential_ratio.h"
#include "fuzz_check.h"
#include "gears/calculation_outcome.h"
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "gears/numeric_value.h"
#include "shell/calc_command.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kelvaro::CalculationOutcome;
using kelvaro::MachineRecord;

constexpr double kMaxSpan = 16;

// The catalogue folder, in memory-backed /dev/shm where there is one.
class Folder {
  public:
    Folder() {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "kelvaro-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

struct Input {
    std::vector<std::string> fields; // model, 5 texts, part teeth
    bool hasFile = false;
    std::string file;
};

Input split(std::string_view bytes) {
    Input input;
    for (int part = 0; part < 7; ++part) {
        const std::size_t end = bytes.find('|');
        input.fields.emplace_back(bytes.substr(0, end));
        if (end == std::string_view::npos) {
            input.fields.resize(7);
            return input;
        }
        bytes.remove_prefix(end + 1);
    }
    input.hasFile = true;
    input.file = bytes;
    return input;
}

// The gears of a set line: its first four numbers.
std::vector<double> gearsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<double> gears(4);
    for (double& gear : gears)
        in >> gear;
    FUZZ_CHECK(!in.fail(), line);
    return gears;
}

void checkSets(const CalculationOutcome& outcome, const MachineRecord& machine,
               std::string_view detail) {
    FUZZ_CHECK(outcome.replaceResults && outcome.message.empty(), detail);
    const std::vector<std::string> items = listItems(outcome);
    FUZZ_CHECK(items.size() >= 2 && items[items.size() - 2] == kelvaro::kBestSetHeading, detail);
    const auto sets = items.begin() + static_cast<std::ptrdiff_t>(items.size() - 2);
    FUZZ_CHECK(std::find(items.begin(), sets, items.back()) != sets ||
                   gearsOf(items.back()) == std::vector<double>(4, 0.0),
               items.back());

    const double low = std::min(machine.minTeeth, machine.maxTeeth);
    const double high = std::max(machine.minTeeth, machine.maxTeeth);
    const double slack = 1e-13 * std::max(std::abs(low), std::abs(high));
    // Gears read back from their texts are exact for whole counts below 10^15.
    const bool exact = machine.minTeeth == std::floor(machine.minTeeth) && high < 1e15;
    for (auto line = items.begin(); line != sets; ++line) {
        FUZZ_CHECK(machine.minTeeth <= machine.maxTeeth, *line);
        for (double gear : gearsOf(*line)) {
            FUZZ_CHECK(gear >= low - slack && gear <= high + slack, *line);
            if (exact)
                FUZZ_CHECK(std::find(machine.missingTeeth.begin(), machine.missingTeeth.end(),
                                     gear) == machine.missingTeeth.end(),
                           *line);
        }
    }
}

// The outcome that the inputs call for, where it is not a list of sets.
std::optional<CalculationOutcome> expectedRefusal(const Input& input, const std::string& folder,
                                                  bool named, const MachineRecord& machine,
                                                  const std::string& machineFailure) {
    const auto& f = input.fields;
    if (std::any_of(f.begin() + 1, f.begin() + 6, [](const std::string& t) { return t.empty(); }))
        return kelvaro::missingInputOutcome();
    if (kelvaro::numericValue(f[5]) < 0) {
        CalculationOutcome negative;
        negative.message = kelvaro::kNegativeToleranceMessage;
        return negative;
    }
    CalculationOutcome refused;
    refused.replaceResults = true;
    const std::string& model = f[0];
    if (model.empty()) {
        refused.message = kelvaro::kChooseModelMessage;
        return refused;
    }
    if (!machineFailure.empty()) {
        FUZZ_CHECK(machineFailure.find(model) != std::string::npos, machineFailure);
        FUZZ_CHECK(!named || machineFailure.find(folder) != std::string::npos, machineFailure);
        refused.message = machineFailure;
        return refused;
    }
    const double module = kelvaro::numericValue(f[1]);
    const double degrees = kelvaro::numericValue(f[2]);
    const double teeth = kelvaro::numericValue(f[6]);
    if (kelvaro::machineKind(model) == kelvaro::MachineKind::PartTeeth && teeth <= 0) {
        refused.message = kelvaro::kWrongPartTeethMessage;
        return refused;
    }
    const double helix = kelvaro::helixAngleRadians(degrees, kelvaro::numericValue(f[3]),
                                                    kelvaro::numericValue(f[4]));
    const double ratio = kelvaro::differentialRatio(kelvaro::machineKind(model), module, helix,
                                                    machine.machineConstant, teeth, degrees);
    if (module == 0 ||
        (kelvaro::machineKind(model) == kelvaro::MachineKind::Lathe && degrees == 0) ||
        !kelvaro::searchIsDefined(ratio, kelvaro::numericValue(f[5]), machine.minTeeth,
                                  machine.maxTeeth)) {
        refused.items = {kelvaro::kMissingInputItem};
        return refused;
    }
    return std::nullopt;
}

bool sameOutcome(const CalculationOutcome& a, const CalculationOutcome& b) {
    return a.replaceResults == b.replaceResults && listItems(a) == listItems(b) &&
           printText(a) == printText(b) && a.message == b.message;
}

void checkCalcCommand(const CalculationOutcome& outcome, const Input& input,
                      const std::string& folder, std::string_view detail) {
    std::vector<std::string> args{"differential", "--catalogue", folder, "--"};
    args.insert(args.end(), input.fields.begin(), input.fields.end());
    std::ostringstream out, err;
    const int status = kelvaro::runCalcCommand(args, out, err);
    if (!outcome.message.empty()) {
        FUZZ_CHECK(status == 1 && out.str().empty() && err.str() == outcome.message + '\n', detail);
        return;
    }
    std::string lines;
    for (const std::string& item : listItems(outcome))
        lines += item + '\n';
    FUZZ_CHECK(status == 0 && err.str().empty() && out.str() == lines, detail);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folder folder;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Input input = split(bytes);
    const std::string& model = input.fields[0];

    // The machine file, where the model can name one.
    const std::string path = folder.path + "/" + model + ".dat";
    const bool named =
        !model.empty() && model.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
    if (named && input.hasFile) std::ofstream(path, std::ios::binary) << input.file;

    const kelvaro::MachineFile machine = kelvaro::readMachineFile(folder.path, model);
    const std::optional<CalculationOutcome> refusal =
        expectedRefusal(input, folder.path, named, machine.record, machine.result.message);
    const MachineRecord& record = machine.record;
    if (!refusal && std::abs(record.maxTeeth - record.minTeeth) > kMaxSpan) {
        std::filesystem::remove(path);
        return -1;
    }

    CalculationOutcome outcome;
    try {
        outcome =
            kelvaro::calculateDifferential({input.fields[1], input.fields[2], input.fields[3],
                                            input.fields[4], input.fields[5], input.fields[6]},
                                           model, folder.path);
        checkCalcCommand(outcome, input, folder.path, bytes);
    } catch (...) {
        FUZZ_CHECK(false, bytes);
    }
    if (named) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }

    if (refusal)
        FUZZ_CHECK(sameOutcome(outcome, *refusal), bytes);
    else
        checkSets(outcome, record, bytes);
    return 0;
}
