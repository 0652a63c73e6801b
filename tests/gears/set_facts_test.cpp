// A set's facts, the nearest set and the tolerance to type, against values
// worked out by hand and by python3 over every set, not by the code here.
#include "gears/gear_search.h"
#include "gears/nearest_set.h"
#include "gears/result_export.h"
#include "gears/set_facts.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(SetFacts, InShopTerms) {
    // 28 98 38 93 for module 3, 15°, machine constant 9: (9 / 3) * sin 15°.
    const SetFacts f = describeSet({28, 98, 38, 93, 1.4984616925062255e-07}, 0.7764571223666209);
    EXPECT_EQ(f.ratio, 0.7764572722127902);
    EXPECT_NEAR(*f.relativeErrorPpm, 0.19298704968266037, 1e-12);
    EXPECT_EQ(f.fraction->numerator, 1372);
    EXPECT_EQ(f.fraction->denominator, 1767);
    // (28 + 38) - (98 + 2) and (98 + 93) - (38 + 2); either swap mounts it.
    EXPECT_EQ(std::pair(f.margins.driving, f.margins.driven), std::pair(-34., 151.));
    EXPECT_TRUE(!f.margins.mountable(0) && f.swapDrivingFits && f.swapDrivenFits);
    EXPECT_FALSE(describeSet({20.5, 30, 20, 20, 0.5}, 0).fraction);
    // The verdict with its rule: margins 22 and 22; 13 and 43 against s = 15.
    const std::string rule = "两处余量都不小于 s = ";
    EXPECT_EQ(setFactRows(describeSet({20, 21, 25, 28, 0}, 0.6)).back().value,
              "能（" + rule + "10 齿才装得上，s 留给轴和隔套，默认值）");
    EXPECT_EQ(setFactRows(describeSet({20, 30, 25, 40, 0}, 0.6, 15)).at(7).value,
              "不能：b 的齿顶离主动轴不足 15 齿（" + rule +
                  "15 齿才装得上，s 留给轴和隔套，默认值）");
}

TEST(NearestSet, WhereNothingFits) {
    const std::vector<std::int16_t> none, missing = {31, 39};
    const struct {
        const char* name;
        double ratio, zmin, zmax;
        const std::vector<std::int16_t>& missing;
        double a, b, c, d, error, lowest, highest, tolerance, stepBelow; // tolerance 0: none
    } cases[] = {
        {"above reach; 0.29 lists the set without making it the best", 1.5, 20, 22, none, 22, 22,
         20, 20, -0.29000000000000004, 0.8264462809917356, 1.21, 0.3, 0.29},
        {"the worked differential ratio without 31 and 39", 0.8627301359629121, 20, 60, missing, 26,
         51, 29, 53, -1.0552358487903035e-05, 0.11111111111111112, 9, 1.1e-05, 1e-05},
        {"a tie: the first in the search's order", 1.864864864864865, 20, 40, none, 40, 40, 22, 39,
         -6.300006299997385e-05, 0.25, 4, 6.4e-05, 6.3e-05},
        {"below reach by more than the ratio itself: none lists a set", 0.2, 20, 30, none, 20, 20,
         30, 30, 0.24444444444444446, 0.4444444444444445, 2.25, 0, 0},
        {"below reach, the search's one d per c never fits: none lists a set", 0.5445, 20, 24, none,
         20, 20, 24, 24, 0.14994444444444455, 0.6944444444444445, 1.44, 0, 0},
    };
    for (const auto& [name, ratio, zmin, zmax, missing, a, b, c, d, error, lowest, highest,
                      tolerance, below] : cases) {
        SCOPED_TRACE(name);
        const NearestSet n = nearestSet(ratio, zmin, zmax, missing);
        ASSERT_EQ(n.status, NearestSet::Status::Found);
        EXPECT_EQ(n.set, (GearSet{a, b, c, d, error}));
        EXPECT_EQ(std::pair(n.lowest, n.highest), std::pair(lowest, highest));
        EXPECT_EQ(toleranceNeeded(ratio, n.set.error, zmin, zmax, missing).value_or(0), tolerance);
        if (tolerance == 0) continue;
        EXPECT_TRUE(hasBestSet(searchGears(ratio, tolerance, zmin, zmax, missing)));
        EXPECT_FALSE(hasBestSet(searchGears(ratio, below, zmin, zmax, missing)));
    }
    EXPECT_EQ(nearestSet(1.5, 20.5, 30).status, NearestSet::Status::Unsupported);
    EXPECT_EQ(nearestSet(1.5, 30, 20).status, NearestSet::Status::NoSets);
}

} // namespace
} // namespace kelvaro
