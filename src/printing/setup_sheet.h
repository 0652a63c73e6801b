#pragma once

#include "gears/set_details.h"
#include "printing/print_backend.h"

#include <string>
#include <vector>

// The setup sheet (挂轮卡) of one set: the calculation's inputs, the set by
// position and its facts as text lines, then the drawing of the train, as
// one document on the printer named by the window's list. On A4 it takes
// one page.

namespace kelvaro {

std::vector<std::string> setupSheetLines(const SetDetails& details);

PrintStatus printSetupSheet(PrintBackend& backend, const std::string& printerList,
                            const SetDetails& details);

} // namespace kelvaro
