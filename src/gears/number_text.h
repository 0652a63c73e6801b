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

// Numbers in the details of a set, for a person to read rather than a
// list column: the error as errorText writes it, without the blank and
// with a 0 before the point ("-0.29", "5.713094E-06"); a value of at most
// `digits` significant digits, or whole where it has that many digits
// before the point ("193333", "0.193", "1.2E-05").
std::string errorDetailText(double error);
std::string readableNumber(double value, int digits);

// A tolerance as a user types it into the field: a plain decimal down to
// 0.0001 ("0.29", "12"), the list's exponent form below ("1.1E-05").
std::string typedTolerance(double tolerance);

// The same texts appended to `out`, for lines written without a string of
// their own.
void appendNumberText(std::string& out, double value);
void appendErrorText(std::string& out, double error);

} // namespace kelvaro
