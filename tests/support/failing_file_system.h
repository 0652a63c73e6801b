#pragma once

#include "catalogue/file_system.h"

#include <cerrno>
#include <functional>
#include <map>
#include <string>

// The real files, with the operations that a rule picks failing. The rule
// sees each operation with its file and its number among all operations
// (counted from 1) and gives the error number to fail with, or 0. A write
// that fails has written half of its bytes, as on a disk that fills up; a
// close that fails has closed the file.
class FailingFileSystem final : public kelvaro::FileSystem {
  public:
    enum class Step { OpenRead, OpenWrite, Read, Write, Flush, Close, Rename, Remove };
    using Rule = std::function<int(Step step, const std::string& path, int call)>;

    explicit FailingFileSystem(Rule rule) : rule_(std::move(rule)) {}

    // The n-th operation fails, with an error that the step can meet.
    static Rule atCall(int n) {
        return [n](Step step, const std::string&, int call) {
            if (call != n) return 0;
            switch (step) {
            case Step::Write:
                return ENOSPC;
            case Step::Read:
            case Step::Flush:
            case Step::Close:
                return EIO;
            default:
                return EACCES;
            }
        };
    }
    // A folder that cannot be written (EROFS, or EACCES for permissions):
    // files open for reading only, and nothing is renamed or removed.
    static Rule readOnly(int error) {
        return [error](Step step, const std::string&, int) {
            return step == Step::OpenWrite || step == Step::Rename || step == Step::Remove ? error
                                                                                           : 0;
        };
    }
    // A full disk: new files can be created, but every write runs out of room.
    static Rule fullDisk() {
        return [](Step step, const std::string&, int) { return step == Step::Write ? ENOSPC : 0; };
    }

    void setRule(Rule rule) { rule_ = std::move(rule); }
    int calls() const { return calls_; }

    int open(const std::string& path, kelvaro::OpenMode mode) override {
        const Step step = mode == kelvaro::OpenMode::Read ? Step::OpenRead : Step::OpenWrite;
        if (const int error = fault(step, path)) return -error;
        const int file = real().open(path, mode);
        if (file >= 0) paths_[file] = path;
        return file;
    }
    long read(int file, char* buffer, std::size_t size) override {
        if (const int error = fault(Step::Read, paths_[file])) return -error;
        return real().read(file, buffer, size);
    }
    int write(int file, std::string_view bytes) override {
        if (const int error = fault(Step::Write, paths_[file])) {
            real().write(file, bytes.substr(0, bytes.size() / 2));
            return -error;
        }
        return real().write(file, bytes);
    }
    int flush(int file) override {
        if (const int error = fault(Step::Flush, paths_[file])) return -error;
        return real().flush(file);
    }
    int close(int file) override {
        const int error = fault(Step::Close, paths_[file]);
        paths_.erase(file);
        const int closed = real().close(file);
        return error ? -error : closed;
    }
    int rename(const std::string& from, const std::string& to) override {
        if (const int error = fault(Step::Rename, to)) return -error;
        return real().rename(from, to);
    }
    int remove(const std::string& path) override {
        if (const int error = fault(Step::Remove, path)) return -error;
        return real().remove(path);
    }

  private:
    static kelvaro::FileSystem& real() { return kelvaro::realFileSystem(); }
    int fault(Step step, const std::string& path) {
        return rule_ ? rule_(step, path, ++calls_) : 0;
    }

    Rule rule_;
    int calls_ = 0;
    std::map<int, std::string> paths_;
};
