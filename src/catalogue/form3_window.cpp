#include "catalogue/form3_window.h"

#include "catalogue/machine_list.h"
#include "common/activation_watcher.h"
#include "common/form_builder.h"
#include "common/message_box.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>

namespace kelvaro {

namespace {

using K = ControlKind;

const FormSpec kForm{"删除机床", 5175, 3030, kDarkRed};

const ControlSpec kControls[] = {
    {K::Label, "Label1", "机床型号", 1020, 1095, 1440, 435, {"MS Sans Serif", 18}, kOwnBackground},
    {K::Button, "Command1", "退回", 1155, 2055, 1155, 585, kFieldFont},
    {K::Button, "Command2", "确认", 3075, 2010, 1155, 585, kFieldFont},
    {K::ComboBox, "Combo1", "", 2790, 1110, 1710, 360, kComboFont},
};

} // namespace

Form3::Form3(std::string directory, std::function<QStringList()> machineList, FileSystem& fs,
             QWidget* parent)
    : QWidget(parent, Qt::Window), directory_(std::move(directory)), fs_(fs),
      machineList_(std::move(machineList)) {
    buildForm(this, kForm, kControls);
    combo1_ = control<QComboBox>(this, "Combo1");
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this,
            &Form3::Command2_Click);
    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            &Form3::Command1_Click);
    watcher_ = new ActivationWatcher(this, [this] { Form_Activate(); });
}

Form3::~Form3() {
    // No activation may reach a window that is being taken apart.
    delete watcher_;
}

void Form3::Form_Activate() {
    combo1_->clear();
    combo1_->addItems(machineList_());
    combo1_->setCurrentIndex(-1);
}

void Form3::Command2_Click() {
    const std::string model = combo1_->currentText().toStdString();
    const CatalogueResult removed = removeMachineName(directory_, model, fs_);
    if (removed.failed()) {
        // The list is as it was; the dialog stays open to try again.
        showMessage(this, QString::fromStdString(removed.message));
        return;
    }
    Command1_Click();
}

void Form3::Command1_Click() {
    hide();
}

void Form3::closeEvent(QCloseEvent* event) {
    // Closing through the frame is Back.
    event->ignore();
    Command1_Click();
}

} // namespace kelvaro
