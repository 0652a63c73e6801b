#include "job/job_sheet.h"

#include "catalogue/machine_data.h"
#include "gears/number_text.h"
#include "gears/trim_blanks.h"
#include "job/job_report.h"

#include <cmath>
#include <cstdio>

namespace kelvaro {

namespace {

std::string trimmed(std::string_view text) {
    return std::string(trimBlanks(text));
}

std::string teeth(double count) {
    return shortNumber(count, 15);
}

std::string fractionText(const Fraction& f) {
    return std::to_string(f.numerator) +
           (f.denominator == 1 ? "" : "/" + std::to_string(f.denominator));
}

std::string handText(Hand hand) {
    return hand == Hand::Left ? "左旋" : hand == Hand::Right ? "右旋" : "旋向未定";
}

std::string shaftsText(const GearSet& s) {
    return "主动 a " + teeth(s.a) + "（主动轴）、b " + teeth(s.b) + "（中间轴）；被动 c " +
           teeth(s.c) + "（中间轴）、d " + teeth(s.d) + "（被动轴）";
}

void helixFacts(std::vector<std::string>& facts, const HelixSet& h,
                const std::optional<double>& faceWidth) {
    facts.push_back("传动比 " + shortNumber(h.ratio, 15) + "，误差 " + shortNumber(h.set.error, 7) +
                    (h.relativeErrorPpm ? "（" + shortNumber(*h.relativeErrorPpm, 3) + " ppm）"
                                        : std::string()));
    if (h.helixDegrees)
        facts.push_back("实际螺旋角 β′ = " + angleText(*h.helixDegrees) + "，误差 " +
                        signedSeconds(*h.helixDeviationArcsec) +
                        (h.helixDeviationMicrons && faceWidth
                             ? "，齿宽 " + shortNumber(*faceWidth, 10) +
                                   " mm 上 f = " + microns(*h.helixDeviationMicrons)
                             : std::string()));
}

TrainView view(std::string title, const std::optional<GearSet>& set, std::string none) {
    TrainView v;
    v.title = std::move(title);
    v.gears = set ? trainText(*set) : std::move(none);
    if (set) v.shafts = shaftsText(*set);
    v.drawn = set;
    return v;
}

} // namespace

std::string trainText(const GearSet& s) {
    return teeth(s.a) + "/" + teeth(s.c) + " × " + teeth(s.b) + "/" + teeth(s.d);
}

JobSheet jobSheet(const HobbingJob& job, const JobRequest& request) {
    JobSheet sheet;
    sheet.message = job.message;
    if (!job.message.empty()) return sheet;
    sheet.clearance = job.clearance;
    const std::string partHand = job.helical ? "，" + handText(request.partHand) : "";
    const std::string width = trimmed(request.faceWidth);
    sheet.job = {"机床 " + job.model + "（" + describeKind(job.kind).caption + "）",
                 "零件 Z = " + std::to_string(job.teeth) + "，m = " + shortNumber(job.module, 10) +
                     "，β = " + angleText(job.helixDegrees) + partHand +
                     (width.empty() ? "" : "，齿宽 " + width + " mm"),
                 "滚刀 K = " + std::to_string(job.starts) + "，λ = " +
                     (trimmed(request.hobLead).empty() ? "未填" : trimmed(request.hobLead) + "°") +
                     "，" + handText(request.hobHand)};

    sheet.constants.push_back("差动常数 C = " + shortNumber(job.machineConstant, 10) +
                              "（机床文件）");
    if (job.constant)
        sheet.constants.push_back("分齿常数 C = " + fractionText(*job.constant) +
                                  "（Z/K = " + shortNumber(double(job.teeth) / job.starts, 10) +
                                  " 的一行" + (job.note.empty() ? "" : "，" + job.note) + "）");
    else
        sheet.constants.push_back("没有分齿常数行含 Z/K = " +
                                  shortNumber(double(job.teeth) / job.starts, 10));
    sheet.constants.push_back("装配间隙 s = " + shortNumber(job.clearance, 10) + " 齿");

    const bool compensated = job.indexMethod == IndexMethod::Differential;
    TrainView index =
        view(compensated ? "分齿挂轮（差动分齿）" : "分齿挂轮", job.indexSet, "没有分齿挂轮");
    if (job.constant)
        index.facts.push_back("i = C × K / Z = " + fractionText(*job.constant) + " × " +
                              std::to_string(job.starts) + " / " + std::to_string(job.teeth) +
                              " = " + fractionText(job.fraction));
    if (!job.indexReason.empty()) index.facts.push_back(job.indexReason);
    if (compensated && !job.compensationWords.empty())
        index.facts.push_back(job.compensationWords.front());
    sheet.trains.push_back(std::move(index));

    if (job.helical || compensated) {
        const JobCorrection* c = job.correction ? &*job.correction : nullptr;
        const HelixSet* mounted = c && c->set        ? &*c->set
                                  : job.differential ? &*job.differential
                                                     : nullptr;
        TrainView differential =
            view(c && c->set   ? "差动挂轮（修正后）"
                 : job.helical ? "差动挂轮"
                               : "差动挂轮（补偿分齿）",
                 mounted ? std::optional<GearSet>(mounted->set) : std::nullopt, "没有差动挂轮");
        differential.facts.push_back("i = " + shortNumber(job.differentialRatio, 15) + "，允差 " +
                                     shortNumber(job.tolerance, 6));
        if (compensated)
            differential.facts.push_back("u = 螺旋项 + 补偿项 = " + shortNumber(job.helixTerm, 12) +
                                         " + (" + shortNumber(job.compensationTerm, 12) +
                                         ") = " + shortNumber(job.signedRatio, 12));
        if (job.turns != Turns::Unknown)
            differential.facts.push_back(job.turns == Turns::With ? "差动输出顺着工作台的展成转向"
                                                                  : "差动输出逆着工作台的展成转向");
        for (std::size_t i = 1; compensated && i < job.compensationWords.size(); ++i)
            differential.facts.push_back(job.compensationWords[i]);
        if (job.largestDeviationMicrons && job.faceWidth)
            differential.facts.push_back("允差对应齿宽 " + shortNumber(*job.faceWidth, 10) +
                                         " mm 上至多 f = ±" +
                                         microns(*job.largestDeviationMicrons));
        if (mounted) helixFacts(differential.facts, *mounted, job.faceWidth);
        if (c) {
            differential.facts.push_back("试切修正：实测螺旋角" +
                                         std::string(c->larger ? "偏大" : "偏小") +
                                         "，Δβ = " + shortNumber(c->deltaArcsec, 4) +
                                         "″，目标螺旋角 " + angleText(c->targetDegrees));
            if (job.differential)
                differential.facts.push_back(
                    (c->set ? "修正前的差动挂轮 " : "差动挂轮仍是修正前的 ") +
                    trainText(job.differential->set) + (c->set ? "，不再装" : ""));
            if (!c->reason.empty()) differential.facts.push_back(c->reason);
        }
        if (!job.differentialReason.empty()) differential.facts.push_back(job.differentialReason);
        sheet.trains.push_back(std::move(differential));
    }

    if (job.feed && job.feed->a != 0) {
        const FeedTrain& f = *job.feed;
        TrainView feed;
        feed.title = "进给挂轮";
        feed.gears = std::to_string(f.a) + "/" + std::to_string(f.b);
        feed.shafts = "主动 a1 " + std::to_string(f.a) + "，被动 b1 " + std::to_string(f.b) +
                      (f.fromBox ? "（从挂轮箱中取）" : "");
        feed.facts.push_back("s = " + shortNumber(f.constant, 10) + " × " + feed.gears + " = " +
                             shortNumber(f.feed, 10) + " mm/r（要求 " + shortNumber(f.wanted, 10) +
                             " mm/r）");
        if (!f.note.empty()) feed.facts.push_back(f.note);
        sheet.trains.push_back(std::move(feed));
    } else if (!job.feedReason.empty()) {
        sheet.notes.push_back("进给挂轮：" + job.feedReason);
    }

    if (job.settingWords.empty()) {
        sheet.setting.push_back("没有安装角");
    } else {
        // "…：安装角 δ = … = 12.5°，刀架…": the angle, then the swivel.
        const std::string& words = job.settingWords;
        const auto comma = job.settingAngle ? words.rfind("，") : std::string::npos;
        sheet.setting.push_back(comma == std::string::npos ? words : words.substr(0, comma));
        if (comma != std::string::npos) sheet.setting.push_back(words.substr(comma + 3));
    }
    if (job.helical && request.partHand != Hand::Unknown && request.hobHand != Hand::Unknown)
        sheet.setting.insert(sheet.setting.begin(), "工件" + handText(request.partHand) + "，滚刀" +
                                                        handText(request.hobHand));

    sheet.notes.push_back("挂轮箱 " + boxListText(job.box));
    if (!job.gearsUsed.empty()) sheet.notes.push_back("用到的挂轮 " + boxListText(job.gearsUsed));
    sheet.notes.push_back(job.dataNote);
    if (job.addOne) {
        std::string add = job.addOneWords.empty()
                              ? "加一个 " + std::to_string(job.addOne->teeth) + " 齿的挂轮就能配出"
                              : job.addOneWords;
        if (job.addOne->index) add += "：分齿 " + trainText(*job.addOne->index);
        if (job.addOne->differential) add += "，差动 " + trainText(job.addOne->differential->set);
        sheet.notes.push_back(add);
    }
    if (!job.addOneReason.empty()) sheet.notes.push_back(job.addOneReason);
    return sheet;
}

} // namespace kelvaro
