#pragma once

#include "catalogue/machine_data.h"
#include "gears/gear_set.h"
#include "gears/search_control.h"
#include "gears/set_facts.h"

#include <optional>
#include <vector>

// The two trains of a hobbing job from one box of change gears: the index
// set, whose ratio must be exact, and the differential set, within a
// tolerance. The eight gears together never take more of a tooth count
// than the box holds, and both sets mount with the clearance, each shown
// in the order of its driving and of its driven pair that mounts. Of all
// such pairs of sets the one of smallest |differential error| is chosen.
//
// The sets are found once over a universe of tooth counts (a box, or a box
// and every count a gear might be added of), so that the same search
// answers for a box with one gear more without starting again.

namespace kelvaro {

struct TrainProblem {
    std::optional<Fraction> index;           // none: no index train (its constant is missing)
    std::optional<double> differentialRatio; // none: a spur gear
    double tolerance = 0;
    double clearance = kDefaultClearance;
};

enum class TrainsStatus {
    Found,
    NoIndexSet,        // no exact index set fits the box and mounts
    NoDifferentialSet, // no differential set within the tolerance fits and mounts
    NoPair,            // sets of both kinds exist, but never beside each other
    Cancelled,
    TooManySets, // more differential sets within the tolerance than a search may list
};

struct Trains {
    TrainsStatus status = TrainsStatus::Found;
    std::optional<GearSet> index;        // as mounted; error 0
    std::optional<GearSet> differential; // as mounted, with its error
};

class TrainSolver {
  public:
    // Every set of counts from `universe` that the problem might use.
    TrainSolver(const TrainProblem& problem, const std::vector<int>& universe,
                SearchControl* control = nullptr);

    // The best pair that `box` (counts of the universe only) can give.
    Trains solve(const GearBox& box) const;
    bool cancelled() const { return cancelled_; }
    bool tooMany() const { return tooMany_; }

  private:
    TrainProblem problem_;
    std::vector<GearSet> index_;        // a <= b, c <= d, exact
    std::vector<GearSet> differential_; // a <= b, c <= d, by |error|
    bool cancelled_ = false;
    bool tooMany_ = false;
};

// The set in the first order that mounts with the clearance: as given, a
// and b changed over, c and d changed over, both; none where none does.
std::optional<GearSet> mountingOrder(const GearSet& set, double clearance);

// Whether the gears of `sets` together fit in `box`.
bool fitsBox(const GearBox& box, std::initializer_list<const GearSet*> sets);

// The gears of the sets counted by tooth count.
GearBox gearsOf(std::initializer_list<const GearSet*> sets);

} // namespace kelvaro
