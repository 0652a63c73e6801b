#include "platform/application_directory.h"

#include <unistd.h>
#include <vector>

namespace kelvaro {

std::string applicationDirectory() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return ".";
        if (static_cast<std::size_t>(length) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<std::size_t>(length));
            const auto slash = path.rfind('/');
            if (slash == std::string::npos) return ".";
            return slash == 0 ? "" : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace kelvaro
