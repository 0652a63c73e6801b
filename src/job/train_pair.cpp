#include "job/train_pair.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace kelvaro {

namespace {

double setRatio(const GearSet& s) {
    return ((s.a * s.b) / s.c) / s.d;
}

// The box as a table by tooth count, for the many fits of one solve.
std::vector<int> boxTable(const GearBox& box) {
    std::vector<int> table(kMaxBoxTeeth + 1, 0);
    for (const auto& [teeth, count] : box)
        if (teeth >= 0 && teeth <= kMaxBoxTeeth) table[static_cast<std::size_t>(teeth)] = count;
    return table;
}

bool fitsTable(const std::vector<int>& table, std::initializer_list<const GearSet*> sets) {
    int gears[8];
    int n = 0;
    for (const GearSet* s : sets)
        for (const double teeth : {s->a, s->b, s->c, s->d})
            gears[n++] = static_cast<int>(teeth);
    for (int i = 0; i < n; ++i) {
        int needed = 0;
        for (int j = 0; j < n; ++j)
            needed += gears[j] == gears[i];
        if (gears[i] < 0 || gears[i] > kMaxBoxTeeth ||
            table[static_cast<std::size_t>(gears[i])] < needed)
            return false;
    }
    return true;
}

} // namespace

std::optional<GearSet> mountingOrder(const GearSet& s, double clearance) {
    const GearSet orders[] = {{s.a, s.b, s.c, s.d, s.error},
                              {s.b, s.a, s.c, s.d, s.error},
                              {s.a, s.b, s.d, s.c, s.error},
                              {s.b, s.a, s.d, s.c, s.error}};
    for (const GearSet& order : orders)
        if (quadrantMargins(order.a, order.b, order.c, order.d).mountable(clearance)) return order;
    return std::nullopt;
}

bool fitsBox(const GearBox& box, std::initializer_list<const GearSet*> sets) {
    return fitsTable(boxTable(box), sets);
}

GearBox gearsOf(std::initializer_list<const GearSet*> sets) {
    GearBox gears;
    for (const GearSet* s : sets)
        for (const double teeth : {s->a, s->b, s->c, s->d})
            ++gears[static_cast<int>(teeth)];
    return gears;
}

TrainSolver::TrainSolver(const TrainProblem& problem, const std::vector<int>& universe,
                         SearchControl* control)
    : problem_(problem) {
    std::vector<int> counts = universe;
    std::sort(counts.begin(), counts.end());
    counts.erase(std::unique(counts.begin(), counts.end()), counts.end());
    const std::size_t n = counts.size();

    if (problem.index) {
        // Driven pairs by their product; an index set is a driving pair whose
        // product times Q / P is the product of a driven pair, in whole numbers.
        std::unordered_map<std::int64_t, std::vector<std::pair<int, int>>> byProduct;
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i; j < n; ++j)
                byProduct[std::int64_t{counts[i]} * counts[j]].emplace_back(counts[i], counts[j]);
        const std::int64_t p = problem.index->numerator, q = problem.index->denominator;
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i; j < n; ++j) {
                const std::int64_t driving = std::int64_t{counts[i]} * counts[j] * q;
                if (driving % p != 0) continue;
                const auto found = byProduct.find(driving / p);
                if (found == byProduct.end()) continue;
                for (const auto& [c, d] : found->second)
                    index_.push_back(
                        {double(counts[i]), double(counts[j]), double(c), double(d), 0});
            }
    }

    if (problem.differentialRatio) {
        const double r = *problem.differentialRatio, t = problem.tolerance;
        const std::size_t limit = control ? control->setLimit : kSetLimit;
        for (std::size_t i = 0; i < n && !cancelled_ && !tooMany_; ++i) {
            if (control) {
                if (control->cancelled) cancelled_ = true;
                control->progress = static_cast<double>(i) / static_cast<double>(n);
            }
            for (std::size_t j = i; j < n && !tooMany_; ++j) {
                const double product = double(counts[i]) * counts[j];
                for (std::size_t k = 0; k < n && !tooMany_; ++k) {
                    const double c = counts[k];
                    // d near product / (c * r); the test below decides.
                    const double low = product / (c * (r + t)) - 1;
                    const double high = r - t > 0 ? product / (c * (r - t)) + 1 : kMaxBoxTeeth;
                    auto d = std::lower_bound(counts.begin() + static_cast<std::ptrdiff_t>(k),
                                              counts.end(), std::max(low, c));
                    for (; d != counts.end() && *d <= high; ++d) {
                        const GearSet s{double(counts[i]), double(counts[j]), c, double(*d), 0};
                        const double error = setRatio(s) - r;
                        if (!(std::abs(error) <= t)) continue;
                        differential_.push_back({s.a, s.b, s.c, s.d, error});
                        if (differential_.size() > limit) tooMany_ = true;
                    }
                }
            }
        }
        if (control) control->found = differential_.size();
        std::stable_sort(differential_.begin(), differential_.end(),
                         [](const GearSet& x, const GearSet& y) {
                             return std::abs(x.error) < std::abs(y.error);
                         });
    }
}

Trains TrainSolver::solve(const GearBox& box) const {
    Trains trains;
    if (cancelled_) {
        trains.status = TrainsStatus::Cancelled;
        return trains;
    }
    if (tooMany_) {
        trains.status = TrainsStatus::TooManySets;
        return trains;
    }
    const std::vector<int> table = boxTable(box);
    const double s = problem_.clearance;

    std::vector<GearSet> index;
    if (problem_.index)
        for (const GearSet& set : index_)
            if (fitsTable(table, {&set}))
                if (auto mounted = mountingOrder(set, s)) index.push_back(*mounted);
    if (problem_.index && index.empty()) trains.status = TrainsStatus::NoIndexSet;
    if (!index.empty()) trains.index = index.front();
    if (!problem_.differentialRatio) return trains;

    bool anyDifferential = false;
    for (const GearSet& set : differential_) {
        if (!fitsTable(table, {&set})) continue;
        auto mounted = mountingOrder(set, s);
        if (!mounted) continue;
        mounted->error = setRatio(*mounted) - *problem_.differentialRatio;
        if (!anyDifferential && (!problem_.index || index.empty())) {
            // Without an index train the differential set stands alone.
            trains.differential = mounted;
            if (!problem_.index) return trains;
            anyDifferential = true;
            break;
        }
        anyDifferential = true;
        for (const GearSet& indexSet : index)
            if (fitsTable(table, {&set, &indexSet})) {
                trains.index = indexSet;
                trains.differential = mounted;
                return trains;
            }
    }
    if (trains.status == TrainsStatus::Found)
        trains.status = anyDifferential ? TrainsStatus::NoPair : TrainsStatus::NoDifferentialSet;
    return trains;
}

} // namespace kelvaro
