#pragma once

#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace kelvaro {

// Puts a freshly filled printer list into a window's list and Print button:
// the items replace the old ones, `selected` is chosen (-1 for none). The
// button is only ever disabled here, never enabled again.
void applyPrinterList(const std::vector<std::string>& items, int selected, bool disablePrint,
                      QComboBox& list, QPushButton& print);

} // namespace kelvaro
