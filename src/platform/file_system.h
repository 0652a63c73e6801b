#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The catalogue's few file operations go through FileSystem, so that a test
// can make any single step fail and check that the catalogue is unchanged,
// and so that each system implements them with its own calls.
//
// Every write replaces its file in one step: the new content goes to a new
// temporary file of a fresh name in the same folder, is flushed to the disk
// and is then renamed over the old file, so a failure at any point leaves
// either the old or the new file, never a half-written one. The temporary
// file is only ever created new: a link or file that already has its name
// is never written through.
//
// Writers of one catalogue take its lock, a lock file in the catalogue
// folder, for the whole of each read-modify-write, so that two programs
// (two instances, or two computers on a shared folder) never lose each
// other's changes. Readers take no lock: they always see a whole file.

namespace kelvaro {

enum class OpenMode {
    Read,
    CreateNew, // fails with EEXIST if any entry, a link among them, has the name
};

class CatalogueLock;

// A folder entry whose name starts with a given prefix.
struct FolderEntry {
    std::string name;
    long long secondsOld = 0; // since it was last written
};
struct FolderListing {
    int error = 0;
    std::vector<FolderEntry> entries;
};

// How long a writer waits for another program's lock on the catalogue.
inline constexpr std::chrono::milliseconds kCatalogueLockWait{5000};

// Each operation returns a non-negative value on success (a file handle, a
// byte count or 0) and minus the error number (errno) on failure.
// The seam's own error number: a name with characters the system keeps out
// of file names (Windows: \ / : * ? " < > |).
inline constexpr int kNameNotAllowed = 10100;
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual int open(const std::string& path, OpenMode mode) = 0;
    virtual long read(int file, char* buffer, std::size_t size) = 0; // 0 at the end
    virtual int write(int file, std::string_view bytes) = 0;         // all of them
    virtual int flush(int file) = 0;                                 // to the disk
    virtual int close(int file) = 0;
    // Replaces `to`, if it exists, in one step. A symbolic link at `to` is
    // never replaced: that fails with ELOOP and changes nothing.
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int remove(const std::string& path) = 0;
    // Takes an exclusive lock on the file at `path`, created if missing but
    // never through a link, against every other handle of every program,
    // waiting at most `timeout` for one that holds it: a handle, or -EAGAIN
    // when it is still held then. The lock ends with unlock or with the
    // program.
    virtual int lock(const std::string& path, std::chrono::milliseconds timeout) = 0;
    virtual void unlock(int handle) = 0;
    // The entries of `folder` whose names start with `prefix`.
    virtual FolderListing listFolder(const std::string& folder, std::string_view prefix) = 0;
    // Whether the user made the file at `path` read-only (no write
    // permission in its mode; on Windows its read-only attribute), which a
    // rename over it would not respect. A missing file is not.
    virtual bool isReadOnly(const std::string& path) = 0;

    // Takes the lock of the catalogue in `folder` for one change of it; see
    // CatalogueLock.
    CatalogueLock lockCatalogue(const std::string& folder,
                                std::chrono::milliseconds timeout = kCatalogueLockWait);
};

// The operating system's files.
FileSystem& realFileSystem();

// Held from lockCatalogue until it is destroyed. Once held, the temporary
// files of Kelvaro's naming that a killed writer left in the folder and that
// are older than a minute have been removed. Not held: `message` says why
// ("机床目录正被另一个程序修改，请稍后再试" when another program kept it,
// folderNotWritable when the lock file cannot be made or opened for
// writing, as in a folder under Program Files).
class CatalogueLock {
  public:
    CatalogueLock(CatalogueLock&& other) noexcept;
    CatalogueLock& operator=(CatalogueLock&&) = delete;
    ~CatalogueLock();

    bool held() const { return handle_ >= 0; }
    FileSystem& fileSystem() const { return *fs_; }
    const std::string& folder() const { return folder_; }
    const std::string& message() const { return message_; }

  private:
    friend class FileSystem;
    CatalogueLock(FileSystem& fs, std::string folder, int handle, std::string message);

    FileSystem* fs_;
    std::string folder_;
    int handle_;
    std::string message_;
};

inline constexpr std::string_view kCatalogueLockFile = "jixing.lock";
inline constexpr const char* kCatalogueBusyMessage = "机床目录正被另一个程序修改，请稍后再试";

// A file of the catalogue folder: the folder, "/" and the name.
std::string catalogueFile(const std::string& directory, std::string_view name);

// Whether `name` is a temporary file name of Kelvaro's own making.
bool isTemporaryName(std::string_view name);

// The bytes of a whole file, or the error number of the step that failed.
struct FileBytes {
    int error = 0;
    std::string bytes;    // the first `keep` of them
    std::size_t size = 0; // how many were read: all, or a few more than `countTo`
};
// Past `keep` bytes the file is only counted, and past `countTo` no longer
// read, so that a file too large to use is never held whole.
FileBytes readWholeFile(FileSystem& fs, const std::string& path,
                        std::size_t keep = std::string::npos,
                        std::size_t countTo = std::string::npos);

// Replaces the file at `path` with `bytes` in one step, through a new
// temporary file of a fresh name in its folder. On failure the temporary
// file is removed and `path` is as before. Returns an empty text, or a
// message that names `path` and the reason.
std::string writeWholeFile(FileSystem& fs, const std::string& path, std::string_view bytes);
// The same for a file of the catalogue whose lock is `held`; where the
// temporary file cannot be created for want of permission or on a read-only
// disk, the message is folderNotWritable.
std::string writeWholeFile(const CatalogueLock& held, const std::string& path,
                           std::string_view bytes);
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
// Whether `error` from creating an entry says that its folder cannot be
// written at all (no permission, a read-only disk).
bool isFolderNotWritable(int error);
// The catalogue's folder cannot be written: which, why, and the way out.
std::string folderNotWritable(const std::string& folder, int error);

} // namespace kelvaro
