#pragma once

#include <vector>

namespace kelvaro {

// One four-gear result: a and b drive, c and d are driven. The counts are
// doubles because the search's loop counters are (a range that starts at a
// fractional count gives fractional a, b, c).
struct GearSet {
    double a = 0;
    double b = 0;
    double c = 0;
    double d = 0;
    double error = 0; // ((a * b) / c) / d - wanted ratio

    friend bool operator==(const GearSet&, const GearSet&) = default;
};

// Why a search ended: it ran through, its caller cancelled it, or it would
// have listed more sets than its bound allows.
enum class SearchEnd { Complete, Cancelled, TooManySets };

// Whether a search's loops can count through a range from or to this tooth
// count: it is finite and below 2^53 in magnitude, where adding 1 to a double
// still changes it (beyond, the loops would never end).
inline bool toothCountUsable(double teeth) {
    return teeth < 0x1p53 && teeth > -0x1p53; // false for NaN too
}

// What a search gives: the sets it lists, in the order found, and the best
// set (the first listed one of smallest |error|, or the starting set
// (0, 0, 0, 0, tolerance) when none beats the tolerance). A search that
// ends early keeps what it found until then; for TooManySets that is
// exactly as many sets as the bound allows.
//
// A discarded result hands the memory of its sets to the next search
// (setStorage), so that a Calculate repeated in the same program run fills
// memory that is already mapped instead of paying a page fault for every
// 4 KB that a fresh list touches.
struct GearSearchResult {
    std::vector<GearSet> sets;
    GearSet best;
    SearchEnd end = SearchEnd::Complete;

    GearSearchResult() = default;
    GearSearchResult(const GearSearchResult&) = default;
    GearSearchResult(GearSearchResult&&) noexcept = default;
    GearSearchResult& operator=(const GearSearchResult&) = default;
    GearSearchResult& operator=(GearSearchResult&& other) noexcept;
    ~GearSearchResult();
};

// Whether a search named a best set: a listed set's |error| lies below the
// tolerance. A set on the tolerance itself is listed but never the best,
// which then stays the starting set of zero teeth.
inline bool hasBestSet(const GearSearchResult& result) {
    const GearSet& b = result.best;
    return !result.sets.empty() && !(b.a == 0 && b.b == 0 && b.c == 0 && b.d == 0);
}

// Empty storage for the sets of a new search: the kept memory of a
// discarded result, or new storage with room for a whole list.
std::vector<GearSet> setStorage();

} // namespace kelvaro
