#pragma once

#include <filesystem>
#include <string>

// Damage that a test puts in a catalogue file's place: "<folder>", "<pipe>"
// or "-> target" (a link; a target under /dev/ is a device). Says whether
// the system could make it: Windows has no pipes or devices in a folder,
// and links only for some users (none under Wine); there a test row with
// such damage does not run.

#ifdef _WIN32
inline bool makePipe(const std::string&) {
    return false;
}
inline bool systemHasDevices() {
    return false;
}
#else
#include <sys/stat.h>
inline bool makePipe(const std::string& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}
inline bool systemHasDevices() {
    return true;
}
#endif

inline bool makeLink(const std::string& target, const std::string& path) {
    std::error_code error;
    std::filesystem::create_symlink(target, path, error);
    return !error;
}

inline bool makeDamage(const std::string& path, const std::string& damage) {
    if (damage == "<folder>") return std::filesystem::create_directory(path);
    if (damage == "<pipe>") return makePipe(path);
    const std::string target = damage.substr(3);
    return (systemHasDevices() || !target.starts_with("/dev/")) && makeLink(target, path);
}
