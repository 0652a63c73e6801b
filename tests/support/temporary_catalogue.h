#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

// A catalogue folder of its own for one test, removed afterwards. Files are
// written and read as raw bytes, so a test states their exact content.
class TemporaryCatalogue {
  public:
    using Files = std::map<std::string, std::string>;

    explicit TemporaryCatalogue(const Files& files = {}) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvaro-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        for (const auto& [name, bytes] : files)
            write(name, bytes);
    }
    ~TemporaryCatalogue() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryCatalogue(const TemporaryCatalogue&) = delete;
    TemporaryCatalogue& operator=(const TemporaryCatalogue&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::optional<std::string> read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Every entry with its bytes, or "-> target" for a link and "<no file>"
    // for a folder or pipe, so that damage shows as it is. The empty lock
    // file that every writer leaves is left out.
    Files contents() const {
        Files entries;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            const std::string name = entry.path().filename().string();
            if (name == "jixing.lock" && !entry.is_symlink() && entry.is_regular_file() &&
                entry.file_size() == 0)
                continue;
            if (entry.is_symlink())
                entries[name] = "-> " + std::filesystem::read_symlink(entry.path()).string();
            else
                entries[name] = entry.is_regular_file() ? read(name).value_or("") : "<no file>";
        }
        return entries;
    }

  private:
    std::string path_;
};
