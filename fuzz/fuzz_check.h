#pragma once

// Property checks of the fuzz targets: a failed one names itself and the
// input's part at fault, then aborts, which libFuzzer records as a crash
// (with the input saved) and the corpus replay as a failed test.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace kelvaro::fuzz {

[[noreturn]] inline void propertyFailed(const char* where, const char* property,
                                        std::string_view detail) {
    std::fprintf(stderr, "%s: property failed: %s\n  with: \"%.*s\"\n", where, property,
                 static_cast<int>(detail.size() > 2000 ? 2000 : detail.size()), detail.data());
    std::abort();
}

} // namespace kelvaro::fuzz

#define KELVARO_FUZZ_STRINGIZE2(x) #x
#define KELVARO_FUZZ_STRINGIZE(x) KELVARO_FUZZ_STRINGIZE2(x)

// FUZZ_CHECK(condition, detail): detail is a text shown when it fails.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::kelvaro::fuzz::propertyFailed(__FILE__ ":" KELVARO_FUZZ_STRINGIZE(__LINE__),         \
                                            #condition, (detail));                                 \
    } while (false)
