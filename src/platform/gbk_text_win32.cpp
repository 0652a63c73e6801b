// Windows: code page 936 through MultiByteToWideChar / WideCharToMultiByte.
// The results are those of iconv's CP936 on Linux (gbk_text_iconv.cpp) for every
// one- and two-byte sequence and every character: Windows also maps GBK's
// user-defined areas to private-use characters, which iconv refuses, so
// they are refused here too and a file reads the same everywhere.
#include "platform/gbk_text.h"
#include "platform/win32_text.h"

#include <utility>

namespace kelvaro {

namespace {

constexpr UINT kGbk = 936;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

bool isPrivateUse(wchar_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

// One GBK character at the start of `gbk` (one or two bytes) as UTF-8, with
// its length; a length of 0 when it is not GBK.
std::pair<std::string, std::size_t> oneCharacter(std::string_view gbk) {
    const auto lead = static_cast<unsigned char>(gbk[0]);
    const int length = lead >= 0x81 && lead <= 0xFE ? 2 : 1;
    if (gbk.size() < static_cast<std::size_t>(length)) return {{}, 0};
    wchar_t character[2];
    const int count =
        MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), length, character, 2);
    if (count != 1 || isPrivateUse(character[0])) return {{}, 0};
    std::optional<std::string> text = win32::utf8(std::wstring_view(character, 1));
    if (!text) return {{}, 0};
    return {std::move(*text), static_cast<std::size_t>(length)};
}

} // namespace

std::optional<std::string> toGbk(std::string_view utf8) {
    const std::optional<std::wstring> text = win32::utf16(utf8);
    if (!text) return std::nullopt;
    if (text->empty()) return std::string();
    for (wchar_t c : *text)
        if (isPrivateUse(c)) return std::nullopt;
    // Only exact mappings: no best fit, no default character.
    const int size = static_cast<int>(text->size());
    BOOL defaulted = FALSE;
    const int length = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, text->data(), size, nullptr,
                                           0, nullptr, &defaulted);
    if (length <= 0 || defaulted) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, text->data(), size, bytes.data(), length,
                        nullptr, &defaulted);
    if (defaulted) return std::nullopt;
    return bytes;
}

std::string fromGbk(std::string_view gbk) {
    std::string result;
    result.reserve(gbk.size() * 3 / 2);
    while (!gbk.empty()) {
        // ASCII as it is; any other character on its own, so that a byte
        // that is not GBK becomes one replacement character.
        std::size_t ascii = 0;
        while (ascii < gbk.size() && static_cast<unsigned char>(gbk[ascii]) < 0x80)
            ++ascii;
        result.append(gbk.substr(0, ascii));
        gbk.remove_prefix(ascii);
        if (gbk.empty()) break;
        auto [character, length] = oneCharacter(gbk);
        if (length == 0) {
            result += kReplacement;
            length = 1;
        }
        result += character;
        gbk.remove_prefix(length);
    }
    return result;
}

} // namespace kelvaro
