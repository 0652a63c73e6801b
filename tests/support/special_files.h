#pragma once

#include <filesystem>
#include <string>

// Damage that a test puts in a catalogue file's place: a named pipe, a link
// to an endless device, a link. Each says whether the system could make it:
// Windows has no pipes or devices in a folder, and links only for some users
// (none under Wine); there a test row with such damage does not run.

#ifdef _WIN32
inline bool makePipe(const std::string&) {
    return false;
}
inline bool makeDeviceLink(const std::string&) {
    return false;
}
#else
#include <sys/stat.h>
inline bool makePipe(const std::string& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}
inline bool makeDeviceLink(const std::string& path) {
    std::error_code error;
    std::filesystem::create_symlink("/dev/zero", path, error);
    return !error;
}
#endif

inline bool makeLink(const std::string& target, const std::string& path) {
    std::error_code error;
    std::filesystem::create_symlink(target, path, error);
    return !error;
}
