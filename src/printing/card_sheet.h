#pragma once

#include "gears/gear_set.h"
#include "gears/set_facts.h"

#include <optional>
#include <string>
#include <vector>

// A printed sheet in blocks: each block a title, its lines and, where it has
// one, the drawing of a train under the same title. The back-end lays it
// out (wrapping, margins and page size are its business).

namespace kelvaro {

struct SheetBlock {
    std::string title;
    std::string headline; // under the title, large (a train's gears); may be empty
    std::vector<std::string> lines;
    std::optional<GearSet> drawing;
    double clearance = kDefaultClearance; // the drawing's mounting rule
    bool wide = false;                    // across the page, not beside the next block
};

struct PrintedSheet {
    std::string title;
    std::vector<SheetBlock> blocks;
};

} // namespace kelvaro
