#include "gears/gear_set.h"

#include <mutex>
#include <utility>

namespace kelvaro {

namespace {

// The first step of a list's storage, 160 KB: most lists never grow
// beyond it, and memory that is reserved but not touched costs nothing.
constexpr std::size_t kFirstCapacity = 4096;
// The largest storage kept for reuse, 10 MB: a longer list is rare and
// its search takes long enough that the page faults no longer matter.
constexpr std::size_t kMostKeptCapacity = std::size_t{1} << 18;

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
    if (sets.capacity() < kFirstCapacity || sets.capacity() > kMostKeptCapacity) return;
    sets.clear();
    KeptStorage& kept = keptStorage();
    const std::lock_guard lock(kept.mutex);
    // The larger storage stays; the other is freed by the caller.
    if (sets.capacity() > kept.sets.capacity()) kept.sets.swap(sets);
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
    if (sets.capacity() < kFirstCapacity) sets.reserve(kFirstCapacity);
    return sets;
}

} // namespace kelvaro
