#pragma once

#include "platform/file_system.h"

#include <cerrno>
#include <functional>
#include <string>

// The real files, with the operations that a rule picks failing. The rule
// sees each operation with its number among all operations (from 1) and
// gives the error number to fail with, or 0. A write that fails has written
// half of its bytes, as on a disk that fills up. `steps` logs every
// operation as a letter: r w G W F C R D L U E (open for reading, create,
// read, write, flush, close, rename, remove, lock, unlock, list a folder).
class FailingFileSystem final : public kelvaro::FileSystem {
  public:
    using Rule = std::function<int(char step, int call)>;
    explicit FailingFileSystem(Rule rule = nullptr) : rule(std::move(rule)) {}

    // The n-th operation fails.
    static Rule atCall(int n) {
        return [n](char, int call) { return call == n ? EIO : 0; };
    }
    // A folder that cannot be written: nothing is created, renamed or removed.
    static Rule readOnly(int error) {
        return [error](char step, int) {
            return step == 'w' || step == 'R' || step == 'D' || step == 'L' ? error : 0;
        };
    }

    Rule rule;
    std::string steps;

    int open(const std::string& path, kelvaro::OpenMode mode) override {
        if (int error = fault(mode == kelvaro::OpenMode::Read ? 'r' : 'w')) return -error;
        return real().open(path, mode);
    }
    long read(int file, char* buffer, std::size_t size) override {
        if (int error = fault('G')) return -error;
        return real().read(file, buffer, size);
    }
    int write(int file, std::string_view bytes) override {
        if (int error = fault('W')) {
            real().write(file, bytes.substr(0, bytes.size() / 2));
            return -error;
        }
        return real().write(file, bytes);
    }
    int flush(int file) override {
        if (int error = fault('F')) return -error;
        return real().flush(file);
    }
    int close(int file) override {
        const int error = fault('C');
        const int closed = real().close(file);
        return error ? -error : closed;
    }
    int rename(const std::string& from, const std::string& to) override {
        if (int error = fault('R')) return -error;
        return real().rename(from, to);
    }
    int remove(const std::string& path) override {
        if (int error = fault('D')) return -error;
        return real().remove(path);
    }
    int lock(const std::string& path, std::chrono::milliseconds timeout) override {
        if (int error = fault('L')) return -error;
        return real().lock(path, timeout);
    }
    void unlock(int handle) override {
        steps += 'U';
        real().unlock(handle);
    }
    bool isReadOnly(const std::string& path) override { return real().isReadOnly(path); }
    kelvaro::FolderListing listFolder(const std::string& folder, std::string_view prefix) override {
        if (int error = fault('E')) return {error, {}};
        return real().listFolder(folder, prefix);
    }

  private:
    static kelvaro::FileSystem& real() { return kelvaro::realFileSystem(); }
    int fault(char step) {
        steps += step;
        return rule ? rule(step, static_cast<int>(steps.size())) : 0;
    }
};
