#include "shell/start_window.h"

#include "differential/chadong_window.h"
#include "job/job_window.h"
#include "ordinary/putong_window.h"
#include "widgets/clickable_label.h"
#include "widgets/form_builder.h"

#include <QCloseEvent>
#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace kelvaro {

namespace {

using K = ControlKind;

const FormSpec kForm{"Kelvaro", 8640, 6360, kLightCyan, {"宋体", 24, true}};

const ControlSpec kControls[] = {
    {K::ClickableLabel, "Label2", "普通Kelvaro", 2580, 1980, 2985, 480},
    {K::ClickableLabel, "Label3", "差动Kelvaro", 2580, 3090, 2985, 480},
    {K::ClickableLabel, "Label4", "滚齿调整", 3105, 4155, 2010, 480},
    {K::ClickableLabel, "Label1", "结  束", 3405, 5220, 1515, 480},
    {K::Label, "Label5", "齿轮机床挂轮计算  Kelvaro 1.0", 540, 255, 3960, 240, kComboFont},
};

} // namespace

Form1::Form1(const WindowContext& context, std::function<void()> endProgram, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context), endProgram_(std::move(endProgram)) {
    buildForm(this, kForm, kControls);
    setWindowIcon(QIcon(QStringLiteral(":/kelvaro.png")));

    const QCursor pointer(QPixmap(QStringLiteral(":/pointer.png")), 1, 1);
    const std::pair<const char*, void (Form1::*)()> captions[] = {
        {"Label2", &Form1::Label2_Click},
        {"Label3", &Form1::Label3_Click},
        {"Label4", &Form1::Label4_Click},
        {"Label1", &Form1::Label1_Click},
    };
    for (const auto& [name, handler] : captions) {
        auto* label = control<ClickableLabel>(this, name);
        label->setCursor(pointer);
        connect(label, &ClickableLabel::clicked, this, handler);
    }
}

Form1::~Form1() = default;

void Form1::Label2_Click() {
    if (!puTong_) puTong_ = std::make_unique<PuTong>(context_);
    bringToFront(puTong_.get());
}

void Form1::Label3_Click() {
    if (!chaDong_) chaDong_ = std::make_unique<ChaDong>(context_);
    bringToFront(chaDong_.get());
}

void Form1::Label4_Click() {
    if (!gunChi_) gunChi_ = std::make_unique<GunChi>(context_);
    bringToFront(gunChi_.get());
}

void Form1::Label1_Click() {
    endProgram_();
}

void Form1::closeEvent(QCloseEvent* event) {
    // Closing the start window through its frame ends the program, as 结  束 does.
    event->ignore();
    Label1_Click();
}

} // namespace kelvaro
