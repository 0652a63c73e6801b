#include "printing/printer_controls.h"

#include "common/message_box.h"

#include <QComboBox>
#include <QPushButton>

namespace kelvaro {

void applyPrinterList(const PrinterListContents& contents, QComboBox& list, QPushButton& print) {
    list.clear();
    for (const std::string& item : contents.items)
        list.addItem(QString::fromStdString(item));
    list.setCurrentIndex(contents.selected);
    if (contents.disablePrint) print.setEnabled(false);
}

void reportPrintStatus(const PrintStatus& status, QWidget* window) {
    if (!status.ok()) showMessage(window, QString::fromStdString(printFailureMessage(status)));
}

} // namespace kelvaro
