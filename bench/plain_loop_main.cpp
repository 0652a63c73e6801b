// The yardstick of kelvaro-calc: the straight loop over every (a, b, c) and
// each set printed with printf, as a program written without care for speed
// would do it. Takes RATIO TOLERANCE SMALLEST LARGEST.
#include "support/plain_search.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 5) {
        std::fputs("Usage: kelvaro-plain-loop RATIO TOLERANCE SMALLEST LARGEST\n", stderr);
        return 2;
    }
    const kelvaro::GearSearchResult result = kelvaro::reference::plainSearchGears(
        std::strtod(argv[1], nullptr), std::strtod(argv[2], nullptr), std::strtod(argv[3], nullptr),
        std::strtod(argv[4], nullptr));
    auto print = [](const kelvaro::GearSet& set) {
        std::printf("%.15G %.15G %.15G %.15G %.7G\n", set.a, set.b, set.c, set.d,
                    static_cast<double>(static_cast<float>(set.error)));
    };
    for (const kelvaro::GearSet& set : result.sets)
        print(set);
    std::printf("     误差最小的挂轮组及误差为\n");
    print(result.best);
    return 0;
}
