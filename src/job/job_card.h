#pragma once

#include "job/hobbing_job.h"
#include "printing/print_backend.h"

#include <string>
#include <vector>

// The setup card of a hobbing job (调整卡): the job's lines (machine, part,
// both trains with the index row's note, the setting angle, the correction)
// and the drawings of both trains side by side, as one document on the
// printer the window's list names. On A4 it takes one page.

namespace kelvaro {

std::vector<std::string> jobCardLines(const HobbingJob& job);

PrintStatus printJobCard(PrintBackend& backend, const std::string& printerList,
                         const HobbingJob& job);

} // namespace kelvaro
