#pragma once

#include <string_view>

namespace kelvaro {

// The number that a field's text begins with, as every window reads its
// numbers: blanks, tabs and line feeds are skipped wherever they stand; then
// an optional sign, digits, at most one "." and an optional exponent (E or e,
// optional sign, digits). Reading stops at the first character that cannot
// continue the number; a text without a leading number gives 0. A magnitude
// beyond the range of a double gives an infinity of its sign.
double numericValue(std::string_view text);

} // namespace kelvaro
