#pragma once

#include "catalogue/machine_file.h"
#include "gears/calculation_outcome.h"
#include "gears/gear_set.h"
#include "gears/search_control.h"
#include "platform/file_system.h"

#include <string>
#include <string_view>

namespace kelvaro {

inline constexpr const char* kChooseModelMessage = "选择机床型号";
inline constexpr const char* kWrongPartTeethMessage = "零件齿数错误";

// The field texts of the differential calculation window, as typed.
struct DifferentialInput {
    std::string_view module;    // moshu
    std::string_view degrees;   // luoxuanjiaodu (lathe kind: the lathe's module)
    std::string_view minutes;   // luoxuanjiaofen
    std::string_view seconds;   // luoxuanjiaomiao
    std::string_view tolerance; // jingdu
    std::string_view partTeeth; // 齿数, read for the part-teeth kind only
};

// One click of Calculate with the chosen model (empty when none is chosen)
// and the catalogue in `directory`:
// - a missing text appends "请输入数值" and keeps everything else;
// - a tolerance below zero gives the message "允差不能为负数" and keeps
//   everything else;
// - otherwise the list and printText are emptied, and then either a message
//   box ("选择机床型号", "零件齿数错误", or what is wrong with the machine
//   file), or "请输入数值" where the ratio would be undefined (module 0,
//   the lathe kind with degrees 0, a ratio or tolerance that is not finite, or
//   ratio - tolerance or ratio + tolerance of 0), or the results of the
//   machine's search.
// The search answers to `control` as the ordinary one does.
CalculationOutcome calculateDifferential(const DifferentialInput& input, std::string_view model,
                                         const std::string& directory,
                                         SearchControl* control = nullptr,
                                         FileSystem& fs = realFileSystem());

// The four-gear search over the machine's own gears: its tooth-count range
// as stored (a range stored the wrong way round lists nothing), without the
// sets that use one of its missing tooth counts. The best set is the first
// listed one of smallest |error|.
GearSearchResult searchDifferentialGears(double ratio, double tolerance,
                                         const MachineRecord& machine,
                                         SearchControl* control = nullptr);

} // namespace kelvaro
