#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

// A catalogue folder of its own for one test, removed afterwards. Files are
// written and read as raw bytes, so a test states their exact content.
class TemporaryCatalogue {
  public:
    TemporaryCatalogue() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvaro-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
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
        std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    std::optional<std::string> read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    bool exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

    // Every file of the folder with its bytes.
    std::map<std::string, std::string> contents() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            const std::string name = entry.path().filename().string();
            files[name] = read(name).value_or("<unreadable>");
        }
        return files;
    }

  private:
    std::string path_;
};
