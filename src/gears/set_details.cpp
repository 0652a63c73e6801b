#include "gears/set_details.h"

#include "gears/number_text.h"

#include <cmath>

namespace kelvaro {

namespace {

void addSetRows(std::vector<DetailRow>& rows, const CalculationFacts& facts, const GearSet& set) {
    SetFacts setFacts = describeSet(set, facts.inputs.ratio, facts.clearance);
    setFacts.clearanceSource = facts.clearanceSource;
    for (DetailRow& row : setFactRows(setFacts))
        rows.push_back(std::move(row));
    if (facts.extraRows)
        for (DetailRow& row : facts.extraRows(set))
            rows.push_back(std::move(row));
}

NearestSet nearestOf(const CalculationFacts& facts) {
    const GearSearchInputs& in = facts.inputs;
    return nearestSet(in.ratio, in.zmin, in.zmax, in.missingTeeth);
}

std::string reachText(const NearestSet& nearest) {
    return shortNumber(nearest.lowest, 10) + " ～ " + shortNumber(nearest.highest, 10);
}

} // namespace

std::string calculationCsv(const GearSearchResult& result, const CalculationFacts& facts) {
    return setsCsv(result.sets, facts.inputs.ratio, facts.extra.values ? &facts.extra : nullptr);
}

SetDetails listedSetDetails(const CalculationFacts& facts, const GearSet& set, bool isBest) {
    SetDetails details;
    details.inputLines = facts.inputLines;
    details.train = set;
    details.clearance = facts.clearance;
    addSetRows(details.rows, facts, set);
    if (!isBest) return details;
    const NearestSet nearest = nearestOf(facts);
    if (nearest.status == NearestSet::Status::Found &&
        std::abs(nearest.set.error) < std::abs(set.error)) {
        details.rows.push_back(
            {"注意", "搜索每组 a、b、c 只试一个 d，漏掉了误差更小的一组：", true});
        addSetRows(details.rows, facts, nearest.set);
    }
    return details;
}

SetDetails nothingListedDetails(const CalculationFacts& facts) {
    SetDetails details;
    details.inputLines = facts.inputLines;
    details.heading = "允差内无解";
    if (facts.inputs.tolerance == 0)
        details.rows.push_back({"原因", "允差为 0 时不列出任何挂轮组"});
    const NearestSet nearest = nearestOf(facts);
    if (nearest.status != NearestSet::Status::Found) {
        details.rows.push_back({"最接近的一组", "无法给出：" + nearest.reason, true});
        return details;
    }
    details.train = nearest.set;
    details.rows.push_back({"最接近的一组", "允差内没有挂轮组，下面是误差最小的一组"});
    addSetRows(details.rows, facts, nearest.set);
    details.rows.push_back({"可得传动比", reachText(nearest)});
    const GearSearchInputs& in = facts.inputs;
    const std::optional<double> tolerance =
        toleranceNeeded(in.ratio, nearest.set.error, in.zmin, in.zmax, in.missingTeeth);
    if (tolerance) {
        details.rows.push_back(
            {"建议允差", "把允差放宽到 " + typedTolerance(*tolerance) + " 即可得到结果"});
    } else {
        details.rows.push_back(
            {"建议允差",
             "允差小于传动比时都得不到结果：这些齿轮的传动比只在 " + reachText(nearest) + " 之间",
             true});
    }
    return details;
}

} // namespace kelvaro
