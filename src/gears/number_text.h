#pragma once

#include <string>

namespace kelvaro {

// The text of a number in result lines, printouts and machine files: one
// leading blank for a value >= 0, "-" for a negative one; at most
// 15 significant digits; fixed or exponent form as C's %G chooses at that
// precision, with trailing zeros and a bare point removed, no 0 before the
// point of a fraction (" .25") and the exponent as E, sign and at least two
// digits (" 1E-05").
std::string numberText(double value);

// The text of a ratio error: converted to single precision first, then
// written as above with at most 7 significant digits (" 5.713094E-06").
std::string errorText(double error);

// The same texts appended to `out`, for lines written without a string of
// their own.
void appendNumberText(std::string& out, double value);
void appendErrorText(std::string& out, double error);

} // namespace kelvaro
