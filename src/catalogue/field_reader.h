#pragma once

#include <string_view>
#include <vector>

namespace kelvaro {

// The fields of a catalogue file, in file order, as views into `bytes`.
// Blanks before a field are skipped; a field ends at the next comma or at
// the end of its line, and that comma or line end belongs to the field. A
// blank line is one empty field. A line ends with CR LF, or with LF or CR
// alone in a file made elsewhere. Reading stops at the end of the file, so
// a comma as its very last character starts no further field. Quotes have
// no meaning: a double quote is a character like any other.
//
// Works on the undecoded bytes: in GBK every byte of a two-byte character
// is above the blank, comma, CR and LF.
std::vector<std::string_view> readFields(std::string_view bytes);

} // namespace kelvaro
