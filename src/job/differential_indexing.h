#pragma once

#include "catalogue/machine_data.h"
#include "gears/gear_set.h"
#include "gears/search_control.h"
#include "gears/set_facts.h"

#include <optional>
#include <vector>

// Differential indexing: where no exact index train exists for Z, the index
// train is set exactly for Z0 = Z + Δ (Δ = ±p / q, 1 ≤ p ≤ q ≤ 50) and the
// differential adds the rotation the table lacks. Its ratio is
//   u = helixTerm + (C_d / K) · π · Δ / s,
// so each feed s and each Δ want their own differential set. Of every
// combination of feed, Δ, exact index set for C × K / Z0 and differential
// set within the tolerance of |u|, all from one box (the feed pair too,
// where the machine has no pairs of its own) and each set mounting with the
// clearance, the one of smallest |differential error| wins; among equals
// the smallest |Δ|, then the feed nearest the wanted one.
//
// The work is bounded: a Δ whose C × K / Z0 has a numerator or denominator
// above the largest gear squared has no index set and is passed over at
// once; for the others the index sets come from the box's pair products
// (a·b = n·P and c·d = n·Q: two lookups for each n), and the differential
// sets near |u| from one sweep over the sorted products, narrowed to the
// best error found so far.

namespace kelvaro {

// One feed a feed line gives: s = C_f × a1 / b1 for each of `pairs`, which
// all give the same s.
struct FeedCandidate {
    double feed = 0;
    std::size_t line = 0; // which feed line
    std::vector<FeedPair> pairs;
    bool fromBox = false; // the pairs come out of the change-gear box
};

struct IndexingProblem {
    std::int64_t teeth = 0; // Z
    int starts = 1;         // K
    Fraction constant;      // C
    double helixTerm = 0;   // (C_d / K) · σ · sin β / m
    double feedTerm = 0;    // (C_d / K) · π: u = helixTerm + feedTerm · Δ / s
    double tolerance = 0;
    double clearance = kDefaultClearance;
    std::vector<FeedCandidate> feeds; // nearest the wanted feed first
};

struct IndexingChoice {
    Fraction delta, z0, fraction; // fraction: C × K / Z0 in lowest terms
    GearSet index;                // as mounted
    GearSet differential;         // as mounted; error against |u|
    double signedRatio = 0;       // u
    std::size_t feed = 0;         // in problem.feeds
    FeedPair feedPair;
};

enum class IndexingStatus { Found, None, Cancelled, TooManySets };

struct IndexingResult {
    IndexingStatus status = IndexingStatus::None;
    std::optional<IndexingChoice> choice;
};

IndexingResult searchDifferentialIndexing(const IndexingProblem& problem, const GearBox& box,
                                          SearchControl* control = nullptr);

// Every Δ = ±p / q in lowest terms with 1 ≤ p ≤ q ≤ 50, smallest |Δ| first,
// + before −.
const std::vector<Fraction>& compensationSteps();

} // namespace kelvaro
