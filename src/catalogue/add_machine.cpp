#include "catalogue/add_machine.h"

#include "catalogue/machine_file.h"
#include "catalogue/machine_list.h"
#include "catalogue/model_name.h"
#include "gears/number_text.h"
#include "gears/numeric_value.h"
#include "platform/gbk_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <vector>

namespace kelvaro {

namespace {

// A number text is stored as typed, so it must stay one field of one line.
bool isStorable(std::string_view text) {
    const bool breaksField = std::any_of(text.begin(), text.end(), [](char c) {
        return c == ',' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    return !breaksField && toGbk(text).has_value();
}

bool isNumberAccepted(std::string_view text) {
    return numericValue(text) != 0 && isStorable(text);
}

std::vector<std::string> splitAtCommas(std::string_view text) {
    std::vector<std::string> items;
    for (;;) {
        const auto comma = text.find(',');
        items.emplace_back(text.substr(0, comma));
        if (comma == std::string_view::npos) return items;
        text.remove_prefix(comma + 1);
    }
}

// Empty (read back as 0) or digits that fit a 16-bit count.
bool isMissingTeethItem(const std::string& item) {
    const bool digitsOnly =
        std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digitsOnly && numericValue(item) <= std::numeric_limits<std::int16_t>::max();
}

// A count as the message names it, without numberText's leading blank.
std::string countText(double teeth) {
    return std::string(trimBlanks(numberText(teeth)));
}

// A range whose search lists nothing, or runs for minutes: which count is wrong.
std::optional<std::string> toothRangeProblem(double smallest, double largest) {
    std::string problem;
    if (smallest > kMaxMachineTeeth)
        problem = "最少齿数 " + countText(smallest) + " 超过 " + countText(kMaxMachineTeeth);
    if (largest > kMaxMachineTeeth)
        problem += (problem.empty() ? "" : "，") + std::string("最大齿数 ") + countText(largest) +
                   " 超过 " + countText(kMaxMachineTeeth);
    if (problem.empty() && smallest > largest)
        problem = "最少齿数 " + countText(smallest) + " 大于最大齿数 " + countText(largest);
    if (problem.empty()) return std::nullopt;
    return problem;
}

AddMachineOutcome refused(std::string message) {
    AddMachineOutcome outcome;
    outcome.message = std::move(message);
    return outcome;
}

} // namespace

std::optional<std::string> missingTeethInsertion(std::string_view utf8) {
    static constexpr std::string_view kFullWidthComma = "，";
    std::string text;
    while (!utf8.empty()) {
        if (utf8.starts_with(kFullWidthComma)) {
            text += ',';
            utf8.remove_prefix(kFullWidthComma.size());
            continue;
        }
        const char c = utf8.front();
        if (c != ',' && (c < '0' || c > '9')) return std::nullopt;
        text += c;
        utf8.remove_prefix(1);
    }
    return text;
}

AddMachineOutcome addMachine(const std::string& directory, const AddMachineInput& input,
                             FileSystem& fs) {
    // All three numbers are looked at, as the dialog always has.
    const bool minOk = isNumberAccepted(input.minTeeth);
    const bool maxOk = isNumberAccepted(input.maxTeeth);
    const bool constantOk = isNumberAccepted(input.machineConstant);
    if (!minOk || !maxOk || !constantOk) return refused(kWrongDataMessage);
    if (auto problem =
            toothRangeProblem(numericValue(input.minTeeth), numericValue(input.maxTeeth)))
        return refused(std::move(*problem));

    const std::string_view model = trimBlanks(input.model);
    if (model.empty()) return refused(kWrongModelMessage);
    if (auto problem = modelNameProblem(model)) return refused(std::move(*problem));

    const std::vector<std::string> items = splitAtCommas(input.missingTeeth);
    if (!std::all_of(items.begin(), items.end(), isMissingTeethItem))
        return refused(kWrongMissingTeethMessage);

    // The list is read and both files written under one lock, so that a
    // second program adding or deleting at the same time waits its turn.
    const CatalogueLock lock = fs.lockCatalogue(directory);
    if (!lock.held()) return refused(lock.message());
    const MachineList list = readMachineList(directory, fs);
    if (list.status == CatalogueStatus::Failed) return refused(list.message);
    const bool listed = std::find(list.names.begin(), list.names.end(), model) != list.names.end();
    if (listed && !input.overwrite) {
        AddMachineOutcome outcome = refused("机床 " + std::string(model) + " 已存在，是否覆盖？");
        outcome.alreadyListed = true;
        return outcome;
    }

    // Kept to undo the machine file if the list cannot take the model.
    const std::string machinePath = catalogueFile(directory, machineFileName(model));
    const FileBytes earlier = readWholeFile(fs, machinePath);
    if (earlier.error != 0 && earlier.error != ENOENT)
        return refused(readFailure(machinePath, earlier.error));

    CatalogueResult written =
        writeMachineFile(lock, model, input.minTeeth, input.maxTeeth, input.machineConstant, items);
    if (written.failed()) return refused(std::move(written.message));

    CatalogueResult appended = listed ? CatalogueResult{} : appendMachineName(lock, model);
    if (appended.failed()) {
        if (earlier.error == ENOENT) {
            fs.remove(machinePath);
        } else {
            writeWholeFile(lock, machinePath, earlier.bytes);
        }
        return refused(std::move(appended.message));
    }

    AddMachineOutcome outcome;
    outcome.added = true;
    return outcome;
}

} // namespace kelvaro
