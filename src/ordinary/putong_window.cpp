#include "ordinary/putong_window.h"

#include "ordinary/ordinary_calculation.h"
#include "platform/file_system.h"
#include "printing/pane_services.h"
#include "printing/result_printout.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"

#include <QLineEdit>

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

PuTong::PuTong(const WindowContext& context, QWidget* parent) : CalculationWindow(context, parent) {
    buildForm(this, kForm, kControls);
    ratioField_ = control<QLineEdit>(this, "chuandongbi");
    toleranceField_ = control<QLineEdit>(this, "jingdu");
    smallestField_ = control<QLineEdit>(this, "zuishaochishu");
    largestField_ = control<QLineEdit>(this, "zuidachishu");
    setUpPane("Combo1", readFields(),
              paneServices(context_.printBackend, wholeFileWriter(context_.fileSystem)));
    Form_Load();
}

void PuTong::Form_Load() {
    // Once per run: Exit only hides the window, so this list is never refilled.
    fillPrinters();
}

Calculation PuTong::calculation() {
    return [texts = fieldTexts(readFields())](SearchControl& control) {
        return calculateOrdinary({texts[0], texts[1], texts[2], texts[3]}, &control);
    };
}

std::vector<QLineEdit*> PuTong::readFields() const {
    return {ratioField_, toleranceField_, smallestField_, largestField_};
}

std::string PuTong::printResults() {
    const OrdinaryPrintFields fields{printerListText(), calculatedText(ratioField_)};
    return printFailureMessage(printOrdinaryResults(context_.printBackend, fields, printText(),
                                                    context_.messages.asker(this)));
}

} // namespace kelvaro
