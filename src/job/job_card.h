#pragma once

#include "job/job_sheet.h"
#include "printing/print_backend.h"

#include <string>

// The setup card of a hobbing job (调整卡): the job, one block per train
// with its drawing under its own title, the setting angle and the notes, as
// one document on the printer the window's list names. It takes one page.

namespace kelvaro {

// `date` as the card shows it ("2026-12-08").
PrintedSheet jobCard(const JobSheet& sheet, const std::string& date);

PrintStatus printJobCard(PrintBackend& backend, const std::string& printerList,
                         const PrintedSheet& card);

} // namespace kelvaro
