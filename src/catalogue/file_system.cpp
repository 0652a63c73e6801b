#include "catalogue/file_system.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>
#include <thread>

// The system calls of the seam, all in this first part.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace kelvaro {

namespace {

constexpr std::chrono::milliseconds kLongestPause{50}; // between two tries of a lock

int failure() {
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
        if (file < 0) return failure();
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
        return count < 0 ? failure() : static_cast<long>(count);
    }

    int write(int file, std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t count = ::write(file, bytes.data(), bytes.size());
            if (count < 0) {
                if (errno == EINTR) continue;
                return failure();
            }
            bytes.remove_prefix(static_cast<std::size_t>(count));
        }
        return 0;
    }

    int flush(int file) override { return ::fsync(file) < 0 ? failure() : 0; }

    int close(int file) override { return ::close(file) < 0 && errno != EINTR ? failure() : 0; }

    int rename(const std::string& from, const std::string& to) override {
        // A link the user made stays a link; writers hold the catalogue's
        // lock, so nothing puts one there between the look and the rename.
        struct stat status;
        if (::lstat(to.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) return -ELOOP;
        if (::rename(from.c_str(), to.c_str()) < 0) return failure();
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
        return ::unlink(path.c_str()) < 0 ? failure() : 0;
    }

    // An open-file-description lock: it excludes every other handle, of
    // this program's other threads too, and on a network folder the lock
    // goes to the server. It ends when its handle is closed, so a killed
    // program leaves no lock behind.
    int lock(const std::string& path, std::chrono::milliseconds timeout) override {
        int file;
        do {
            file =
                ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        } while (file < 0 && errno == EINTR);
        if (file < 0) return failure();
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

// Everything below works on any system, through the FileSystem operations.

namespace {

// Temporary files are named ".kelvaro-", 16 hexadecimal digits and ".tmp":
// short enough for a folder of names of the longest length, and of a form
// that no file of the user's has by chance.
constexpr std::string_view kTemporaryPrefix = ".kelvaro-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryDigits = 16;
constexpr std::string_view kHexDigits = "0123456789abcdef";

// A writer holds its temporary file for far less than this; an older one
// was left by a writer that was killed.
constexpr long long kLeftoverSeconds = 60;

std::string freshTemporaryName() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string name(kTemporaryPrefix);
    for (std::uint64_t value = random(); name.size() < kTemporaryPrefix.size() + kTemporaryDigits;
         value >>= 4)
        name += kHexDigits[value & 15];
    name += kTemporarySuffix;
    return name;
}

// The folder part of a path with its "/", or nothing.
std::string folderPart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string reasonText(int error) {
    switch (error) {
    case ENOENT:
        return "文件或文件夹不存在";
    case EACCES:
    case EPERM:
        return "没有访问权限";
    case ENOSPC:
        return "磁盘空间不足";
    case EDQUOT:
        return "超出磁盘配额";
    case EROFS:
        return "磁盘是只读的";
    case EISDIR:
        return "这是一个文件夹";
    case EINVAL: // only a file that is no plain file gives it here
    case ENXIO:  // a pipe that no program reads
    case ENODEV:
        return "不是普通文件";
    case ENOTDIR:
        return "路径中有不是文件夹的部分";
    case ENAMETOOLONG:
        return "文件名太长";
    case EIO:
        return "读写错误";
    case EILSEQ:
        return "有不能用 GBK 保存的字符";
    case ELOOP:
        return "符号链接层数过多";
    case EMFILE:
    case ENFILE:
        return "打开的文件太多";
    case ENOMEM:
        return "内存不足";
    case EBUSY:
    case ETXTBSY:
        return "文件正被使用";
    case EEXIST:
        return "文件已存在";
    case EAGAIN:
        return "文件暂时不能使用，请稍后再试";
    case EFBIG:
    case EOVERFLOW:
        return "文件太大";
    case ENOLCK:
        return "系统不能提供文件锁";
    case ESTALE:
        return "网络文件夹中的文件已失效";
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ECONNABORTED:
    case ECONNREFUSED:
    case ECONNRESET:
        return "网络连接中断";
    case ENOTSUP:
        return "文件系统不支持这个操作";
    case EINTR:
        return "操作被中断";
    default:
        return "系统错误（编号 " + std::to_string(error) + "）";
    }
}

} // namespace

CatalogueLock FileSystem::lockCatalogue(const std::string& folder,
                                        std::chrono::milliseconds timeout) {
    const std::string path = catalogueFile(folder, kCatalogueLockFile);
    const int handle = lock(path, timeout);
    if (handle == -EAGAIN) return CatalogueLock(*this, folder, -1, kCatalogueBusyMessage);
    if (handle < 0) return CatalogueLock(*this, folder, -1, writeFailure(path, -handle));
    // Clearing is best effort: a leftover that stays only takes room.
    for (const FolderEntry& entry : listFolder(folder, kTemporaryPrefix).entries)
        if (isTemporaryName(entry.name) && entry.secondsOld > kLeftoverSeconds)
            remove(catalogueFile(folder, entry.name));
    return CatalogueLock(*this, folder, handle, {});
}

CatalogueLock::CatalogueLock(FileSystem& fs, std::string folder, int handle, std::string message)
    : fs_(&fs), folder_(std::move(folder)), handle_(handle), message_(std::move(message)) {}

CatalogueLock::CatalogueLock(CatalogueLock&& other) noexcept
    : fs_(other.fs_), folder_(std::move(other.folder_)), handle_(other.handle_),
      message_(std::move(other.message_)) {
    other.handle_ = -1;
}

CatalogueLock::~CatalogueLock() {
    if (handle_ >= 0) fs_->unlock(handle_);
}

std::string catalogueFile(const std::string& directory, std::string_view name) {
    std::string path = directory;
    path += '/';
    path += name;
    return path;
}

bool isTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return false;
    const std::string_view digits = name.substr(kTemporaryPrefix.size(), kTemporaryDigits);
    return digits.find_first_not_of(kHexDigits) == std::string_view::npos;
}

FileBytes readWholeFile(FileSystem& fs, const std::string& path) {
    FileBytes result;
    const int file = fs.open(path, OpenMode::Read);
    if (file < 0) {
        result.error = -file;
        return result;
    }
    char buffer[65536];
    for (;;) {
        const long count = fs.read(file, buffer, sizeof buffer);
        if (count < 0) {
            result.error = static_cast<int>(-count);
            result.bytes.clear();
            break;
        }
        if (count == 0) break;
        result.bytes.append(buffer, static_cast<std::size_t>(count));
    }
    // A file opened only for reading has nothing to lose at close.
    fs.close(file);
    return result;
}

std::string writeWholeFile(FileSystem& fs, const std::string& path, std::string_view bytes) {
    // A name that is taken, by a link or a file, is passed over for another.
    const std::string folder = folderPart(path);
    std::string temporary;
    int file = -EEXIST;
    for (int attempt = 0; attempt < 100 && file == -EEXIST; ++attempt) {
        temporary = folder + freshTemporaryName();
        file = fs.open(temporary, OpenMode::CreateNew);
    }
    if (file < 0) return writeFailure(path, -file);

    int status = fs.write(file, bytes);
    if (status == 0) status = fs.flush(file);
    const int closed = fs.close(file);
    if (status == 0) status = closed;
    if (status == 0) status = fs.rename(temporary, path);
    if (status == 0) return {};
    fs.remove(temporary);
    return writeFailure(path, -status);
}

std::string readFailure(const std::string& path, int error) {
    return "无法读取文件 " + path + "：" + reasonText(error);
}

std::string writeFailure(const std::string& path, int error) {
    // Writes meet a link only where one stands in the file's own place.
    const std::string reason =
        error == ELOOP ? "这是一个符号链接，Kelvaro 不会改动它" : reasonText(error);
    return "无法写入文件 " + path + "：" + reason;
}

} // namespace kelvaro
