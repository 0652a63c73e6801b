#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The catalogue's few file operations go through FileSystem, so that a test
// can make any single step fail and check that the catalogue is unchanged.
// Every write replaces its file in one step: the new content goes to a
// temporary file in the same folder, is flushed to the disk and is then
// renamed over the old file, so a failure at any point leaves either the old
// or the new file, never a half-written one.

namespace kelvaro {

enum class OpenMode {
    Read,
    Write, // created, or emptied if it exists
};

// Each operation returns a non-negative value on success (a file handle, a
// byte count or 0) and minus the error number (errno) on failure.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual int open(const std::string& path, OpenMode mode) = 0;
    virtual long read(int file, char* buffer, std::size_t size) = 0; // 0 at the end
    virtual int write(int file, std::string_view bytes) = 0;         // all of them
    virtual int flush(int file) = 0;                                 // to the disk
    virtual int close(int file) = 0;
    // Replaces `to`, if it exists, in one step.
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int remove(const std::string& path) = 0;
};

// The operating system's files.
FileSystem& realFileSystem();

// A file of the catalogue folder: the folder, "/" and the name.
std::string catalogueFile(const std::string& directory, std::string_view name);

// The bytes of a whole file, or the error number of the step that failed.
struct FileBytes {
    int error = 0;
    std::string bytes;
};
FileBytes readWholeFile(FileSystem& fs, const std::string& path);

// Writes `bytes` to `temporary`, flushes it and renames it over `target`. On
// failure `temporary` is removed and `target` is as before. Returns an empty
// text, or a message that names the file and the reason.
std::string replaceFile(FileSystem& fs, const std::string& temporary, const std::string& target,
                        std::string_view bytes);

// Replaces the file at `path` with `bytes` as replaceFile does, through
// `path` + ".tmp"; a failure's message names `path`.
std::string writeWholeFile(FileSystem& fs, const std::string& path, std::string_view bytes);
// writeWholeFile over `fs`, as a window's file export takes it.
inline std::function<std::string(const std::string& path, const std::string& bytes)>
wholeFileWriter(FileSystem& fs) {
    return [&fs](const std::string& path, const std::string& bytes) {
        return writeWholeFile(fs, path, bytes);
    };
}

// Messages for the user, naming the file and the reason.
std::string readFailure(const std::string& path, int error);
std::string writeFailure(const std::string& path, int error);

} // namespace kelvaro
