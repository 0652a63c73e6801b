#include "differential/chadong_window.h"

#include "catalogue/add_machine_window.h"
#include "catalogue/delete_machine_window.h"
#include "catalogue/machine_list.h"
#include "differential/differential_calculation.h"
#include "gears/differential_ratio.h"
#include "platform/file_system.h"
#include "printing/pane_services.h"
#include "printing/result_printout.h"
#include "widgets/activation_watcher.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

namespace kelvaro {

namespace {

using K = ControlKind;

const FormSpec kForm{"差动Kelvaro", 8595, 6330, kLightCyan, {"Arial", 8.25}};

// In focus order; labels hold a place in it but never take the focus.
const ControlSpec kControls[] = {
    {K::Label, "Label1", "零件参数", 1260, 240, 1920, 555, kLargeFont},
    {K::Label, "Label2", "模  数", 900, 1125, 900, 435, kLabelFont},
    {K::TextBox, "moshu", "", 2295, 1080, 870, 465, kFieldFont},
    {K::Label, "Label3", "螺旋角", 885, 1710, 1080, 435, kLabelFont},
    {K::TextBox, "luoxuanjiaodu", "0", 2295, 1680, 870, 480, kFieldFont},
    {K::Label, "Label4", "度", 3285, 1710, 360, 435, kLabelFont},
    {K::TextBox, "luoxuanjiaofen", "0", 2295, 2160, 870, 480, kFieldFont},
    {K::Label, "Label5", "分", 3285, 2190, 360, 435, kLabelFont},
    {K::TextBox, "luoxuanjiaomiao", "0", 2295, 2640, 870, 480, kFieldFont},
    {K::Label, "Label6", "秒", 3270, 2670, 360, 435, kLabelFont},
    {K::Label, "Label7", "允许误差", 690, 3360, 1440, 435, kLabelFont},
    {K::TextBox, "jingdu", "0.00001", 2295, 3285, 1290, 480, kFieldFont},
    {K::ComboBox, "Combo1", "", 2295, 3930, 1710, 360, kComboFont},
    {K::Button, "Command1", "计算", 1185, 5400, 1500, 720, kLargeFont},
    {K::Button, "Command2", "退出", 3690, 5415, 1500, 720, kLargeFont},
    {K::Button, "Command3", "打印", 5985, 5400, 1500, 720, kLargeFont},
    {K::ListBox, "jsjgp", "", 4125, 1110, 4080, 3060, {"MS Sans Serif", 12}},
    {K::Label, "Label8", "计算结果", 4740, 240, 1920, 555, kLargeFont},
    {K::Label, "Label9", "机床型号", 735, 3945, 1440, 435, kLabelFont},
    // The two small notes sit 75 and 60 twips lower than drawn at first, where
    // they ran into the glyphs of 螺旋角 and 计算结果 above them.
    {K::Label, "Label10", "C630:机床模数", 840, 2115, 1125, 195},
    {K::Label, "Label11", "(主  主  被  被)", 5175, 780, 1050, 210},
    {K::TextBox, "齿数", "", 2295, 4440, 870, 480, kFieldFont, kStartsHidden},
    {K::Label, "Label12", "齿      数", 735, 4485, 1440, 435, kLabelFont, kStartsHidden},
    {K::ComboBox, "Combo2", "", 5400, 4500, 2775, 360, kComboFont},
    {K::Label, "Label13", "打印机", 4200, 4463, 1080, 435, kLabelFont},
};

} // namespace

ChaDong::ChaDong(const WindowContext& context, QWidget* parent)
    : CalculationWindow(context, parent) {
    auto* menuBar = new QMenuBar(this);
    // In the window, whatever the desktop: the client area lies below it.
    menuBar->setNativeMenuBar(false);
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(content);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    buildForm(this, kForm, kControls, content);

    // Two plain items in the bar itself, without drop-down menus.
    QAction* addMachine = menuBar->addAction(QStringLiteral("增加机床"));
    addMachine->setObjectName(QStringLiteral("addmachine"));
    connect(addMachine, &QAction::triggered, this, &ChaDong::addmachine_Click);
    QAction* deleteMachine = menuBar->addAction(QStringLiteral("删除机床"));
    deleteMachine->setObjectName(QStringLiteral("deletemachine"));
    connect(deleteMachine, &QAction::triggered, this, &ChaDong::deletemachine_Click);

    moduleField_ = control<QLineEdit>(this, "moshu");
    degreesOrLatheModuleField_ = control<QLineEdit>(this, "luoxuanjiaodu");
    minutesField_ = control<QLineEdit>(this, "luoxuanjiaofen");
    secondsField_ = control<QLineEdit>(this, "luoxuanjiaomiao");
    toleranceField_ = control<QLineEdit>(this, "jingdu");
    partTeethField_ = control<QLineEdit>(this, "齿数");
    partTeethLabel_ = control<QLabel>(this, "Label12");
    machineList_ = control<QComboBox>(this, "Combo1");
    setUpPane("Combo2",
              {moduleField_, degreesOrLatheModuleField_, minutesField_, secondsField_,
               toleranceField_, partTeethField_},
              paneServices(context_.printBackend, wholeFileWriter(context_.fileSystem)));

    connect(machineList_, &QComboBox::currentIndexChanged, this, &ChaDong::Combo1_Click);
    watcher_ = new ActivationWatcher(this, [this] { activated(); });
}

ChaDong::~ChaDong() {
    // No activation may reach a window that is being taken apart.
    delete watcher_;
}

QStringList ChaDong::machineNames() const {
    QStringList names;
    for (int i = 0; i < machineList_->count(); ++i)
        names << machineList_->itemText(i);
    return names;
}

void ChaDong::activated() {
    // Reading the catalogue can show a message box, which must not open
    // while a calculation is waited for: it then runs after the calculation,
    // if this window has kept the focus.
    if (!calculationRunning()) {
        Form_Activate();
        return;
    }
    if (activationPostponed_) return;
    activationPostponed_ = true;
    whenNoCalculation(this, [this] {
        activationPostponed_ = false;
        if (watcher_->windowIsActive()) Form_Activate();
    });
}

void ChaDong::Form_Activate() {
    const QString chosen = machineList_->currentText();
    machineList_->blockSignals(true);
    machineList_->clear();
    const MachineList list = readMachineList(context_.catalogueFolder, context_.fileSystem);
    for (const std::string& name : list.names)
        machineList_->addItem(QString::fromStdString(name));
    // The machine chosen before stays chosen while it is listed, so that the
    // results beside it stay its own; otherwise the first one is chosen, and
    // an empty list leaves none chosen.
    const int kept =
        chosen.isEmpty()
            ? -1
            : machineList_->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
    machineList_->setCurrentIndex(kept >= 0 ? kept : (list.names.empty() ? -1 : 0));
    machineList_->blockSignals(false);
    Combo1_Click();
    markStale(); // the machine of the results may be gone

    fillPrinters();

    if (list.status == CatalogueStatus::Failed) context_.messages.show(this, list.message);
}

void ChaDong::Combo1_Click() {
    const bool shown = describeModel(machineList_->currentText().toStdString()).needsPartTeeth;
    partTeethLabel_->setVisible(shown);
    partTeethField_->setVisible(shown);
}

void ChaDong::addmachine_Click() {
    if (!form2_) form2_ = std::make_unique<Form2>(context_, [this] { bringToFront(this); });
    bringToFront(form2_.get());
}

void ChaDong::deletemachine_Click() {
    if (!form3_) form3_ = std::make_unique<Form3>(context_, [this] { return machineNames(); });
    bringToFront(form3_.get());
}

Calculation ChaDong::calculation() {
    return [this,
            texts = fieldTexts({moduleField_, degreesOrLatheModuleField_, minutesField_,
                                secondsField_, toleranceField_, partTeethField_}),
            model = machineList_->currentText().toStdString()](SearchControl& control) {
        return calculateDifferential({texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]},
                                     model, context_.catalogueFolder, &control,
                                     context_.fileSystem);
    };
}

std::vector<QLineEdit*> ChaDong::readFields() const {
    std::vector<QLineEdit*> fields{moduleField_, degreesOrLatheModuleField_, minutesField_,
                                   secondsField_, toleranceField_};
    if (!partTeethField_->isHidden()) fields.push_back(partTeethField_);
    return fields;
}

std::string ChaDong::printResults() {
    const std::string model = calculatedText(machineList_);
    const DifferentialPrintFields fields{printerListText(),
                                         calculatedText(moduleField_),
                                         calculatedText(degreesOrLatheModuleField_),
                                         calculatedText(minutesField_),
                                         calculatedText(secondsField_),
                                         calculatedText(partTeethField_),
                                         describeModel(model).needsPartTeeth};
    return printFailureMessage(printDifferentialResults(context_.printBackend, fields, printText(),
                                                        context_.messages.asker(this)));
}

} // namespace kelvaro
