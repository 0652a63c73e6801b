#include "platform/spooler_status.h"

#include <cups/cups.h>

namespace kelvaro {

// Qt hands a finished document to CUPS without looking at the answer; the
// answer is still CUPS's last status on this thread.
SpoolerAnswer spoolerJobStatus() {
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) return {};
    SpoolerAnswer answer;
    answer.accepted = false;
    if (const char* words = cupsLastErrorString()) answer.words = words;
    return answer;
}

} // namespace kelvaro
