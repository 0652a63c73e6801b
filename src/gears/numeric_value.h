#pragma once

#include <string>
#include <string_view>

namespace kelvaro {

// The number that a field's text begins with, as every window reads its
// numbers: blanks, tabs and line feeds are skipped wherever they stand; then
// an optional sign, digits, at most one "." and an optional exponent (E or e,
// optional sign, digits). Reading stops at the first character that cannot
// continue the number; a text without a leading number gives 0. A magnitude
// beyond the range of a double gives an infinity of its sign.
double numericValue(std::string_view text);

// What a field shows beside its text after a Calculate: "请输入数值" for an
// empty text, nothing for a text that is wholly a number (blanks
// aside), otherwise the number that was read, as in "按 1 计算" for "1,5".
std::string readingNote(std::string_view text);

} // namespace kelvaro
