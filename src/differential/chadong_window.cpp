#include "differential/chadong_window.h"

#include "catalogue/add_machine_window.h"
#include "catalogue/delete_machine_window.h"
#include "catalogue/file_system.h"
#include "catalogue/machine_list.h"
#include "differential/differential_calculation.h"
#include "gears/differential_ratio.h"
#include "printing/printer_choice.h"
#include "printing/result_printout.h"
#include "printing/setup_sheet.h"
#include "widgets/activation_watcher.h"
#include "widgets/calculation_runner.h"
#include "widgets/field_marks.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"
#include "widgets/printer_controls.h"
#include "widgets/result_list_actions.h"
#include "widgets/result_list_model.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
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
    : QWidget(parent, Qt::Window), context_(context) {
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
    degreesField_ = control<QLineEdit>(this, "luoxuanjiaodu");
    minutesField_ = control<QLineEdit>(this, "luoxuanjiaofen");
    secondsField_ = control<QLineEdit>(this, "luoxuanjiaomiao");
    toleranceField_ = control<QLineEdit>(this, "jingdu");
    partTeethField_ = control<QLineEdit>(this, "齿数");
    partTeethLabel_ = control<QLabel>(this, "Label12");
    machineList_ = control<QComboBox>(this, "Combo1");
    printerList_ = control<QComboBox>(this, "Combo2");
    printButton_ = control<QPushButton>(this, "Command3");
    resultList_ = control<QListView>(this, "jsjgp");

    results_ = new ResultListModel(this);
    resultList_->setModel(results_);
    listActions_ = new ResultListActions(
        resultList_, results_, context_.messages,
        [this](const SetDetails& details) { printSetupSheet(details); },
        [this](const std::string& path, const std::string& bytes) {
            return writeWholeFile(context_.fileSystem, path, bytes);
        });

    connect(machineList_, &QComboBox::currentIndexChanged, this, &ChaDong::Combo1_Click);
    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            &ChaDong::Command1_Click);
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this,
            &ChaDong::Command2_Click);
    connect(printButton_, &QPushButton::clicked, this, &ChaDong::Command3_Click);
    // Enter in a field calculates.
    for (QLineEdit* field : {moduleField_, degreesField_, minutesField_, secondsField_,
                             toleranceField_, partTeethField_})
        connect(field, &QLineEdit::returnPressed, this, &ChaDong::Command1_Click);
    watcher_ = new ActivationWatcher(this, [this] { activated(); });
}

ChaDong::~ChaDong() {
    // No activation may reach a window that is being taken apart.
    delete watcher_;
}

std::string ChaDong::printText() const {
    return results_->printText();
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
    printerList_->clear();
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

    const PrinterListContents printers = fillPrinterList(context_.printBackend);
    applyPrinterList(printers.items, printers.selected, printers.disablePrint, *printerList_,
                     *printButton_);

    if (list.status == CatalogueStatus::Failed) context_.messages.show(this, list.message);
}

void ChaDong::Combo1_Click() {
    const bool shown =
        machineKind(machineList_->currentText().toStdString()) == MachineKind::PartTeeth;
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

void ChaDong::Command1_Click() {
    const std::string module = moduleField_->text().toStdString();
    const std::string degrees = degreesField_->text().toStdString();
    const std::string minutes = minutesField_->text().toStdString();
    const std::string seconds = secondsField_->text().toStdString();
    const std::string tolerance = toleranceField_->text().toStdString();
    const std::string teeth = partTeethField_->text().toStdString();
    const std::string model = machineList_->currentText().toStdString();
    auto outcome = runCalculation(this, [&](SearchControl& control) {
        return calculateDifferential({module, degrees, minutes, seconds, tolerance, teeth}, model,
                                     context_.catalogueFolder, &control, context_.fileSystem);
    });
    if (!outcome) return;
    listActions_->show(std::move(*outcome), this);
    markReadings({moduleField_, degreesField_, minutesField_, secondsField_, toleranceField_});
    if (!partTeethField_->isHidden()) markReadings({partTeethField_});
}

void ChaDong::Command2_Click() {
    hide();
}

void ChaDong::Command3_Click() {
    const std::string model = machineList_->currentText().toStdString();
    const DifferentialPrintFields fields{
        printerList_->currentText().toStdString(),   moduleField_->text().toStdString(),
        degreesField_->text().toStdString(),         minutesField_->text().toStdString(),
        secondsField_->text().toStdString(),         partTeethField_->text().toStdString(),
        machineKind(model) == MachineKind::PartTeeth};
    const PrintStatus status = printDifferentialResults(context_.printBackend, fields, printText(),
                                                        context_.messages.asker(this));
    if (!status.ok()) context_.messages.show(this, printFailureMessage(status));
}

void ChaDong::printSetupSheet(const SetDetails& details) {
    const PrintStatus status = kelvaro::printSetupSheet(
        context_.printBackend, printerList_->currentText().toStdString(), details);
    if (!status.ok())
        context_.messages.show(listActions_->detailsWindow(), printFailureMessage(status));
}

void ChaDong::closeEvent(QCloseEvent* event) {
    // Closing through the frame is Exit: hidden, contents kept.
    event->ignore();
    Command2_Click();
}

} // namespace kelvaro
