#include "catalogue/add_machine_window.h"

#include "catalogue/add_machine.h"
#include "widgets/field_marks.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace kelvaro {

namespace {

using K = ControlKind;

const FormSpec kForm{"增加机床", 6720, 6030, kLightCyan};

// In focus order. 缺少齿数 (Label4) stands beside Text5 and 机床定数
// (Label5) beside Text4.
const ControlSpec kControls[] = {
    {K::Label, "Label1", "机床型号", 870, 375, 1440, 435, kLabelFont},
    {K::TextBox, "Text1", "", 2760, 315, 1845, 480, kFieldFont},
    {K::Label, "Label2", "最少齿数", 825, 1185, 1440, 435, kLabelFont},
    {K::TextBox, "Text2", "", 2775, 1110, 1845, 480, kFieldFont},
    {K::Label, "Label3", "最大齿数", 825, 1995, 1440, 435, kLabelFont},
    {K::TextBox, "Text3", "", 2760, 1920, 1845, 480, kFieldFont},
    {K::Label, "Label4", "缺少齿数", 855, 3525, 1440, 435, kLabelFont},
    {K::TextBox, "Text4", "", 2760, 2670, 1845, 480, kFieldFont},
    {K::Label, "Label5", "机床定数", 825, 2745, 1440, 435, kLabelFont},
    {K::TextBox, "Text5", "", 2760, 3450, 1845, 480, kFieldFont, 0, "齿数之间用“,”隔开"},
    {K::Button, "Command2", "确认", 1305, 4575, 1155, 585, kFieldFont},
    {K::Button, "Command1", "退出", 3390, 4560, 1155, 585, kFieldFont},
};

// The character code that a key types, as the keystroke check sees it; 0
// for keys that type none (arrows, Delete, Tab, modifiers).
int characterCode(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return 0;
    default:
        break;
    }
    if ((event->modifiers() & Qt::ControlModifier) && event->key() >= Qt::Key_A &&
        event->key() <= Qt::Key_Z)
        return event->key() - Qt::Key_A + 1;
    const QString text = event->text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

} // namespace

Form2::Form2(const WindowContext& context, std::function<void()> showDifferential, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context),
      showDifferential_(std::move(showDifferential)) {
    buildForm(this, kForm, kControls);
    modelField_ = control<QLineEdit>(this, "Text1");
    smallestField_ = control<QLineEdit>(this, "Text2");
    largestField_ = control<QLineEdit>(this, "Text3");
    constantField_ = control<QLineEdit>(this, "Text4");
    missingTeethField_ = control<QLineEdit>(this, "Text5");
    modelField_->installEventFilter(this);
    missingTeethField_->installEventFilter(this);

    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this,
            &Form2::Command2_Click);
    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            &Form2::Command1_Click);
}

Form2::~Form2() = default;

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == modelField_ && event->type() == QEvent::FocusOut) {
        // Only a move of the focus to another control: not a switch of
        // windows, nor a drop-down or the message box itself.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Text1_LostFocus();
    } else if (watched == missingTeethField_ && event->type() == QEvent::KeyPress) {
        const int code = characterCode(static_cast<QKeyEvent*>(event));
        if (code != 0) Text5_KeyPress(code);
    }
    // The key goes on into the field in every case.
    return QWidget::eventFilter(watched, event);
}

void Form2::Text1_LostFocus() {
    const QString model = modelField_->text();
    const qsizetype point = model.indexOf(QLatin1Char('.'));
    if (point < 0) return;
    context_.messages.show(this, QString::fromUtf8(kPointInModelMessage));
    modelField_->setText(model.left(point));
    modelField_->setFocus(Qt::OtherFocusReason);
}

void Form2::Text5_KeyPress(int characterCode) {
    const bool accepted = (characterCode >= '0' && characterCode <= '9') || characterCode == 8 ||
                          characterCode == ',';
    if (!accepted) context_.messages.show(this, QString::fromUtf8(kWrongMissingTeethMessage));
}

void Form2::Command2_Click() {
    const std::string model = modelField_->text().toStdString();
    const std::string minTeeth = smallestField_->text().toStdString();
    const std::string maxTeeth = largestField_->text().toStdString();
    const std::string constant = constantField_->text().toStdString();
    const std::string missing = missingTeethField_->text().toStdString();
    markReadings({smallestField_, largestField_, constantField_});
    AddMachineInput input{model, minTeeth, maxTeeth, constant, missing};
    AddMachineOutcome outcome = addMachine(context_.catalogueFolder, input, context_.fileSystem);
    if (outcome.alreadyListed) {
        // No leaves the dialog open and the catalogue as it was.
        if (!context_.messages.ask(this, QString::fromStdString(outcome.message))) return;
        input.overwrite = true;
        outcome = addMachine(context_.catalogueFolder, input, context_.fileSystem);
    }
    if (!outcome.added) {
        context_.messages.show(this, outcome.message);
        return;
    }
    // The fields keep what was saved; a second Confirm finds the machine
    // listed and asks before it overwrites.
    hide();
}

void Form2::Command1_Click() {
    hide();
    showDifferential_();
}

void Form2::closeEvent(QCloseEvent* event) {
    // Closing through the frame is Exit.
    event->ignore();
    Command1_Click();
}

} // namespace kelvaro
