#include "ordinary/putong_window.h"

#include "catalogue/file_system.h"
#include "ordinary/ordinary_calculation.h"
#include "printing/printer_choice.h"
#include "printing/result_printout.h"
#include "printing/setup_sheet.h"
#include "widgets/calculation_runner.h"
#include "widgets/field_marks.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"
#include "widgets/printer_controls.h"
#include "widgets/result_list_actions.h"
#include "widgets/result_list_model.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace kelvaro {

namespace {

using K = ControlKind;

const FormSpec kForm{"普通Kelvaro", 8580, 6300, kLightCyan};

// In focus order; labels hold a place in it but never take the focus.
const ControlSpec kControls[] = {
    {K::Label, "Label2", "传动比", 720, 930, 1080, 435, kLabelFont},
    {K::TextBox, "chuandongbi", "", 1950, 870, 1290, 510, kFieldFont},
    {K::Label, "Label3", "允    差", 705, 1770, 1080, 435, kLabelFont},
    {K::TextBox, "jingdu", "0.00001", 1950, 1725, 1290, 510, kFieldFont},
    {K::Label, "Label4", "最少齿数", 705, 2685, 1440, 435, kLabelFont},
    {K::TextBox, "zuishaochishu", "", 2355, 2625, 885, 510, kFieldFont},
    {K::Label, "Label5", "最大齿数", 705, 3570, 1440, 435, kLabelFont},
    {K::TextBox, "zuidachishu", "", 2370, 3540, 900, 510, kFieldFont},
    {K::Button, "Command1", "计算", 1140, 4395, 1500, 645, kLargeFont},
    {K::Label, "Label1", "计算结果", 4935, 315, 1440, 435, kLabelFont},
    {K::Button, "Command2", "退出", 2385, 5490, 1500, 645, kLargeFont},
    {K::Button, "Command3", "打印", 5010, 5490, 1500, 645, kLargeFont},
    {K::ListBox, "jsjgp", "", 4020, 900, 4080, 3660, {"MS Sans Serif", 12}},
    // 45 twips lower than drawn at first, where it ran into 计算结果 above it.
    {K::Label, "Label11", "(主  主  被  被)", 4935, 705, 1440, 180},
    {K::ComboBox, "Combo1", "", 5280, 4800, 2775, 360, kComboFont},
    {K::Label, "Label13", "打印机", 4080, 4800, 1080, 435, kLabelFont},
};

} // namespace

PuTong::PuTong(const WindowContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    buildForm(this, kForm, kControls);
    ratioField_ = control<QLineEdit>(this, "chuandongbi");
    toleranceField_ = control<QLineEdit>(this, "jingdu");
    smallestField_ = control<QLineEdit>(this, "zuishaochishu");
    largestField_ = control<QLineEdit>(this, "zuidachishu");
    resultList_ = control<QListView>(this, "jsjgp");
    printerList_ = control<QComboBox>(this, "Combo1");
    printButton_ = control<QPushButton>(this, "Command3");

    results_ = new ResultListModel(this);
    resultList_->setModel(results_);
    listActions_ = new ResultListActions(
        resultList_, results_, context_.messages,
        [this](const SetDetails& details) { printSetupSheet(details); },
        [this](const std::string& path, const std::string& bytes) {
            return writeWholeFile(context_.fileSystem, path, bytes);
        });

    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            &PuTong::Command1_Click);
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this,
            &PuTong::Command2_Click);
    connect(printButton_, &QPushButton::clicked, this, &PuTong::Command3_Click);
    // Enter in a field calculates.
    for (QLineEdit* field : {ratioField_, toleranceField_, smallestField_, largestField_})
        connect(field, &QLineEdit::returnPressed, this, &PuTong::Command1_Click);
    Form_Load();
}

PuTong::~PuTong() = default;

std::string PuTong::printText() const {
    return results_->printText();
}

void PuTong::Form_Load() {
    // Once per run: Exit only hides the window, so this list is never refilled.
    const PrinterListContents printers = fillPrinterList(context_.printBackend);
    applyPrinterList(printers.items, printers.selected, printers.disablePrint, *printerList_,
                     *printButton_);
}

void PuTong::Command1_Click() {
    const std::string ratio = ratioField_->text().toStdString();
    const std::string tolerance = toleranceField_->text().toStdString();
    const std::string smallest = smallestField_->text().toStdString();
    const std::string largest = largestField_->text().toStdString();
    auto outcome = runCalculation(
        this,
        [&](SearchControl& control) {
            return calculateOrdinary({ratio, tolerance, smallest, largest}, &control);
        },
        setLimit_);
    if (!outcome) return;
    listActions_->show(std::move(*outcome), this);
    markReadings({ratioField_, toleranceField_, smallestField_, largestField_});
}

void PuTong::Command2_Click() {
    hide();
}

void PuTong::Command3_Click() {
    const OrdinaryPrintFields fields{printerList_->currentText().toStdString(),
                                     ratioField_->text().toStdString()};
    const PrintStatus status = printOrdinaryResults(context_.printBackend, fields, printText(),
                                                    context_.messages.asker(this));
    if (!status.ok()) context_.messages.show(this, printFailureMessage(status));
}

void PuTong::printSetupSheet(const SetDetails& details) {
    const PrintStatus status = kelvaro::printSetupSheet(
        context_.printBackend, printerList_->currentText().toStdString(), details);
    if (!status.ok())
        context_.messages.show(listActions_->detailsWindow(), printFailureMessage(status));
}

void PuTong::closeEvent(QCloseEvent* event) {
    // Closing through the frame is Exit: hidden, contents kept.
    event->ignore();
    Command2_Click();
}

} // namespace kelvaro
