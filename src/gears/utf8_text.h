#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
// What reaches JSON or a window passes through here, so that bytes of some
// other code page never leave the program as broken text.

namespace kelvaro {

// The length of the one valid UTF-8 sequence that starts text[at], or 0.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

// The offset of the first byte that starts no valid sequence, or npos.
std::size_t firstInvalidUtf8(std::string_view text);

// The text with every byte that starts no valid sequence replaced by U+FFFD.
std::string validUtf8(std::string_view text);

} // namespace kelvaro
