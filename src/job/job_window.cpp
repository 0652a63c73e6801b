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
#include <QDate>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kelvaro {

namespace {

QString joined(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines)
        texts << QString::fromStdString(line);
    return texts.join(QLatin1Char('\n'));
}

// A wrapped label asks for the height its text takes at the width it was
// given: nested layouts size it by its hint's width otherwise, and cut it.
class WrappingLabel final : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        const int needed = heightForWidth(width());
        if (needed != minimumHeight()) setMinimumHeight(needed);
    }
};

QLabel* wrappingLabel(QWidget* parent, const char* name) {
    auto* label = new WrappingLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLineEdit* field(QWidget* parent, const char* name, const char* caption, const char* text = "") {
    auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setAccessibleName(QString::fromUtf8(caption));
    return edit;
}

QComboBox* list(QWidget* parent, const char* name, const char* caption, QStringList items) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromUtf8(name));
    combo->setAccessibleName(QString::fromUtf8(caption));
    combo->addItems(items);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

// Text in `color`, or (invalid) as the parent has it. A palette, not a
// style sheet: a style sheet would drop the font the window hands down.
void setTextColor(QWidget* widget, const QColor& color) {
    if (!color.isValid()) {
        widget->setPalette(QPalette());
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

const QStringList kHands = {QStringLiteral("右旋"), QStringLiteral("左旋")};

Hand handOf(const QComboBox* list) {
    return list->currentIndex() == 0 ? Hand::Right : Hand::Left;
}

} // namespace

GunChi::GunChi(const WindowContext& context, QWidget* parent)
    : CalculationWindow(context, parent), pending_(std::make_shared<Pending>()) {
    setObjectName(QStringLiteral("GunChi"));
    setWindowTitle(QStringLiteral("滚齿调整"));
    // The other windows' face, at a size for reading.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10.5);
    setFont(font);

    auto* part = new QGroupBox(QStringLiteral("零件"), this);
    auto* partForm = new QFormLayout(part);
    numberFields_ = {field(part, "chishu", "零件齿数 Z"),
                     field(part, "toushu", "滚刀头数 K", "1"),
                     field(part, "moshu", "法向模数 m"),
                     field(part, "luoxuanjiaodu", "螺旋角（度）", "0"),
                     field(part, "luoxuanjiaofen", "螺旋角（分）", "0"),
                     field(part, "luoxuanjiaomiao", "螺旋角（秒）", "0"),
                     field(part, "jingdu", "差动允差", "0.00001")};
    partForm->addRow(QStringLiteral("齿数 Z"), numberFields_[0]);
    partForm->addRow(QStringLiteral("法向模数 m"), numberFields_[2]);
    auto* angle = new QHBoxLayout;
    const char* units[] = {"度", "分", "秒"};
    for (int i = 0; i < 3; ++i) {
        // Room for "59.999" and the cursor: the row then sets the column's width.
        const QFontMetrics metrics = numberFields_[3 + i]->fontMetrics();
        numberFields_[3 + i]->setMaximumWidth(
            metrics.horizontalAdvance(QStringLiteral("00000000")));
        numberFields_[3 + i]->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("00.000")));
        angle->addWidget(numberFields_[3 + i], 1);
        angle->addWidget(new QLabel(QString::fromUtf8(units[i]), part));
    }
    partHandList_ = list(part, "gongjianxuanxiang", "工件旋向", kHands);
    angle->addWidget(partHandList_);
    partForm->addRow(QStringLiteral("螺旋角 β"), angle);
    widthField_ = field(part, "chikuan", "齿宽");
    partForm->addRow(QStringLiteral("齿宽 (mm)"), widthField_);
    partForm->addRow(QStringLiteral("差动允差"), numberFields_[6]);

    auto* hob = new QGroupBox(QStringLiteral("滚刀"), this);
    auto* hobForm = new QFormLayout(hob);
    numberFields_[1]->setParent(hob);
    hobForm->addRow(QStringLiteral("头数 K"), numberFields_[1]);
    leadField_ = field(hob, "shengjiao", "滚刀升角 λ");
    leadField_->setPlaceholderText(QStringLiteral("安装角要用"));
    hobHandList_ = list(hob, "gundaoxuanxiang", "滚刀旋向", kHands);
    auto* lead = new QHBoxLayout;
    lead->addWidget(leadField_, 1);
    lead->addWidget(hobHandList_);
    hobForm->addRow(QStringLiteral("螺旋升角 λ (°)"), lead);

    auto* machine = new QGroupBox(QStringLiteral("机床"), this);
    auto* machineForm = new QFormLayout(machine);
    machineList_ = list(machine, "Combo1", "机床型号", {});
    machineList_->setMinimumContentsLength(12);
    auto* machineRow = new QHBoxLayout;
    machineRow->addWidget(machineList_, 1);
    machineRow->addWidget(button(machine, "Command4", "机床资料"));
    machineForm->addRow(QStringLiteral("型号"), machineRow);
    feedField_ = field(machine, "jingei", "进给 s");
    feedField_->setPlaceholderText(QStringLiteral("差动分齿和进给挂轮要用"));
    machineForm->addRow(QStringLiteral("进给 s (mm/r)"), feedField_);

    auto* correction = new QGroupBox(QStringLiteral("试切修正"), this);
    auto* correctionForm = new QFormLayout(correction);
    measuredList_ = list(correction, "Combo4", "试切修正",
                         {QStringLiteral("不修正"), QStringLiteral("实测螺旋角偏大"),
                          QStringLiteral("实测螺旋角偏小")});
    correctionForm->addRow(QStringLiteral("实测"), measuredList_);
    deviationField_ = field(correction, "piancha", "偏差 f");
    correctionForm->addRow(QStringLiteral("偏差 f (µm)"), deviationField_);
    lengthField_ = field(correction, "changdu", "长度 L");
    correctionForm->addRow(QStringLiteral("长度 L (mm)"), lengthField_);

    auto* actions = new QGridLayout;
    actions->addWidget(button(this, "Command1", "计算"), 0, 0);
    actions->addWidget(button(this, "Command3", "打印调整卡"), 0, 1);
    actions->addWidget(button(this, "Command2", "退出"), 0, 2);
    auto* printerLabel = new QLabel(QStringLiteral("打印机"), this);
    actions->addWidget(printerLabel, 1, 0, Qt::AlignRight);
    auto* printers = new QComboBox(this);
    printers->setObjectName(QStringLiteral("Combo2"));
    printers->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    printers->setMinimumContentsLength(10);
    actions->addWidget(printers, 1, 1, 1, 2);
    // The job in lines, for copying; the panels show it.
    auto* lines = new QListView(this);
    lines->setObjectName(QStringLiteral("jsjgp"));
    lines->hide();

    auto* inputsPane = new QWidget(this);
    inputsPane->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* inputsColumn = new QVBoxLayout(inputsPane);
    inputsColumn->setContentsMargins(0, 0, 0, 0);
    for (QWidget* group : std::initializer_list<QWidget*>{part, hob, machine, correction})
        inputsColumn->addWidget(group);
    inputsColumn->addLayout(actions);
    inputsColumn->addStretch();

    results_ = new QWidget(this);
    results_->setObjectName(QStringLiteral("jieguo"));
    auto* resultsColumn = new QVBoxLayout(results_);
    resultsColumn->setContentsMargins(0, 0, 0, 0);
    status_ = wrappingLabel(results_, "zhuangtai");
    status_->setText(QStringLiteral("填好零件和滚刀，选好机床，按“计算”。"));
    resultsColumn->addWidget(status_);
    // The machine's constants, with the index row used.
    constants_ = wrappingLabel(results_, "changshu");
    resultsColumn->addWidget(constants_);
    trainPanels_ = new QHBoxLayout;
    resultsColumn->addLayout(trainPanels_, 1);
    // The setting angle beside the notes, so that a small screen keeps the
    // drawings' height.
    auto* lastRow = new QHBoxLayout;
    auto* settingBox = new QGroupBox(QStringLiteral("滚刀安装角"), results_);
    (new QVBoxLayout(settingBox))->addWidget(setting_ = wrappingLabel(settingBox, "anzhuangjiao"));
    lastRow->addWidget(settingBox, 1);
    auto* notesBox = new QGroupBox(QStringLiteral("备注"), results_);
    (new QVBoxLayout(notesBox))->addWidget(notes_ = wrappingLabel(notesBox, "beizhu"));
    lastRow->addWidget(notesBox, 1);
    resultsColumn->addLayout(lastRow);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(inputsPane, 0);
    layout->addWidget(results_, 1);
    layout->addWidget(lines);

    std::vector<QLineEdit*> enterFields = numberFields_;
    enterFields.insert(enterFields.end(),
                       {leadField_, widthField_, feedField_, deviationField_, lengthField_});
    setUpPane("Combo2", enterFields,
              paneServices(context_.printBackend, wholeFileWriter(context_.fileSystem)));
    connect(control<QPushButton>(this, "Command4"), &QPushButton::clicked, this,
            &GunChi::Command4_Click);
    for (const auto& [input, text] : inputs()) {
        if (const auto* edit = qobject_cast<const QLineEdit*>(input))
            connect(edit, &QLineEdit::textChanged, this, &GunChi::markResultStale);
        else
            connect(static_cast<const QComboBox*>(input), &QComboBox::currentTextChanged, this,
                    &GunChi::markResultStale);
    }
    fillPrinters();
    watcher_ = new ActivationWatcher(this, [this] {
        if (!calculationRunning()) Form_Activate();
    });
    // Roomy where the screen allows; the layout's minimum where it does not.
    QSize wanted(1100, 720);
    if (const QScreen* screen = this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() - QSize(20, 60));
    resize(wanted.expandedTo(minimumSizeHint()));
}

GunChi::~GunChi() {
    delete watcher_;
}

std::map<const QWidget*, QString> GunChi::inputs() const {
    std::map<const QWidget*, QString> texts;
    for (const QLineEdit* edit : numberFields_)
        texts[edit] = edit->text();
    for (const QLineEdit* edit :
         {leadField_, widthField_, feedField_, deviationField_, lengthField_})
        texts[edit] = edit->text();
    for (const QComboBox* combo : {machineList_, partHandList_, hobHandList_, measuredList_})
        texts[combo] = combo->currentText();
    return texts;
}

void GunChi::Form_Activate() {
    const QString chosen = machineList_->currentText();
    const QSignalBlocker blocker(machineList_);
    machineList_->clear();
    const MachineList list = readMachineList(context_.catalogueFolder, context_.fileSystem);
    for (const std::string& name : list.names)
        machineList_->addItem(QString::fromStdString(name));
    const int kept = machineList_->findText(chosen);
    machineList_->setCurrentIndex(kept >= 0 ? kept : (machineList_->count() > 0 ? 0 : -1));
    markStale();
    markResultStale();
}

void GunChi::Command4_Click() {
    const std::string model = machineList_->currentText().toStdString();
    if (model.empty()) {
        context_.messages.show(this, QStringLiteral("选择机床型号"));
        return;
    }
    if (!machineData_) {
        machineData_ = std::make_unique<JiChuangZiLiao>(context_);
        connect(machineData_.get(), &JiChuangZiLiao::saved, this, [this] {
            if (job_ && machineData_->model() == request_.model) dataSaved_ = true;
            markResultStale();
        });
    }
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
    request.faceWidth = widthField_->text().toStdString();
    request.feed = feedField_->text().toStdString();
    request.partHand = handOf(partHandList_);
    request.hobHand = handOf(hobHandList_);
    const JobRequest::Measured measured[] = {
        JobRequest::Measured::None, JobRequest::Measured::Larger, JobRequest::Measured::Smaller};
    request.measured = measured[std::max(0, measuredList_->currentIndex())];
    request.deviation = deviationField_->text().toStdString();
    request.length = lengthField_->text().toStdString();
    pendingRequest_ = request;
    pendingInputs_ = inputs();
    return [request, pending = pending_, directory = context_.catalogueFolder,
            &fs = context_.fileSystem](SearchControl& control) {
        auto job =
            std::make_shared<const HobbingJob>(runHobbingJob(request, directory, &control, fs));
        CalculationOutcome outcome;
        outcome.replaceResults = true;
        outcome.message = job->message;
        if (job->message.empty()) outcome.items = jobLines(*job);
        pending->job = std::move(job);
        return outcome;
    };
}

void GunChi::calculated() {
    job_ = pending_->job;
    request_ = pendingRequest_;
    calculatedInputs_ = pendingInputs_;
    dataSaved_ = false;
    sheet_ = job_ ? jobSheet(*job_, request_) : JobSheet{};
    showSheet();
    markResultStale();
}

void GunChi::showSheet() {
    while (QLayoutItem* item = trainPanels_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const bool ok = job_ && sheet_.message.empty();
    status_->setText(ok ? joined(sheet_.job) : QString::fromStdString(sheet_.message));
    setTextColor(status_, ok ? QColor() : QColor(0xc0, 0, 0));
    QStringList constants;
    for (const std::string& line : sheet_.constants)
        constants << QString::fromStdString(line);
    constants_->setText(ok ? constants.join(QStringLiteral("；")) : QString());
    setting_->setText(ok ? joined(sheet_.setting) : QString());
    notes_->setText(ok ? joined(sheet_.notes) : QString());
    if (!ok) return;
    int number = 0;
    for (const TrainView& train : sheet_.trains) {
        auto* panel = new QGroupBox(QString::fromStdString(train.title), results_);
        panel->setObjectName(QStringLiteral("train%1").arg(number++));
        auto* column = new QVBoxLayout(panel);
        QLabel* gears = wrappingLabel(panel, "gears");
        QFont big = gears->font();
        big.setPointSizeF(big.pointSizeF() * 1.5);
        big.setBold(true);
        gears->setFont(big);
        gears->setText(QString::fromStdString(train.gears));
        column->addWidget(gears);
        std::vector<std::string> facts;
        if (!train.shafts.empty()) facts.push_back(train.shafts);
        facts.insert(facts.end(), train.facts.begin(), train.facts.end());
        QLabel* factLines = wrappingLabel(panel, "facts");
        factLines->setText(joined(facts));
        column->addWidget(factLines);
        auto* drawing = new TrainDrawing(panel);
        drawing->setMinimumSize(160, 160);
        drawing->setTrain(train.drawn, sheet_.clearance);
        drawing->setVisible(train.drawn.has_value());
        column->addWidget(drawing, 1);
        if (!train.drawn) column->addStretch(1);
        // A train without a drawing (the feed pair) takes only its text's width.
        trainPanels_->addWidget(panel, train.drawn ? 1 : 0);
    }
}

void GunChi::markResultStale() {
    QStringList changed;
    if (job_) {
        const std::map<const QWidget*, QString> now = inputs();
        for (const auto& [input, text] : calculatedInputs_)
            if (now.at(input) != text) changed << input->accessibleName();
        if (dataSaved_) changed << QStringLiteral("机床资料已保存");
    }
    staleNote_ =
        changed.isEmpty()
            ? QString()
            : QStringLiteral("结果不再对应输入（改动了：%1），请重新计算。结果对应：%2")
                  .arg(changed.join(QStringLiteral("、")),
                       joined(sheet_.job).replace(QLatin1Char('\n'), QStringLiteral("；")));
    const bool stale = !staleNote_.isEmpty();
    results_->setToolTip(staleNote_);
    setTextColor(results_, stale ? QColor(Qt::gray) : QColor());
    for (TrainDrawing* drawing : results_->findChildren<TrainDrawing*>())
        drawing->setFaded(stale);
}

PrintedSheet GunChi::card() const {
    return jobCard(sheet_, QDate::currentDate().toString(Qt::ISODate).toStdString());
}

std::vector<QLineEdit*> GunChi::readFields() const {
    return numberFields_;
}

std::string GunChi::printResults() {
    if (!job_ || !job_->message.empty()) return "请先计算出调整结果";
    if (!staleNote_.isEmpty())
        return "调整结果与现在的输入不符，请先按“计算”再打印调整卡。\n" + staleNote_.toStdString();
    return printFailureMessage(printJobCard(context_.printBackend, printerListText(), card()));
}

} // namespace kelvaro
