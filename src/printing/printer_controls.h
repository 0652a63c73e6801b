#pragma once

#include "printing/printer_choice.h"

class QComboBox;
class QPushButton;
class QWidget;

namespace kelvaro {

// Puts a freshly filled printer list into a window's list and Print button.
// The button is only ever disabled here, never enabled again.
void applyPrinterList(const PrinterListContents& contents, QComboBox& list, QPushButton& print);

// A failed printout as a message box over `window`; a successful one shows
// nothing.
void reportPrintStatus(const PrintStatus& status, QWidget* window);

} // namespace kelvaro
