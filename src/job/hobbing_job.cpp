#include "job/hobbing_job.h"

#include "catalogue/machine_file.h"
#include "gears/calculation_outcome.h"
#include "gears/gear_search.h"
#include "gears/number_text.h"
#include "gears/numeric_value.h"
#include "gears/rounded_math.h"
#include "gears/trim_blanks.h"
#include "job/differential_indexing.h"
#include "job/train_pair.h"

#include <cmath>
#include <map>
#include <new>
#include <numbers>
#include <numeric>

namespace kelvaro {

namespace {

constexpr double kRadiansPerDegree = kPi / 180; // as the differential calculation converts

std::optional<int> wholeIn(std::string_view text, int from, int to) {
    const double value = numericValue(text);
    if (text.empty() || value != std::floor(value) || value < from || value > to) return {};
    return static_cast<int>(value);
}

std::string number(double value) {
    return shortNumber(value, 10);
}

std::string fractionText(const Fraction& f) {
    return std::to_string(f.numerator) + "/" + std::to_string(f.denominator);
}

// a · b mod m for m below 2^63, by doubling: no sum overflows.
std::uint64_t mulMod(std::uint64_t a, std::uint64_t b, std::uint64_t m) {
    std::uint64_t product = 0;
    for (a %= m; b; b /= 2, a = (a * 2) % m)
        if (b & 1) product = (product + a) % m;
    return product;
}

// Miller-Rabin with the bases that decide every 64-bit number.
bool isPrime(std::uint64_t n) {
    if (n < 2) return false;
    std::uint64_t d = n - 1;
    int r = 0;
    for (; d % 2 == 0; ++r)
        d /= 2;
    for (const std::uint64_t base : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37}) {
        if (n == base) return true;
        if (n % base == 0) return false;
        std::uint64_t x = 1, e = d, b = base;
        for (; e; e /= 2, b = mulMod(b, b, n))
            if (e & 1) x = mulMod(x, b, n);
        if (x == 1 || x == n - 1) continue;
        bool composite = true;
        for (int i = 1; i < r && composite; ++i)
            composite = (x = mulMod(x, x, n)) != n - 1;
        if (composite) return false;
    }
    return true;
}

// The largest prime factor of n, where it can be told quickly: the primes up
// to 1000 are divided out and what is left (whose factors are all larger)
// is named only if it is itself prime. 0: a factor above 1000, not named.
std::int64_t largestPrimeFactor(std::int64_t n) {
    std::int64_t largest = 1;
    for (std::int64_t p = 2; p <= 1000 && p <= n; ++p)
        while (n % p == 0) {
            largest = p;
            n /= p;
        }
    if (n == 1) return largest;
    return isPrime(static_cast<std::uint64_t>(n)) ? n : 0;
}

// The facts of a differential set against the target angle (inputs.helix).
// Exactly indexed, the kind's formula turned round gives the angle; with
// differential indexing σ · sin β = m · K · (u′ − compensation) / C_d, u′
// the set's ratio signed as the wanted u.
struct HelixContext {
    const MachineKindDescription* kind = nullptr;
    FormulaInputs inputs;
    double ratio = 0; // the wanted ratio |u|, divided by the hob's starts
    int starts = 1;
    bool compensated = false;
    double compensation = 0; // (C_d / K) · π · Δ / s
    bool negative = false;   // u < 0
    int sigma = 1;
    std::optional<double> faceWidth;

    std::optional<double> angleOf(double setRatio) const {
        if (!compensated) return kind->inverse(inputs, setRatio * starts);
        const double u = negative ? -setRatio : setRatio;
        const double x = sigma * (u - compensation) * starts / (inputs.constant / inputs.module);
        if (!(std::abs(x) <= 1)) return std::nullopt;
        return std::asin(x);
    }
    // f = 1000 · b · tan(β′ − β) µm over the face width b mm.
    std::optional<double> microns(double angle) const {
        if (!faceWidth) return std::nullopt;
        return 1000 * *faceWidth * std::tan(angle - inputs.helix);
    }
};

HelixSet describeHelixSet(const HelixContext& c, const GearSet& set) {
    HelixSet h;
    h.set = set;
    h.ratio = ((set.a * set.b) / set.c) / set.d;
    if (c.ratio != 0) h.relativeErrorPpm = set.error / c.ratio * 1e6;
    if (const auto angle = c.angleOf(h.ratio)) {
        h.helixDegrees = *angle / kRadiansPerDegree;
        h.helixDeviationArcsec = (*angle - c.inputs.helix) / kRadiansPerDegree * 3600;
        h.helixDeviationMicrons = c.microns(*angle);
    }
    return h;
}

std::vector<int> countsOf(const GearBox& box) {
    std::vector<int> counts;
    for (const auto& [teeth, count] : box)
        counts.push_back(teeth);
    return counts;
}

HobbingJob refused(std::string message) {
    HobbingJob job;
    job.message = std::move(message);
    return job;
}

void settingAngle(HobbingJob& job, const JobRequest& request) {
    if (trimBlanks(request.hobLead).empty()) {
        job.settingWords = "没有填滚刀螺旋升角 λ，算不出安装角";
        return;
    }
    const double lead = numericValue(request.hobLead);
    if (!job.helical) {
        job.settingAngle = lead;
        job.settingWords =
            "直齿轮：安装角 δ = λ = " + number(lead) + "°，刀架按滚刀旋向的反方向扳转";
        return;
    }
    const Hands hands = request.hands;
    if (hands == Hands::Unknown) {
        job.settingWords = "请说明滚刀与工件的旋向相同还是相反，才能给出安装角";
        return;
    }
    const bool same = hands == Hands::Same;
    const double angle = same ? job.helixDegrees - lead : job.helixDegrees + lead;
    job.settingAngle = angle;
    std::string words = same ? "滚刀与工件旋向相同：安装角 δ = β − λ = "
                             : "滚刀与工件旋向相反：安装角 δ = β + λ = ";
    words += number(angle) + "°，";
    if (angle > 0) words += "刀架按工件的旋向扳转 " + number(angle) + "°";
    if (angle < 0) words += "刀架按工件旋向的反方向扳转 " + number(-angle) + "°";
    if (angle == 0) words += "刀架不用扳转";
    job.settingWords = std::move(words);
}

// The one gear that makes the job possible with the smallest differential
// error: every count of the machine's range is tried in the box, and
// `beyond` (a prime factor above the range, 0: none) too.
void addOneGear(HobbingJob& job, const TrainProblem& problem, const HelixContext& helix, int from,
                int to, int beyond, SearchControl* control) {
    std::vector<int> tried;
    for (int teeth = from; teeth <= to; ++teeth)
        tried.push_back(teeth);
    if (beyond > to && beyond <= kMaxBoxTeeth) tried.push_back(beyond);
    std::vector<int> universe = countsOf(job.box);
    universe.insert(universe.end(), tried.begin(), tried.end());
    const TrainSolver solver(problem, universe, control);
    std::optional<double> best;
    for (const int teeth : tried) {
        if (control && control->cancelled) break;
        GearBox box = job.box;
        ++box[teeth];
        const Trains trains = solver.solve(box);
        if (trains.status != TrainsStatus::Found) continue;
        const double error = trains.differential ? std::abs(trains.differential->error) : 0;
        if (best && error >= *best) continue;
        best = error;
        job.addOne = AddOneGear{teeth, trains.index, std::nullopt};
        if (trains.differential)
            job.addOne->differential = describeHelixSet(helix, *trains.differential);
    }
    if (!job.addOne)
        job.addOneReason =
            "在挂轮箱里加一个 " + std::to_string(from) + " 到 " + std::to_string(to) + " 齿" +
            (!tried.empty() && tried.back() > to ? "或 " + std::to_string(tried.back()) + " 齿"
                                                 : "") +
            "的挂轮也不行";
}

std::string boxProblem(const std::string& problem) {
    return "挂轮箱：" + problem;
}

// What the stages of one job share: the request, the job being filled in,
// the machine's files and what the later stages read of them.
struct JobStages {
    JobStages(const JobRequest& r, SearchControl* c) : request(r), control(c) {}
    const JobRequest& request;
    SearchControl* control;
    HobbingJob job;
    MachineFile machine;
    std::string dataPath;
    double degrees = 0, minutes = 0, seconds = 0; // the typed angle, as typed
    double deviation = 0, length = 0;             // the first piece's measurement
    std::vector<IndexRow> rows;
    std::vector<FeedLine> feedLines;
    std::vector<FeedPair> feedPairs; // none: from the box
    HelixExtra helixExtra = HelixExtra::Unknown;
    std::optional<int> sigma; // +1: the helix's extra rotation turns the table with generating
    TrainProblem problem;
    TrainsStatus exact = TrainsStatus::Found;
    HelixContext helix{};
    std::int64_t prime = 0; // the prime factor above the box, where one stands in the way
    std::string toleranceText;
};

std::string readPositive(const std::string& text, double& value, const char* message) {
    if (trimBlanks(text).empty()) return {};
    value = numericValue(text);
    return value > 0 && std::isfinite(value) ? std::string() : message;
}

// The part, the tolerance, the hob, the feed and the first piece: a
// message where one of them cannot be read.
std::string readInputs(JobStages& st) {
    const JobRequest& request = st.request;
    HobbingJob& job = st.job;
    const auto teeth = wholeIn(trimBlanks(request.teeth), 1, 100000);
    if (!teeth) return "零件齿数应是 1 到 100000 的整数";
    const auto starts = wholeIn(trimBlanks(request.starts), 1, 100);
    if (!starts) return "滚刀头数应是 1 到 100 的整数";
    job.teeth = *teeth;
    job.starts = *starts;
    job.module = numericValue(request.module);
    if (!(job.module > 0) || !std::isfinite(job.module)) return "模数应大于 0";
    st.degrees = numericValue(request.degrees);
    st.minutes = numericValue(request.minutes);
    st.seconds = numericValue(request.seconds);
    job.helixDegrees = st.degrees + st.minutes / 60 + st.seconds / 3600;
    // Below 90° but shown as 90°0′0.00″ is refused too.
    if (!(job.helixDegrees >= 0 && std::round(job.helixDegrees * 360000) < 90 * 360000))
        return "螺旋角应在 0° 到 90° 之间（直齿轮为 0）";
    job.helical = job.helixDegrees > 0;
    job.tolerance = numericValue(request.tolerance);
    if (job.tolerance < 0) return kNegativeToleranceMessage;
    if (!std::isfinite(job.tolerance)) return "允差应是一个数";
    if (!trimBlanks(request.hobLead).empty()) {
        const double lead = numericValue(request.hobLead);
        if (!(lead >= 0 && lead < 90)) return "滚刀螺旋升角应在 0° 到 90° 之间";
    }
    if (request.measured != JobRequest::Measured::None) {
        st.deviation = numericValue(request.deviation);
        st.length = numericValue(request.length);
        if (!(st.deviation >= 0 && std::isfinite(st.deviation) && st.length > 0 &&
              std::isfinite(st.length)))
            return "试切修正：螺旋线偏差应不小于 0 µm，评定长度应大于 0 mm";
    }
    double feed = 0, width = 0;
    if (auto m = readPositive(request.feed, feed, "进给量应大于 0 mm/r"); !m.empty()) return m;
    if (auto m = readPositive(request.faceWidth, width, "齿宽应大于 0 mm"); !m.empty()) return m;
    if (feed > 0) {
        job.feed.emplace();
        job.feed->wanted = feed;
    }
    if (width > 0) job.faceWidth = width;
    return {};
}

// The box, the clearance, the index rows and the feed: this job's
// overrides, else the machine data, else the defaults.
std::string readMachineFacts(JobStages& st, const MachineData& data) {
    const JobRequest& request = st.request;
    HobbingJob& job = st.job;
    if (!trimBlanks(request.box).empty()) {
        BoxReading box = readBoxList(request.box);
        if (!box.problem.empty()) return boxProblem(box.problem);
        job.box = std::move(box.box);
    } else if (data.box) {
        job.box = *data.box;
    } else {
        BoxReading box = machineBox(st.machine.record);
        if (!box.problem.empty()) return boxProblem(box.problem);
        job.box = std::move(box.box);
    }
    if (job.box.empty()) return boxProblem("挂轮箱是空的");
    job.clearance = data.clearance.value_or(kDefaultClearance);
    if (!trimBlanks(request.clearance).empty()) {
        job.clearance = numericValue(request.clearance);
        if (!(job.clearance >= 0 && job.clearance <= 1000)) return "装配间隙应是 0 到 1000 的齿数";
    }
    // (a + c) − (b + 2) and (b + d) − (c + 2) add up to a + d − 4, so the
    // smaller is at most the largest gear less 2.
    const int largest = job.box.rbegin()->first;
    if (job.clearance > largest - 2)
        return "装配间隙 " + number(job.clearance) + " 齿太大：挂轮箱中最大的是 " +
               std::to_string(largest) + " 齿，任何挂轮都留不出多于 " +
               std::to_string(largest - 2) + " 齿的间隙";
    st.rows = data.indexRows;
    if (!trimBlanks(request.indexConstant).empty()) {
        auto row = readIndexRow(std::string(trimBlanks(request.indexConstant)) +
                                " for Z/K from 0 to 1000000");
        if (!row)
            return "分齿常数应是正的小数，整数部分至多 9 位、小数至多 6 位，而不是“" +
                   std::string(trimBlanks(request.indexConstant)) + "”";
        st.rows = {*row};
    }
    st.feedLines = data.feed.lines;
    if (!trimBlanks(request.feedConstants).empty()) {
        st.feedLines.clear();
        std::string_view list = request.feedConstants;
        for (std::size_t start = 0; start <= list.size();) {
            const auto comma = std::min(list.find(',', start), list.size());
            const std::string_view item = trimBlanks(list.substr(start, comma - start));
            start = comma + 1;
            const auto constant = readFeedConstant(item);
            if (!constant)
                return "进给常数“" + std::string(item) +
                       "”应是正的小数、分数和 π 的乘积，如 0.4608π × 30/54";
            st.feedLines.push_back({*constant, {}, std::string(item)});
        }
    }
    st.feedPairs = data.feed.pairs;
    if (!trimBlanks(request.feedPairs).empty()) {
        st.feedPairs.clear();
        if (std::string problem = readFeedPairs(request.feedPairs, st.feedPairs); !problem.empty())
            return problem;
    }
    st.helixExtra =
        request.helixExtra != HelixExtra::Unknown ? request.helixExtra : data.feed.helixExtra;
    if (request.hands != Hands::Unknown && st.helixExtra != HelixExtra::Unknown)
        st.sigma = (request.hands == Hands::Same) == (st.helixExtra == HelixExtra::With) ? 1 : -1;
    return {};
}

// Where no index row holds Z / K: the rows around it and the gap between
// them, or the line to add where the machine has none.
std::string missingIndexRow(const JobStages& st, double zOverK) {
    const std::string z = "没有 Z/K = " + number(zOverK) + " 的分齿常数：";
    const IndexRow *below = nullptr, *above = nullptr;
    std::size_t belowAt = 0, aboveAt = 0;
    for (std::size_t i = 0; i < st.rows.size(); ++i) {
        const IndexRow& row = st.rows[i];
        if (row.to < zOverK && (!below || row.to > below->to)) below = &row, belowAt = i + 1;
        if (row.from > zOverK && (!above || row.from < above->from)) above = &row, aboveAt = i + 1;
    }
    const auto named = [](std::size_t at, const IndexRow* row) {
        return "第 " + std::to_string(at) + " 条 index（“" + row->text + "”）";
    };
    const std::string fix = "（常数和范围见机床说明书）";
    if (below && above)
        return z + "它落在机床资料 " + st.dataPath + " 的" + named(belowAt, below) + "和" +
               named(aboveAt, above) + "之间的空档（" + number(below->to) + " 到 " +
               number(above->from) + "）：请把其中一条的范围改到 " + number(zOverK) +
               "，或为空档加一条 index" + fix;
    if (below)
        return z + "它大于机床资料 " + st.dataPath + " 中最后的范围，" + named(belowAt, below) +
               "：请把它的范围改到 " + number(zOverK) + "，或加一条 index" + fix;
    if (above)
        return z + "它小于机床资料 " + st.dataPath + " 中最前的范围，" + named(aboveAt, above) +
               "：请把它的范围改到 " + number(zOverK) + "，或加一条 index" + fix;
    return z + "请在机床资料 " + st.dataPath + " 中加一行“index = 24 for Z/K from 1 to " +
           std::to_string(std::max(1000, static_cast<int>(std::ceil(zOverK)))) + ", 说明”" + fix;
}

// C × K / Z from the index row that holds Z / K, and the differential ratio.
std::string setUpProblem(JobStages& st) {
    HobbingJob& job = st.job;
    st.problem.tolerance = job.tolerance;
    st.problem.clearance = job.clearance;
    const double zOverK = static_cast<double>(job.teeth) / job.starts;
    const int largestGear = job.box.rbegin()->first;
    if (const IndexRow* row = indexRowFor(st.rows, zOverK)) {
        job.constant = row->constant;
        job.note = row->note;
        const std::int64_t p = row->constant.numerator * job.starts,
                           q = row->constant.denominator * job.teeth;
        const std::int64_t divisor = std::gcd(p, q);
        job.fraction = {p / divisor, q / divisor};
        st.problem.index = job.fraction;
        const std::int64_t top = largestPrimeFactor(job.fraction.numerator),
                           bottom = largestPrimeFactor(job.fraction.denominator);
        const std::int64_t prime = top == 0 || bottom == 0 ? 0 : std::max(top, bottom);
        if (prime == 0 || prime > largestGear) {
            st.prime = prime == 0 ? -1 : prime;
            job.indexReason =
                "C × K / Z = " + fractionText(job.fraction) +
                (prime == 0 ? std::string(" 含有大于 1000 的质因数")
                            : " 含有质因数 " + std::to_string(prime) + "，大于挂轮箱中最大的 " +
                                  std::to_string(largestGear) + " 齿") +
                "，配不出精确的分齿挂轮";
        }
    } else {
        job.indexReason = missingIndexRow(st, zOverK);
    }

    const MachineKindDescription& description = describeKind(job.kind);
    const FormulaInputs inputs{job.module, helixAngleRadians(st.degrees, st.minutes, st.seconds),
                               st.machine.record.machineConstant, double(job.teeth), st.degrees};
    st.helix.kind = &description;
    st.helix.inputs = inputs;
    st.helix.starts = job.starts;
    st.helix.faceWidth = job.faceWidth;
    if (job.helical) {
        job.differentialRatio = description.ratio(inputs) / job.starts;
        if (!(job.differentialRatio > 0) || !std::isfinite(job.differentialRatio) ||
            !searchIsDefined(job.differentialRatio, job.tolerance, 1, kMaxBoxTeeth))
            return "差动传动比算不出来：请检查模数和机床常数";
        st.problem.differentialRatio = job.differentialRatio;
        st.helix.ratio = job.differentialRatio;
        job.signedRatio = job.helixTerm = st.sigma.value_or(1) * job.differentialRatio;
        if (st.sigma) job.turns = *st.sigma > 0 ? Turns::With : Turns::Against;
    }
    st.toleranceText = "允差 " + shortNumber(job.tolerance, 6);
    return {};
}

std::string tooManyForTheJob(const JobStages& st) {
    return st.toleranceText + " 内的差动挂轮多于 " +
           std::to_string(st.control ? st.control->setLimit : kSetLimit) +
           " 组，无法一一比较：请把允差改小";
}

// Both trains from the box as exact indexing makes them, what stands in
// their way and the one gear that would help.
std::string exactTrains(JobStages& st) {
    HobbingJob& job = st.job;
    SearchControl* control = st.control;
    const TrainSolver solver(st.problem, countsOf(job.box), control);
    const Trains trains = solver.solve(job.box);
    if (trains.status == TrainsStatus::Cancelled) return "计算已取消";
    if (trains.status == TrainsStatus::TooManySets) return tooManyForTheJob(st);
    st.exact = trains.status;
    job.indexSet = trains.index;
    if (trains.differential) job.differential = describeHelixSet(st.helix, *trains.differential);
    switch (trains.status) {
    case TrainsStatus::NoIndexSet:
        if (st.prime == 0)
            job.indexReason = "挂轮箱里的齿轮配不出传动比恰好是 " + fractionText(job.fraction) +
                              "、又装得上的分齿挂轮";
        if (job.helical && !trains.differential)
            job.differentialReason = st.toleranceText + " 内没有装得上的差动挂轮";
        break;
    case TrainsStatus::NoDifferentialSet:
        job.differentialReason =
            st.toleranceText + (st.problem.index
                                    ? " 内没有能和分齿挂轮一起从挂轮箱配出、又装得上的差动挂轮"
                                    : " 内没有装得上的差动挂轮");
        break;
    case TrainsStatus::NoPair:
        job.differentialReason =
            st.toleranceText +
            " 内的差动挂轮都要用到分齿挂轮已占用的齿轮，两组挂轮不能同时从挂轮箱配出";
        break;
    default:
        break;
    }
    if (!trains.index && !trains.differential && job.helical && st.problem.index &&
        job.differentialReason.empty())
        job.differentialReason = st.toleranceText + " 内没有装得上的差动挂轮";
    if (trains.status == TrainsStatus::Found && job.indexSet) job.indexMethod = IndexMethod::Exact;

    if (trains.status != TrainsStatus::Found) {
        const int largestGear = job.box.rbegin()->first;
        const BoxReading range = machineBox(st.machine.record);
        const int from = range.problem.empty() ? range.box.begin()->first : job.box.begin()->first;
        const int to = range.problem.empty() ? range.box.rbegin()->first : largestGear;
        addOneGear(job, st.problem, st.helix, std::min(from, job.box.begin()->first),
                   std::max(to, largestGear),
                   static_cast<int>(std::min<std::int64_t>(st.prime, kMaxBoxTeeth + 1)), control);
        if (control && control->cancelled) return "计算已取消";
    }
    return {};
}

// From the box, the feed candidates are bounded: the 10 % window holds
// hundreds of pairs of a large box, each wanting its own differential set.
constexpr std::size_t kFeedsFromTheBox = 24;

// Every feed line with every feed pair whose s lies within 10 % of the
// wanted feed (the nearest alone where none does), pairs of one s together,
// nearest first.
std::vector<FeedCandidate> feedCandidates(const JobStages& st) {
    const double wanted = st.job.feed->wanted;
    std::vector<FeedPair> pairs = st.feedPairs;
    const bool fromBox = pairs.empty();
    if (fromBox)
        for (const auto& [a, qa] : st.job.box)
            for (const auto& [b, qb] : st.job.box)
                if (a != b || qa > 1) pairs.push_back({a, b});
    std::vector<FeedCandidate> all;
    for (std::size_t line = 0; line < st.feedLines.size(); ++line) {
        std::map<std::pair<int, int>, std::size_t> byRatio;
        for (const FeedPair& pair : pairs) {
            const int g = std::gcd(pair.a, pair.b);
            const auto [at, added] = byRatio.try_emplace({pair.a / g, pair.b / g}, all.size());
            if (added)
                all.push_back(
                    {st.feedLines[line].constant * (pair.a / g) / (pair.b / g), line, {}, fromBox});
            all[at->second].pairs.push_back(pair);
        }
    }
    const auto away = [wanted](const FeedCandidate& c) { return std::abs(c.feed - wanted); };
    std::stable_sort(
        all.begin(), all.end(),
        [&away](const FeedCandidate& x, const FeedCandidate& y) { return away(x) < away(y); });
    std::size_t within = 0;
    while (within < all.size() && away(all[within]) <= 0.1 * wanted)
        ++within;
    all.resize(std::min(all.size(), std::max<std::size_t>(within, 1)));
    if (fromBox && all.size() > kFeedsFromTheBox) all.resize(kFeedsFromTheBox);
    return all;
}

void setFeed(JobStages& st, const FeedCandidate& c, const FeedPair& pair) {
    FeedTrain& feed = *st.job.feed;
    const FeedLine& line = st.feedLines[c.line];
    feed.constant = line.constant;
    feed.note = line.note;
    feed.a = pair.a;
    feed.b = pair.b;
    feed.fromBox = c.fromBox;
    feed.feed = c.feed;
}

// The feed nearest the wanted one beside the exact trains; false where none fits.
bool feedBesideExactTrains(JobStages& st, const std::vector<FeedCandidate>& candidates) {
    HobbingJob& job = st.job;
    GearBox left = job.box;
    if (job.indexSet)
        for (const auto& [gear, count] : gearsOf({&*job.indexSet}))
            left[gear] -= count;
    if (job.differential)
        for (const auto& [gear, count] : gearsOf({&job.differential->set}))
            left[gear] -= count;
    for (const FeedCandidate& c : candidates)
        for (const FeedPair& pair : c.pairs)
            if (!c.fromBox || (left[pair.a] >= 1 + (pair.a == pair.b) && left[pair.b] >= 1)) {
                setFeed(st, c, pair);
                return true;
            }
    return false;
}

// What differential indexing still needs of the user or the machine data;
// empty where it can be tried.
std::string indexingNeeds(const JobStages& st) {
    const HobbingJob& job = st.job;
    if (job.kind != MachineKind::Default)
        return "差动分齿只用于默认公式 i = (C / m) × sin β 的机床";
    if (st.feedLines.empty())
        return "差动分齿要用进给挂轮：请在机床资料 " + st.dataPath +
               " 中加一行“feed = 0.4608π × 30/54, 进给箱 I 档”（每一档一行，进给常数见机床说明书）";
    if (!job.feed) return "差动分齿要按进给量计算：请输入进给量 s（mm/r）";
    if (job.helical && st.request.hands == Hands::Unknown)
        return "斜齿轮差动分齿要知道滚刀与工件的旋向相同还是相反";
    if (job.helical && st.helixExtra == HelixExtra::Unknown)
        return "斜齿轮差动分齿要知道螺旋附加运动的方向：请在机床资料 " + st.dataPath +
               " 中加一行“helix extra = with”或“helix extra = "
               "against”（见机床说明书，或用快速行程检查）";
    return {};
}

std::string signedFraction(const Fraction& f) {
    return (f.numerator < 0 ? "− " : "+ ") + std::to_string(std::abs(f.numerator)) +
           (f.denominator == 1 ? "" : "/" + std::to_string(f.denominator));
}

void indexingWords(JobStages& st, const IndexingChoice& c) {
    HobbingJob& job = st.job;
    const double z0 = static_cast<double>(c.z0.numerator) / static_cast<double>(c.z0.denominator);
    std::vector<std::string>& words = job.compensationWords;
    words.push_back("差动分齿：分齿挂轮按 Z0 = Z + Δ = " + std::to_string(job.teeth) + " " +
                    signedFraction(c.delta) + " = " +
                    (c.z0.denominator == 1 ? std::to_string(c.z0.numerator)
                                           : fractionText(c.z0) + " ≈ " + shortNumber(z0, 10)) +
                    " 调整，i = C × K / Z0 = " + fractionText(c.fraction));
    std::string sense = c.signedRatio > 0 ? "差动挂轮使工作台顺着分齿运动的方向多转（u > 0）"
                                          : "差动挂轮使工作台逆着分齿运动的方向转（u < 0）";
    if (job.sameSenseAsHelical)
        sense += *job.sameSenseAsHelical ? "，与普通斜齿轮调整的方向相同"
                                         : "，与普通斜齿轮调整的方向相反：要改变差动挂轮的惰轮";
    words.push_back(sense);
    words.push_back("切削前用快速行程检查工作台附加转动的方向");
}

// Differential indexing, where no exact index set stands beside the other
// trains: a message only where the search cannot finish.
std::string compensatedTrains(JobStages& st, bool feedDoesNotFit) {
    HobbingJob& job = st.job;
    // Where only the feed stands in the way, the exact job stays if this fails.
    const bool indexIsTheProblem = st.exact == TrainsStatus::NoIndexSet;
    if (!job.constant || (st.exact == TrainsStatus::Found && !feedDoesNotFit)) return {};
    const std::string needs = indexingNeeds(st);
    if (!needs.empty()) {
        if (indexIsTheProblem) job.indexReason += (job.indexReason.empty() ? "" : "；") + needs;
        return {};
    }
    IndexingProblem problem;
    problem.teeth = job.teeth;
    problem.starts = job.starts;
    problem.constant = *job.constant;
    const int sigma = st.sigma.value_or(1);
    problem.helixTerm = job.helical ? sigma * job.differentialRatio : 0;
    problem.feedTerm = st.machine.record.machineConstant / job.starts * std::numbers::pi;
    problem.tolerance = job.tolerance;
    problem.clearance = job.clearance;
    problem.feeds = feedCandidates(st);
    const IndexingResult found = searchDifferentialIndexing(problem, job.box, st.control);
    if (found.status == IndexingStatus::Cancelled) return "计算已取消";
    if (found.status == IndexingStatus::TooManySets) return tooManyForTheJob(st);
    if (!found.choice) {
        if (indexIsTheProblem)
            job.indexReason += std::string(job.indexReason.empty() ? "" : "；") +
                               "差动分齿也不行：Δ = ±p/q（q ≤ 50）都配不出能和" +
                               (job.helical ? "" : "补偿用的") + "差动挂轮" +
                               (st.feedPairs.empty() ? "、进给挂轮" : "") +
                               "一起从挂轮箱配出的精确分齿挂轮（" + st.toleranceText + "）";
        return {};
    }
    const IndexingChoice& c = *found.choice;
    const FeedCandidate& feed = problem.feeds[c.feed];
    job.indexMethod = IndexMethod::Differential;
    job.compensated = Compensation{c.delta, c.z0, c.fraction};
    job.indexSet = c.index;
    job.signedRatio = c.signedRatio;
    job.helixTerm = problem.helixTerm;
    job.compensationTerm = c.signedRatio - problem.helixTerm;
    job.differentialRatio = std::abs(c.signedRatio);
    job.turns = c.signedRatio > 0 ? Turns::With : Turns::Against;
    if (job.helical) job.sameSenseAsHelical = (c.signedRatio > 0) == (sigma > 0);
    setFeed(st, feed, c.feedPair);
    st.helix.compensated = true;
    st.helix.compensation = job.compensationTerm;
    st.helix.negative = c.signedRatio < 0;
    st.helix.sigma = sigma;
    st.helix.ratio = job.differentialRatio;
    job.differential = describeHelixSet(st.helix, c.differential);
    job.differentialReason.clear();
    if (st.exact == TrainsStatus::NoDifferentialSet || st.exact == TrainsStatus::NoPair)
        job.indexReason = st.toleranceText + " 内的差动挂轮配不到精确的分齿挂轮旁边";
    if (job.addOne)
        job.addOneWords =
            "或者在挂轮箱里加一个 " + std::to_string(job.addOne->teeth) + " 齿的挂轮，用精确分齿";
    indexingWords(st, c);
    return {};
}

// The feed train and, where exact indexing cannot be done, differential indexing.
std::string feedAndCompensation(JobStages& st) {
    HobbingJob& job = st.job;
    bool feedDoesNotFit = false;
    if (job.feed && !st.feedLines.empty() && st.exact == TrainsStatus::Found)
        feedDoesNotFit = !feedBesideExactTrains(st, feedCandidates(st));
    if (std::string message = compensatedTrains(st, feedDoesNotFit); !message.empty())
        return message;
    if (job.feed && st.feedLines.empty())
        job.feedReason = "没有进给常数：请在机床资料 " + st.dataPath +
                         " 中加一行“feed = 0.4608π × 30/54, 进给箱 I 档”（进给常数见机床说明书）";
    else if (job.feed && job.feed->a == 0 && job.indexMethod == IndexMethod::Exact)
        job.feedReason = "分齿挂轮和差动挂轮之外，挂轮箱里剩下的齿轮配不出进给量 " +
                         number(job.feed->wanted) + " mm/r 附近的进给挂轮";
    if (feedDoesNotFit && job.indexMethod == IndexMethod::Differential)
        job.indexReason = "精确的分齿挂轮和差动挂轮旁边，挂轮箱里配不出进给挂轮";
    if (job.feed && job.feed->a == 0 && job.feedReason.empty())
        job.feed.reset(); // no trains to set the feed beside
    return {};
}

// The gears the trains take from the box, and the largest deviation the
// tolerance allows.
void gearsAndTolerance(JobStages& st) {
    HobbingJob& job = st.job;
    GearBox used;
    if (job.indexSet)
        for (const auto& [gear, count] : gearsOf({&*job.indexSet}))
            used[gear] += count;
    if (job.differential)
        for (const auto& [gear, count] : gearsOf({&job.differential->set}))
            used[gear] += count;
    if (job.feed && job.feed->fromBox && job.feed->a != 0) {
        ++used[job.feed->a];
        ++used[job.feed->b];
    }
    job.gearsUsed = std::move(used);
    if (!job.faceWidth || !job.differential) return;
    std::optional<double> largest;
    for (const double r :
         {job.differentialRatio - job.tolerance, job.differentialRatio + job.tolerance})
        if (r > 0)
            if (const auto angle = st.helix.angleOf(r))
                largest = std::max(largest.value_or(0), std::abs(*st.helix.microns(*angle)));
    job.largestDeviationMicrons = largest;
}

// The first piece's correction: a new differential set beside the index
// train (and the feed pair from the box), which stay on the machine.
void correctFirstPiece(JobStages& st) {
    HobbingJob& job = st.job;
    const bool compensated = job.indexMethod == IndexMethod::Differential;
    if (st.request.measured == JobRequest::Measured::None || !(job.helical || compensated)) return;
    JobCorrection correction;
    correction.larger = st.request.measured == JobRequest::Measured::Larger;
    const double delta = roundedAtan(st.deviation / (1000 * st.length)) * 180 / std::numbers::pi;
    correction.deltaArcsec = delta * 3600;
    correction.targetDegrees = job.helixDegrees + (correction.larger ? -delta : delta);
    if (job.helical && !(correction.targetDegrees > 0 && correction.targetDegrees < 90)) {
        correction.reason = "修正后的螺旋角 " + angleText(correction.targetDegrees) +
                            " 不在 0° 到 90° 之间：螺旋线偏差 f 以 µm、评定长度 L 以 mm "
                            "计，可能写错了单位";
        job.correction = std::move(correction);
        return;
    }
    HelixContext corrected = st.helix;
    corrected.inputs.helix = correction.targetDegrees * kRadiansPerDegree;
    const double helixTerm =
        st.sigma.value_or(1) * st.helix.kind->ratio(corrected.inputs) / job.starts;
    const double u = compensated ? helixTerm + job.compensationTerm : helixTerm;
    corrected.ratio = std::abs(u);
    corrected.negative = u < 0;
    GearBox left = job.box;
    if (job.indexSet)
        for (const auto& [gear, count] : gearsOf({&*job.indexSet}))
            left[gear] -= count;
    if (job.feed && job.feed->fromBox && job.feed->a != 0) {
        --left[job.feed->a];
        --left[job.feed->b];
    }
    TrainProblem again;
    again.differentialRatio = corrected.ratio;
    again.tolerance = job.tolerance;
    again.clearance = job.clearance;
    const Trains retry = corrected.ratio > 0
                             ? TrainSolver(again, countsOf(job.box), st.control).solve(left)
                             : Trains{};
    if (retry.differential)
        correction.set = describeHelixSet(corrected, *retry.differential);
    else
        correction.reason = st.toleranceText + " 内没有修正后的差动挂轮";
    job.correction = std::move(correction);
}

HobbingJob hobbingJob(const JobRequest& request, const std::string& directory,
                      SearchControl* control, FileSystem& fs) {
    if (request.model.empty()) return refused("选择机床型号");
    const MachineKind kind = machineKind(request.model);
    if (describeKind(kind).achieved != Achieved::HelixAngle)
        return refused("机床 " + request.model + " 是车床，没有滚齿调整");
    JobStages st(request, control);
    st.machine = readMachineFile(directory, request.model, fs);
    if (st.machine.result.failed()) return refused(std::move(st.machine.result.message));
    MachineDataFile data = loadMachineData(directory, request.model, fs);
    if (data.result.failed()) return refused(std::move(data.result.message));

    HobbingJob& job = st.job;
    job.model = request.model;
    job.kind = kind;
    job.machineConstant = st.machine.record.machineConstant;
    st.dataPath = machineDataFile(directory, request.model);
    job.dataNote = data.result.status == CatalogueStatus::Missing
                       ? "没有机床资料 " + st.dataPath + "，都按默认值"
                   : data.note.empty() ? "机床资料 " + st.dataPath
                                       : data.note;

    std::string message = readInputs(st);
    if (message.empty()) message = readMachineFacts(st, data.data);
    if (message.empty()) message = setUpProblem(st);
    if (message.empty()) message = exactTrains(st);
    if (message.empty()) message = feedAndCompensation(st);
    if (!message.empty()) return refused(std::move(message));
    gearsAndTolerance(st);
    settingAngle(job, request);
    correctFirstPiece(st);
    return std::move(job);
}

} // namespace

Hands handsOf(const JobRequest& request) {
    if (request.partHand == Hand::Unknown || request.hobHand == Hand::Unknown) return request.hands;
    return request.partHand == request.hobHand ? Hands::Same : Hands::Opposite;
}

std::string largeBoxNotice(const JobRequest& request, const std::string& directory,
                           FileSystem& fs) {
    GearBox box;
    if (!trimBlanks(request.box).empty()) {
        box = readBoxList(request.box).box;
    } else if (MachineDataFile data = loadMachineData(directory, request.model, fs);
               data.data.box) {
        box = *data.data.box;
    } else if (MachineFile machine = readMachineFile(directory, request.model, fs);
               !machine.result.failed()) {
        box = machineBox(machine.record).box;
    }
    // The differential sets are searched over every a, b, c of the box: the
    // time grows with the cube of its counts, about 10 s for 1000 of them
    // and four times that with differential indexing.
    const double n = static_cast<double>(box.size());
    if (n <= kLargeBox) return {};
    const double seconds = 10 * std::pow(n / 1000, 3) * (trimBlanks(request.feed).empty() ? 1 : 4);
    return "挂轮箱有 " + std::to_string(box.size()) + " 种齿数，很大：滚齿调整可能要 " +
           std::to_string(static_cast<int>(std::ceil(seconds))) + " 秒左右";
}

HobbingJob runHobbingJob(const JobRequest& request, const std::string& directory,
                         SearchControl* control, FileSystem& fs) {
    JobRequest told = request;
    told.hands = handsOf(request);
    // Memory that runs out ends the job with what the job can change.
    try {
        return hobbingJob(told, directory, control, fs);
    } catch (const std::bad_alloc&) {
        return refused("内存不足：请把允差改小，或在机床资料中把挂轮箱（box）写小些");
    }
}

} // namespace kelvaro
