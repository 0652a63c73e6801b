// Both printouts line by line on the printer the list names, and how a
// failure of the back-end stops a printout and is told.
#include "printing/result_printout.h"
#include "support/recording_print_backend.h"

#include <gtest/gtest.h>

namespace kelvaro {

// A document as its printer and its lines, where a comparison fails.
void PrintTo(const RecordingPrintBackend::Document& d, std::ostream* os) {
    *os << d.printer << ": " << testing::PrintToString(d.lines);
}

namespace {

const std::string kOrdinaryHeader = "      主动    主动    被动    被动";
const std::string kDifferentialHeader = "      主动   主动   被动   被动";

TEST(Printout, PrintsTheFieldsAsTypedTheHeaderAndPrintText) {
    RecordingPrintBackend backend;
    backend.printers = {"A", "B", "C"};
    ASSERT_TRUE(printOrdinaryResults(backend, {"B", " 1,5x "}, "\r  20\r  误差").ok());
    // The angle's fields and the tooth count are trimmed of blanks, the
    // module is not; the tooth count is printed only where the kind needs it.
    ASSERT_TRUE(
        printDifferentialResults(backend, {"C", " 2.5 ", "  15 ", " 3", "7  ", " 40 ", true}, "\r1")
            .ok());
    ASSERT_TRUE(
        printDifferentialResults(backend, {"A", "3", "\t15", "30\t", "", "40", false}, "").ok());
    EXPECT_EQ(backend.documents,
              (std::vector<RecordingPrintBackend::Document>{
                  {"B", {"      i= 1,5x ", kOrdinaryHeader, "", "  20", "  误差"}},
                  {"C", {"      m= 2.5   β=15°3′7″  Z=40", kDifferentialHeader, "", "1"}},
                  {"A", {"      m=3  β=\t15°30\t′″", kDifferentialHeader, ""}}}));
}

TEST(Printout, StopsAtAFailureAndSaysWhatFailed) {
    const struct {
        RecordingPrintBackend::Failure failAt;
        std::size_t calls;
        std::string message;
    } rows[] = {
        {{"set", PrintError::PrinterGone}, 1, "打印失败：找不到打印机“B”。"},
        {{"line", PrintError::NotStarted}, 2, "打印失败：打印机“B”无法开始打印。"},
        {{"end", PrintError::NotCompleted}, 5, "打印失败：打印机“B”没有接受打印任务。"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("failing at " + row.failAt.call);
        RecordingPrintBackend backend;
        backend.printers = {"B"};
        backend.failAt = row.failAt;
        const PrintStatus status = printOrdinaryResults(backend, {"B", "2"}, "\rx");
        EXPECT_EQ(backend.calls.size(), row.calls);
        EXPECT_EQ(printFailureMessage(status), row.message);
    }
    EXPECT_EQ(printFailureMessage({PrintError::NoPrinter, "", ""}),
              "打印失败：系统中没有安装打印机。");
    EXPECT_EQ(printFailureMessage({PrintError::NotCompleted, "HP", "Stopped."}),
              "打印失败：打印机“HP”没有接受打印任务。\nStopped.");
}

} // namespace
} // namespace kelvaro
