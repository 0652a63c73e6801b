#include "printing/printer_choice.h"
#include "printing/result_printout.h"
#include "printing/recording_print_backend.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

using Lines = std::vector<std::string>;

// Every table row below has a name; ctest lists it instead of the row's bytes.
template <typename Case>
requires requires(const Case& c) {
    c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

const std::string kOrdinaryHeader = "      主动    主动    被动    被动";
const std::string kDifferentialHeader = "      主动   主动   被动   被动";

RecordingPrintBackend threePrinters() {
    RecordingPrintBackend backend;
    backend.printers = {"A", "B", "C"};
    backend.current = "A";
    return backend;
}

// --- the printer list ---------------------------------------------------

TEST(FillPrinterList, ListsThePrintersInTheSystemsOrderWithTheFirstSelected) {
    RecordingPrintBackend backend = threePrinters();
    backend.printers = {"Zeta", "alpha", "Beta"};
    const PrinterListContents contents = fillPrinterList(backend);
    EXPECT_EQ(contents.items, (Lines{"Zeta", "alpha", "Beta"}));
    EXPECT_EQ(contents.selected, 0);
    EXPECT_FALSE(contents.disablePrint);
    // Filling the list leaves the current printer alone.
    EXPECT_TRUE(backend.calls.empty());
}

TEST(FillPrinterList, WithoutPrintersLeavesTheListEmptyAndDisablesPrint) {
    RecordingPrintBackend backend;
    const PrinterListContents contents = fillPrinterList(backend);
    EXPECT_TRUE(contents.items.empty());
    EXPECT_EQ(contents.selected, -1);
    EXPECT_TRUE(contents.disablePrint);
}

struct ChoiceCase {
    const char* name;
    std::string listText;
    Lines calls;
    std::string current;
};

class ChoosePrinter : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ChoosePrinter, MatchesTheWholeNameExactly) {
    RecordingPrintBackend backend = threePrinters();
    backend.printers = {"A", "B", "C", "B"};
    EXPECT_TRUE(choosePrinter(backend, GetParam().listText).ok());
    EXPECT_EQ(backend.calls, GetParam().calls);
    EXPECT_EQ(backend.current, GetParam().current);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChoosePrinter,
                         testing::Values(ChoiceCase{"Named", "B", {"set B"}, "B"},
                                         ChoiceCase{"OtherCase", "b", {}, "A"},
                                         ChoiceCase{"LeadingBlank", " B", {}, "A"},
                                         ChoiceCase{"EmptyText", "", {}, "A"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChoosePrinter, AFailedChoiceIsReportedAndKeepsTheCurrentPrinter) {
    RecordingPrintBackend backend = threePrinters();
    backend.failAt = {"set", 1, PrintError::PrinterGone};
    const PrintStatus status = choosePrinter(backend, "C");
    EXPECT_EQ(status.error, PrintError::PrinterGone);
    EXPECT_EQ(status.printer, "C");
    EXPECT_EQ(backend.current, "A");
}

// --- the ordinary printout ----------------------------------------------

struct OrdinaryCase {
    const char* name;
    std::string ratio;
    std::string printText;
    Lines lines;
};

class OrdinaryPrintout : public testing::TestWithParam<OrdinaryCase> {};

TEST_P(OrdinaryPrintout, PrintsTheRatioAsTypedTheHeaderAndPrintText) {
    RecordingPrintBackend backend = threePrinters();
    const OrdinaryCase& c = GetParam();
    ASSERT_TRUE(printOrdinaryResults(backend, {"B", c.ratio}, c.printText).ok());
    EXPECT_EQ(backend.calls, (Lines{"set B", "line       i=" + c.ratio, "line " + kOrdinaryHeader,
                                    "line " + c.printText, "end"}));
    ASSERT_EQ(backend.documents.size(), 1u);
    EXPECT_EQ(backend.documents[0].printer, "B");
    EXPECT_EQ(backend.documents[0].lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrdinaryPrintout,
    testing::Values(
        OrdinaryCase{"TwoCollectedLines",
                     "1.5",
                     "\r     20     30     40     50   1E-05\r     误差最小的挂轮组及误差为",
                     {"      i=1.5", kOrdinaryHeader, "", "     20     30     40     50   1E-05",
                      "     误差最小的挂轮组及误差为"}},
        OrdinaryCase{"NothingCalculatedYet", "", "", {"      i=", kOrdinaryHeader, ""}},
        OrdinaryCase{"RatioNotTrimmedNorConverted",
                     " 1,5x ",
                     "\r1",
                     {"      i= 1,5x ", kOrdinaryHeader, "", "1"}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the differential printout ------------------------------------------

struct DifferentialCase {
    const char* name;
    DifferentialPrintFields fields;
    std::string dataLine;
};

class DifferentialPrintout : public testing::TestWithParam<DifferentialCase> {};

TEST_P(DifferentialPrintout, PrintsThePartsDataTheHeaderAndPrintText) {
    RecordingPrintBackend backend = threePrinters();
    DifferentialPrintFields fields = GetParam().fields;
    fields.printerList = "C";
    ASSERT_TRUE(printDifferentialResults(backend, fields, "\r  1\r  2").ok());
    ASSERT_EQ(backend.documents.size(), 1u);
    EXPECT_EQ(backend.documents[0].printer, "C");
    EXPECT_EQ(backend.documents[0].lines,
              (Lines{GetParam().dataLine, kDifferentialHeader, "", "  1", "  2"}));
    EXPECT_EQ(backend.calls.back(), "end");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DifferentialPrintout,
    testing::Values(
        DifferentialCase{"OrdinaryMachine",
                         {"", "2.5", "15", "30", "0", "C630", "40"},
                         "      m=2.5  β=15°30′0″"},
        DifferentialCase{"ModuleKeptAnglesTrimmed",
                         {"", " 2.5 ", "  15 ", " 3", "7  ", "Y3150", ""},
                         "      m= 2.5   β=15°3′7″"},
        DifferentialCase{"OnlyBlanksAreTrimmed",
                         {"", "3", "\t15", "30\t", "0", "Y3150", ""},
                         "      m=3  β=\t15°30\t′0″"},
        DifferentialCase{
            "Zstz", {"", "3", "0", "0", "0", "ZSTZ", " 40 "}, "      m=3  β=0°0′0″  Z=40"},
        DifferentialCase{
            "Y7150", {"", "3", "0", "0", "0", "Y7150", "25"}, "      m=3  β=0°0′0″  Z=25"},
        DifferentialCase{
            "ModelInSmallLetters", {"", "3", "0", "0", "0", "zstz", "40"}, "      m=3  β=0°0′0″"},
        DifferentialCase{"ModelWithTrailingBlank",
                         {"", "3", "0", "0", "0", "Y7150 ", "40"},
                         "      m=3  β=0°0′0″"},
        DifferentialCase{
            "NoModelChosen", {"", "3", "0", "0", "0", "", "40"}, "      m=3  β=0°0′0″"},
        DifferentialCase{"EmptyFields", {"", "", "", "", "", "ZSTZ", ""}, "      m=  β=°′″  Z="}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the choice of printer across printouts -----------------------------

TEST(Printouts, EachChoosesThePrinterAnew) {
    RecordingPrintBackend backend = threePrinters();
    ASSERT_TRUE(printOrdinaryResults(backend, {"B", "1"}, "").ok());
    EXPECT_EQ(backend.current, "B");
    ASSERT_TRUE(printDifferentialResults(backend, {"A", "3", "0", "0", "0", "", ""}, "").ok());
    EXPECT_EQ(backend.current, "A");
    // A list text that names no printer prints on the current one.
    ASSERT_TRUE(printOrdinaryResults(backend, {"Gone", "1"}, "").ok());
    ASSERT_EQ(backend.documents.size(), 3u);
    EXPECT_EQ(backend.documents[0].printer, "B");
    EXPECT_EQ(backend.documents[1].printer, "A");
    EXPECT_EQ(backend.documents[2].printer, "A");
}

// --- failures of the back-end -------------------------------------------

struct FailureCase {
    const char* name;
    RecordingPrintBackend::Failure failAt;
    Lines calls;
};

class PrintoutFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(PrintoutFailure, StopsAtTheFailureAndReportsIt) {
    RecordingPrintBackend backend = threePrinters();
    backend.failAt = GetParam().failAt;
    const PrintStatus status = printOrdinaryResults(backend, {"B", "2"}, "\rx");
    EXPECT_EQ(status.error, GetParam().failAt.error);
    EXPECT_EQ(backend.calls, GetParam().calls);
    EXPECT_TRUE(backend.documents.empty());

    // The next printout starts a whole new document.
    backend.calls.clear();
    ASSERT_TRUE(printOrdinaryResults(backend, {"B", "2"}, "").ok());
    ASSERT_EQ(backend.documents.size(), 1u);
    EXPECT_EQ(backend.documents[0].lines, (Lines{"      i=2", kOrdinaryHeader, ""}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintoutFailure,
    testing::Values(
        FailureCase{"Choice", {"set", 1, PrintError::PrinterGone}, {"set B"}},
        FailureCase{"FirstLine", {"line", 1, PrintError::NotStarted}, {"set B", "line       i=2"}},
        FailureCase{"Body",
                    {"line", 3, PrintError::NotStarted},
                    {"set B", "line       i=2", "line " + kOrdinaryHeader, "line \rx"}},
        FailureCase{"End",
                    {"end", 1, PrintError::NotCompleted},
                    {"set B", "line       i=2", "line " + kOrdinaryHeader, "line \rx", "end"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct MessageCase {
    const char* name;
    PrintStatus status;
    std::string message;
};

class PrintFailureMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(PrintFailureMessage, SaysWhatFailed) {
    EXPECT_EQ(printFailureMessage(GetParam().status), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintFailureMessage,
    testing::Values(
        MessageCase{"Success", {}, ""},
        MessageCase{"NoPrinter", {PrintError::NoPrinter, "", ""}, "打印失败：没有选定打印机。"},
        MessageCase{"Gone", {PrintError::PrinterGone, "HP", ""}, "打印失败：找不到打印机“HP”。"},
        MessageCase{
            "NotStarted", {PrintError::NotStarted, "HP", ""}, "打印失败：打印机“HP”无法开始打印。"},
        MessageCase{"Refused",
                    {PrintError::NotCompleted, "HP", "Destination \"HP\" is not accepting jobs."},
                    "打印失败：打印机“HP”没有接受打印任务。\nDestination \"HP\" is not accepting "
                    "jobs."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kelvaro
