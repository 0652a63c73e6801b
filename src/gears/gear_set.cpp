#include "gears/gear_set.h"

#include "gears/search_control.h"

#include <mutex>
#include <utility>

namespace kelvaro {

namespace {

// A search's storage is reserved at once for the most sets a calculation
// lists, 40 MB of address space of which only the pages the list fills are
// ever touched: a long list never grows by copying, and never touches its
// memory twice.
constexpr std::size_t kReservedSets = kSetLimit;
// The longest list whose storage is kept for reuse, about 10 MB: beyond it
// the search takes long enough that its page faults no longer matter, and
// the memory goes back to the system.
constexpr std::size_t kMostKeptSets = std::size_t{1} << 18;

// One kept storage is enough: a window holds one list while the next is
// found, and a discarded list hands its storage to the search after it.
// Searches run on worker threads while windows discard lists.
struct KeptStorage {
    std::mutex mutex;
    std::vector<GearSet> sets;
};

// Never destroyed, so a result discarded at exit still finds it.
KeptStorage& keptStorage() {
    static KeptStorage* const kept = new KeptStorage;
    return *kept;
}

void keep(std::vector<GearSet>& sets) noexcept {
    if (sets.capacity() < kReservedSets || sets.size() > kMostKeptSets) return;
    sets.clear();
    KeptStorage& kept = keptStorage();
    const std::lock_guard lock(kept.mutex);
    // Where one is kept already, the caller frees this one.
    if (kept.sets.capacity() == 0) kept.sets.swap(sets);
}

} // namespace

GearSearchResult& GearSearchResult::operator=(GearSearchResult&& other) noexcept {
    if (this == &other) return *this;
    keep(sets);
    sets = std::move(other.sets);
    best = other.best;
    end = other.end;
    return *this;
}

GearSearchResult::~GearSearchResult() {
    keep(sets);
}

std::vector<GearSet> setStorage() {
    std::vector<GearSet> sets;
    {
        KeptStorage& kept = keptStorage();
        const std::lock_guard lock(kept.mutex);
        sets.swap(kept.sets);
    }
    if (sets.capacity() < kReservedSets) sets.reserve(kReservedSets);
    return sets;
}

} // namespace kelvaro
