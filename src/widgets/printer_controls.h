#pragma once

#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace kelvaro {

// A freshly filled printer list: the items, the one chosen (-1 for none),
// and whether the Print button is disabled for good.
struct PrinterListItems {
    std::vector<std::string> items;
    int selected = -1;
    bool disablePrint = false;
};

// Puts a freshly filled printer list into a window's list and Print button:
// the items replace the old ones, `selected` is chosen (-1 for none). The
// button is only ever disabled here, never enabled again.
void applyPrinterList(const std::vector<std::string>& items, int selected, bool disablePrint,
                      QComboBox& list, QPushButton& print);

} // namespace kelvaro
