#pragma once

#include <vector>

class QLineEdit;

namespace kelvaro {

// Makes a slip in a number field visible without changing what is read: a
// field whose text is not wholly a number gets a yellow background and the
// tooltip of readingNote ("按 1 计算"), an empty one "请输入数值". The mark
// goes when the user edits the text; a field read as typed is left as it is.
void markReadings(const std::vector<QLineEdit*>& fields);

// Whether the field carries a mark now.
bool isMarked(const QLineEdit* field);

} // namespace kelvaro
