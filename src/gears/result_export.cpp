#include "gears/result_export.h"

#include "gears/set_facts.h"
#include "gears/utf8_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kelvaro {

namespace {

std::string shortest(double value) {
    char buffer[32];
    // Without a precision to_chars writes the shortest text that reads back.
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string jsonOptional(const std::optional<double>& value) {
    return value ? jsonNumber(*value) : "null";
}

std::string setJson(const GearSet& set, double ratio, const ExtraFacts* extra, double clearance) {
    const SetFacts facts = describeSet(set, ratio, clearance);
    std::string json = "{\"a\":" + jsonNumber(set.a) + ",\"b\":" + jsonNumber(set.b) +
                       ",\"c\":" + jsonNumber(set.c) + ",\"d\":" + jsonNumber(set.d) +
                       ",\"ratio\":" + jsonNumber(facts.ratio) +
                       ",\"error\":" + jsonNumber(set.error) +
                       ",\"relative_error_ppm\":" + jsonOptional(facts.relativeErrorPpm);
    json += ",\"fraction\":";
    json += facts.fraction ? "[" + std::to_string(facts.fraction->numerator) + "," +
                                 std::to_string(facts.fraction->denominator) + "]"
                           : "null";
    json += ",\"margins\":[" + jsonNumber(facts.margins.driving) + "," +
            jsonNumber(facts.margins.driven) + "],\"mountable\":";
    json += facts.margins.mountable(clearance) ? "true" : "false";
    if (extra) {
        const std::vector<std::optional<double>> values = extra->values(set);
        for (std::size_t i = 0; i < extra->jsonKeys.size() && i < values.size(); ++i)
            json += "," + jsonString(extra->jsonKeys[i]) + ":" + jsonOptional(values[i]);
    }
    return json + "}";
}

} // namespace

ResultReport reportResults(GearSearchInputs inputs, const GearSearchResult& result) {
    ResultReport report;
    report.nearest = nearestSet(inputs.ratio, inputs.zmin, inputs.zmax, inputs.missingTeeth);
    if (!hasBestSet(result) && report.nearest.status == NearestSet::Status::Found)
        report.toleranceNeeded = toleranceNeeded(inputs.ratio, report.nearest.set.error,
                                                 inputs.zmin, inputs.zmax, inputs.missingTeeth);
    report.inputs = std::move(inputs);
    report.result = &result;
    return report;
}

std::string jsonNumber(double value) {
    return std::isfinite(value) ? shortest(value) : "null";
}

std::string csvNumber(double value) {
    return std::isfinite(value) ? shortest(value) : std::string();
}

std::string jsonString(std::string_view utf8) {
    // Bytes of another code page (a machine data file in GBK, a model name
    // from an old list) become U+FFFD: JSON is UTF-8 or it is not JSON.
    const std::string valid = validUtf8(utf8);
    std::string json = "\"";
    for (const char c : valid) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            json += escape;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string messageJson(std::string_view message) {
    return "{\"message\":" + jsonString(message) + "}";
}

std::string setsCsv(const std::vector<GearSet>& sets, double ratio, const ExtraFacts* extra) {
    std::string csv;
    writeSetsCsv(sets, ratio, extra, [&csv](std::string_view piece) { csv += piece; });
    return csv;
}

void writeSetsCsv(const std::vector<GearSet>& sets, double ratio, const ExtraFacts* extra,
                  const TextSink& sink) {
    ChunkedText out(sink);
    std::string& csv = out.text;
    csv += "\xEF\xBB\xBF主动a,主动b,被动c,被动d,传动比,误差,相对误差(ppm)";
    if (extra)
        for (const std::string& caption : extra->csvHeader)
            csv += "," + caption;
    csv += "\r\n";
    for (const GearSet& set : sets) {
        const SetFacts facts = describeSet(set, ratio);
        csv += csvNumber(set.a) + "," + csvNumber(set.b) + "," + csvNumber(set.c) + "," +
               csvNumber(set.d) + "," + csvNumber(facts.ratio) + "," + csvNumber(set.error) + "," +
               (facts.relativeErrorPpm ? csvNumber(*facts.relativeErrorPpm) : "");
        if (extra)
            for (const std::optional<double>& value : extra->values(set))
                csv += "," + (value ? csvNumber(*value) : "");
        csv += "\r\n";
        out.next();
    }
    out.finish();
}

std::string resultsJson(const ResultReport& report, const ExtraFacts* extra,
                        std::string_view kind) {
    std::string json;
    writeResultsJson(report, extra, kind, [&json](std::string_view piece) { json += piece; });
    return json;
}

void writeResultsJson(const ResultReport& report, const ExtraFacts* extra, std::string_view kind,
                      const TextSink& sink) {
    const GearSearchInputs& in = report.inputs;
    const GearSearchResult& result = *report.result;
    ChunkedText out(sink);
    std::string& json = out.text;
    json += "{\"ratio\":" + jsonNumber(in.ratio) + ",\"tolerance\":" + jsonNumber(in.tolerance);
    json += ",\"sets\":[";
    for (std::size_t i = 0; i < result.sets.size(); ++i) {
        if (i > 0) json += ",";
        json += setJson(result.sets[i], in.ratio, extra, report.clearance);
        out.next();
    }
    json += "],\"best\":";
    json += result.sets.empty() ? "null" : setJson(result.best, in.ratio, extra, report.clearance);
    const bool found = report.nearest.status == NearestSet::Status::Found;
    json += ",\"nearest\":";
    json += found ? setJson(report.nearest.set, in.ratio, extra, report.clearance) : "null";
    json += ",\"tolerance_needed\":" + jsonOptional(report.toleranceNeeded);
    json += ",\"reachable\":";
    json += found ? "[" + jsonNumber(report.nearest.lowest) + "," +
                        jsonNumber(report.nearest.highest) + "]"
                  : "null";
    if (!kind.empty()) json += ",\"kind\":" + jsonString(kind);
    json += "}";
    out.finish();
}

} // namespace kelvaro
