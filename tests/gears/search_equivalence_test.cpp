// The search skips first driven gears that cannot pass; its lists must
// still be those of the straight loop over every (a, b, c), set for set and
// bit for bit. Random inputs of every kind, a fixed seed per group so that
// a failure can be replayed.
#include "gears/gear_search.h"
#include "support/plain_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

static_assert(sizeof(GearSet) == 5 * sizeof(double), "GearSet is compared byte for byte");

struct SearchCase {
    double ratio, tolerance, zmin, zmax;
    std::vector<std::int16_t> missing;
};

std::string describe(const SearchCase& c) {
    char text[200];
    std::snprintf(text, sizeof text, "ratio %.17g tolerance %.17g range %.17g..%.17g, %zu missing",
                  c.ratio, c.tolerance, c.zmin, c.zmax, c.missing.size());
    return text;
}

bool sameBits(const GearSet& x, const GearSet& y) {
    return std::memcmp(&x, &y, sizeof x) == 0;
}

// Stops at the first difference: one message says enough.
void expectIdentical(const GearSearchResult& fast, const GearSearchResult& plain) {
    EXPECT_EQ(fast.end, SearchEnd::Complete);
    ASSERT_EQ(fast.sets.size(), plain.sets.size());
    for (std::size_t i = 0; i < plain.sets.size(); ++i) {
        const GearSet& f = fast.sets[i];
        const GearSet& p = plain.sets[i];
        ASSERT_TRUE(sameBits(f, p))
            << "set " << i << ": (" << f.a << ", " << f.b << ", " << f.c << ", " << f.d
            << ") instead of (" << p.a << ", " << p.b << ", " << p.c << ", " << p.d << ")";
    }
    EXPECT_TRUE(sameBits(fast.best, plain.best));
}

class Inputs {
  public:
    explicit Inputs(unsigned seed) : random_(seed) {}

    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    int whole(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double logUniform(double low, double high) {
        return std::exp(uniform(std::log(low), std::log(high)));
    }

    // A ratio that some sets meet exactly, computed as the search computes
    // ratios, so that errors of 0 and quotients on whole numbers abound.
    double gearRatio(int low, int high) {
        const double a = whole(low, high), b = whole(low, high);
        const double c = whole(low, high), d = whole(low, high);
        return ((a * b) / c) / d;
    }

    double ratio(int low, int high) {
        switch (whole(0, 4)) {
        case 0:
            return gearRatio(low, high);
        case 1: // one step beside an exact ratio
            return std::nextafter(gearRatio(low, high), whole(0, 1) ? 0.0 : 100.0);
        case 2:
            return logUniform(0.05, 20);
        case 3: {
            const double known[] = {1.5, 0.8627301359629121, 0.1170840239232265, 7.3, 1, 0.7};
            return known[whole(0, 5)];
        }
        default:
            return uniform(0.2, 5);
        }
    }

    // Half the time the tolerance is the distance to another exact ratio
    // (or one step beside it), so that sets sit right on ratio - tolerance
    // or ratio + tolerance, where rounding decides.
    double boundaryTolerance(double ratio, int low, int high, double fewest, double most) {
        if (whole(0, 1)) {
            double t = std::abs(ratio - gearRatio(low, high));
            if (whole(0, 1)) t = std::nextafter(t, whole(0, 1) ? 0.0 : 1.0);
            if (t > fewest && t < most) return t;
        }
        return logUniform(fewest, most);
    }

    // Ratios made from tooth counts in or near the range, so that sets on
    // the tolerance's edges, or with d next to the range's ends, are found.
    SearchCase boundaryCase(int zmin, int zmax, bool tight) {
        const int margin = whole(0, 1) ? 0 : 10;
        const int low = std::max(1, zmin - margin), high = zmax + margin;
        const double ratio = this->ratio(low, high);
        const double tolerance =
            tight ? boundaryTolerance(ratio, low, high, 1e-8, 1e-4)
                  : boundaryTolerance(ratio, low, high, 1e-4 * ratio, 0.7 * ratio);
        return {ratio, tolerance, double(zmin), double(zmax), {}};
    }

    std::vector<std::int16_t> missing(const SearchCase& c) {
        std::vector<std::int16_t> teeth(static_cast<std::size_t>(whole(1, 5)));
        for (auto& t : teeth)
            t = static_cast<std::int16_t>(whole(0, 3) == 0 ? 0 : whole(int(c.zmin), int(c.zmax)));
        return teeth;
    }

  private:
    std::mt19937_64 random_;
};

SearchCase rangeCase(Inputs& in, int span, bool tight) {
    const int zmin = in.whole(1, 60);
    return in.boundaryCase(zmin, zmin + in.whole(0, span), tight);
}
SearchCase tightCase(Inputs& in) {
    return rangeCase(in, 45, true);
}
SearchCase looseCase(Inputs& in) {
    return rangeCase(in, 30, false);
}

// Large tooth counts. Around 100000 the product table no longer fits
// (2^22 products and more), so even tight tolerances scan each pair's run.
SearchCase largeTeethCase(Inputs& in) {
    const int zmin = in.whole(0, 1) ? in.whole(2000, 30000) : in.whole(90000, 120000);
    SearchCase c = in.boundaryCase(zmin, zmin + in.whole(0, 30), true);
    c.tolerance *= in.logUniform(1e-5, 0.1);
    return c;
}

// Inputs outside the skipping search's scope: the straight loop must run.
SearchCase oddCase(Inputs& in) {
    SearchCase c = tightCase(in);
    switch (in.whole(0, 10)) {
    case 0: // range not whole
        c.zmin += 0.5;
        c.zmax += in.whole(0, 1) ? 0.25 : 0;
        break;
    case 1: // swapped: the search runs nothing, as the loop does
        std::swap(c.zmin, c.zmax);
        break;
    case 2: // negative tooth counts
        c.zmin = -c.zmin - in.whole(0, 20);
        c.zmax = -in.whole(1, 5);
        break;
    case 3: // tiny: one tooth count
        c.zmax = c.zmin;
        break;
    case 4: // tolerance 0, or negative
        c.tolerance = in.whole(0, 1) ? 0 : -c.tolerance;
        break;
    case 5: // tolerance wider than the ratio: ratio - tolerance <= 0
        c.tolerance = c.ratio * in.uniform(1, 3);
        break;
    case 6: // negative ratio
        c.ratio = -c.ratio;
        break;
    case 7: // counts from 1
        c.zmin = 1;
        c.zmax = in.whole(1, 30);
        break;
    case 8: // ratio - tolerance just above 0
        c.tolerance = std::nextafter(c.ratio, 0.0);
        break;
    case 9: // 0 within the range: divisions by zero, zeros of either sign
        c.zmin = -in.whole(0, 6);
        c.zmax = in.whole(0, 12);
        break;
    default: // loose over a range that starts low
        c = looseCase(in);
        c.zmin = in.whole(1, 3);
        break;
    }
    return c;
}

// The cases of the benchmark, in turn.
SearchCase benchmarkCase(Inputs&) {
    static const SearchCase cases[] = {
        {1.5, 0.00001, 20, 200, {}},
        {0.8627301359629121, 0.00001, 20, 200, {}},
        {0.1170840239232265, 0.00001, 20, 200, {}},
        {1.5, 0.001, 20, 120, {}},
        {7.3, 0.0001, 20, 300, {}},
        {0.8627301359629121, 0.00001, 20, 200, {23, 37, 41, 53, 97}},
        {0.8627301359629121, 0.0001, 20, 160, {23, 37, 41, 53, 97}},
    };
    static std::size_t next = 0;
    return cases[next++ % std::size(cases)];
}

struct Group {
    const char* name;
    SearchCase (*make)(Inputs&);
    int count;
    bool withMissing;
};

class SearchEquivalence : public testing::TestWithParam<Group> {};

TEST_P(SearchEquivalence, ListsAndBestMatchTheStraightLoopBitForBit) {
    const Group& group = GetParam();
    Inputs in(static_cast<unsigned>(std::hash<std::string>{}(group.name)));
    for (int i = 0; i < group.count; ++i) {
        SearchCase c = group.make(in);
        if (group.withMissing) c.missing = in.missing(c);
        SCOPED_TRACE(describe(c));
        expectIdentical(
            searchGears(c.ratio, c.tolerance, c.zmin, c.zmax, c.missing),
            reference::plainSearchGears(c.ratio, c.tolerance, c.zmin, c.zmax, c.missing));
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Random, SearchEquivalence,
                         testing::Values(Group{"tight", tightCase, 5000, false},
                                         Group{"loose", looseCase, 2500, false},
                                         Group{"large_teeth", largeTeethCase, 800, false},
                                         Group{"odd", oddCase, 2000, false},
                                         Group{"missing_teeth", tightCase, 1500, true},
                                         Group{"missing_teeth_loose", looseCase, 800, true},
                                         Group{"benchmark", benchmarkCase, 7, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Windows of several products whose few first driven gears lie far apart,
// which are put in order by sorting rather than by a bit per gear.
TEST(WideWindows, FewGearsFarApartMatchTheStraightLoop) {
    const SearchCase c{1, 0.000002, 500, 900, {}};
    SCOPED_TRACE(describe(c));
    expectIdentical(searchGears(c.ratio, c.tolerance, c.zmin, c.zmax),
                    reference::plainSearchGears(c.ratio, c.tolerance, c.zmin, c.zmax));
}

// A discarded result hands its storage to the next search: a list that
// still lives (moved into another result) must never share it.
TEST(SetStorage, AHandedOnStorageLeavesLiveListsAlone) {
    GearSearchResult kept = searchGears(1.5, 0.001, 20, 40);
    const std::vector<GearSet> keptSets = kept.sets;
    GearSearchResult replaced = searchGears(1.5, 0.00001, 20, 60);
    const std::vector<GearSet> replacedSets = replaced.sets;
    replaced = std::move(kept); // its own storage is handed on
    const GearSearchResult next = searchGears(1.5, 0.00001, 20, 60);
    EXPECT_EQ(next.sets, replacedSets);
    EXPECT_EQ(replaced.sets, keptSets);
}

} // namespace
} // namespace kelvaro
