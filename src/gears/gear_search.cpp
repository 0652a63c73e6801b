// The four-gear search. Its result is defined by a straight loop over every
// (a, b, c) with floor tests on quotients computed in a fixed order. That
// loop is cubic, so for the usual inputs (a positive ratio and tolerance,
// a whole range of positive tooth counts) the search visits only the first
// driven gears that can pass and decides each of them by the very same
// tests; the lists come out identical, bit for bit. Every other input runs
// the straight loop.
//
// Why skipping is safe, for m- = ratio - tolerance > 0, m+ = ratio +
// tolerance > m- and p = a * b (exact for whole counts below 2^20):
// - A c that passes has d = floor(p / (c * m-)) with floor(p / (c * m+)) < d,
//   so its whole product c * d lies within a few rounding errors of the
//   range (p / m+, p / m-]. Only divisors c of the whole numbers there can
//   pass; a table of the products c * d (zmin <= c <= d <= zmax) lists them.
//   Pairs whose range holds no whole number are passed over after two
//   multiplications; the pair test itself still divides as defined.
// - d does not grow with c (rounding is monotonic), so the c with
//   c <= d <= zmax form one run, which lies within the bounds
//   floor(p / m- / (zmax + 1)) and floor(sqrt(p / m-)) + 1.
#include "gears/gear_search.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace kelvaro {

namespace {

bool usesMissingTooth(const GearSet& set, std::span<const std::int16_t> missingTeeth) {
    return std::any_of(missingTeeth.begin(), missingTeeth.end(), [&set](std::int16_t teeth) {
        const double t = teeth;
        return t == set.a || t == set.b || t == set.c || t == set.d;
    });
}

// floor(x), bit for bit (a zero keeps its sign, NaN and infinities pass
// through), but by integer conversion where that is exact: several times
// faster than std::floor on processors without a rounding instruction.
double wholePart(double x) {
    if (x > 0 && x < 0x1p62) return static_cast<double>(static_cast<std::int64_t>(x));
    return std::floor(x);
}

// Relative widening of the product range: far above the few rounding
// errors (2^-53 each) that separate p / m from the quotients of the tests.
constexpr double kWiden = 0x1p-40;
// Largest tooth count of the skipping search: products stay exact integers.
constexpr double kMaxFastTeeth = 0x1p20;
// Ratio bounds of the skipping search: every quotient stays a normal double.
constexpr double kMinFastDivisor = 0x1p-30;
constexpr double kMaxFastDivisor = 0x1p30;
// Largest product table, in products (about 2 bytes each, and 2 a gear).
constexpr double kMaxTableProducts = 0x1p22;
// Largest range of tooth counts (zmax - zmin) of the product table.
constexpr double kMaxTableTeeth = 0x1p15;
// More whole products than this in a pair's range: scan the run instead.
constexpr double kMaxLookups = 64;
// In the straight loop, the cancel flag is read every this many inner steps.
constexpr unsigned kCancelStride = 4096;

// The memory of the last product table, kept for the next search as the
// sets' storage is (gear_set.cpp): a table is filled anew for every search,
// and fresh memory would cost a page fault for every 4 KB of it. Tables of
// up to 2^21 products (about 6 MB) are kept.
struct KeptTable {
    std::mutex mutex;
    std::vector<std::uint32_t> blockStarts;
    std::vector<std::uint16_t> starts;
    std::vector<std::uint16_t> gears;
};
constexpr std::size_t kMostKeptProducts = std::size_t{1} << 21;

KeptTable& keptTable() {
    static KeptTable* const kept = new KeptTable; // never destroyed
    return *kept;
}

// Every product c * d from `lowest` to `highest` with zmin <= c <= d <= zmax,
// and for each product its first driven gears c in ascending order. Its
// memory is most of what a short search touches, so it is kept small: the
// gears as c - zmin in 16 bits, and the slices' starts in two parts (see
// offset), about 2 bytes a product and 2 a gear. This needs a range of
// fewer than kMaxTableTeeth tooth counts.
class ProductTable {
  public:
    // Counts each product, sums the counts to the ends of the products'
    // slices, then fills every slice from its end, largest c first; the
    // ends have then moved to the starts.
    ProductTable(std::uint64_t zmin, std::uint64_t zmax, std::uint64_t lowest,
                 std::uint64_t highest)
        : zmin_(zmin), zmax_(zmax), lowest_(lowest), highest_(highest) {
        {
            KeptTable& kept = keptTable();
            const std::lock_guard lock(kept.mutex);
            blockStarts_.swap(kept.blockStarts);
            starts_.swap(kept.starts);
            gears_.swap(kept.gears);
        }
        // One more product than the table holds, with no gears: the end.
        const std::size_t products = highest - lowest + 2;
        starts_.assign(products, 0);
        blockStarts_.assign((products - 1) / kBlock + 1, 0);
        // A product has fewer gears than the range has tooth counts.
        forEachProduct([this](std::uint64_t, std::uint64_t product) { ++starts_[product]; });
        std::uint32_t end = 0;
        for (std::size_t i = 0; i < products; ++i) {
            if (i % kBlock == 0) blockStarts_[i / kBlock] = end;
            end += starts_[i];
            starts_[i] = static_cast<std::uint16_t>(end);
        }
        gears_.resize(end); // its old values are all overwritten
        forEachProduct([this](std::uint64_t c, std::uint64_t product) {
            --starts_[product];
            gears_[offset(product)] = static_cast<std::uint16_t>(c - zmin_);
        });
    }

    ~ProductTable() {
        if (starts_.capacity() > kMostKeptProducts) return;
        KeptTable& kept = keptTable();
        const std::lock_guard lock(kept.mutex);
        if (starts_.capacity() > kept.starts.capacity()) {
            kept.starts.swap(starts_);
            kept.blockStarts.swap(blockStarts_);
        }
        if (gears_.capacity() > kept.gears.capacity()) kept.gears.swap(gears_);
    }
    ProductTable(const ProductTable&) = delete;
    ProductTable& operator=(const ProductTable&) = delete;

    // The first driven gears (less zmin) of the products from `first` to
    // `last`, which lie within the table: one slice, as the products'
    // slices follow each other.
    std::span<const std::uint16_t> gears(std::uint64_t first, std::uint64_t last) const {
        return {gears_.data() + offset(first - lowest_),
                gears_.data() + offset(last + 1 - lowest_)};
    }

  private:
    static constexpr std::size_t kBlock = 64;

    // Where the slice of product lowest_ + i starts (while filling: ends).
    // A block of kBlock products holds fewer than 2^16 gears (for each c at
    // most kBlock / c + 1, summed over fewer than kMaxTableTeeth gears), so
    // the block's start and the low 16 bits of the product's give it.
    std::size_t offset(std::uint64_t i) const {
        const std::uint32_t block = blockStarts_[i / kBlock];
        return block + static_cast<std::uint16_t>(starts_[i] - static_cast<std::uint16_t>(block));
    }

    // Largest c first; passes the product's index in the table.
    template <typename Visit> void forEachProduct(Visit visit) const {
        for (std::uint64_t c = zmax_; c >= zmin_; --c) {
            const std::uint64_t first = std::max(c, (lowest_ + c - 1) / c);
            const std::uint64_t last = std::min(zmax_, highest_ / c);
            for (std::uint64_t d = first; d <= last; ++d)
                visit(c, c * d - lowest_);
        }
    }

    std::uint64_t zmin_, zmax_, lowest_, highest_;
    std::vector<std::uint32_t> blockStarts_;
    std::vector<std::uint16_t> starts_;
    std::vector<std::uint16_t> gears_;
};

class Search {
  public:
    Search(double ratio, double tolerance, double zmin, double zmax,
           std::span<const std::int16_t> missingTeeth, SearchControl* control)
        : ratio_(ratio), tolerance_(tolerance), zmin_(zmin), zmax_(zmax),
          missingTeeth_(missingTeeth), control_(control) {
        result_.sets = setStorage();
        result_.best = GearSet{0, 0, 0, 0, tolerance};
    }

    GearSearchResult run() && {
        if (canSkip())
            skippingLoop();
        else
            straightLoop();
        return std::move(result_);
    }

  private:
    bool canSkip() const {
        const double low = ratio_ - tolerance_;
        const double high = ratio_ + tolerance_;
        return std::isfinite(ratio_) && std::isfinite(tolerance_) && tolerance_ > 0 &&
               low >= kMinFastDivisor && high <= kMaxFastDivisor && zmin_ >= 1 && zmin_ <= zmax_ &&
               zmax_ <= kMaxFastTeeth && zmin_ == std::floor(zmin_) && zmax_ == std::floor(zmax_);
    }

    bool cancelled() {
        if (control_ == nullptr || !control_->cancelled.load(std::memory_order_relaxed))
            return false;
        result_.end = SearchEnd::Cancelled;
        return true;
    }

    // The innermost step for one first driven gear c, every expression in
    // the order of the definition: the tests compare floors of quotients,
    // and a reordered product can move a quotient across a whole number.
    // False when the search must stop.
    bool tryFirstDriven(double a, double b, double c) {
        if (control_ != nullptr) ++control_->tried;
        if (wholePart((a * b) / (c * (ratio_ - tolerance_))) -
                wholePart((a * b) / (c * (ratio_ + tolerance_))) ==
            0)
            return true;
        const double d = wholePart((a * b) / (c * (ratio_ - tolerance_)));
        if (d > zmax_ || d < c) return true;
        const GearSet set{a, b, c, d, ((a * b) / c) / d - ratio_};
        if (usesMissingTooth(set, missingTeeth_)) return true;
        return list(set);
    }

    // The share of the driving pairs that come before `a`: the pairs of the
    // i-th driving gear of n number n - i.
    void reportProgress(double a) {
        if (control_ == nullptr) return;
        const double n = std::floor(zmax_ - zmin_) + 1;
        const double i = a - zmin_;
        control_->progress.store((i * n - i * (i - 1) / 2) / (n * (n + 1) / 2),
                                 std::memory_order_relaxed);
    }

    bool list(const GearSet& set) {
        if (control_ != nullptr) {
            if (result_.sets.size() >= control_->setLimit) {
                result_.end = SearchEnd::TooManySets;
                return false;
            }
            control_->found.store(result_.sets.size() + 1, std::memory_order_relaxed);
        }
        result_.sets.push_back(set);
        if (std::abs(set.error) < std::abs(result_.best.error)) result_.best = set;
        return true;
    }

    void straightLoop() {
        unsigned steps = 0;
        for (double a = zmin_; a <= zmax_; a += 1) {
            reportProgress(a);
            for (double b = a; b <= zmax_; b += 1) {
                if (cancelled()) return;
                // No whole product c * d in the tolerated range: no driven pair fits.
                if (wholePart((a * b) / (ratio_ - tolerance_)) -
                        wholePart((a * b) / (ratio_ + tolerance_)) ==
                    0)
                    continue;
                for (double c = zmin_; c <= zmax_; c += 1) {
                    if (++steps % kCancelStride == 0 && cancelled()) return;
                    if (!tryFirstDriven(a, b, c)) return;
                }
            }
        }
    }

    void skippingLoop() {
        const double low = ratio_ - tolerance_;
        const double high = ratio_ + tolerance_;
        // Reciprocals bound the products without dividing; the pair test
        // and every candidate still divide exactly as defined.
        const double fewestPerProduct = 1 / high * (1 - kWiden);
        const double mostPerProduct = 1 / low * (1 + kWiden);
        // The whole products that any pair can reach (the bounds below grow
        // with the pair's product, which runs from zmin^2 to zmax^2).
        fewestProduct_ = std::max(zmin_ * zmin_, wholePart(zmin_ * zmin_ * fewestPerProduct) + 1);
        mostProduct_ = std::min(zmax_ * zmax_, wholePart(zmax_ * zmax_ * mostPerProduct));
        const double fewestProduct = fewestProduct_;
        const double mostProduct = mostProduct_;
        if (fewestProduct > mostProduct) return;
        secondGears_.resize(static_cast<std::size_t>(zmax_ - zmin_) + 1);
        for (double a = zmin_; a <= zmax_; a += 1) {
            reportProgress(a);
            // First the second driving gears whose range holds a whole
            // number, gathered without branching on it: which ones do is
            // all but random, and a mispredicted branch costs more than
            // the test.
            std::size_t count = 0;
            for (double b = a; b <= zmax_; b += 1) {
                const double p = a * b;
                // A passing c has its whole product c * d above `fewest`
                // and at most `last`, with room for every rounding error.
                const double fewest = p * fewestPerProduct;
                // The range only moves up with b.
                if (fewest > mostProduct) break;
                const double last = wholePart(std::min(p * mostPerProduct, mostProduct));
                secondGears_[count] = b;
                count += last > fewest ? 1 : 0;
            }
            for (std::size_t i = 0; i < count; ++i) {
                if (cancelled()) return;
                const double b = secondGears_[i];
                const double p = a * b;
                const double below = p / low;
                if (wholePart(below) - wholePart(p / high) == 0) continue;
                const double fewest = p * fewestPerProduct;
                const double first = std::max(wholePart(fewest) + 1, fewestProduct);
                const double last = wholePart(std::min(p * mostPerProduct, mostProduct));
                if (first > last) continue;
                const bool go = last - first < kMaxLookups && tableFits()
                                    ? tryProducts(a, b, first, last)
                                    : tryRun(a, b, below);
                if (!go) return;
            }
        }
    }

    bool tableFits() const {
        return mostProduct_ - fewestProduct_ < kMaxTableProducts && zmax_ - zmin_ < kMaxTableTeeth;
    }

    bool tryProducts(double a, double b, double first, double last) {
        if (!table_) {
            table_.emplace(static_cast<std::uint64_t>(zmin_), static_cast<std::uint64_t>(zmax_),
                           static_cast<std::uint64_t>(fewestProduct_),
                           static_cast<std::uint64_t>(mostProduct_));
            gearBits_.assign(static_cast<std::size_t>(zmax_ - zmin_) / 64 + 1, 0);
        }
        // The table holds c - zmin.
        const std::span<const std::uint16_t> gears =
            table_->gears(static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(last));
        if (first == last) {
            for (std::uint16_t c : gears) // ascending, each once
                if (!tryFirstDriven(a, b, zmin_ + c)) return false;
            return true;
        }
        // A c may divide several of the products: try each once, in order.
        // The gears come in order of their products, and in a wide window
        // ordering them costs as much as trying them. Where their span is
        // short, a bit per gear puts them in order in two passes; the bits
        // are cleared as they are read (a search that stops never reads
        // them again).
        if (gears.empty()) return true;
        const auto [low, high] = std::minmax_element(gears.begin(), gears.end());
        const std::uint32_t lowest = *low;
        const std::size_t words = (*high - lowest) / 64 + 1;
        if (words <= gears.size()) {
            for (std::uint32_t c : gears)
                gearBits_[(c - lowest) / 64] |= std::uint64_t{1} << ((c - lowest) % 64);
            for (std::size_t w = 0; w < words; ++w)
                for (std::uint64_t bits = std::exchange(gearBits_[w], 0); bits != 0;
                     bits &= bits - 1)
                    if (!tryFirstDriven(a, b, zmin_ + lowest + 64 * w + std::countr_zero(bits)))
                        return false;
            return true;
        }
        candidates_.assign(gears.begin(), gears.end());
        std::sort(candidates_.begin(), candidates_.end());
        const auto end = std::unique(candidates_.begin(), candidates_.end());
        for (auto c = candidates_.begin(); c != end; ++c)
            if (!tryFirstDriven(a, b, zmin_ + *c)) return false;
        return true;
    }

    // The run of c with c <= d <= zmax, widened by the rounding of its bounds.
    bool tryRun(double a, double b, double below) {
        const double first = std::max(zmin_, wholePart(below / (zmax_ + 1)));
        const double last = std::min(zmax_, wholePart(std::sqrt(below)) + 1);
        for (double c = first; c <= last; c += 1)
            if (!tryFirstDriven(a, b, c)) return false;
        return true;
    }

    const double ratio_;
    const double tolerance_;
    const double zmin_;
    const double zmax_;
    const std::span<const std::int16_t> missingTeeth_;
    SearchControl* const control_;
    GearSearchResult result_;
    double fewestProduct_ = 0;
    double mostProduct_ = 0;
    std::optional<ProductTable> table_;
    std::vector<std::uint32_t> candidates_;
    // A bit for each first driven gear of the range, all clear between windows.
    std::vector<std::uint64_t> gearBits_;
    std::vector<double> secondGears_;
};

} // namespace

GearSearchResult searchGears(double ratio, double tolerance, double zmin, double zmax,
                             std::span<const std::int16_t> missingTeeth, SearchControl* control) {
    return Search(ratio, tolerance, zmin, zmax, missingTeeth, control).run();
}

bool searchIsDefined(double ratio, double tolerance, double zmin, double zmax) {
    if (!std::isfinite(ratio) || !std::isfinite(tolerance) || !toothCountUsable(zmin) ||
        !toothCountUsable(zmax))
        return false;
    if (ratio - tolerance == 0 || ratio + tolerance == 0) return false;
    return !(std::min(zmin, zmax) <= 0 && std::max(zmin, zmax) >= 0);
}

} // namespace kelvaro
