#include "catalogue/delete_machine_window.h"

#include "catalogue/machine_list.h"
#include "widgets/activation_watcher.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"

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

Form3::Form3(const WindowContext& context, std::function<QStringList()> machineNames,
             QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context), machineNames_(std::move(machineNames)) {
    buildForm(this, kForm, kControls);
    machineList_ = control<QComboBox>(this, "Combo1");
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
    machineList_->clear();
    machineList_->addItems(machineNames_());
    machineList_->setCurrentIndex(-1);
}

void Form3::Command2_Click() {
    const std::string model = machineList_->currentText().toStdString();
    // Without a choice nothing is listed under the empty name: no question.
    const bool chosen = !model.empty();
    if (chosen &&
        !context_.messages.ask(this, QString::fromStdString(deleteMachineQuestion(model))))
        return;
    const CatalogueResult removed =
        removeMachineName(context_.catalogueFolder, model, context_.fileSystem);
    if (removed.failed()) {
        // The list is as it was; the dialog stays open to try again.
        context_.messages.show(this, removed.message);
        return;
    }
    if (chosen) context_.messages.show(this, machineDeletedMessage(model));
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
