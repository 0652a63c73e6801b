#include "printing/spooler_status.h"

#include <cups/cups.h>

namespace kelvaro {

// Qt hands a finished document to CUPS without looking at the answer; the
// answer is still CUPS's last status on this thread.
PrintStatus spoolerJobStatus() {
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) return {};
    PrintStatus status;
    status.error = PrintError::NotCompleted;
    if (const char* words = cupsLastErrorString()) status.detail = words;
    return status;
}

} // namespace kelvaro
