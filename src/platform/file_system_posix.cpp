// The file steps on Linux (POSIX): the system calls of the seam.
#include "platform/file_system.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace kelvaro {

namespace {

constexpr std::chrono::milliseconds kLongestPause{50}; // between two tries of a lock

int negatedErrno() {
    return -errno;
}

// 0 for a plain file, else the error number that says what it is.
int plainFileError(int file) {
    struct stat status;
    return ::fstat(file, &status) < 0 ? errno
           : S_ISREG(status.st_mode)  ? 0
           : S_ISDIR(status.st_mode)  ? EISDIR
                                      : EINVAL;
}

class RealFileSystem final : public FileSystem {
  public:
    int open(const std::string& path, OpenMode mode) override {
        // Without waiting: a named pipe in a catalogue file's place would
        // otherwise hold the window until some other program opens it. A
        // new file is created only where no entry is, so never through a
        // link.
        const int flags =
            mode == OpenMode::Read ? O_RDONLY : O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
        int file;
        do {
            file = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
        } while (file < 0 && errno == EINTR);
        if (file < 0) return negatedErrno();
        // Plain files only: a pipe or a device (/dev/zero never ends) is no
        // catalogue file.
        if (const int error = plainFileError(file)) {
            ::close(file);
            return -error;
        }
        return file;
    }

    long read(int file, char* buffer, std::size_t size) override {
        ssize_t count;
        do {
            count = ::read(file, buffer, size);
        } while (count < 0 && errno == EINTR);
        return count < 0 ? negatedErrno() : static_cast<long>(count);
    }

    int write(int file, std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t count = ::write(file, bytes.data(), bytes.size());
            if (count < 0) {
                if (errno == EINTR) continue;
                return negatedErrno();
            }
            bytes.remove_prefix(static_cast<std::size_t>(count));
        }
        return 0;
    }

    int flush(int file) override { return ::fsync(file) < 0 ? negatedErrno() : 0; }

    int close(int file) override {
        return ::close(file) < 0 && errno != EINTR ? negatedErrno() : 0;
    }

    int rename(const std::string& from, const std::string& to) override {
        // A link the user made stays a link; writers hold the catalogue's
        // lock, so nothing puts one there between the look and the rename.
        struct stat status;
        if (::lstat(to.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) return -ELOOP;
        if (::rename(from.c_str(), to.c_str()) < 0) return negatedErrno();
        // The rename itself reaches the disk with its folder. A folder that
        // cannot be flushed still holds the renamed file, so this is no failure.
        const int handle = ::open(folderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (handle >= 0) {
            ::fsync(handle);
            ::close(handle);
        }
        return 0;
    }

    int remove(const std::string& path) override {
        return ::unlink(path.c_str()) < 0 ? negatedErrno() : 0;
    }

    // An open-file-description lock: it excludes every other handle, of
    // this program's other threads too, and on a network folder the lock
    // goes to the server. It ends when its handle is closed, so a killed
    // program leaves no lock behind.
    int lock(const std::string& path, std::chrono::milliseconds timeout) override {
        const int file = openLockFile(path);
        if (file < 0) return file;
        if (const int error = plainFileError(file)) {
            ::close(file);
            return -error;
        }
        struct flock whole = {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (std::chrono::milliseconds pause{1};; pause = std::min(2 * pause, kLongestPause)) {
            if (::fcntl(file, F_OFD_SETLK, &whole) == 0) return file;
            const int error = errno;
            const bool held = error == EAGAIN || error == EACCES || error == EINTR;
            if (!held || std::chrono::steady_clock::now() >= deadline) {
                ::close(file);
                return held ? -EAGAIN : -error;
            }
            std::this_thread::sleep_for(pause);
        }
    }

    void unlock(int handle) override { ::close(handle); }

    bool isReadOnly(const std::string& path) override {
        struct stat status;
        return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
               (status.st_mode & 0222) == 0;
    }

    FolderListing listFolder(const std::string& folder, std::string_view prefix) override {
        FolderListing listing;
        DIR* entries = ::opendir(folder.c_str());
        if (entries == nullptr) {
            listing.error = errno;
            return listing;
        }
        const time_t now = ::time(nullptr);
        while (const dirent* entry = ::readdir(entries)) {
            const std::string_view name = entry->d_name;
            struct stat status;
            if (!name.starts_with(prefix) ||
                ::fstatat(::dirfd(entries), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) < 0)
                continue;
            listing.entries.push_back(
                {std::string(name), static_cast<long long>(now) - status.st_mtime});
        }
        ::closedir(entries);
        return listing;
    }

  private:
    // The lock file, created if missing. A new one may be written by every
    // user who may write the folder, and so replace the catalogue's files:
    // a write lock needs a handle open for writing.
    static int openLockFile(const std::string& path) {
        constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        for (;;) {
            int file = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0600);
            if (file >= 0) {
                struct stat folder;
                if (::stat(folderOf(path).c_str(), &folder) == 0)
                    ::fchmod(file, folder.st_mode & 0666 & ((folder.st_mode & 0222) * 3));
                return file;
            }
            if (errno == EINTR) continue;
            if (errno != EEXIST) return negatedErrno();
            file = ::open(path.c_str(), kFlags);
            if (file >= 0) return file;
            // Removed between the two opens: create it again.
            if (errno != EINTR && errno != ENOENT) return negatedErrno();
        }
    }

    static std::string folderOf(const std::string& path) {
        const auto slash = path.rfind('/');
        return slash == std::string::npos ? "." : path.substr(0, slash + 1);
    }
};

} // namespace

FileSystem& realFileSystem() {
    static RealFileSystem instance;
    return instance;
}

} // namespace kelvaro
