#include "job/hobbing_job.h"

#include "catalogue/machine_file.h"
#include "gears/calculation_outcome.h"
#include "gears/gear_search.h"
#include "gears/number_text.h"
#include "gears/numeric_value.h"
#include "gears/rounded_math.h"
#include "gears/trim_blanks.h"
#include "job/train_pair.h"

#include <cmath>
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

int largestPrimeFactor(std::int64_t n) {
    std::int64_t largest = 1;
    for (std::int64_t p = 2; p * p <= n; ++p)
        while (n % p == 0) {
            largest = p;
            n /= p;
        }
    if (n > 1) largest = n;
    return static_cast<int>(std::min<std::int64_t>(largest, 1 << 30));
}

// The facts of a differential set against the target angle (inputs.helix).
struct HelixContext {
    const MachineKindDescription* kind;
    FormulaInputs inputs;
    double ratio; // the wanted ratio, divided by the hob's starts
    int starts;
};

HelixSet describeHelixSet(const HelixContext& c, const GearSet& set) {
    HelixSet h;
    h.set = set;
    h.ratio = ((set.a * set.b) / set.c) / set.d;
    if (c.ratio != 0) h.relativeErrorPpm = set.error / c.ratio * 1e6;
    if (const auto angle = c.kind->inverse(c.inputs, h.ratio * c.starts)) {
        h.helixDegrees = *angle / kRadiansPerDegree;
        h.helixDeviationArcsec = (*angle - c.inputs.helix) / kRadiansPerDegree * 3600;
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
    if (trimBlanks(request.hobLead).empty()) return;
    const double lead = numericValue(request.hobLead);
    if (!job.helical) {
        job.settingAngle = lead;
        job.settingWords =
            "直齿轮：安装角 δ = λ = " + number(lead) + "°，刀架按滚刀旋向的反方向扳转";
        return;
    }
    if (request.hands == Hands::Unknown) {
        job.settingWords = "请说明滚刀与工件的旋向相同还是相反，才能给出安装角";
        return;
    }
    const bool same = request.hands == Hands::Same;
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
// error: every count of the machine's range is tried in the box.
void addOneGear(HobbingJob& job, const TrainProblem& problem, const HelixContext& helix, int from,
                int to, SearchControl* control) {
    std::vector<int> universe = countsOf(job.box);
    for (int teeth = from; teeth <= to; ++teeth)
        universe.push_back(teeth);
    const TrainSolver solver(problem, universe, control);
    std::optional<double> best;
    for (int teeth = from; teeth <= to && !(control && control->cancelled); ++teeth) {
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
        job.addOneReason = "在挂轮箱里加一个 " + std::to_string(from) + " 到 " +
                           std::to_string(to) + " 齿的挂轮也不行";
}

std::string boxProblem(const std::string& problem) {
    return "挂轮箱：" + problem;
}

} // namespace

HobbingJob runHobbingJob(const JobRequest& request, const std::string& directory,
                         SearchControl* control, FileSystem& fs) {
    if (request.model.empty()) return refused("选择机床型号");
    const MachineKind kind = machineKind(request.model);
    const MachineKindDescription& description = describeKind(kind);
    if (description.achieved != Achieved::HelixAngle)
        return refused("机床 " + request.model + " 是车床，没有滚齿调整");
    MachineFile machine = readMachineFile(directory, request.model, fs);
    if (machine.result.failed()) return refused(std::move(machine.result.message));
    MachineDataFile data = loadMachineData(directory, request.model, fs);
    if (data.result.failed()) return refused(std::move(data.result.message));

    HobbingJob job;
    job.model = request.model;
    job.kind = kind;
    const std::string dataPath = machineDataFile(directory, request.model);
    job.dataNote = data.result.status == CatalogueStatus::Missing
                       ? "没有机床资料 " + dataPath + "，都按默认值"
                   : data.note.empty() ? "机床资料 " + dataPath
                                       : data.note;

    const auto teeth = wholeIn(trimBlanks(request.teeth), 1, 100000);
    if (!teeth) return refused("零件齿数应是 1 到 100000 的整数");
    const auto starts = wholeIn(trimBlanks(request.starts), 1, 100);
    if (!starts) return refused("滚刀头数应是 1 到 100 的整数");
    job.teeth = *teeth;
    job.starts = *starts;
    job.module = numericValue(request.module);
    if (!(job.module > 0) || !std::isfinite(job.module)) return refused("模数应大于 0");
    const double degrees = numericValue(request.degrees), minutes = numericValue(request.minutes),
                 seconds = numericValue(request.seconds);
    job.helixDegrees = degrees + minutes / 60 + seconds / 3600;
    if (!(job.helixDegrees >= 0 && job.helixDegrees < 90))
        return refused("螺旋角应在 0° 到 90° 之间（直齿轮为 0）");
    job.helical = job.helixDegrees > 0;
    job.tolerance = numericValue(request.tolerance);
    if (job.tolerance < 0) return refused(kNegativeToleranceMessage);
    if (!std::isfinite(job.tolerance)) return refused("允差应是一个数");
    if (!trimBlanks(request.hobLead).empty()) {
        const double lead = numericValue(request.hobLead);
        if (!(lead >= 0 && lead < 90)) return refused("滚刀螺旋升角应在 0° 到 90° 之间");
    }
    double deviation = 0, length = 0;
    if (request.measured != JobRequest::Measured::None) {
        deviation = numericValue(request.deviation);
        length = numericValue(request.length);
        if (!(deviation >= 0 && std::isfinite(deviation) && length > 0 && std::isfinite(length)))
            return refused("试切修正：螺旋线偏差应不小于 0 µm，评定长度应大于 0 mm");
    }

    // The box, the clearance and the index rows: this job's overrides, else
    // the machine data, else the defaults.
    if (!trimBlanks(request.box).empty()) {
        BoxReading box = readBoxList(request.box);
        if (!box.problem.empty()) return refused(boxProblem(box.problem));
        job.box = std::move(box.box);
    } else if (data.data.box) {
        job.box = *data.data.box;
    } else {
        BoxReading box = machineBox(machine.record);
        if (!box.problem.empty()) return refused(boxProblem(box.problem));
        job.box = std::move(box.box);
    }
    if (job.box.empty()) return refused(boxProblem("挂轮箱是空的"));
    job.clearance = data.data.clearance.value_or(kDefaultClearance);
    if (!trimBlanks(request.clearance).empty()) {
        job.clearance = numericValue(request.clearance);
        if (!(job.clearance >= 0 && job.clearance <= 1000))
            return refused("装配间隙应是 0 到 1000 的齿数");
    }
    std::vector<IndexRow> rows = data.data.indexRows;
    if (!trimBlanks(request.indexConstant).empty()) {
        std::string problem;
        auto row = readIndexRow(std::string(trimBlanks(request.indexConstant)) +
                                    " for Z/K from 0 to 1000000",
                                &problem);
        if (!row) return refused("分齿常数应是正数");
        rows = {*row};
    }

    TrainProblem problem;
    problem.tolerance = job.tolerance;
    problem.clearance = job.clearance;
    const double zOverK = static_cast<double>(job.teeth) / job.starts;
    const int largestGear = job.box.rbegin()->first;
    bool primeTooLarge = false;
    if (const IndexRow* row = indexRowFor(rows, zOverK)) {
        job.constant = row->constant;
        job.note = row->note;
        const std::int64_t p = row->constant.numerator * job.starts,
                           q = row->constant.denominator * job.teeth;
        const std::int64_t divisor = std::gcd(p, q);
        job.fraction = {p / divisor, q / divisor};
        problem.index = job.fraction;
        const int prime = std::max(largestPrimeFactor(job.fraction.numerator),
                                   largestPrimeFactor(job.fraction.denominator));
        if (prime > largestGear) {
            primeTooLarge = true;
            job.indexReason = "C × K / Z = " + fractionText(job.fraction) + " 含有质因数 " +
                              std::to_string(prime) + "，大于挂轮箱中最大的 " +
                              std::to_string(largestGear) +
                              " 齿，配不出精确的分齿挂轮（这种齿数要用差动分齿法，本程序不算）";
        }
    } else {
        job.indexReason =
            "没有 Z/K = " + number(zOverK) + " 的分齿常数：请在机床资料 " + dataPath +
            " 中加一行“index = 24 for Z/K from 1 to 1000, 说明”（常数和范围见机床说明书）";
    }

    const FormulaInputs inputs{job.module, helixAngleRadians(degrees, minutes, seconds),
                               machine.record.machineConstant, double(job.teeth), degrees};
    HelixContext helixContext{&description, inputs, 0, job.starts};
    if (job.helical) {
        job.differentialRatio = description.ratio(inputs) / job.starts;
        if (!(job.differentialRatio > 0) || !std::isfinite(job.differentialRatio) ||
            !searchIsDefined(job.differentialRatio, job.tolerance, 1, kMaxBoxTeeth))
            return refused("差动传动比算不出来：请检查模数和机床常数");
        problem.differentialRatio = job.differentialRatio;
        helixContext.ratio = job.differentialRatio;
    }

    const TrainSolver solver(problem, countsOf(job.box), control);
    const Trains trains = solver.solve(job.box);
    if (trains.status == TrainsStatus::Cancelled) return refused("计算已取消");
    if (trains.status == TrainsStatus::TooManySets)
        return refused(tooManySetsMessage(control ? control->setLimit : kSetLimit));
    job.indexSet = trains.index;
    if (trains.differential)
        job.differential = describeHelixSet(helixContext, *trains.differential);
    const std::string toleranceText = "允差 " + shortNumber(job.tolerance, 6);
    switch (trains.status) {
    case TrainsStatus::NoIndexSet:
        if (!primeTooLarge)
            job.indexReason = "挂轮箱里的齿轮配不出传动比恰好是 " + fractionText(job.fraction) +
                              "、又装得上的分齿挂轮";
        if (job.helical && !trains.differential)
            job.differentialReason = toleranceText + " 内没有装得上的差动挂轮";
        break;
    case TrainsStatus::NoDifferentialSet:
        job.differentialReason =
            toleranceText + " 内没有能和分齿挂轮一起从挂轮箱配出、又装得上的差动挂轮";
        break;
    case TrainsStatus::NoPair:
        job.differentialReason =
            toleranceText +
            " 内的差动挂轮都要用到分齿挂轮已占用的齿轮，两组挂轮不能同时从挂轮箱配出";
        break;
    default:
        break;
    }
    if (!trains.index && !trains.differential && job.helical && problem.index &&
        job.differentialReason.empty())
        job.differentialReason = toleranceText + " 内没有装得上的差动挂轮";

    if (trains.status != TrainsStatus::Found) {
        const BoxReading range = machineBox(machine.record);
        const int from = range.problem.empty() ? range.box.begin()->first : job.box.begin()->first;
        const int to = range.problem.empty() ? range.box.rbegin()->first : largestGear;
        addOneGear(job, problem, helixContext, std::min(from, job.box.begin()->first),
                   std::max(to, largestGear), control);
        if (control && control->cancelled) return refused("计算已取消");
    }

    if (job.indexSet && job.differential)
        job.gearsUsed = gearsOf({&*job.indexSet, &job.differential->set});
    else if (job.indexSet)
        job.gearsUsed = gearsOf({&*job.indexSet});
    else if (job.differential)
        job.gearsUsed = gearsOf({&job.differential->set});

    settingAngle(job, request);

    if (request.measured != JobRequest::Measured::None && job.helical) {
        JobCorrection correction;
        correction.larger = request.measured == JobRequest::Measured::Larger;
        const double delta = roundedAtan(deviation / (1000 * length)) * 180 / std::numbers::pi;
        correction.deltaArcsec = delta * 3600;
        correction.targetDegrees = job.helixDegrees + (correction.larger ? -delta : delta);
        HelixContext corrected = helixContext;
        corrected.inputs.helix = correction.targetDegrees * kRadiansPerDegree;
        corrected.ratio = description.ratio(corrected.inputs) / job.starts;
        // The index train stays on the machine: the new set comes from what is left.
        GearBox left = job.box;
        if (job.indexSet)
            for (const auto& [gear, count] : gearsOf({&*job.indexSet}))
                left[gear] -= count;
        TrainProblem again;
        again.differentialRatio = corrected.ratio;
        again.tolerance = job.tolerance;
        again.clearance = job.clearance;
        const Trains retry = TrainSolver(again, countsOf(job.box), control).solve(left);
        if (retry.differential)
            correction.set = describeHelixSet(corrected, *retry.differential);
        else
            correction.reason = toleranceText + " 内没有修正后的差动挂轮";
        job.correction = std::move(correction);
    }
    return job;
}

} // namespace kelvaro
