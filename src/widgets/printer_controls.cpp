#include "widgets/printer_controls.h"

#include <QComboBox>
#include <QPushButton>

namespace kelvaro {

void applyPrinterList(const std::vector<std::string>& items, int selected, bool disablePrint,
                      QComboBox& list, QPushButton& print) {
    list.clear();
    for (const std::string& item : items)
        list.addItem(QString::fromStdString(item));
    list.setCurrentIndex(selected);
    if (disablePrint) print.setEnabled(false);
}

} // namespace kelvaro
