// Windows: the executable's path from GetModuleFileNameW, as UTF-8 with "/"
// between its parts, as Qt gives paths and as catalogueFile joins them.
#include "platform/application_directory.h"
#include "platform/win32_text.h"

#include <algorithm>

namespace kelvaro {

std::string applicationDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return ".";
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2); // cut off: a longer buffer
    }
    std::optional<std::string> path = win32::utf8(buffer);
    if (!path) return ".";
    std::replace(path->begin(), path->end(), '\\', '/');
    const auto slash = path->rfind('/');
    if (slash == std::string::npos) return ".";
    return path->substr(0, slash);
}

} // namespace kelvaro
