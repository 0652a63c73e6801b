#include "ordinary/ordinary_search.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace kelvaro {
namespace {

using Sets = std::vector<GearSet>;

// The worked example's 14 sets, all exact.
const Sets kRatio15Teeth20To30 = {
    {20, 30, 20, 20, 0}, {21, 30, 20, 21, 0}, {22, 30, 20, 22, 0}, {23, 30, 20, 23, 0},
    {24, 25, 20, 20, 0}, {24, 30, 20, 24, 0}, {25, 30, 20, 25, 0}, {26, 30, 20, 26, 0},
    {27, 28, 21, 24, 0}, {27, 30, 20, 27, 0}, {28, 30, 20, 28, 0}, {29, 30, 20, 29, 0},
    {30, 30, 20, 30, 0}, {30, 30, 24, 25, 0},
};

struct Row {
    const char* name;
    double ratio, tolerance, zmin, zmax;
    Sets sets;
    GearSet best;
};

class OrdinarySearchTest : public ::testing::TestWithParam<Row> {};

TEST_P(OrdinarySearchTest, ListsTheSetsInOrderFoundAndTheBest) {
    const Row& row = GetParam();
    const GearSearchResult result =
        searchOrdinaryGears(row.ratio, row.tolerance, row.zmin, row.zmax);
    EXPECT_EQ(result.sets, row.sets);
    EXPECT_EQ(result.best, row.best);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrdinarySearchTest,
    ::testing::Values(
        Row{"WorkedExample", 1.5, 0.00001, 20, 30, kRatio15Teeth20To30, {20, 30, 20, 20, 0}},
        Row{"SwappedRange", 1.5, 0.00001, 30, 20, kRatio15Teeth20To30, {20, 30, 20, 20, 0}},
        Row{"OneToothCount", 1, 0.00001, 25, 25, {{25, 25, 25, 25, 0}}, {25, 25, 25, 25, 0}},
        Row{"RatioOne",
            1,
            0.00001,
            20,
            22,
            {{20, 20, 20, 20, 0},
             {20, 21, 20, 21, 0},
             {20, 22, 20, 22, 0},
             {21, 21, 21, 21, 0},
             {21, 22, 21, 22, 0},
             {22, 22, 22, 22, 0}},
            {20, 20, 20, 20, 0}},
        // Both floors of every test are equal: not even an exact set passes.
        Row{"ZeroTolerance", 1.5, 0, 20, 30, {}, {0, 0, 0, 0, 0}},
        Row{"NothingFits", 3.7, 0.00001, 20, 22, {}, {0, 0, 0, 0, 0.00001}},
        Row{"ZeroRatio", 0, 0.00001, 20, 30, {}, {0, 0, 0, 0, 0.00001}},
        // The differential worked example's ratio over 20 to 60.
        Row{"InexactRatio",
            0.8627301359629121,
            0.00001,
            20,
            60,
            {{31, 59, 40, 53, ((31.0 * 59.0) / 40.0) / 53.0 - 0.8627301359629121},
             {39, 39, 41, 43, ((39.0 * 39.0) / 41.0) / 43.0 - 0.8627301359629121}},
            {39, 39, 41, 43, ((39.0 * 39.0) / 41.0) / 43.0 - 0.8627301359629121}}),
    [](const auto& info) { return info.param.name; });

TEST(OrdinarySearchTest, ResidueOfDoubleArithmeticDoesNotReplaceAnExactBest) {
    const GearSearchResult result = searchOrdinaryGears(0.7, 0.00001, 24, 100);
    ASSERT_GE(result.sets.size(), 4u);
    EXPECT_EQ(result.sets[0], (GearSet{24, 28, 24, 40, 0}));
    // Computed as ((24 * 35) / 25) / 48 - 0.7: a residue, not 0.
    EXPECT_EQ(result.sets[3], (GearSet{24, 35, 25, 48, 1.1102230246251565e-16}));
    EXPECT_EQ(result.best, (GearSet{24, 28, 24, 40, 0}));
}

TEST(OrdinarySearchTest, EqualErrorKeepsTheEarlierBest) {
    // (20, 30, 20, 20) and (24, 25, 20, 20) both have error 0; the first stays.
    const GearSearchResult result = searchOrdinaryGears(1.5, 0.00001, 20, 30);
    EXPECT_EQ(result.best, result.sets.front());
}

TEST(OrdinarySearchTest, FractionalRangeCountsFromTheSmallestAndDrivenCountIsWhole) {
    const GearSearchResult result = searchOrdinaryGears(1, 0.05, 20.5, 23);
    ASSERT_FALSE(result.sets.empty());
    for (const GearSet& set : result.sets) {
        EXPECT_EQ(set.a - static_cast<long>(set.a), 0.5);
        EXPECT_EQ(set.c - static_cast<long>(set.c), 0.5);
        EXPECT_EQ(set.d - static_cast<long>(set.d), 0.0);
    }
}

struct MissingRow {
    const char* name;
    std::vector<std::int16_t> missing;
    Sets sets;
    GearSet best;
};

class MissingTeethTest : public ::testing::TestWithParam<MissingRow> {};

TEST_P(MissingTeethTest, LeavesOutEverySetThatUsesAMissingCount) {
    const MissingRow& row = GetParam();
    const GearSearchResult result = searchGears(1.5, 0.00001, 20, 30, row.missing);
    EXPECT_EQ(result.sets, row.sets);
    EXPECT_EQ(result.best, row.best);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingTeethTest,
    ::testing::Values(
        MissingRow{"None", {}, kRatio15Teeth20To30, {20, 30, 20, 20, 0}},
        MissingRow{"ZeroExcludesNothing", {0}, kRatio15Teeth20To30, {20, 30, 20, 20, 0}},
        MissingRow{"OutsideTheRange", {19, 31, -20}, kRatio15Teeth20To30, {20, 30, 20, 20, 0}},
        // The best set is the first listed one: an excluded set never shows as best.
        MissingRow{
            "SmallestCount", {20}, {{27, 28, 21, 24, 0}, {30, 30, 24, 25, 0}}, {27, 28, 21, 24, 0}},
        MissingRow{"DrivenCount",
                   {0, 25, 0},
                   {{20, 30, 20, 20, 0},
                    {21, 30, 20, 21, 0},
                    {22, 30, 20, 22, 0},
                    {23, 30, 20, 23, 0},
                    {24, 30, 20, 24, 0},
                    {26, 30, 20, 26, 0},
                    {27, 28, 21, 24, 0},
                    {27, 30, 20, 27, 0},
                    {28, 30, 20, 28, 0},
                    {29, 30, 20, 29, 0},
                    {30, 30, 20, 30, 0}},
                   {20, 30, 20, 20, 0}}),
    [](const auto& info) { return info.param.name; });

TEST(MissingTeethTest, StoredRangeIsNotPutInOrder) {
    const GearSearchResult result = searchGears(1.5, 0.00001, 30, 20);
    EXPECT_TRUE(result.sets.empty());
    EXPECT_EQ(result.best, (GearSet{0, 0, 0, 0, 0.00001}));
}

struct DefinedRow {
    double ratio, tolerance, zmin, zmax;
    bool defined;
};

class SearchIsDefinedTest : public ::testing::TestWithParam<DefinedRow> {};

TEST_P(SearchIsDefinedTest, RefusesZeroDivisorsAndInfinities) {
    const DefinedRow& row = GetParam();
    EXPECT_EQ(searchIsDefined(row.ratio, row.tolerance, row.zmin, row.zmax), row.defined);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Inputs, SearchIsDefinedTest,
    ::testing::Values(
        DefinedRow{1.5, 0.00001, 20, 30, true}, DefinedRow{1, 1, 20, 30, false},
        DefinedRow{-1, 1, 20, 30, false}, DefinedRow{0, 0, 20, 30, false},
        DefinedRow{0, 0.00001, 20, 30, true}, DefinedRow{1.5, 0, 20, 30, true},
        DefinedRow{1.5, 0.00001, 0, 30, false}, DefinedRow{1.5, 0.00001, 30, 0, false},
        DefinedRow{1.5, 0.00001, -5, 5, false}, DefinedRow{1.5, 0.00001, -5, -1, true},
        DefinedRow{1.5, 0.00001, -0.5, 0.5, false}, DefinedRow{kInf, 0.00001, 20, 30, false},
        DefinedRow{1.5, -kInf, 20, 30, false}, DefinedRow{1.5, 0.00001, 20, kInf, false},
        // From 2^53 on, a loop counter plus 1 stays where it is.
        DefinedRow{1, 0.00001, 9007199254740991.0, 9007199254740991.0, true},
        DefinedRow{1, 0.00001, 9007199254740992.0, 9007199254740992.0, false},
        DefinedRow{1, 0.00001, 20, 1e17, false}, DefinedRow{1, 0.00001, -1e17, -20, false}));

} // namespace
} // namespace kelvaro
