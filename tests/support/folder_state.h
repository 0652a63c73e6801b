#pragma once

#include "support/temporary_catalogue.h"

#include <filesystem>
#include <map>
#include <string>

// Every entry of a catalogue folder: a file's bytes, "<folder>" for a folder,
// "<pipe>" for a named pipe and "-> target" for a symbolic link, so that a
// test sees damaged entries as they are.
inline std::map<std::string, std::string> folderState(const TemporaryCatalogue& dir) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (entry.is_symlink())
            entries[name] = "-> " + std::filesystem::read_symlink(entry.path()).string();
        else if (entry.is_directory())
            entries[name] = "<folder>";
        else if (entry.is_fifo())
            entries[name] = "<pipe>";
        else
            entries[name] = dir.read(name).value_or("<unreadable>");
    }
    return entries;
}
