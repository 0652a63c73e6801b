#pragma once

#include <atomic>
#include <cstddef>

namespace kelvaro {

// The most sets one calculation lists. A million sets take 40 MB (their
// lines are made only when shown or printed); a search that would list more
// stops and the calculation reports it instead of exhausting memory.
inline constexpr std::size_t kSetLimit = 1'000'000;

// How a running search is watched and stopped from another thread: the
// caller sets `cancelled`, the search publishes the number of sets found so
// far in `found` and the share of its outer loops done (0 to 1) in
// `progress`, and stops once it would list more than `setLimit` sets.
// `tried` counts the first driven gears c that were tested, to be read once
// the search has returned: it shows how much of the cube a search skipped.
struct SearchControl {
    std::atomic<bool> cancelled{false};
    std::atomic<std::size_t> found{0};
    std::atomic<double> progress{0};
    std::size_t setLimit = kSetLimit;
    std::size_t tried = 0;
};

} // namespace kelvaro
