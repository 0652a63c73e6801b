#include "job/job_window.h"

#include "catalogue/machine_list.h"
#include "job/job_card.h"
#include "job/job_report.h"
#include "job/machine_data_window.h"
#include "platform/file_system.h"
#include "printing/pane_services.h"
#include "widgets/activation_watcher.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"
#include "widgets/train_drawing.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelvaro {

namespace {

using K = ControlKind;

const FormSpec kForm{"滚齿调整", 12300, 8160, kLightCyan, {"Arial", 8.25}};
constexpr FontSpec kSmallLabel{"MS Sans Serif", 12};
constexpr FontSpec kListFont{"MS Sans Serif", 10.5};

// In focus order. The two drawings stand below the list (kDrawings).
const ControlSpec kControls[] = {
    {K::Label, "Label1", "机床型号", 300, 345, 1440, 435, kSmallLabel},
    {K::ComboBox, "Combo1", "", 1860, 300, 2700, 360, kComboFont},
    {K::Label, "Label2", "零件齿数 Z", 300, 885, 1440, 435, kSmallLabel},
    {K::TextBox, "chishu", "", 1860, 840, 1000, 420, kFieldFont},
    {K::Label, "Label3", "滚刀头数 K", 300, 1425, 1440, 435, kSmallLabel},
    {K::TextBox, "toushu", "1", 1860, 1380, 1000, 420, kFieldFont},
    {K::Label, "Label4", "法向模数 m", 300, 1965, 1440, 435, kSmallLabel},
    {K::TextBox, "moshu", "", 1860, 1920, 1000, 420, kFieldFont},
    {K::Label, "Label5", "螺旋角", 300, 2505, 1440, 435, kSmallLabel},
    {K::TextBox, "luoxuanjiaodu", "0", 1860, 2460, 640, 420, kFieldFont},
    {K::Label, "Label6", "度", 2540, 2505, 300, 435, kSmallLabel},
    {K::TextBox, "luoxuanjiaofen", "0", 2880, 2460, 640, 420, kFieldFont},
    {K::Label, "Label7", "分", 3560, 2505, 300, 435, kSmallLabel},
    {K::TextBox, "luoxuanjiaomiao", "0", 3900, 2460, 640, 420, kFieldFont},
    {K::Label, "Label8", "秒", 4580, 2505, 300, 435, kSmallLabel},
    {K::Label, "Label9", "允许误差", 300, 3045, 1440, 435, kSmallLabel},
    {K::TextBox, "jingdu", "0.00001", 1860, 3000, 1300, 420, kFieldFont},
    {K::Label, "Label10", "滚刀升角 λ", 300, 3585, 1440, 435, kSmallLabel},
    {K::TextBox, "shengjiao", "", 1860, 3540, 1000, 420, kFieldFont},
    {K::ComboBox, "Combo3", "", 3000, 3570, 1700, 360, kComboFont},
    {K::Label, "Label11", "试切修正", 300, 4125, 1440, 435, kSmallLabel},
    {K::ComboBox, "Combo4", "", 1860, 4110, 1700, 360, kComboFont},
    {K::Label, "Label12", "偏差 f (µm)", 300, 4665, 1440, 435, kSmallLabel},
    {K::TextBox, "piancha", "", 1860, 4620, 1000, 420, kFieldFont},
    {K::Label, "Label13", "长度 L (mm)", 300, 5205, 1440, 435, kSmallLabel},
    {K::TextBox, "changdu", "", 1860, 5160, 1000, 420, kFieldFont},
    {K::Button, "Command1", "计算", 300, 5940, 1800, 600, kFieldFont},
    {K::Button, "Command4", "机床资料", 2400, 5940, 1800, 600, kFieldFont},
    {K::Button, "Command3", "打印调整卡", 300, 6720, 1800, 600, kFieldFont},
    {K::Button, "Command2", "退出", 2400, 6720, 1800, 600, kFieldFont},
    {K::Label, "Label14", "打印机", 300, 7545, 900, 435, kSmallLabel},
    {K::ComboBox, "Combo2", "", 1260, 7530, 3300, 360, kComboFont},
    {K::ListBox, "jsjgp", "", 5100, 300, 6900, 3900, kListFont},
    {K::Label, "Label15", "分齿挂轮", 5100, 4290, 1440, 435, kSmallLabel},
    {K::Label, "Label16", "差动挂轮", 8580, 4290, 2400, 435, kSmallLabel},
};

// The drawings of the index and the differential train: name, left, top, width, height.
const struct {
    const char* name;
    int left, top, width, height;
} kDrawings[] = {{"fenchitu", 5100, 4800, 3420, 3090}, {"chadongtu", 8580, 4800, 3420, 3090}};

} // namespace

GunChi::GunChi(const WindowContext& context, QWidget* parent)
    : CalculationWindow(context, parent),
      pending_(std::make_shared<std::shared_ptr<const HobbingJob>>()) {
    buildForm(this, kForm, kControls);
    for (const char* name : {"chishu", "toushu", "moshu", "luoxuanjiaodu", "luoxuanjiaofen",
                             "luoxuanjiaomiao", "jingdu"})
        numberFields_.push_back(control<QLineEdit>(this, name));
    leadField_ = control<QLineEdit>(this, "shengjiao");
    deviationField_ = control<QLineEdit>(this, "piancha");
    lengthField_ = control<QLineEdit>(this, "changdu");
    machineList_ = control<QComboBox>(this, "Combo1");
    handsList_ = control<QComboBox>(this, "Combo3");
    handsList_->addItems({QStringLiteral("同旋向"), QStringLiteral("异旋向")});
    measuredList_ = control<QComboBox>(this, "Combo4");
    measuredList_->addItems({QStringLiteral("不修正"), QStringLiteral("实测螺旋角偏大"),
                             QStringLiteral("实测螺旋角偏小")});
    differentialCaption_ = control<QLabel>(this, "Label16");

    const int dpi = logicalDpiY();
    TrainDrawing* drawings[2];
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& d = kDrawings[i];
        drawings[i] = new TrainDrawing(this);
        drawings[i]->setObjectName(QString::fromUtf8(d.name));
        drawings[i]->setMinimumSize(0, 0);
        drawings[i]->setGeometry(twipsToPixels(d.left, dpi), twipsToPixels(d.top, dpi),
                                 twipsToPixels(d.width, dpi), twipsToPixels(d.height, dpi));
    }
    indexDrawing_ = drawings[0];
    differentialDrawing_ = drawings[1];

    std::vector<QLineEdit*> enterFields = numberFields_;
    enterFields.insert(enterFields.end(), {leadField_, deviationField_, lengthField_});
    setUpPane("Combo2", enterFields,
              paneServices(context_.printBackend, wholeFileWriter(context_.fileSystem)));
    connect(control<QPushButton>(this, "Command4"), &QPushButton::clicked, this,
            &GunChi::Command4_Click);
    fillPrinters();
    watcher_ = new ActivationWatcher(this, [this] {
        if (!calculationRunning()) Form_Activate();
    });
}

GunChi::~GunChi() {
    delete watcher_;
}

void GunChi::Form_Activate() {
    const QString chosen = machineList_->currentText();
    machineList_->clear();
    const MachineList list = readMachineList(context_.catalogueFolder, context_.fileSystem);
    for (const std::string& name : list.names)
        machineList_->addItem(QString::fromStdString(name));
    const int kept = machineList_->findText(chosen);
    machineList_->setCurrentIndex(kept >= 0 ? kept : (machineList_->count() > 0 ? 0 : -1));
}

void GunChi::Command4_Click() {
    const std::string model = machineList_->currentText().toStdString();
    if (model.empty()) {
        context_.messages.show(this, QStringLiteral("选择机床型号"));
        return;
    }
    if (!machineData_) machineData_ = std::make_unique<JiChuangZiLiao>(context_);
    machineData_->open(model);
}

Calculation GunChi::calculation() {
    JobRequest request;
    request.model = machineList_->currentText().toStdString();
    std::string* texts[] = {&request.teeth,   &request.starts,  &request.module,   &request.degrees,
                            &request.minutes, &request.seconds, &request.tolerance};
    for (std::size_t i = 0; i < numberFields_.size(); ++i)
        *texts[i] = numberFields_[i]->text().toStdString();
    request.hobLead = leadField_->text().toStdString();
    request.hands = handsList_->currentIndex() == 0 ? Hands::Same : Hands::Opposite;
    const JobRequest::Measured measured[] = {
        JobRequest::Measured::None, JobRequest::Measured::Larger, JobRequest::Measured::Smaller};
    request.measured = measured[std::max(0, measuredList_->currentIndex())];
    request.deviation = deviationField_->text().toStdString();
    request.length = lengthField_->text().toStdString();
    return [request, pending = pending_, directory = context_.catalogueFolder,
            &fs = context_.fileSystem](SearchControl& control) {
        auto job =
            std::make_shared<const HobbingJob>(runHobbingJob(request, directory, &control, fs));
        CalculationOutcome outcome;
        outcome.replaceResults = true;
        outcome.message = job->message;
        if (job->message.empty()) outcome.items = jobLines(*job);
        *pending = std::move(job);
        return outcome;
    };
}

void GunChi::calculated() {
    job_ = *pending_;
    const bool ok = job_ && job_->message.empty();
    const bool corrected = ok && job_->correction && job_->correction->set;
    indexDrawing_->setTrain(ok ? job_->indexSet : std::nullopt);
    std::optional<GearSet> differential;
    if (corrected)
        differential = job_->correction->set->set;
    else if (ok && job_->differential)
        differential = job_->differential->set;
    differentialDrawing_->setTrain(differential);
    differentialCaption_->setText(corrected ? QStringLiteral("差动挂轮（修正后）")
                                            : QStringLiteral("差动挂轮"));
    differentialCaption_->adjustSize();
}

std::vector<QLineEdit*> GunChi::readFields() const {
    return numberFields_;
}

std::string GunChi::printResults() {
    if (!job_ || !job_->message.empty()) return "请先计算出调整结果";
    return printFailureMessage(printJobCard(context_.printBackend, printerListText(), *job_));
}

} // namespace kelvaro
