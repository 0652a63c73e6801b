#pragma once

#include "job/hobbing_job.h"

#include <string>
#include <vector>

// A hobbing job for people and for scripts: lines to read, one JSON object,
// and the rows the window and the setup card show.

namespace kelvaro {

// The job in lines a person reads; a refused job is its message alone.
std::vector<std::string> jobLines(const HobbingJob& job);

// {"machine":…,"kind":…,"box":…,"clearance":…,"index":…,"differential":…,
// "gears_used":…,"setting_angle_deg":…,"correction":…,"add_one_gear":…};
// a refused job is {"message":…}.
std::string jobJson(const HobbingJob& job);

// A set by position: "a=36  b=40  c=48  d=60".
std::string setPositions(const GearSet& set);

// A helix deviation as the shop reads it: "+13.34″", "3.6 µm".
std::string signedSeconds(double arcsec);
std::string microns(double value);

} // namespace kelvaro
