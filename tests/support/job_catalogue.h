#pragma once

#include "job/hobbing_job.h"
#include "job/train_pair.h"
#include "support/temporary_catalogue.h"

#include <vector>

namespace kelvaro {

// Machine M: default kind, differential constant 9, gears 20 to 60.
struct JobCatalogue : TemporaryCatalogue {
    JobCatalogue() : TemporaryCatalogue(Files{{"M.dat", "20\r\n60\r\n 1\r\n9\r\n0\r\n"}}) {}
    HobbingJob run(JobRequest request) const {
        request.model = "M";
        return runHobbingJob(request, path());
    }
};

// For the brute forces: every order of four gears the box holds that mounts
// with the clearance, each as its own set.
inline std::vector<GearSet> mountedOrders(const GearBox& box, double clearance) {
    std::vector<GearSet> sets;
    for (const auto& [a, qa] : box)
        for (const auto& [b, qb] : box)
            for (const auto& [c, qc] : box)
                for (const auto& [d, qd] : box) {
                    const GearSet s{double(a), double(b), double(c), double(d), 0};
                    if (fitsBox(box, {&s}) && quadrantMargins(a, b, c, d).mountable(clearance))
                        sets.push_back(s);
                }
    return sets;
}

} // namespace kelvaro
