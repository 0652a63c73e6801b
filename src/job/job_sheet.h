#pragma once

#include "job/hobbing_job.h"

#include <optional>
#include <string>
#include <vector>

// A hobbing job as the shop reads it, for the window's panels and the card
// alike: the job's inputs, one view per change-gear train (its gears as a
// train is read, driving over driven, its facts and the set to draw), the
// setting angle and swivel, and the notes. One more train is one more view.

namespace kelvaro {

struct TrainView {
    std::string title;  // "分齿挂轮", "差动挂轮（修正后）", …
    std::string gears;  // "20/25 × 21/28", or why there is no set
    std::string shafts; // the gears by role and shaft
    std::vector<std::string> facts;
    std::optional<GearSet> drawn; // the set to mount; none: nothing to draw
};

struct JobSheet {
    std::string message;                // refused: nothing else holds
    std::vector<std::string> job;       // machine, part, hob
    std::vector<std::string> constants; // the machine's constants and the index row used
    std::vector<TrainView> trains;
    std::vector<std::string> setting; // the setting angle, then the swivel
    std::vector<std::string> notes;
    double clearance = kDefaultClearance;
};

// "20/25 × 21/28": a over c times b over d, the driving gears on top.
std::string trainText(const GearSet& set);

JobSheet jobSheet(const HobbingJob& job, const JobRequest& request);

} // namespace kelvaro
