#pragma once

#include "platform/file_system.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvaro {

inline constexpr const char* kPointInModelMessage = "机床型号中请不要包函小数点";
inline constexpr const char* kWrongDataMessage = "输入数据有错";
inline constexpr const char* kWrongModelMessage = "机床型号错";
inline constexpr const char* kWrongMissingTeethMessage = "输入数据有错误,数据间用逗号隔开!!!";

// The largest tooth count the dialog takes: a wider range makes a search
// that runs for minutes.
inline constexpr double kMaxMachineTeeth = 1000;

// Text put into the missing-teeth field at once (pasted, or committed by an
// input method): the full-width comma "，" a Chinese keyboard gives becomes
// ","; a text with anything but digits and commas is refused (nothing).
std::optional<std::string> missingTeethInsertion(std::string_view utf8);

// The texts of the add-machine dialog's fields, as typed.
struct AddMachineInput {
    std::string_view model;           // Text1
    std::string_view minTeeth;        // Text2
    std::string_view maxTeeth;        // Text3
    std::string_view machineConstant; // Text4
    std::string_view missingTeeth;    // Text5, counts separated by commas
    bool overwrite = false;           // the user agreed to replace a listed machine
};

struct AddMachineOutcome {
    bool added = false;
    std::string message;        // for the message box when not added
    bool alreadyListed = false; // not added: `message` asks whether to overwrite
};

// Confirm of the add-machine dialog. Checks everything before anything is
// written (a smallest count above the largest, or counts above
// kMaxMachineTeeth, are refused with a message that names them), then writes the machine file and
// appends the model to the list. A model the list already holds is refused with the question "机床
// X 已存在，是否覆盖？" unless `overwrite` is set; then only its machine file is rewritten and the
// list stays as it is. Either both succeed or the catalogue is left as it was: a failed append puts
// the earlier machine file back (or removes the new one).
AddMachineOutcome addMachine(const std::string& directory, const AddMachineInput& input,
                             FileSystem& fs = realFileSystem());

} // namespace kelvaro
