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

} // namespace kelvaro
