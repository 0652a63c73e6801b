#include "printing/print_backend.h"

namespace kelvaro {

std::string printFailureMessage(const PrintStatus& status) {
    const std::string quoted = "“" + status.printer + "”";
    std::string message;
    switch (status.error) {
    case PrintError::None:
        return {};
    case PrintError::NoPrinter:
        message = "打印失败：系统中没有安装打印机。";
        break;
    case PrintError::PrinterGone:
        message = "打印失败：找不到打印机" + quoted + "。";
        break;
    case PrintError::NotStarted:
        message = "打印失败：打印机" + quoted + "无法开始打印。";
        break;
    case PrintError::NotCompleted:
        message = "打印失败：打印机" + quoted + "没有接受打印任务。";
        break;
    }
    if (!status.detail.empty()) message += "\n" + status.detail;
    return message;
}

PrintStatus PrintBackend::printSheet(const PrintedSheet& sheet) {
    std::vector<std::string> lines = {sheet.title};
    for (const SheetBlock& block : sheet.blocks) {
        lines.push_back("");
        lines.push_back(block.title);
        if (!block.headline.empty()) lines.push_back("  " + block.headline);
        for (const std::string& line : block.lines)
            lines.push_back("  " + line);
    }
    for (const std::string& line : lines)
        if (PrintStatus status = printLine(line); !status.ok()) return status;
    for (const SheetBlock& block : sheet.blocks)
        if (block.drawing)
            if (PrintStatus status = printGearTrain(*block.drawing, block.clearance); !status.ok())
                return status;
    return endDocument();
}

} // namespace kelvaro
