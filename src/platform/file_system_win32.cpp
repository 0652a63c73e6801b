// The file steps on Windows: the same steps as file_system_posix.cpp with
// the Win32 calls, paths as UTF-16 (the catalogue's Chinese file names), and
// each failure as the errno value whose Chinese message every system shows.
#include "platform/file_system.h"
#include "platform/win32_text.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <io.h>
#include <thread>

namespace kelvaro {

namespace {

constexpr std::chrono::milliseconds kLongestPause{50}; // between two tries of a lock
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring widePath(const std::string& path) {
    return win32::utf16(path).value_or(std::wstring());
}

// A ':' past the drive names a file's hidden stream on NTFS ("A:B.dat" is
// stream B.dat of a file A): no catalogue file is one.
bool namesStream(const std::wstring& path) {
    const auto colon = path.find(L':', 2);
    return colon != std::wstring::npos && path.compare(0, 4, L"\\\\?\\") != 0;
}

DWORD attributesOf(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

bool isLink(const std::wstring& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The errno value of the last Win32 error. A folder in a file's place is
// "access denied" to Windows, as is a file that is being deleted.
int negatedError(const std::wstring& path = {}) {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return -ENOENT;
    case ERROR_ACCESS_DENIED: {
        const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : attributesOf(path);
        const bool folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        return folder ? -EISDIR : -EACCES;
    }
    case ERROR_SHARING_VIOLATION:
        return -EBUSY;
    case ERROR_LOCK_VIOLATION:
        return -EAGAIN;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return -EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return -ENOSPC;
    case ERROR_WRITE_PROTECT:
        return -EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
        return -ENAMETOOLONG;
    case ERROR_DIRECTORY:
        return -ENOTDIR;
    case ERROR_TOO_MANY_OPEN_FILES:
        return -EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return -ENOMEM;
    case ERROR_NOT_SUPPORTED:
        return -ENOTSUP;
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_SEM_TIMEOUT:
        return -ETIMEDOUT;
    case ERROR_INVALID_NAME: // characters such as : * ? that Windows keeps out of names
        return -kNameNotAllowed;
    default:
        return -EIO;
    }
}

HANDLE handleOf(int file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(file));
}

// The handle as a C runtime file number, as the seam hands out; files on a
// disk only: NUL, CON or a pipe in a name's place is no catalogue file.
int fileNumber(HANDLE handle, int flags) {
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return -EINVAL;
    }
    const int file = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (file < 0) {
        CloseHandle(handle);
        return -EMFILE;
    }
    return file;
}

// Seconds since 1601 from a file time.
long long seconds(FILETIME time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<long long>(value.QuadPart / 10000000);
}

class RealFileSystem final : public FileSystem {
  public:
    int open(const std::string& path, OpenMode mode) override {
        const std::wstring name = widePath(path);
        if (name.empty()) return -ENOENT;
        if (namesStream(name)) return mode == OpenMode::Read ? -ENOENT : -kNameNotAllowed;
        // Others may read, replace or delete a file while it is read, as on
        // Linux. A new file is created only where no entry is: CREATE_NEW
        // fails on any name that is taken, a link's too.
        const bool reading = mode == OpenMode::Read;
        const HANDLE handle = CreateFileW(
            name.c_str(), reading ? GENERIC_READ : GENERIC_WRITE, kShareAll, nullptr,
            reading ? OPEN_EXISTING : CREATE_NEW,
            reading ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
            nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            // No file can have a name that Windows keeps out: there is none to read.
            if (reading && GetLastError() == ERROR_INVALID_NAME) return -ENOENT;
            return negatedError(name);
        }
        return fileNumber(handle, reading ? _O_RDONLY : _O_WRONLY);
    }

    long read(int file, char* buffer, std::size_t size) override {
        DWORD count = 0;
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!ReadFile(handleOf(file), buffer, wanted, &count, nullptr)) return negatedError();
        return static_cast<long>(count);
    }

    int write(int file, std::string_view bytes) override {
        while (!bytes.empty()) {
            DWORD count = 0;
            const auto wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            if (!WriteFile(handleOf(file), bytes.data(), wanted, &count, nullptr))
                return negatedError();
            bytes.remove_prefix(count);
        }
        return 0;
    }

    int flush(int file) override { return FlushFileBuffers(handleOf(file)) ? 0 : negatedError(); }

    int close(int file) override { return _close(file) < 0 ? -EIO : 0; }

    // The replacing rename reaches the disk before it returns. A link the
    // user made stays a link, as on Linux.
    int rename(const std::string& from, const std::string& to) override {
        const std::wstring source = widePath(from), target = widePath(to);
        if (namesStream(target)) return -kNameNotAllowed;
        if (isLink(target)) return -ELOOP;
        if (MoveFileExW(source.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return 0;
        return negatedError(target);
    }

    int remove(const std::string& path) override {
        const std::wstring name = widePath(path);
        return DeleteFileW(name.c_str()) ? 0 : negatedError(name);
    }

    // A lock on the whole of the lock file with LockFileEx: it excludes
    // every other handle, of this program's other threads too, and on a
    // network folder the server keeps it. It ends when its handle is
    // closed, so a killed program leaves no lock behind.
    int lock(const std::string& path, std::chrono::milliseconds timeout) override {
        const std::wstring name = widePath(path);
        if (name.empty()) return -ENOENT;
        const HANDLE handle =
            CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return negatedError(name);
        BY_HANDLE_FILE_INFORMATION information;
        if (GetFileInformationByHandle(handle, &information) &&
            (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            CloseHandle(handle);
            return -ELOOP;
        }
        const int file = fileNumber(handle, _O_RDWR);
        if (file < 0) return file;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (std::chrono::milliseconds pause{1};; pause = std::min(2 * pause, kLongestPause)) {
            OVERLAPPED whole = {};
            if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                           MAXDWORD, &whole))
                return file;
            const int error = negatedError();
            if (error != -EAGAIN || std::chrono::steady_clock::now() >= deadline) {
                _close(file);
                return error;
            }
            std::this_thread::sleep_for(pause);
        }
    }

    void unlock(int handle) override { _close(handle); }

    bool isReadOnly(const std::string& path) override {
        const DWORD attributes = attributesOf(widePath(path));
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
               !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    FolderListing listFolder(const std::string& folder, std::string_view prefix) override {
        FolderListing listing;
        const std::wstring pattern = widePath(folder + "/*");
        WIN32_FIND_DATAW entry;
        const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                               FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE) {
            listing.error = -negatedError();
            return listing;
        }
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        do {
            const std::optional<std::string> name = win32::utf8(entry.cFileName);
            if (!name || !name->starts_with(prefix)) continue;
            listing.entries.push_back({*name, seconds(now) - seconds(entry.ftLastWriteTime)});
        } while (FindNextFileW(search, &entry));
        FindClose(search);
        return listing;
    }
};

} // namespace

FileSystem& realFileSystem() {
    static RealFileSystem instance;
    return instance;
}

} // namespace kelvaro
