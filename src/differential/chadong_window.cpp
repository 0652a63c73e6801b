#include "differential/chadong_window.h"

#include "catalogue/form2_window.h"
#include "catalogue/form3_window.h"
#include "catalogue/machine_list.h"
#include "common/activation_watcher.h"
#include "common/calculation_runner.h"
#include "common/form_builder.h"
#include "common/message_box.h"
#include "common/result_list_model.h"
#include "differential/differential_calculation.h"
#include "differential/differential_ratio.h"
#include "printing/printer_controls.h"
#include "printing/result_printout.h"

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

ChaDong::ChaDong(PrintBackend& printBackend, std::string directory, FileSystem& fs, QWidget* parent)
    : QWidget(parent, Qt::Window), printBackend_(printBackend), directory_(std::move(directory)),
      fs_(fs) {
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

    moshu_ = control<QLineEdit>(this, "moshu");
    luoxuanjiaodu_ = control<QLineEdit>(this, "luoxuanjiaodu");
    luoxuanjiaofen_ = control<QLineEdit>(this, "luoxuanjiaofen");
    luoxuanjiaomiao_ = control<QLineEdit>(this, "luoxuanjiaomiao");
    jingdu_ = control<QLineEdit>(this, "jingdu");
    chishu_ = control<QLineEdit>(this, "齿数");
    label12_ = control<QLabel>(this, "Label12");
    combo1_ = control<QComboBox>(this, "Combo1");
    combo2_ = control<QComboBox>(this, "Combo2");
    command3_ = control<QPushButton>(this, "Command3");
    jsjgp_ = control<QListView>(this, "jsjgp");

    results_ = new ResultListModel(this);
    jsjgp_->setModel(results_);

    connect(combo1_, &QComboBox::currentIndexChanged, this, &ChaDong::Combo1_Click);
    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            &ChaDong::Command1_Click);
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this,
            &ChaDong::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &ChaDong::Command3_Click);
    watcher_ = new ActivationWatcher(this, [this] { Form_Activate(); });
}

ChaDong::~ChaDong() {
    // No activation may reach a window that is being taken apart.
    delete watcher_;
}

QStringList ChaDong::machineNames() const {
    QStringList names;
    for (int i = 0; i < combo1_->count(); ++i)
        names << combo1_->itemText(i);
    return names;
}

void ChaDong::Form_Activate() {
    combo1_->blockSignals(true);
    combo1_->clear();
    combo2_->clear();
    const MachineList list = readMachineList(directory_, fs_);
    for (const std::string& name : list.names)
        combo1_->addItem(QString::fromStdString(name));
    // The first machine is chosen; an empty list leaves none chosen.
    combo1_->setCurrentIndex(list.names.empty() ? -1 : 0);
    combo1_->blockSignals(false);
    Combo1_Click();

    applyPrinterList(fillPrinterList(printBackend_), *combo2_, *command3_);

    if (list.status == CatalogueStatus::Failed)
        showMessage(this, QString::fromStdString(list.message));
}

void ChaDong::Combo1_Click() {
    const bool shown = needsPartTeeth(combo1_->currentText().toStdString());
    label12_->setVisible(shown);
    chishu_->setVisible(shown);
}

void ChaDong::addmachine_Click() {
    if (!form2_)
        form2_ = std::make_unique<Form2>(
            directory_, [this] { bringToFront(this); }, fs_);
    bringToFront(form2_.get());
}

void ChaDong::deletemachine_Click() {
    if (!form3_)
        form3_ = std::make_unique<Form3>(
            directory_, [this] { return machineNames(); }, fs_);
    bringToFront(form3_.get());
}

void ChaDong::Command1_Click() {
    const std::string module = moshu_->text().toStdString();
    const std::string degrees = luoxuanjiaodu_->text().toStdString();
    const std::string minutes = luoxuanjiaofen_->text().toStdString();
    const std::string seconds = luoxuanjiaomiao_->text().toStdString();
    const std::string tolerance = jingdu_->text().toStdString();
    const std::string teeth = chishu_->text().toStdString();
    const std::string model = combo1_->currentText().toStdString();
    runAndApply(
        this,
        [&](SearchControl& control) {
            return calculateDifferential({module, degrees, minutes, seconds, tolerance, teeth},
                                         model, directory_, &control, fs_);
        },
        *results_, printText_);
}

void ChaDong::Command2_Click() {
    hide();
}

void ChaDong::Command3_Click() {
    const DifferentialPrintFields fields{
        combo2_->currentText().toStdString(),   moshu_->text().toStdString(),
        luoxuanjiaodu_->text().toStdString(),   luoxuanjiaofen_->text().toStdString(),
        luoxuanjiaomiao_->text().toStdString(), combo1_->currentText().toStdString(),
        chishu_->text().toStdString()};
    reportPrintStatus(printDifferentialResults(printBackend_, fields, printText_), this);
}

void ChaDong::closeEvent(QCloseEvent* event) {
    // Closing through the frame is Exit: hidden, contents kept.
    event->ignore();
    Command2_Click();
}

} // namespace kelvaro
