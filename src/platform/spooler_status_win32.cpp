#include "platform/spooler_status.h"

namespace kelvaro {

// Qt's Windows print engine hands the document to the spooler itself
// (StartDoc, StartPage, EndPage, EndDoc); what it reports of that, through
// the painter's begin and end and the printer's state, the back-end has
// looked at already. On Windows that is the whole answer.
SpoolerAnswer spoolerJobStatus() {
    return {};
}

} // namespace kelvaro
