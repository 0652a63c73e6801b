#include "catalogue/form2_window.h"

#include "catalogue/add_machine.h"
#include "common/form_builder.h"
#include "common/message_box.h"

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

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

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

Form2::Form2(std::string directory, std::function<void()> showDifferential, FileSystem& fs,
             QWidget* parent)
    : QWidget(parent, Qt::Window), directory_(std::move(directory)), fs_(fs),
      showDifferential_(std::move(showDifferential)) {
    buildForm(this, kForm, kControls);
    text1_ = control<QLineEdit>(this, "Text1");
    text2_ = control<QLineEdit>(this, "Text2");
    text3_ = control<QLineEdit>(this, "Text3");
    text4_ = control<QLineEdit>(this, "Text4");
    text5_ = control<QLineEdit>(this, "Text5");
    text1_->installEventFilter(this);
    text5_->installEventFilter(this);

    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this,
            &Form2::Command2_Click);
    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            &Form2::Command1_Click);
}

Form2::~Form2() = default;

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text1_ && event->type() == QEvent::FocusOut) {
        // Only a move of the focus to another control: not a switch of
        // windows, nor a drop-down or the message box itself.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Text1_LostFocus();
    } else if (watched == text5_ && event->type() == QEvent::KeyPress) {
        const int code = characterCode(static_cast<QKeyEvent*>(event));
        if (code != 0) Text5_KeyPress(code);
    }
    // The key goes on into the field in every case.
    return QWidget::eventFilter(watched, event);
}

void Form2::Text1_LostFocus() {
    const QString model = text1_->text();
    const qsizetype point = model.indexOf(QLatin1Char('.'));
    if (point < 0) return;
    showMessage(this, QString::fromUtf8(kPointInModelMessage));
    text1_->setText(model.left(point));
    text1_->setFocus(Qt::OtherFocusReason);
}

void Form2::Text5_KeyPress(int characterCode) {
    const bool accepted = (characterCode >= '0' && characterCode <= '9') || characterCode == 8 ||
                          characterCode == ',';
    if (!accepted) showMessage(this, QString::fromUtf8(kWrongMissingTeethMessage));
}

void Form2::Command2_Click() {
    const std::string model = text1_->text().toStdString();
    const std::string minTeeth = text2_->text().toStdString();
    const std::string maxTeeth = text3_->text().toStdString();
    const std::string constant = text4_->text().toStdString();
    const std::string missing = text5_->text().toStdString();
    const AddMachineOutcome outcome =
        addMachine(directory_, {model, minTeeth, maxTeeth, constant, missing}, fs_);
    if (!outcome.added) {
        showMessage(this, fromUtf8(outcome.message));
        return;
    }
    text5_->setText(fromUtf8(outcome.lastMissing));
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
