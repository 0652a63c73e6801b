#pragma once

// Catalogue files in memory, for the fuzz targets: the same operations as
// the real files (a file opened for writing is created or emptied at once,
// a rename replaces its target), without the disk, so that millions of
// inputs can each write a catalogue.

#include "catalogue/file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <string>

namespace kelvaro::fuzz {

class MemoryFileSystem final : public FileSystem {
  public:
    std::map<std::string, std::string> files;

    bool allClosed() const { return handles_.empty(); }

    int open(const std::string& path, OpenMode mode) override {
        if (mode == OpenMode::Read && files.count(path) == 0) return -ENOENT;
        if (mode == OpenMode::Write) files[path].clear();
        handles_[next_] = {path, 0};
        return next_++;
    }

    long read(int file, char* buffer, std::size_t size) override {
        const auto handle = handles_.find(file);
        if (handle == handles_.end()) return -EBADF;
        const std::string& bytes = files[handle->second.path];
        const std::size_t count = std::min(size, bytes.size() - handle->second.position);
        std::memcpy(buffer, bytes.data() + handle->second.position, count);
        handle->second.position += count;
        return static_cast<long>(count);
    }

    int write(int file, std::string_view bytes) override {
        const auto handle = handles_.find(file);
        if (handle == handles_.end()) return -EBADF;
        files[handle->second.path] += bytes;
        return 0;
    }

    int flush(int file) override { return handles_.count(file) ? 0 : -EBADF; }

    int close(int file) override { return handles_.erase(file) ? 0 : -EBADF; }

    int rename(const std::string& from, const std::string& to) override {
        const auto source = files.find(from);
        if (source == files.end()) return -ENOENT;
        std::string bytes = std::move(source->second);
        files.erase(source);
        files[to] = std::move(bytes);
        return 0;
    }

    int remove(const std::string& path) override { return files.erase(path) ? 0 : -ENOENT; }

  private:
    struct Handle {
        std::string path;
        std::size_t position;
    };
    std::map<int, Handle> handles_;
    int next_ = 3;
};

} // namespace kelvaro::fuzz
