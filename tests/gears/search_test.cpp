// The search skips first driven gears that cannot pass; its lists must still
// be those of the straight loop over every (a, b, c), bit for bit, and it
// must skip where it can. Under control it stops at its bound with exactly
// the sets found until then, and soon after a cancel, on either path.
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "ordinary/ordinary_calculation.h"
#include "support/plain_search.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <iomanip>
#include <random>

namespace kelvaro {
namespace {

using namespace std::chrono_literals;

struct SearchCase {
    double ratio, tolerance, zmin, zmax;
    std::vector<std::int16_t> missing = {};
};

void PrintTo(const SearchCase& c, std::ostream* os) {
    *os << std::setprecision(17) << "ratio " << c.ratio << " tolerance " << c.tolerance << " range "
        << c.zmin << ".." << c.zmax << ", " << c.missing.size() << " missing";
}

bool sameBits(const GearSet& x, const GearSet& y) {
    return std::memcmp(&x, &y, sizeof x) == 0;
}

// Random inputs on the fast path: ratios that some sets meet exactly, or
// one step beside, and tolerances that put sets right on either edge.
class Inputs {
  public:
    explicit Inputs(unsigned seed) : random_(seed) {}
    int whole(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double logUniform(double low, double high) {
        return std::exp(
            std::uniform_real_distribution<double>(std::log(low), std::log(high))(random_));
    }
    double gearRatio(int low, int high) {
        const double a = whole(low, high), b = whole(low, high);
        return ((a * b) / whole(low, high)) / whole(low, high);
    }
    SearchCase make(int zmin, int zmax, bool tight, bool withMissing) {
        const int low = std::max(1, zmin - 10 * whole(0, 1)), high = zmax + 10 * whole(0, 1);
        double ratio = whole(0, 2) ? gearRatio(low, high) : logUniform(0.05, 20);
        if (whole(0, 3) == 0) ratio = std::nextafter(ratio, whole(0, 1) ? 0.0 : 100.0);
        const double fewest = tight ? 1e-8 : 1e-4 * ratio, most = tight ? 1e-4 : 0.7 * ratio;
        double tolerance = std::abs(ratio - gearRatio(low, high));
        if (whole(0, 1)) tolerance = std::nextafter(tolerance, whole(0, 1) ? 0.0 : 1.0);
        if (whole(0, 1) || !(tolerance > fewest && tolerance < most))
            tolerance = logUniform(fewest, most);
        std::vector<std::int16_t> missing(static_cast<std::size_t>(withMissing ? whole(1, 5) : 0));
        for (auto& t : missing)
            t = static_cast<std::int16_t>(whole(0, 3) == 0 ? 0 : whole(zmin, zmax));
        return {ratio, tolerance, double(zmin), double(zmax), missing};
    }

  private:
    std::mt19937_64 random_;
};

struct Group {
    const char* name;
    int count, span;
    bool tight, large, missing;
};

TEST(SearchEquivalence, ListsAndBestMatchTheStraightLoopBitForBit) {
    for (const Group& g : {Group{"tight", 5000, 45, true, false, false},
                           Group{"loose", 2500, 30, false, false, false},
                           Group{"large_teeth", 800, 30, true, true, false},
                           Group{"missing_teeth", 1500, 45, true, false, true}}) {
        Inputs in(static_cast<unsigned>(std::hash<std::string>{}(g.name)));
        for (int i = 0; i < g.count; ++i) {
            // Around 100000 teeth the product table no longer fits: each pair's run is scanned.
            const int zmin = !g.large         ? in.whole(1, 60)
                             : in.whole(0, 1) ? in.whole(2000, 30000)
                                              : in.whole(90000, 120000);
            SearchCase c = in.make(zmin, zmin + in.whole(0, g.span), g.tight, g.missing);
            if (g.large) c.tolerance *= in.logUniform(1e-5, 0.1);
            SCOPED_TRACE(g.name + (": " + testing::PrintToString(c)));
            const GearSearchResult fast =
                searchGears(c.ratio, c.tolerance, c.zmin, c.zmax, c.missing);
            const GearSearchResult plain =
                reference::plainSearchGears(c.ratio, c.tolerance, c.zmin, c.zmax, c.missing);
            ASSERT_EQ(fast.sets.size(), plain.sets.size());
            for (std::size_t k = 0; k < plain.sets.size(); ++k)
                ASSERT_TRUE(sameBits(fast.sets[k], plain.sets[k])) << "set " << k;
            ASSERT_TRUE(sameBits(fast.best, plain.best));
        }
    }
}

// The first driven gears tried, per mille of the straight loop's c for
// every pair a <= b: whole ranges skip nearly all, a fractional range none.
// Windows of several products whose few first driven gears lie far apart
// are put in order by sorting rather than by a bit per gear.
TEST(SearchPath, WholeRangesSkipFractionalRangesRunTheStraightLoop) {
    const struct {
        SearchCase c;
        double fewest, most;
    } rows[] = {
        {{1.5, 0.00001, 20, 200, {}}, 1, 20},
        {{0.8627301359629121, 0.00001, 20, 200, {23, 37, 41, 53, 97}}, 0.2, 2},
        {{1.5, 0.001, 20, 120, {}}, 10, 60},
        {{1.5, 0.001, 20.5, 120.5, {}}, 500, 1000},
        {{1, 0.000002, 500, 900, {}}, 2, 6},
    };
    for (const auto& [c, fewest, most] : rows) {
        SearchControl control;
        const GearSearchResult result =
            searchGears(c.ratio, c.tolerance, c.zmin, c.zmax, c.missing, &control);
        const double n = c.zmax - c.zmin + 1;
        const double perMille = 1000 * static_cast<double>(control.tried) / (n * (n + 1) / 2 * n);
        EXPECT_TRUE(perMille >= fewest && perMille <= most)
            << perMille << " for " << testing::PrintToString(c);
        EXPECT_EQ(
            result.sets,
            reference::plainSearchGears(c.ratio, c.tolerance, c.zmin, c.zmax, c.missing).sets);
    }
}

// On the skipping path and on the straight loop of a fractional range.
TEST(Bound, StopsWithExactlyTheSetsUpToTheBound) {
    for (const SearchCase& r : {SearchCase{1.5, 0.001, 20, 60}, {1.5, 0.001, 20.5, 60.5}}) {
        const auto all = reference::plainSearchGears(r.ratio, r.tolerance, r.zmin, r.zmax).sets;
        ASSERT_GT(all.size(), 100u);
        for (std::size_t limit : {std::size_t{0}, std::size_t{1}, all.size() - 1, all.size()}) {
            SearchControl control;
            control.setLimit = limit;
            const GearSearchResult result =
                searchGears(r.ratio, r.tolerance, r.zmin, r.zmax, {}, &control);
            EXPECT_EQ(result.end,
                      limit < all.size() ? SearchEnd::TooManySets : SearchEnd::Complete);
            EXPECT_EQ(result.sets, std::vector<GearSet>(all.begin(), all.begin() + limit));
            EXPECT_EQ(control.found.load(), limit) << r.zmin;
        }
    }
}

// Ranges that would run for days, or for ever: skipping to a million, the
// straight loop to a billion, and from 1E17 on, where the loop counters no
// longer advance (1E17 + 1 == 1E17).
TEST(Cancel, EndsSoonAfterTheCancel) {
    for (const SearchCase& r : {SearchCase{3.14159265358979, 1e-13, 1, 1e6},
                                {1.5, 0.00001, 1, 1e9},
                                {1.5, 0.00001, 1e17, 1e17 + 64}}) {
        SearchControl control;
        auto search = std::async(std::launch::async, [&] {
            return searchGears(r.ratio, r.tolerance, r.zmin, r.zmax, {}, &control);
        });
        ASSERT_EQ(search.wait_for(100ms), std::future_status::timeout) << r.zmax;
        control.cancelled = true;
        ASSERT_EQ(search.wait_for(10s), std::future_status::ready) << r.zmax;
        EXPECT_EQ(search.get().end, SearchEnd::Cancelled);
    }
}

// Without a control of its own a calculation is bounded by a million sets;
// a cancelled one gives nothing at all.
TEST(BoundedCalculation, BeyondTheBoundOnlyAMessageAfterACancelNothing) {
    EXPECT_EQ(calculateOrdinary({"1.5", "0.5", "1", "300"}).message,
              "结果超过1000000组，请缩小齿数范围或减小允差");
    SearchControl control;
    control.cancelled = true;
    const CalculationOutcome outcome = calculateOrdinary({"1.5", "0.00001", "20", "30"}, &control);
    EXPECT_TRUE(!outcome.replaceResults && listItems(outcome).empty() && outcome.message.empty());
}

} // namespace
} // namespace kelvaro
