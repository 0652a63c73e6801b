#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>

// A catalogue folder of its own for one test, removed afterwards. Files are
// written and read as raw bytes, so a test states their exact content.
// Names and paths are UTF-8 with "/" between the parts, as the program has
// them on every system (on Windows the file names themselves are UTF-16).
class TemporaryCatalogue {
  public:
    using Files = std::map<std::string, std::string>;

    explicit TemporaryCatalogue(const Files& files = {}) {
        std::random_device random;
        const std::filesystem::path temporary = std::filesystem::temp_directory_path();
        for (int attempt = 0; path_.empty(); ++attempt) {
            const std::filesystem::path folder =
                temporary / ("kelvaro-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(folder)) path_ = utf8(folder.generic_u8string());
            if (attempt == 100) throw std::runtime_error("no temporary folder");
        }
        for (const auto& [name, bytes] : files)
            write(name, bytes);
    }
    ~TemporaryCatalogue() {
        std::error_code ignored;
        std::filesystem::remove_all(native(path_), ignored);
    }
    TemporaryCatalogue(const TemporaryCatalogue&) = delete;
    TemporaryCatalogue& operator=(const TemporaryCatalogue&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // The system's path of a UTF-8 path, for the standard library's calls.
    static std::filesystem::path native(const std::string& utf8Path) {
        return std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end()));
    }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(native(file(name)), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::optional<std::string> read(const std::string& name) const {
        std::ifstream in(native(file(name)), std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Every entry with its bytes, or "-> target" for a link and "<no file>"
    // for a folder or pipe, so that damage shows as it is. The empty lock
    // file that every writer leaves is left out.
    Files contents() const {
        Files entries;
        for (const auto& entry : std::filesystem::directory_iterator(native(path_))) {
            const std::string name = utf8(entry.path().filename().u8string());
            if (name == "jixing.lock" && !entry.is_symlink() && entry.is_regular_file() &&
                entry.file_size() == 0)
                continue;
            if (entry.is_symlink())
                entries[name] =
                    "-> " + utf8(std::filesystem::read_symlink(entry.path()).u8string());
            else
                entries[name] = entry.is_regular_file() ? read(name).value_or("") : "<no file>";
        }
        return entries;
    }

  private:
    static std::string utf8(const std::u8string& text) { return {text.begin(), text.end()}; }

    std::string path_;
};
