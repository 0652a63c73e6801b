#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

// FUZZ_CHECK(condition, detail): a failed property names itself and shows
// detail (the input's part at fault), then aborts, which libFuzzer records
// as a crash, with the input saved.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (condition) break;                                                                      \
        const std::string shown(detail); /* a detail built in place lives on */                    \
        std::fprintf(stderr, "%s:%d: property failed: %s\n  with: \"%.*s\"\n", __FILE__, __LINE__, \
                     #condition, static_cast<int>(std::min<std::size_t>(shown.size(), 2000)),      \
                     shown.data());                                                                \
        std::abort();                                                                              \
    } while (false)
