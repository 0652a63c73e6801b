// Runs a fuzz target over the files of one folder (not descended into),
// without libFuzzer: the corpus tests of builds that are not
// fuzz builds. A failed property aborts.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    std::error_code error; // a corpus that went missing lists no file: an error below
    for (const auto& entry : std::filesystem::directory_iterator(argc > 1 ? argv[1] : "", error))
        if (entry.is_regular_file()) files.push_back(entry.path());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        // A copy of exactly the input's size, so that the sanitizers see any
        // read past its end.
        const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    return files.empty() ? 1 : 0;
}
