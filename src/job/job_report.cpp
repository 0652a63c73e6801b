#include "job/job_report.h"

#include "catalogue/machine_data.h"
#include "gears/number_text.h"
#include "gears/result_export.h"

#include <cmath>
#include <cstdio>

namespace kelvaro {

std::string signedSeconds(double arcsec) {
    char text[48];
    std::snprintf(text, sizeof text, "%+.2f″", std::round(arcsec * 100) / 100 + 0.0);
    return text;
}

std::string microns(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1f µm", std::round(value * 10) / 10 + 0.0);
    return text;
}

namespace {

std::string teeth(double count) {
    return shortNumber(count, 15);
}

std::string jsonOptional(const std::optional<double>& value) {
    return value ? jsonNumber(*value) : "null";
}

std::string jsonText(const std::string& text) {
    return text.empty() ? "null" : jsonString(text);
}

std::string boxJson(const GearBox& box) {
    std::string json = "[";
    for (const auto& [count, quantity] : box)
        json += (json.size() > 1 ? ",[" : "[") + std::to_string(count) + "," +
                std::to_string(quantity) + "]";
    return json + "]";
}

std::string positionsJson(const GearSet& s) {
    return "\"a\":" + jsonNumber(s.a) + ",\"b\":" + jsonNumber(s.b) + ",\"c\":" + jsonNumber(s.c) +
           ",\"d\":" + jsonNumber(s.d);
}

std::string helixSetJson(const std::optional<HelixSet>& h) {
    if (!h) return "null";
    return "{" + positionsJson(h->set) + ",\"ratio\":" + jsonNumber(h->ratio) +
           ",\"error\":" + jsonNumber(h->set.error) +
           ",\"relative_error_ppm\":" + jsonOptional(h->relativeErrorPpm) +
           ",\"helix_angle_deg\":" + jsonOptional(h->helixDegrees) +
           ",\"helix_deviation_arcsec\":" + jsonOptional(h->helixDeviationArcsec) +
           ",\"helix_deviation_um\":" + jsonOptional(h->helixDeviationMicrons) + "}";
}

std::string fractionText(const Fraction& f) {
    return std::to_string(f.numerator) +
           (f.denominator == 1 ? "" : "/" + std::to_string(f.denominator));
}

std::string jsonFraction(const Fraction& f) {
    return "[" + std::to_string(f.numerator) + "," + std::to_string(f.denominator) + "]";
}

void addHelixLines(std::vector<std::string>& lines, const HelixSet& h,
                   const std::optional<double>& faceWidth) {
    lines.push_back("  " + setPositions(h.set) + "  传动比 " + shortNumber(h.ratio, 15) +
                    "  误差 " + shortNumber(h.set.error, 7) +
                    (h.relativeErrorPpm ? "（" + shortNumber(*h.relativeErrorPpm, 3) + " ppm）"
                                        : std::string()));
    if (h.helixDegrees)
        lines.push_back("  实际螺旋角 " + angleText(*h.helixDegrees) + "  螺旋角误差 " +
                        signedSeconds(*h.helixDeviationArcsec) +
                        (h.helixDeviationMicrons && faceWidth
                             ? "，齿宽 " + shortNumber(*faceWidth, 10) +
                                   " mm 上 f = " + microns(*h.helixDeviationMicrons)
                             : std::string()));
}

void addFeedLines(std::vector<std::string>& lines, const HobbingJob& job) {
    if (job.feed && job.feed->a != 0) {
        const FeedTrain& f = *job.feed;
        lines.push_back("进给挂轮 a1=" + std::to_string(f.a) + "  b1=" + std::to_string(f.b) +
                        (f.fromBox ? "（从挂轮箱中取）" : "") +
                        "  s = " + shortNumber(f.constant, 10) + " × " + std::to_string(f.a) + "/" +
                        std::to_string(f.b) + " = " + shortNumber(f.feed, 10) + " mm/r（要求 " +
                        shortNumber(f.wanted, 10) + " mm/r" +
                        (f.note.empty() ? "" : "；" + f.note) + "）");
    }
    if (!job.feedReason.empty()) lines.push_back("进给挂轮：" + job.feedReason);
}

} // namespace

std::string setPositions(const GearSet& s) {
    return "a=" + teeth(s.a) + "  b=" + teeth(s.b) + "  c=" + teeth(s.c) + "  d=" + teeth(s.d);
}

std::vector<std::string> jobLines(const HobbingJob& job) {
    if (!job.message.empty()) return {job.message};
    std::vector<std::string> lines;
    lines.push_back("机床 " + job.model + "（" + describeKind(job.kind).caption + "）");
    lines.push_back(job.dataNote);
    lines.push_back("零件 Z=" + std::to_string(job.teeth) + "  K=" + std::to_string(job.starts) +
                    "  m=" + shortNumber(job.module, 10) + "  β=" + angleText(job.helixDegrees));
    lines.push_back("挂轮箱 " + boxListText(job.box) +
                    "  装配间隙 s=" + shortNumber(job.clearance, 10) + " 齿");
    std::string index = "分齿挂轮";
    if (job.constant)
        index += " i = C × K / Z = " + fractionText(*job.constant) + " × " +
                 std::to_string(job.starts) + " / " + std::to_string(job.teeth) + " = " +
                 std::to_string(job.fraction.numerator) + "/" +
                 std::to_string(job.fraction.denominator) +
                 (job.note.empty() ? "" : "（" + job.note + "）");
    lines.push_back(index);
    const bool compensated = job.indexMethod == IndexMethod::Differential;
    if (!job.indexReason.empty()) lines.push_back("  " + job.indexReason);
    if (compensated) lines.push_back("  " + job.compensationWords.front());
    if (job.indexSet) lines.push_back("  " + setPositions(*job.indexSet));
    addFeedLines(lines, job);
    if (job.helical || compensated) {
        lines.push_back(std::string(job.helical ? "差动挂轮" : "差动挂轮（补偿分齿）") +
                        " i = " + shortNumber(job.differentialRatio, 15) + "  允差 " +
                        shortNumber(job.tolerance, 6));
        if (compensated)
            lines.push_back("  u = 螺旋项 + 补偿项 = " + shortNumber(job.helixTerm, 12) + " + (" +
                            shortNumber(job.compensationTerm, 12) +
                            ") = " + shortNumber(job.signedRatio, 12));
        if (job.differential) addHelixLines(lines, *job.differential, job.faceWidth);
        if (job.largestDeviationMicrons)
            lines.push_back("  允差 " + shortNumber(job.tolerance, 6) + " 对应齿宽 " +
                            shortNumber(*job.faceWidth, 10) + " mm 上至多 f = ±" +
                            microns(*job.largestDeviationMicrons));
        for (std::size_t i = 1; i < job.compensationWords.size(); ++i)
            lines.push_back("  " + job.compensationWords[i]);
        if (!job.differentialReason.empty()) lines.push_back("  " + job.differentialReason);
    } else {
        lines.push_back("直齿轮，不用差动挂轮");
    }
    if (!job.gearsUsed.empty()) lines.push_back("用到的挂轮 " + boxListText(job.gearsUsed));
    if (!job.settingWords.empty()) lines.push_back(job.settingWords);
    if (job.correction) {
        const JobCorrection& c = *job.correction;
        lines.push_back("试切修正：实测螺旋角" + std::string(c.larger ? "偏大" : "偏小") +
                        " Δβ = " + shortNumber(c.deltaArcsec, 4) + "″，目标螺旋角改为 " +
                        angleText(c.targetDegrees));
        if (c.set) addHelixLines(lines, *c.set, job.faceWidth);
        if (!c.reason.empty()) lines.push_back("  " + c.reason);
    }
    if (job.addOne) {
        lines.push_back(job.addOneWords.empty()
                            ? "加一个 " + std::to_string(job.addOne->teeth) + " 齿的挂轮就能配出："
                            : job.addOneWords + "：");
        if (job.addOne->index) lines.push_back("  分齿 " + setPositions(*job.addOne->index));
        if (job.addOne->differential) {
            lines.push_back("  差动");
            addHelixLines(lines, *job.addOne->differential, job.faceWidth);
        }
    }
    if (!job.addOneReason.empty()) lines.push_back(job.addOneReason);
    return lines;
}

std::string jobJson(const HobbingJob& job) {
    if (!job.message.empty()) return messageJson(job.message);
    std::string json = "{\"machine\":" + jsonString(job.model) + ",\"kind\":\"" +
                       describeKind(job.kind).name + "\",\"box\":" + boxJson(job.box) +
                       ",\"clearance\":" + jsonNumber(job.clearance);
    json += ",\"index\":{\"fraction\":";
    json += job.constant ? "[" + std::to_string(job.fraction.numerator) + "," +
                               std::to_string(job.fraction.denominator) + "]"
                         : "null";
    json += ",\"constant\":";
    json += job.constant ? jsonNumber(static_cast<double>(job.constant->numerator) /
                                      static_cast<double>(job.constant->denominator))
                         : "null";
    json += ",\"note\":" + jsonText(job.note);
    json += ",\"set\":" + (job.indexSet ? "{" + positionsJson(*job.indexSet) + "}" : "null");
    json += ",\"reason\":" + jsonText(job.indexReason);
    json += std::string(",\"method\":") + (job.indexMethod == IndexMethod::Exact ? "\"exact\""
                                           : job.indexMethod == IndexMethod::Differential
                                               ? "\"differential\""
                                               : "null");
    json += ",\"compensated\":";
    json += job.compensated ? "{\"z0\":" + jsonFraction(job.compensated->z0) +
                                  ",\"delta\":" + jsonFraction(job.compensated->delta) +
                                  ",\"fraction\":" + jsonFraction(job.compensated->fraction) + "}"
                            : "null";
    json += "},\"feed\":";
    if (job.feed && job.feed->a != 0)
        json += "{\"wanted\":" + jsonNumber(job.feed->wanted) +
                ",\"constant\":" + jsonNumber(job.feed->constant) +
                ",\"note\":" + jsonText(job.feed->note) +
                ",\"set\":{\"a\":" + std::to_string(job.feed->a) +
                ",\"b\":" + std::to_string(job.feed->b) +
                "},\"feed\":" + jsonNumber(job.feed->feed) + "}";
    else
        json += "null";
    json += ",\"differential\":";
    if (job.helical || job.indexMethod == IndexMethod::Differential) {
        const char* turns = job.turns == Turns::With      ? "\"with\""
                            : job.turns == Turns::Against ? "\"against\""
                                                          : "null";
        json += "{\"ratio\":" + jsonNumber(job.differentialRatio) +
                ",\"tolerance\":" + jsonNumber(job.tolerance) +
                ",\"signed_ratio\":" + jsonNumber(job.signedRatio) +
                ",\"helix_term\":" + jsonNumber(job.helixTerm) +
                ",\"compensation_term\":" + jsonNumber(job.compensationTerm) +
                ",\"turns\":" + turns + ",\"set\":" + helixSetJson(job.differential) +
                ",\"reason\":" + jsonText(job.differentialReason) + "}";
    } else {
        json += "null";
    }
    json += ",\"face_width\":" + jsonOptional(job.faceWidth);
    json += ",\"gears_used\":" + boxJson(job.gearsUsed);
    json += ",\"setting_angle_deg\":" + jsonOptional(job.settingAngle);
    json += ",\"correction\":";
    if (job.correction)
        json += "{\"delta_arcsec\":" + jsonNumber(job.correction->deltaArcsec) +
                ",\"target_deg\":" + jsonNumber(job.correction->targetDegrees) +
                ",\"set\":" + helixSetJson(job.correction->set) + "}";
    else
        json += "null";
    json += ",\"add_one_gear\":";
    if (job.addOne)
        json +=
            "{\"teeth\":" + std::to_string(job.addOne->teeth) + ",\"differential_error\":" +
            (job.addOne->differential ? jsonNumber(job.addOne->differential->set.error) : "null") +
            "}";
    else
        json += "null";
    return json + "}";
}

} // namespace kelvaro
