#include "job/machine_data_window.h"

#include "catalogue/machine_data.h"
#include "widgets/message_sink.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvaro {

namespace {

// A one-line file's problem without its line number.
std::string problemOf(const std::string& line) {
    // What follows a "#" would be a comment, lost on saving.
    if (line.find('#') != std::string::npos) return "不能有“#”：机床资料中 # 以后是注释";
    std::string problem = readMachineData(line).problem;
    const std::string prefix = "第 1 行：";
    return problem.starts_with(prefix) ? problem.substr(prefix.size()) : problem;
}

} // namespace

JiChuangZiLiao::JiChuangZiLiao(const WindowContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName(QStringLiteral("JiChuangZiLiao"));
    auto* layout = new QVBoxLayout(this);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("note"));
    note_->setWordWrap(true);
    layout->addWidget(note_);
    auto* form = new QFormLayout;
    indexRows_ = new QPlainTextEdit(this);
    indexRows_->setObjectName(QStringLiteral("fenchichangshu"));
    indexRows_->setPlaceholderText(QStringLiteral("24 for Z/K from 1 to 161, e/f = 36/36"));
    indexRows_->setToolTip(QStringLiteral("每行一个范围：分齿常数 C for Z/K from A to B, 说明"));
    box_ = new QLineEdit(this);
    box_->setObjectName(QStringLiteral("guaxiang"));
    box_->setPlaceholderText(QStringLiteral("空着：机床文件的齿数范围，去掉缺少的齿数"));
    box_->setToolTip(QStringLiteral("N 一个，N*Q Q 个，A-B 每种一个，-N 去掉一个，用逗号隔开"));
    clearance_ = new QLineEdit(this);
    clearance_->setObjectName(QStringLiteral("jianxi"));
    clearance_->setPlaceholderText(QStringLiteral("空着：10"));
    form->addRow(QStringLiteral("分齿常数"), indexRows_);
    form->addRow(QStringLiteral("挂轮箱"), box_);
    form->addRow(QStringLiteral("装配间隙（齿）"), clearance_);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::pair<const char*, const char*> captions[] = {{"Command1", "确定"},
                                                            {"Command2", "取消"}};
    for (const auto& [name, caption] : captions) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromUtf8(name));
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(findChild<QPushButton*>(QStringLiteral("Command1")), &QPushButton::clicked, this,
            &JiChuangZiLiao::Command1_Click);
    connect(findChild<QPushButton*>(QStringLiteral("Command2")), &QPushButton::clicked, this,
            &JiChuangZiLiao::Command2_Click);
    resize(560, 360);
}

void JiChuangZiLiao::open(const std::string& model) {
    model_ = model;
    setWindowTitle(QStringLiteral("机床资料 ") + QString::fromStdString(model));
    const MachineDataFile file =
        loadMachineData(context_.catalogueFolder, model, context_.fileSystem);
    broken_ = file.result.failed();
    QString note;
    if (broken_)
        note = QString::fromStdString(file.result.message) +
               QStringLiteral("。按“确定”会在确认后用下面的内容覆盖它。");
    else if (file.result.status == CatalogueStatus::Missing)
        note = QStringLiteral("还没有机床资料；空着的项按默认值。");
    else
        note = QString::fromStdString(
            file.note.empty() ? machineDataFile(context_.catalogueFolder, model) : file.note);
    note_->setText(note);
    note_->setStyleSheet(broken_ ? QStringLiteral("color: #c00000") : QString());
    QStringList rows;
    for (const IndexRow& row : file.data.indexRows)
        rows << QString::fromStdString(row.text);
    indexRows_->setPlainText(rows.join(QLatin1Char('\n')));
    QStringList boxes;
    for (const std::string& box : file.data.boxTexts)
        boxes << QString::fromStdString(box);
    box_->setText(boxes.join(QStringLiteral(", ")));
    clearance_->setText(QString::fromStdString(file.data.clearanceText));
    show();
    raise();
    activateWindow();
}

void JiChuangZiLiao::Command1_Click() {
    // Each field read as its own lines, so that a fault names the field.
    std::string text;
    int number = 0;
    for (const QString& line : indexRows_->toPlainText().split(QLatin1Char('\n'))) {
        ++number;
        if (line.trimmed().isEmpty()) continue;
        const std::string row = "index = " + line.trimmed().toStdString();
        if (std::string problem = problemOf(row); !problem.empty()) {
            context_.messages.show(this,
                                   "分齿常数第 " + std::to_string(number) + " 行：" + problem);
            return;
        }
        text += row + "\n";
    }
    const std::pair<QLineEdit*, const char*> fields[] = {{box_, "box"}, {clearance_, "clearance"}};
    for (const auto& [field, key] : fields) {
        if (field->text().trimmed().isEmpty()) continue;
        const std::string line = std::string(key) + " = " + field->text().trimmed().toStdString();
        if (std::string problem = problemOf(line); !problem.empty()) {
            context_.messages.show(this, (field == box_ ? "挂轮箱：" : "装配间隙：") + problem);
            return;
        }
        text += line + "\n";
    }
    if (broken_ && !context_.messages.ask(
                       this, QString::fromStdString(
                                 "机床资料 " + machineDataFile(context_.catalogueFolder, model_) +
                                 " 有错，确定用这里的内容覆盖它吗？")))
        return;
    const CatalogueResult result = saveMachineData(context_.catalogueFolder, model_,
                                                   readMachineData(text).data, context_.fileSystem);
    if (result.failed()) {
        context_.messages.show(this, result.message);
        return;
    }
    broken_ = false;
    hide();
    emit saved();
}

void JiChuangZiLiao::Command2_Click() {
    hide();
}

} // namespace kelvaro
