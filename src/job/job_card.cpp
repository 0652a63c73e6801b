#include "job/job_card.h"

#include "job/job_report.h"
#include "printing/setup_sheet.h"

namespace kelvaro {

std::vector<std::string> jobCardLines(const HobbingJob& job) {
    std::vector<std::string> lines = {"      滚齿调整卡", ""};
    for (const std::string& line : jobLines(job))
        lines.push_back("  " + line);
    lines.emplace_back();
    if (job.indexSet && job.differential)
        lines.push_back("  左：分齿挂轮                              右：差动挂轮");
    return lines;
}

PrintStatus printJobCard(PrintBackend& backend, const std::string& printerList,
                         const HobbingJob& job) {
    std::vector<GearSet> trains;
    if (job.indexSet) trains.push_back(*job.indexSet);
    if (job.differential) trains.push_back(job.differential->set);
    return printCard(backend, printerList, jobCardLines(job), trains);
}

} // namespace kelvaro
