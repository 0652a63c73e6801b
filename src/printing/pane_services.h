#pragma once

#include "widgets/calculation_window.h"

// A calculation window's printer list and setup sheet over the program's
// print back-end, as the shared pane takes them.

namespace kelvaro {

class PrintBackend;

// The pane's services over `backend`; CSV files are written by `writeFile`.
PaneServices paneServices(PrintBackend& backend, ResultListActions::WriteFile writeFile);

} // namespace kelvaro
