#include "platform/file_system.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>

// The steps that work on any system, through the FileSystem operations;
// each system's calls are in file_system_posix.cpp and file_system_win32.cpp.

namespace kelvaro {

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
    case kNameNotAllowed:
        return "文件名中有系统不允许的字符";
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
    if (handle < 0 && isFolderNotWritable(-handle))
        return CatalogueLock(*this, folder, -1, folderNotWritable(folder, -handle));
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

FileBytes readWholeFile(FileSystem& fs, const std::string& path, std::size_t keep,
                        std::size_t countTo) {
    FileBytes result;
    const int file = fs.open(path, OpenMode::Read);
    if (file < 0) {
        result.error = -file;
        return result;
    }
    char buffer[65536];
    while (result.size <= countTo) {
        const long count = fs.read(file, buffer, sizeof buffer);
        if (count < 0) {
            result.error = static_cast<int>(-count);
            result.bytes.clear();
            break;
        }
        if (count == 0) break;
        const auto read = static_cast<std::size_t>(count);
        if (result.bytes.size() < keep)
            result.bytes.append(buffer, std::min(read, keep - result.bytes.size()));
        result.size += read;
    }
    // A file opened only for reading has nothing to lose at close.
    fs.close(file);
    return result;
}

namespace {

std::string replaceWholeFile(FileSystem& fs, const std::string& path, std::string_view bytes,
                             const std::string* catalogueFolder) {
    // A name that is taken, by a link or a file, is passed over for another.
    const std::string folder = folderPart(path);
    std::string temporary;
    int file = -EEXIST;
    for (int attempt = 0; attempt < 100 && file == -EEXIST; ++attempt) {
        temporary = folder + freshTemporaryName();
        file = fs.open(temporary, OpenMode::CreateNew);
    }
    if (file < 0 && catalogueFolder && isFolderNotWritable(-file))
        return folderNotWritable(*catalogueFolder, -file);
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

} // namespace

std::string writeWholeFile(FileSystem& fs, const std::string& path, std::string_view bytes) {
    return replaceWholeFile(fs, path, bytes, nullptr);
}

std::string writeWholeFile(const CatalogueLock& held, const std::string& path,
                           std::string_view bytes) {
    return replaceWholeFile(held.fileSystem(), path, bytes, &held.folder());
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

bool isFolderNotWritable(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

std::string folderNotWritable(const std::string& folder, int error) {
    return "机床目录所在的文件夹 " + folder + " 不能写入（" + reasonText(error) +
           "），机床目录不能修改。请用安装程序安装 Kelvaro，或把 Kelvaro 解压到可以写入的文件夹。";
}

} // namespace kelvaro
