#pragma once

#include "gears/gear_set.h"
#include "gears/nearest_set.h"
#include "gears/set_facts.h"
#include "gears/text_sink.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A calculation's sets with their facts, for other programs: CSV for
// spreadsheets (UTF-8 with a byte-order mark, CR LF) and one JSON object
// for scripts. Numbers are written in the shortest form that reads back to
// the same double; a fact that does not exist is empty (CSV) or null (JSON).

namespace kelvaro {

// What a search ran on: the wanted ratio, the tolerance, the range as the
// search used it and the missing tooth counts.
struct GearSearchInputs {
    double ratio = 0;
    double tolerance = 0;
    double zmin = 0;
    double zmax = 0;
    std::vector<std::int16_t> missingTeeth;
};

// Facts a calculation adds to every set (the differential's angle or
// module): their CSV captions, their JSON keys, and their values for a set.
struct ExtraFacts {
    std::vector<std::string> csvHeader;
    std::vector<std::string> jsonKeys;
    std::function<std::vector<std::optional<double>>(const GearSet&)> values;
};

// The whole of what a calculation found, for the JSON object.
struct ResultReport {
    GearSearchInputs inputs;
    const GearSearchResult* result = nullptr;
    NearestSet nearest;
    std::optional<double> toleranceNeeded; // only where no set is named the best
    double clearance = kDefaultClearance;  // the rule of "mountable"
};

// Nearest set and, where no set is named the best, the tolerance needed.
ResultReport reportResults(GearSearchInputs inputs, const GearSearchResult& result);

std::string jsonNumber(double value); // "null" unless finite
// A JSON string; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(std::string_view utf8);
std::string csvNumber(double value); // empty unless finite

// The export file: BOM, the header 主动a,主动b,被动c,被动d,传动比,误差,
// 相对误差(ppm) and the extra captions, then one row per set; CR LF.
std::string setsCsv(const std::vector<GearSet>& sets, double ratio,
                    const ExtraFacts* extra = nullptr);
// The same text handed to `sink` in pieces.
void writeSetsCsv(const std::vector<GearSet>& sets, double ratio, const ExtraFacts* extra,
                  const TextSink& sink);

// {"ratio":…,"tolerance":…,"sets":[…],"best":…,"nearest":…,"tolerance_needed":…,
// "reachable":…} and, with a kind, "kind":….
std::string resultsJson(const ResultReport& report, const ExtraFacts* extra = nullptr,
                        std::string_view kind = {});
// The same text handed to `sink` in pieces.
void writeResultsJson(const ResultReport& report, const ExtraFacts* extra, std::string_view kind,
                      const TextSink& sink);

// {"message":"…"}
std::string messageJson(std::string_view message);

} // namespace kelvaro
