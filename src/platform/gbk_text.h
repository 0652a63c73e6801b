#pragma once

#include <optional>
#include <string>
#include <string_view>

// The catalogue files hold their text in code page 936 (GBK), as the
// catalogue's other readers and writers expect; the program works in UTF-8.

namespace kelvaro {

// The GBK bytes of a UTF-8 text; nothing when the text is not valid UTF-8
// or holds a character that GBK cannot encode.
std::optional<std::string> toGbk(std::string_view utf8);

// The UTF-8 text of GBK bytes. A byte sequence that is not GBK becomes one
// U+FFFD replacement character per byte, so any file can be shown.
std::string fromGbk(std::string_view gbk);

} // namespace kelvaro
