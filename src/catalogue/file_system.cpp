#include "catalogue/file_system.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvaro {

namespace {

int negatedErrno() {
    return -errno;
}

class RealFileSystem final : public FileSystem {
  public:
    int open(const std::string& path, OpenMode mode) override {
        // Without waiting: a named pipe in a catalogue file's place would
        // otherwise hold the window until some other program opens it.
        const int flags = mode == OpenMode::Read ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
        int file;
        do {
            file = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
        } while (file < 0 && errno == EINTR);
        if (file < 0) return negatedErrno();
        // Plain files only: a pipe or a device (/dev/zero never ends) is no
        // catalogue file.
        struct stat status;
        const int error = ::fstat(file, &status) < 0 ? errno
                          : S_ISREG(status.st_mode)  ? 0
                          : S_ISDIR(status.st_mode)  ? EISDIR
                                                     : EINVAL;
        if (error != 0) {
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
        if (::rename(from.c_str(), to.c_str()) < 0) return negatedErrno();
        // The rename itself reaches the disk with its folder. A folder that
        // cannot be flushed still holds the renamed file, so this is no failure.
        const auto slash = to.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : to.substr(0, slash + 1);
        const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (handle >= 0) {
            ::fsync(handle);
            ::close(handle);
        }
        return 0;
    }

    int remove(const std::string& path) override {
        return ::unlink(path.c_str()) < 0 ? negatedErrno() : 0;
    }
};

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
        return "不是普通文件";
    case ENOTDIR:
        return "路径中有不是文件夹的部分";
    case ENAMETOOLONG:
        return "文件名太长";
    case EIO:
        return "读写错误";
    case EILSEQ:
        return "有不能用 GBK 保存的字符";
    default:
        return std::strerror(error);
    }
}

} // namespace

FileSystem& realFileSystem() {
    static RealFileSystem instance;
    return instance;
}

std::string catalogueFile(const std::string& directory, std::string_view name) {
    std::string path = directory;
    path += '/';
    path += name;
    return path;
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

namespace {

// The error number of the step that failed (0 for none), and whether it
// was the rename over the target.
struct ReplaceStatus {
    int error = 0;
    bool atTarget = false;
};

ReplaceStatus replaceSteps(FileSystem& fs, const std::string& temporary, const std::string& target,
                           std::string_view bytes) {
    const int file = fs.open(temporary, OpenMode::Write);
    if (file < 0) return {-file, false};

    int status = fs.write(file, bytes);
    if (status == 0) status = fs.flush(file);
    const int closed = fs.close(file);
    if (status == 0) status = closed;
    if (status == 0) {
        status = fs.rename(temporary, target);
        if (status == 0) return {};
        fs.remove(temporary);
        return {-status, true};
    }
    fs.remove(temporary);
    return {-status, false};
}

} // namespace

std::string replaceFile(FileSystem& fs, const std::string& temporary, const std::string& target,
                        std::string_view bytes) {
    const ReplaceStatus status = replaceSteps(fs, temporary, target, bytes);
    if (status.error == 0) return {};
    return writeFailure(status.atTarget ? target : temporary, status.error);
}

std::string writeWholeFile(FileSystem& fs, const std::string& path, std::string_view bytes) {
    const ReplaceStatus status = replaceSteps(fs, path + ".tmp", path, bytes);
    return status.error == 0 ? std::string() : writeFailure(path, status.error);
}

std::string readFailure(const std::string& path, int error) {
    return "无法读取文件 " + path + "：" + reasonText(error);
}

std::string writeFailure(const std::string& path, int error) {
    return "无法写入文件 " + path + "：" + reasonText(error);
}

} // namespace kelvaro
