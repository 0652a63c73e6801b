#include "job/job_card.h"

#include "printing/printer_choice.h"

namespace kelvaro {

PrintedSheet jobCard(const JobSheet& sheet, const std::string& date) {
    PrintedSheet card;
    card.title = "滚齿调整卡";
    SheetBlock job{"工件与机床", {}, sheet.job, std::nullopt, sheet.clearance, true};
    job.lines.insert(job.lines.end(), sheet.constants.begin(), sheet.constants.end());
    job.lines.push_back("日期 " + date);
    card.blocks.push_back(std::move(job));
    for (const TrainView& train : sheet.trains) {
        SheetBlock block{train.title, train.gears, {}, train.drawn, sheet.clearance, false};
        if (!train.shafts.empty()) block.lines.push_back(train.shafts);
        block.lines.insert(block.lines.end(), train.facts.begin(), train.facts.end());
        card.blocks.push_back(std::move(block));
    }
    card.blocks.push_back({"滚刀安装角", {}, sheet.setting, std::nullopt, sheet.clearance, true});
    card.blocks.push_back({"备注", {}, sheet.notes, std::nullopt, sheet.clearance, true});
    return card;
}

PrintStatus printJobCard(PrintBackend& backend, const std::string& printerList,
                         const PrintedSheet& card) {
    if (PrintStatus status = choosePrinter(backend, printerList); !status.ok()) return status;
    return backend.printSheet(card);
}

} // namespace kelvaro
