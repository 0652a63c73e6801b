#include "job/differential_indexing.h"

#include "job/train_pair.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace kelvaro {

namespace {

constexpr int kLargestStep = 50;

double setRatio(const GearSet& s) {
    return ((s.a * s.b) / s.c) / s.d;
}

struct Pair {
    std::int64_t product;
    int a, b;
};

// The box's pairs a ≤ b by product, each product once with its pairs.
struct PairTable {
    std::vector<std::int64_t> products; // ascending, distinct
    std::vector<std::size_t> first;     // pairs of products[k]: first[k] .. first[k + 1]
    std::vector<Pair> pairs;
    std::unordered_map<std::int64_t, std::size_t> byProduct;

    explicit PairTable(const std::vector<int>& counts) {
        for (std::size_t i = 0; i < counts.size(); ++i)
            for (std::size_t j = i; j < counts.size(); ++j)
                pairs.push_back({std::int64_t{counts[i]} * counts[j], counts[i], counts[j]});
        std::sort(pairs.begin(), pairs.end(), [](const Pair& x, const Pair& y) {
            return std::tie(x.product, x.a) < std::tie(y.product, y.a);
        });
        for (std::size_t i = 0; i < pairs.size(); ++i)
            if (i == 0 || pairs[i].product != pairs[i - 1].product) {
                byProduct[pairs[i].product] = products.size();
                products.push_back(pairs[i].product);
                first.push_back(i);
            }
        first.push_back(pairs.size());
    }
};

// Counts by tooth count, and whether a handful of gears fits in them.
struct Stock {
    std::vector<int> table = std::vector<int>(kMaxBoxTeeth + 1, 0);
    explicit Stock(const GearBox& box) {
        for (const auto& [teeth, count] : box)
            if (teeth >= 0 && teeth <= kMaxBoxTeeth) table[static_cast<std::size_t>(teeth)] = count;
    }
    bool fits(const int* gears, int n) const {
        for (int i = 0; i < n; ++i) {
            if (gears[i] < 0 || gears[i] > kMaxBoxTeeth) return false;
            int needed = 0;
            for (int j = 0; j < n; ++j)
                needed += gears[j] == gears[i];
            if (table[static_cast<std::size_t>(gears[i])] < needed) return false;
        }
        return true;
    }
};

void put(int* gears, int at, const GearSet& s) {
    gears[at] = static_cast<int>(s.a);
    gears[at + 1] = static_cast<int>(s.b);
    gears[at + 2] = static_cast<int>(s.c);
    gears[at + 3] = static_cast<int>(s.d);
}

Fraction reduced(std::int64_t p, std::int64_t q) {
    const std::int64_t g = std::gcd(p, q);
    return q < 0 ? Fraction{-p / g, -q / g} : Fraction{p / g, q / g};
}

// The exact index sets for P / Q that fit the box alone, as mounted, in
// order of a, b, c, d as found.
std::vector<GearSet> indexSets(const PairTable& t, const Stock& stock, Fraction f,
                               double clearance) {
    // P and Q coprime: a·b = n·P and c·d = n·Q for a whole n.
    std::vector<GearSet> sets;
    const std::int64_t largest = t.products.back();
    for (std::int64_t n = 1; n * f.numerator <= largest && n * f.denominator <= largest; ++n) {
        const auto driving = t.byProduct.find(n * f.numerator);
        const auto found = t.byProduct.find(n * f.denominator);
        if (driving == t.byProduct.end() || found == t.byProduct.end()) continue;
        const std::size_t k = driving->second;
        for (std::size_t i = t.first[k]; i < t.first[k + 1]; ++i)
            for (std::size_t j = t.first[found->second]; j < t.first[found->second + 1]; ++j)
                sets.push_back({double(t.pairs[i].a), double(t.pairs[i].b), double(t.pairs[j].a),
                                double(t.pairs[j].b), 0});
    }
    std::sort(sets.begin(), sets.end(), [](const GearSet& x, const GearSet& y) {
        return std::tie(x.a, x.b, x.c, x.d) < std::tie(y.a, y.b, y.c, y.d);
    });
    std::vector<GearSet> mounted;
    for (const GearSet& s : sets) {
        int gears[4];
        put(gears, 0, s);
        if (!stock.fits(gears, 4)) continue;
        if (auto m = mountingOrder(s, clearance)) mounted.push_back(*m);
    }
    return mounted;
}

struct Near {
    std::size_t driving, driven; // indices into the products
    double error;                // products' quotient - r
};

} // namespace

const std::vector<Fraction>& compensationSteps() {
    static const std::vector<Fraction> steps = [] {
        std::vector<Fraction> positive;
        for (int q = 1; q <= kLargestStep; ++q)
            for (int p = 1; p <= q; ++p)
                if (std::gcd(p, q) == 1) positive.push_back({p, q});
        std::stable_sort(positive.begin(), positive.end(), [](Fraction x, Fraction y) {
            return x.numerator * y.denominator < y.numerator * x.denominator;
        });
        std::vector<Fraction> all;
        for (const Fraction& f : positive) {
            all.push_back(f);
            all.push_back({-f.numerator, f.denominator});
        }
        return all;
    }();
    return steps;
}

IndexingResult searchDifferentialIndexing(const IndexingProblem& problem, const GearBox& box,
                                          SearchControl* control) {
    IndexingResult result;
    if (box.empty() || problem.feeds.empty()) return result;
    std::vector<int> counts;
    for (const auto& [teeth, count] : box)
        counts.push_back(teeth);
    const PairTable table(counts);
    const Stock stock(box);
    const std::int64_t largestSquare = std::int64_t{counts.back()} * counts.back();
    const std::size_t limit = control ? control->setLimit : kSetLimit;
    const double t = problem.tolerance;
    const auto& steps = compensationSteps();

    std::optional<double> best; // |error| of the choice so far
    std::vector<Near> near;
    for (std::size_t step = 0; step < steps.size(); ++step) {
        if (control) {
            if (control->cancelled) return {IndexingStatus::Cancelled, {}};
            control->progress = static_cast<double>(step) / static_cast<double>(steps.size());
        }
        const Fraction delta = steps[step];
        const Fraction z0 =
            reduced(problem.teeth * delta.denominator + delta.numerator, delta.denominator);
        if (z0.numerator <= 0) continue;
        // C × K / Z0 = C_n · K · q / (C_d · (Z q + p)), taken apart so that
        // nothing overflows before the bound below passes it over.
        const Fraction c = problem.constant;
        const Fraction left = reduced(c.numerator, z0.numerator);
        const Fraction right =
            reduced(std::int64_t{problem.starts} * z0.denominator, c.denominator);
        const Fraction crossA = reduced(left.numerator, right.denominator),
                       crossB = reduced(right.numerator, left.denominator);
        if (crossA.numerator > largestSquare || crossB.numerator > largestSquare ||
            crossA.denominator > largestSquare || crossB.denominator > largestSquare)
            continue;
        const Fraction fraction{crossA.numerator * crossB.numerator,
                                crossA.denominator * crossB.denominator};
        if (fraction.numerator > largestSquare || fraction.denominator > largestSquare) continue;
        const std::vector<GearSet> index = indexSets(table, stock, fraction, problem.clearance);
        if (index.empty()) continue;
        const double deltaValue =
            static_cast<double>(delta.numerator) / static_cast<double>(delta.denominator);

        for (std::size_t f = 0; f < problem.feeds.size(); ++f) {
            const FeedCandidate& feed = problem.feeds[f];
            const double u = problem.helixTerm + problem.feedTerm * deltaValue / feed.feed;
            const double r = std::abs(u);
            const double w = best ? std::min(t, *best) : t;
            if (!(r > 0) || !std::isfinite(r)) continue;
            // The sets whose products' quotient lies within w of r: as the
            // driving product grows, so do both ends of the driven range.
            near.clear();
            const double lowFactor = 1 / (r + w) * (1 - 1e-12);
            const double highFactor = r - w > 0 ? 1 / (r - w) * (1 + 1e-12) : HUGE_VAL;
            std::size_t lo = 0, hi = 0;
            const std::size_t n = table.products.size();
            for (std::size_t k = 0; k < n; ++k) {
                const double p1 = static_cast<double>(table.products[k]);
                while (lo < n && static_cast<double>(table.products[lo]) < p1 * lowFactor)
                    ++lo;
                if (hi < lo) hi = lo;
                while (hi < n && static_cast<double>(table.products[hi]) <= p1 * highFactor)
                    ++hi;
                for (std::size_t k2 = lo; k2 < hi; ++k2) {
                    const double e = p1 / static_cast<double>(table.products[k2]) - r;
                    if (std::abs(e) <= w * (1 + 1e-9) + 1e-15) near.push_back({k, k2, e});
                }
                if (near.size() > limit) return {IndexingStatus::TooManySets, {}};
            }
            std::sort(near.begin(), near.end(), [](const Near& x, const Near& y) {
                return std::abs(x.error) < std::abs(y.error);
            });
            bool done = false;
            for (const Near& cand : near) {
                if (done || (best && std::abs(cand.error) > *best * (1 + 1e-9) + 1e-15)) break;
                for (std::size_t i = table.first[cand.driving];
                     i < table.first[cand.driving + 1] && !done; ++i)
                    for (std::size_t j = table.first[cand.driven];
                         j < table.first[cand.driven + 1] && !done; ++j) {
                        const GearSet s{double(table.pairs[i].a), double(table.pairs[i].b),
                                        double(table.pairs[j].a), double(table.pairs[j].b), 0};
                        int gears[10];
                        put(gears, 0, s);
                        if (!stock.fits(gears, 4)) continue;
                        auto mounted = mountingOrder(s, problem.clearance);
                        if (!mounted) continue;
                        mounted->error = setRatio(*mounted) - r;
                        const double e = std::abs(mounted->error);
                        if (!(e <= t) || (best && e >= *best)) continue;
                        for (const GearSet& indexSet : index) {
                            put(gears, 4, indexSet);
                            if (!stock.fits(gears, 8)) continue;
                            std::optional<FeedPair> pair;
                            for (const FeedPair& fp : feed.pairs) {
                                gears[8] = fp.a;
                                gears[9] = fp.b;
                                if (!feed.fromBox || stock.fits(gears, 10)) {
                                    pair = fp;
                                    break;
                                }
                            }
                            if (!pair) continue;
                            best = e;
                            result.status = IndexingStatus::Found;
                            result.choice = IndexingChoice{delta,    z0, fraction, indexSet,
                                                           *mounted, u,  f,        *pair};
                            done = true;
                            break;
                        }
                    }
            }
        }
    }
    return result;
}

} // namespace kelvaro
