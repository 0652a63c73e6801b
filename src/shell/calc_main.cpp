// kelvaro-calc: the calculations of Kelvaro for scripts, without a window.
#include "shell/calc_command.h"

#include <iostream>

#ifdef KELVARO_HUGE_PAGE_BLOCKS
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

// A short run of kelvaro-calc spends most of its time in page faults: the
// first touch of each 4 KB of the sets' storage and of the product table.
// Large blocks therefore get mappings of their own with transparent huge
// pages asked for, so that a list of thirty thousand sets touches one page
// instead of hundreds (about 570 page faults become 150 for a list of
// 32,000 sets). Everything else goes to malloc as usual; with all 16 slots
// taken a large block does too.
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLargeBlock = std::size_t{128} << 10;

struct Block {
    std::atomic<void*> start{nullptr};
    std::size_t size = 0;
};
std::array<Block, 16> blocks;

void* mapLarge(std::size_t size) {
    const std::size_t length = (size + 2 * kHugePage - 1) / kHugePage * kHugePage;
    void* mapped =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (address + kHugePage - 1) / kHugePage * kHugePage;
    madvise(reinterpret_cast<void*>(aligned), length - (aligned - address), MADV_HUGEPAGE);
    for (Block& block : blocks) {
        void* expected = nullptr;
        if (block.start.compare_exchange_strong(expected, mapped)) {
            // The block starts at the aligned address; its mapping is found by it.
            block.size = length;
            return reinterpret_cast<void*>(aligned);
        }
    }
    munmap(mapped, length);
    return nullptr;
}

bool unmapLarge(void* pointer) {
    for (Block& block : blocks) {
        void* start = block.start.load();
        if (start == nullptr) continue;
        const auto address = reinterpret_cast<std::uintptr_t>(start);
        const std::uintptr_t aligned = (address + kHugePage - 1) / kHugePage * kHugePage;
        if (reinterpret_cast<std::uintptr_t>(pointer) != aligned) continue;
        munmap(start, block.size);
        block.start.store(nullptr);
        return true;
    }
    return false;
}

} // namespace

// Not inlined into their callers, so that tools that watch the allocator
// (valgrind) see every call.
[[gnu::noinline]] void* operator new(std::size_t size) {
    if (size >= kLargeBlock)
        if (void* block = mapLarge(size)) return block;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

[[gnu::noinline]] void operator delete(void* pointer) noexcept {
    if (pointer != nullptr && !unmapLarge(pointer)) std::free(pointer);
}

[[gnu::noinline]] void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}
#endif

#ifdef _WIN32
#include "platform/win32_text.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

// Windows hands main its arguments in the system's code page, which has no
// room for most Chinese model names: they come from the wide command line as
// UTF-8 instead. The output is the same bytes as on Linux: no CR put before
// each LF, and a console told that they are UTF-8.
namespace {

std::vector<std::string> arguments(int, char*[]) {
    std::vector<std::string> args;
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            args.push_back(kelvaro::win32::utf8(wide[i]).value_or(std::string()));
        LocalFree(wide);
    }
    return args;
}

void useUtf8Bytes() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

} // namespace
#else
namespace {

std::vector<std::string> arguments(int argc, char* argv[]) {
    return {argv + 1, argv + argc};
}

void useUtf8Bytes() {}

} // namespace
#endif

int main(int argc, char* argv[]) {
    useUtf8Bytes();
    std::ios::sync_with_stdio(false);
    return kelvaro::runCalcCommand(arguments(argc, argv), std::cout, std::cerr);
}
