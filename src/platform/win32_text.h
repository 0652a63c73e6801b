#pragma once

// Windows only: UTF-8, the program's text, to and from UTF-16, the text of
// the system's wide-character calls (file names, the executable's path).

#include <optional>
#include <string>
#include <string_view>
#include <windows.h>

namespace kelvaro::win32 {

// The UTF-16 text of UTF-8 bytes; nothing when they are not valid UTF-8.
inline std::optional<std::wstring> utf16(std::string_view utf8) {
    if (utf8.empty()) return std::wstring();
    const int size = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, text.data(), length);
    return text;
}

// The UTF-8 text of UTF-16; nothing for a lone surrogate.
inline std::optional<std::string> utf8(std::wstring_view text) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size,
                                           nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

} // namespace kelvaro::win32
