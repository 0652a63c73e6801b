// The printer list, the choice of printer at print time, both printouts
// call by call and line by line, and how a failure of the back-end stops a
// printout and is told.
#include "printing/printer_choice.h"
#include "printing/result_printout.h"
#include "support/recording_print_backend.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

using Lines = std::vector<std::string>;

const std::string kOrdinaryHeader = "      主动    主动    被动    被动";
const std::string kDifferentialHeader = "      主动   主动   被动   被动";

RecordingPrintBackend threePrinters() {
    RecordingPrintBackend backend;
    backend.printers = {"A", "B", "C"};
    backend.current = "A";
    return backend;
}

TEST(PrinterList, ChoiceMatchesTheWholeNameExactly) {
    for (const char* text : {"B", "b", " B"}) {
        RecordingPrintBackend backend = threePrinters();
        EXPECT_TRUE(choosePrinter(backend, text).ok());
        const bool named = text == std::string("B");
        EXPECT_EQ(backend.calls, named ? Lines{"set B"} : Lines{}) << text;
        EXPECT_EQ(backend.current, named ? "B" : "A") << text;
    }
}

TEST(PrinterList, EachPrintoutChoosesThePrinterAnew) {
    RecordingPrintBackend backend = threePrinters();
    ASSERT_TRUE(printOrdinaryResults(backend, {"B", "1"}, "").ok());
    ASSERT_TRUE(printDifferentialResults(backend, {"A", "3", "0", "0", "0", "", false}, "").ok());
    // A list text that names no printer prints on the current one.
    ASSERT_TRUE(printOrdinaryResults(backend, {"Gone", "1"}, "").ok());
    ASSERT_EQ(backend.documents.size(), 3u);
    EXPECT_EQ(backend.documents[0].printer, "B");
    EXPECT_EQ(backend.documents[1].printer, "A");
    EXPECT_EQ(backend.documents[2].printer, "A");
}

TEST(OrdinaryPrintout, PrintsTheRatioAsTypedTheHeaderAndPrintText) {
    const struct {
        std::string ratio, printText;
        Lines lines;
    } rows[] = {
        {"1.5",
         "\r     20     30     40     50   1E-05\r     误差最小的挂轮组及误差为",
         {"      i=1.5", kOrdinaryHeader, "", "     20     30     40     50   1E-05",
          "     误差最小的挂轮组及误差为"}},
        {"", "", {"      i=", kOrdinaryHeader, ""}}, // nothing calculated yet
        {" 1,5x ", "\r1", {"      i= 1,5x ", kOrdinaryHeader, "", "1"}},
    };
    for (const auto& row : rows) {
        RecordingPrintBackend backend = threePrinters();
        ASSERT_TRUE(printOrdinaryResults(backend, {"B", row.ratio}, row.printText).ok());
        // printText goes out as one line, broken at its carriage returns.
        EXPECT_EQ(backend.calls,
                  (Lines{"set B", "line       i=" + row.ratio, "line " + kOrdinaryHeader,
                         "line " + row.printText, "end"}));
        ASSERT_EQ(backend.documents.size(), 1u);
        EXPECT_EQ(backend.documents[0].lines, row.lines);
    }
}

struct DifferentialRow {
    const char* name;
    DifferentialPrintFields fields;
    std::string dataLine;
};

void PrintTo(const DifferentialRow& row, std::ostream* os) {
    *os << row.name;
}

class DifferentialPrintout : public testing::TestWithParam<DifferentialRow> {};

TEST_P(DifferentialPrintout, PrintsThePartsDataTheHeaderAndPrintText) {
    RecordingPrintBackend backend = threePrinters();
    DifferentialPrintFields fields = GetParam().fields;
    fields.printerList = "C";
    ASSERT_TRUE(printDifferentialResults(backend, fields, "\r  1\r  2").ok());
    ASSERT_EQ(backend.documents.size(), 1u);
    EXPECT_EQ(backend.documents[0].printer, "C");
    EXPECT_EQ(backend.documents[0].lines,
              (Lines{GetParam().dataLine, kDifferentialHeader, "", "  1", "  2"}));
}

// The angle's fields and the tooth count are trimmed of blanks, the module
// is not; the tooth count is printed only where the machine's kind needs it.
INSTANTIATE_TEST_SUITE_P(
    Fields, DifferentialPrintout,
    testing::Values(
        DifferentialRow{"ModuleKeptAnglesTrimmed",
                        {"", " 2.5 ", "  15 ", " 3", "7  ", "", false},
                        "      m= 2.5   β=15°3′7″"},
        DifferentialRow{"OnlyBlanksAreTrimmed",
                        {"", "3", "\t15", "30\t", "0", "", false},
                        "      m=3  β=\t15°30\t′0″"},
        DifferentialRow{
            "PartTeeth", {"", "3", "0", "0", "0", " 40 ", true}, "      m=3  β=0°0′0″  Z=40"},
        DifferentialRow{
            "PartTeethNotShown", {"", "3", "0", "0", "0", "40", false}, "      m=3  β=0°0′0″"},
        DifferentialRow{"EmptyFields", {"", "", "", "", "", "", true}, "      m=  β=°′″  Z="}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintoutFailure, StopsAtTheFailureAndReportsIt) {
    const struct {
        RecordingPrintBackend::Failure failAt;
        Lines calls;
    } rows[] = {
        {{"set", PrintError::PrinterGone}, {"set B"}},
        {{"line", PrintError::NotStarted}, {"set B", "line       i=2"}},
        {{"end", PrintError::NotCompleted},
         {"set B", "line       i=2", "line " + kOrdinaryHeader, "line \rx", "end"}},
    };
    for (const auto& row : rows) {
        RecordingPrintBackend backend = threePrinters();
        backend.failAt = row.failAt;
        const PrintStatus status = printOrdinaryResults(backend, {"B", "2"}, "\rx");
        EXPECT_EQ(status.error, row.failAt.error);
        EXPECT_EQ(status.printer, "B");
        EXPECT_EQ(backend.calls, row.calls);
        EXPECT_TRUE(backend.documents.empty());

        // The next printout starts a whole new document.
        ASSERT_TRUE(printOrdinaryResults(backend, {"B", "2"}, "").ok());
        ASSERT_EQ(backend.documents.size(), 1u);
        EXPECT_EQ(backend.documents[0].lines, (Lines{"      i=2", kOrdinaryHeader, ""}));
    }
}

TEST(PrintoutFailure, MessageSaysWhatFailed) {
    const struct {
        PrintStatus status;
        std::string message;
    } rows[] = {
        {{PrintError::NoPrinter, "", ""}, "打印失败：没有选定打印机。"},
        {{PrintError::PrinterGone, "HP", ""}, "打印失败：找不到打印机“HP”。"},
        {{PrintError::NotStarted, "HP", ""}, "打印失败：打印机“HP”无法开始打印。"},
        {{PrintError::NotCompleted, "HP", "Destination \"HP\" is not accepting jobs."},
         "打印失败：打印机“HP”没有接受打印任务。\nDestination \"HP\" is not accepting jobs."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(printFailureMessage(row.status), row.message);
}

} // namespace
} // namespace kelvaro
