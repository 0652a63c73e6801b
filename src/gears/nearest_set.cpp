// The nearest set by a table of the products c * d (c <= d) of the usable
// gears, sorted: for a driving pair of product p the ratio p / q falls as q
// grows, so the nearest set of that pair has one of the two products next
// to p / ratio. Each set with such a product is then computed exactly as
// the search computes it, so error and order agree with the list.
#include "gears/nearest_set.h"

#include "gears/gear_search.h"
#include "gears/rounded_math.h"
#include "gears/search_control.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kelvaro {

namespace {

// Counts above this would make products of four gears inexact.
constexpr double kMaxNearestTeeth = 0x1p26;

struct Product {
    std::uint64_t value;
    std::uint32_t smaller; // c (or a): the other gear is value / smaller

    friend bool operator<(const Product& x, const Product& y) {
        return x.value != y.value ? x.value < y.value : x.smaller < y.smaller;
    }
};

bool whole(double teeth) {
    return teeth == std::floor(teeth);
}

NearestSet refused(NearestSet::Status status, std::string reason) {
    NearestSet result;
    result.status = status;
    result.reason = std::move(reason);
    return result;
}

// Why no nearest set is looked for in that range, if it is not.
std::optional<NearestSet> refusal(double ratio, double zmin, double zmax) {
    using Status = NearestSet::Status;
    if (!std::isfinite(ratio)) return refused(Status::Unsupported, "传动比不是有限的数");
    if (!std::isfinite(zmin) || !std::isfinite(zmax) || !whole(zmin) || !whole(zmax) || zmin < 1 ||
        zmax < 1)
        return refused(Status::Unsupported, "齿数不是正整数");
    if (zmin > zmax) return refused(Status::NoSets, "齿数范围内没有挂轮组");
    if (zmax > kMaxNearestTeeth) return refused(Status::Unsupported, "齿数太大");
    if (zmax - zmin + 1 > kMaxNearestRange)
        return refused(Status::Unsupported, "齿数范围超过1024个齿数");
    return std::nullopt;
}

std::vector<std::uint32_t> usableGears(double zmin, double zmax,
                                       std::span<const std::int16_t> missingTeeth) {
    auto usable = [missingTeeth](std::uint32_t teeth) {
        return std::none_of(missingTeeth.begin(), missingTeeth.end(),
                            [teeth](std::int16_t t) { return t == static_cast<double>(teeth); });
    };
    std::vector<std::uint32_t> gears;
    for (auto t = static_cast<std::uint32_t>(zmin); t <= static_cast<std::uint32_t>(zmax); ++t)
        if (usable(t)) gears.push_back(t);
    return gears;
}

// Every product of two gears (the smaller first), sorted.
std::vector<Product> sortedProducts(const std::vector<std::uint32_t>& gears) {
    std::vector<Product> products;
    products.reserve(gears.size() * (gears.size() + 1) / 2);
    for (std::size_t i = 0; i < gears.size(); ++i)
        for (std::size_t j = i; j < gears.size(); ++j)
            products.push_back({std::uint64_t{gears[i]} * gears[j], gears[i]});
    std::sort(products.begin(), products.end());
    return products;
}

// The set of two products, computed as the search computes it.
GearSet setOf(double ratio, const Product& driving, const Product& driven) {
    const double a = driving.smaller;
    const double b = static_cast<double>(driving.value / driving.smaller);
    const double c = driven.smaller;
    const double d = static_cast<double>(driven.value / driven.smaller);
    return GearSet{a, b, c, d, ((a * b) / c) / d - ratio};
}

// The driven products that can come nearest for a driving product: every
// product of the two values next to driving / ratio (of the largest value
// where the ratio is 0 or below), in the search's order of c.
void drivenCandidates(const std::vector<Product>& products, const Product& driving, double ratio,
                      std::vector<Product>& candidates) {
    // Every product equal to the one at `at`; groups are short, so walking
    // back to the first is cheaper than another search.
    auto addGroup = [&](std::vector<Product>::const_iterator at) {
        auto first = at;
        while (first != products.cbegin() && (first - 1)->value == at->value)
            --first;
        for (; first != products.cend() && first->value == at->value; ++first)
            candidates.push_back(*first);
    };
    const double wanted = static_cast<double>(driving.value) / ratio;
    candidates.clear();
    if (!(wanted > 0) || !std::isfinite(wanted)) {
        addGroup(products.cend() - 1);
    } else {
        const auto above = std::lower_bound(
            products.cbegin(), products.cend(), wanted,
            [](const Product& p, double v) { return static_cast<double>(p.value) < v; });
        if (above != products.cend()) addGroup(above);
        if (above != products.cbegin()) addGroup(above - 1);
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Product& x, const Product& y) { return x.smaller < y.smaller; });
}

} // namespace

NearestSet nearestSet(double ratio, double zmin, double zmax,
                      std::span<const std::int16_t> missingTeeth) {
    if (std::optional<NearestSet> early = refusal(ratio, zmin, zmax)) return *early;
    const std::vector<std::uint32_t> gears = usableGears(zmin, zmax, missingTeeth);
    const std::vector<Product> products = sortedProducts(gears);
    if (products.empty()) return refused(NearestSet::Status::NoSets, "可用的齿轮组不成挂轮组");

    NearestSet result;
    result.status = NearestSet::Status::Found;
    const GearSet low = setOf(ratio, products.front(), products.back());
    const GearSet high = setOf(ratio, products.back(), products.front());
    result.lowest = ((low.a * low.b) / low.c) / low.d;
    result.highest = ((high.a * high.b) / high.c) / high.d;

    bool found = false;
    std::vector<Product> candidates;
    // Driving pairs in the search's order: a, then b.
    for (std::size_t i = 0; i < gears.size(); ++i) {
        for (std::size_t j = i; j < gears.size(); ++j) {
            const Product driving{std::uint64_t{gears[i]} * gears[j], gears[i]};
            drivenCandidates(products, driving, ratio, candidates);
            for (const Product& driven : candidates) {
                const GearSet set = setOf(ratio, driving, driven);
                if (!found || std::abs(set.error) < std::abs(result.set.error)) {
                    result.set = set;
                    found = true;
                }
            }
        }
    }
    return result;
}

std::optional<double> toleranceNeeded(double ratio, double nearestError, double zmin, double zmax,
                                      std::span<const std::int16_t> missingTeeth) {
    if (!(ratio > 0) || !std::isfinite(ratio) || !std::isfinite(nearestError)) return std::nullopt;
    // A tolerance is k * 10^e with k from 10 to 99; k / 10^-e is the double
    // nearest the decimal, the value the field would read.
    auto value = [](int k, int e) {
        return e >= 0 ? k * roundedPow(10.0, e) : k / roundedPow(10.0, -e);
    };
    // A hair below |error|: an error of 0.29000000000000004 is the 0.29 a
    // user types, and the search may well list it there. Below a trillionth
    // of the ratio the search's own rounding decides.
    const double from = std::max(std::abs(nearestError) * (1 - 0x1p-40), ratio * 1e-12);
    // Far below any tolerance a field holds, 10^e would leave the doubles.
    if (!(from >= 1e-300)) return std::nullopt;
    int e = static_cast<int>(std::floor(roundedLog10(from))) - 1;
    // log10 may round across a power of ten.
    if (from / value(1, e) >= 100) ++e;
    if (from / value(1, e) < 10) --e;
    int k = static_cast<int>(std::ceil(from / value(1, e)));
    while (k > 10 && value(k - 1, e) >= from)
        --k;
    while (value(k, e) < from)
        ++k;
    for (;; ++k) {
        if (k == 100) {
            k = 10;
            ++e;
        }
        const double tolerance = value(k, e);
        if (tolerance >= ratio) return std::nullopt;
        // A set whose |error| equals the tolerance is listed but never made
        // the best set, and the suggestion often lands on that edge: it must
        // give a best set, so the whole search runs.
        SearchControl bounded;
        const GearSearchResult result =
            searchGears(ratio, tolerance, zmin, zmax, missingTeeth, &bounded);
        if (result.end == SearchEnd::TooManySets || hasBestSet(result)) return tolerance;
    }
}

} // namespace kelvaro
