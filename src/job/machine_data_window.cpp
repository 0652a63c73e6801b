#include "job/machine_data_window.h"

#include "catalogue/add_machine.h"
#include "catalogue/machine_data.h"
#include "gears/set_facts.h"
#include "widgets/message_sink.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
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

QString number(double value) {
    return QString::fromStdString(shortNumber(value, 15));
}

QTableView* table(QWidget* parent, const char* name, QStandardItemModel* model) {
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromUtf8(name));
    view->setModel(model);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    return view;
}

// 添加 and 删除 under a table: a new empty row, the selected rows gone.
QHBoxLayout* rowButtons(QWidget* parent, QTableView* view, QStandardItemModel* model,
                        const char* prefix) {
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("添加一行"), parent);
    add->setObjectName(QString::fromUtf8(prefix) + QStringLiteral("Add"));
    auto* remove = new QPushButton(QStringLiteral("删除所选行"), parent);
    remove->setObjectName(QString::fromUtf8(prefix) + QStringLiteral("Remove"));
    QObject::connect(add, &QPushButton::clicked, view, [view, model] {
        QList<QStandardItem*> row;
        for (int i = 0; i < model->columnCount(); ++i)
            row << new QStandardItem;
        model->appendRow(row);
        view->setCurrentIndex(model->index(model->rowCount() - 1, 0));
        view->edit(view->currentIndex());
    });
    QObject::connect(remove, &QPushButton::clicked, view, [view, model] {
        const QModelIndexList rows = view->selectionModel()->selectedRows();
        std::vector<int> numbers;
        for (const QModelIndex& index : rows)
            numbers.push_back(index.row());
        std::sort(numbers.rbegin(), numbers.rend());
        for (int row : numbers)
            model->removeRow(row);
    });
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    return buttons;
}

QString cell(const QStandardItemModel* model, int row, int column) {
    const QStandardItem* item = model->item(row, column);
    return item ? item->text().trimmed() : QString();
}

} // namespace

JiChuangZiLiao::JiChuangZiLiao(const WindowContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName(QStringLiteral("JiChuangZiLiao"));
    // The job window's face.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10.5);
    setFont(font);
    auto* layout = new QVBoxLayout(this);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("note"));
    note_->setWordWrap(true);
    layout->addWidget(note_);

    auto* index =
        new QGroupBox(QStringLiteral("分齿常数（Z/K 落在哪一行的范围里，就用那一行的 C）"), this);
    auto* indexColumn = new QVBoxLayout(index);
    indexRows_ = new QStandardItemModel(0, 4, this);
    indexRows_->setHorizontalHeaderLabels({QStringLiteral("常数 C"), QStringLiteral("Z/K 从"),
                                           QStringLiteral("到"), QStringLiteral("说明")});
    indexTable_ = table(index, "fenchichangshu", indexRows_);
    indexColumn->addWidget(indexTable_);
    indexColumn->addLayout(rowButtons(index, indexTable_, indexRows_, "index"));
    layout->addWidget(index, 2);

    auto* box =
        new QGroupBox(QStringLiteral("挂轮箱（空着：机床文件的齿数范围，去掉缺少的齿数）"), this);
    auto* boxColumn = new QVBoxLayout(box);
    box_ = new QStandardItemModel(0, 2, this);
    box_->setHorizontalHeaderLabels({QStringLiteral("齿数"), QStringLiteral("个数")});
    boxTable_ = table(box, "guaxiang", box_);
    boxColumn->addWidget(boxTable_);
    auto* boxButtons = rowButtons(box, boxTable_, box_, "box");
    auto* fill = new QPushButton(QStringLiteral("按机床文件的齿数范围填入"), box);
    fill->setObjectName(QStringLiteral("boxFromMachine"));
    boxButtons->insertWidget(2, fill);
    connect(fill, &QPushButton::clicked, this, [this] {
        box_->removeRows(0, box_->rowCount());
        for (const auto& [teeth, count] : machineBox(machine_.record).box)
            box_->appendRow({new QStandardItem(QString::number(teeth)),
                             new QStandardItem(QString::number(count))});
    });
    boxColumn->addLayout(boxButtons);
    boxNote_ = new QLabel(box);
    boxNote_->setObjectName(QStringLiteral("boxNote"));
    boxNote_->setWordWrap(true);
    boxColumn->addWidget(boxNote_);
    connect(box_, &QStandardItemModel::dataChanged, this, &JiChuangZiLiao::showBoxNote);
    connect(box_, &QStandardItemModel::rowsRemoved, this, &JiChuangZiLiao::showBoxNote);
    layout->addWidget(box, 3);

    auto* feed = new QGroupBox(QStringLiteral("进给（s = C_f × a1/b1，每个进给箱档位一行）"), this);
    auto* feedColumn = new QVBoxLayout(feed);
    feedLines_ = new QStandardItemModel(0, 2, this);
    feedLines_->setHorizontalHeaderLabels({QStringLiteral("进给常数 C_f"), QStringLiteral("说明")});
    QTableView* feedTable = table(feed, "jingeichangshu", feedLines_);
    feedColumn->addWidget(feedTable);
    feedColumn->addLayout(rowButtons(feed, feedTable, feedLines_, "feed"));
    auto* feedForm = new QFormLayout;
    feedPairs_ = new QLineEdit(feed);
    feedPairs_->setObjectName(QStringLiteral("jingeigualun"));
    feedPairs_->setPlaceholderText(QStringLiteral("空着：挂轮箱里任意两个齿轮"));
    feedPairs_->setToolTip(QStringLiteral("a1/b1，用逗号隔开：26/52, 32/46"));
    feedForm->addRow(QStringLiteral("进给挂轮 a1/b1"), feedPairs_);
    helixExtra_ = new QComboBox(feed);
    helixExtra_->setObjectName(QStringLiteral("fujiazhuandong"));
    helixExtra_->addItems({QStringLiteral("未说明"), QStringLiteral("顺着工作台展成转向"),
                           QStringLiteral("逆着工作台展成转向")});
    helixExtra_->setToolTip(QStringLiteral("滚刀与工件同旋向时，螺旋线的附加转动使工作台怎样转"));
    feedForm->addRow(QStringLiteral("附加转动（同旋向）"), helixExtra_);
    feedColumn->addLayout(feedForm);
    layout->addWidget(feed, 1);

    auto* form = new QFormLayout;
    clearance_ = new QLineEdit(this);
    clearance_->setObjectName(QStringLiteral("jianxi"));
    clearance_->setPlaceholderText(QStringLiteral("空着：10"));
    form->addRow(QStringLiteral("装配间隙 s（齿）"), clearance_);
    constant_ = new QLineEdit(this);
    constant_->setObjectName(QStringLiteral("chadongchangshu"));
    constant_->setToolTip(QStringLiteral("写在机床文件里，差动Kelvaro 和滚齿调整都用它"));
    form->addRow(QStringLiteral("差动常数 C（机床文件）"), constant_);
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
    resize(760, 860);
}

void JiChuangZiLiao::open(const std::string& model) {
    model_ = model;
    setWindowTitle(QStringLiteral("机床资料 ") + QString::fromStdString(model));
    machine_ = readMachineFile(context_.catalogueFolder, model, context_.fileSystem);
    const MachineDataFile file =
        loadMachineData(context_.catalogueFolder, model, context_.fileSystem);
    broken_ = file.result.failed();
    opened_ = file.bytes;
    QString note;
    if (broken_)
        note = QString::fromStdString(file.result.message) +
               QStringLiteral("。按“确定”会在确认后用这里的内容覆盖它。");
    else if (file.result.status == CatalogueStatus::Missing)
        note = QStringLiteral("还没有机床资料；空着的项按默认值。");
    else
        note = QString::fromStdString(
            file.note.empty() ? machineDataFile(context_.catalogueFolder, model) : file.note);
    if (machine_.result.failed())
        note += QLatin1Char('\n') + QString::fromStdString(machine_.result.message);
    note_->setText(note);
    setTextColor(note_, broken_ || machine_.result.failed() ? QColor(0xc0, 0, 0) : QColor());

    indexRows_->removeRows(0, indexRows_->rowCount());
    for (const IndexRow& row : file.data.indexRows)
        indexRows_->appendRow(
            {new QStandardItem(QString::fromStdString(
                 std::to_string(row.constant.numerator) +
                 (row.constant.denominator == 1 ? ""
                                                : "/" + std::to_string(row.constant.denominator)))),
             new QStandardItem(number(row.from)), new QStandardItem(number(row.to)),
             new QStandardItem(QString::fromStdString(row.note))});
    indexTable_->resizeColumnsToContents();
    box_->removeRows(0, box_->rowCount());
    if (file.data.box)
        for (const auto& [teeth, count] : *file.data.box)
            box_->appendRow({new QStandardItem(QString::number(teeth)),
                             new QStandardItem(QString::number(count))});
    clearance_->setText(QString::fromStdString(file.data.clearanceText));
    feedLines_->removeRows(0, feedLines_->rowCount());
    for (const FeedLine& line : file.data.feed.lines) {
        // The constant as written: the text before the note's comma.
        const std::string constant = line.text.substr(0, line.text.find(','));
        feedLines_->appendRow({new QStandardItem(QString::fromStdString(constant).trimmed()),
                               new QStandardItem(QString::fromStdString(line.note))});
    }
    QStringList pairs;
    for (const std::string& text : file.data.feed.pairTexts)
        pairs << QString::fromStdString(text);
    feedPairs_->setText(pairs.join(QStringLiteral(", ")));
    helixExtra_->setCurrentIndex(static_cast<int>(file.data.feed.helixExtra));
    findChild<QTableView*>(QStringLiteral("jingeichangshu"))->resizeColumnsToContents();
    constantText_ = machine_.result.failed() ? QString() : number(machine_.record.machineConstant);
    constant_->setText(constantText_);
    constant_->setEnabled(!machine_.result.failed());
    showBoxNote();
    show();
    raise();
    activateWindow();
}

void JiChuangZiLiao::showBoxNote() {
    if (machine_.result.failed()) {
        boxNote_->clear();
        return;
    }
    const MachineRecord& m = machine_.record;
    GearBox box;
    for (int row = 0; row < box_->rowCount(); ++row)
        if (const int teeth = cell(box_, row, 0).toInt(); teeth > 0) box[teeth] += 1;
    QString note =
        QStringLiteral("机床文件的齿数范围 %1–%2").arg(number(m.minTeeth), number(m.maxTeeth));
    if (!box.empty()) {
        GearBox onlyMachine, onlyBox;
        const GearBox range = machineBox(m).box;
        for (const auto& [teeth, count] : range)
            if (!box.contains(teeth)) onlyMachine[teeth] = 1;
        for (const auto& [teeth, count] : box)
            if (!range.contains(teeth)) onlyBox[teeth] = 1;
        if (!onlyMachine.empty())
            note +=
                QStringLiteral("；挂轮箱里没有 %1，差动Kelvaro 按机床文件列出的挂轮可能用到它们")
                    .arg(QString::fromStdString(boxListText(onlyMachine)));
        if (!onlyBox.empty())
            note += QStringLiteral("；挂轮箱里有机床文件范围外的 %1")
                        .arg(QString::fromStdString(boxListText(onlyBox)));
        setTextColor(boxNote_,
                     onlyMachine.empty() && onlyBox.empty() ? QColor() : QColor(0xc0, 0, 0));
    }
    boxNote_->setText(note);
}

std::optional<std::string> JiChuangZiLiao::formText() {
    std::string text;
    for (int row = 0; row < indexRows_->rowCount(); ++row) {
        const QString c = cell(indexRows_, row, 0), from = cell(indexRows_, row, 1),
                      to = cell(indexRows_, row, 2), note = cell(indexRows_, row, 3);
        if (c.isEmpty() && from.isEmpty() && to.isEmpty() && note.isEmpty()) continue;
        const std::string line = "index = " + c.toStdString() + " for Z/K from " +
                                 from.toStdString() + " to " + to.toStdString() +
                                 (note.isEmpty() ? "" : ", " + note.toStdString());
        if (std::string problem = problemOf(line); !problem.empty()) {
            context_.messages.show(this,
                                   "分齿常数第 " + std::to_string(row + 1) + " 行：" + problem);
            return std::nullopt;
        }
        text += line + "\n";
    }
    std::string items;
    for (int row = 0; row < box_->rowCount(); ++row) {
        const QString teeth = cell(box_, row, 0), count = cell(box_, row, 1);
        if (teeth.isEmpty() && count.isEmpty()) continue;
        const std::string item =
            teeth.toStdString() +
            (count.isEmpty() || count == QStringLiteral("1") ? "" : "*" + count.toStdString());
        if (std::string problem = problemOf("box = " + item); !problem.empty()) {
            context_.messages.show(this, "挂轮箱第 " + std::to_string(row + 1) + " 行：" + problem);
            return std::nullopt;
        }
        items += (items.empty() ? "" : ",") + item;
    }
    if (!items.empty()) {
        const BoxReading box = readBoxList(items);
        if (!box.problem.empty()) {
            context_.messages.show(this, "挂轮箱：" + box.problem);
            return std::nullopt;
        }
        text += "box = " + boxListText(box.box) + "\n";
    }
    for (int row = 0; row < feedLines_->rowCount(); ++row) {
        const QString constant = cell(feedLines_, row, 0), note = cell(feedLines_, row, 1);
        if (constant.isEmpty() && note.isEmpty()) continue;
        const std::string line =
            "feed = " + constant.toStdString() + (note.isEmpty() ? "" : ", " + note.toStdString());
        if (std::string problem = problemOf(line); !problem.empty()) {
            context_.messages.show(this, "进给第 " + std::to_string(row + 1) + " 行：" + problem);
            return std::nullopt;
        }
        text += line + "\n";
    }
    if (!feedPairs_->text().trimmed().isEmpty()) {
        const std::string line = "feed pairs = " + feedPairs_->text().trimmed().toStdString();
        if (std::string problem = problemOf(line); !problem.empty()) {
            context_.messages.show(this, "进给挂轮：" + problem);
            return std::nullopt;
        }
        text += line + "\n";
    }
    if (helixExtra_->currentIndex() > 0)
        text += std::string("helix extra = ") +
                helixExtraWord(static_cast<HelixExtra>(helixExtra_->currentIndex())) + "\n";
    if (!clearance_->text().trimmed().isEmpty()) {
        const std::string line = "clearance = " + clearance_->text().trimmed().toStdString();
        if (std::string problem = problemOf(line); !problem.empty()) {
            context_.messages.show(this, "装配间隙：" + problem);
            return std::nullopt;
        }
        text += line + "\n";
    }
    return text;
}

// A changed constant rewrites the machine file as 增加机床 does, after its
// question; false where the user declines or the write fails.
bool JiChuangZiLiao::saveConstant() {
    if (!constant_->isEnabled() || constant_->text().trimmed() == constantText_) return true;
    const MachineRecord& m = machine_.record;
    const std::string min = shortNumber(m.minTeeth, 15), max = shortNumber(m.maxTeeth, 15),
                      constant = constant_->text().trimmed().toStdString();
    std::string missing;
    for (const std::int16_t teeth : m.missingTeeth)
        missing += (missing.empty() ? "" : ",") + std::to_string(teeth);
    AddMachineInput input{model_, min, max, constant, missing, false};
    AddMachineOutcome outcome = addMachine(context_.catalogueFolder, input, context_.fileSystem);
    if (outcome.alreadyListed) {
        if (!context_.messages.ask(this, QString::fromStdString(outcome.message))) return false;
        input.overwrite = true;
        outcome = addMachine(context_.catalogueFolder, input, context_.fileSystem);
    }
    if (!outcome.added) {
        context_.messages.show(this, outcome.message);
        return false;
    }
    constantText_ = constant_->text().trimmed();
    return true;
}

void JiChuangZiLiao::Command1_Click() {
    const std::optional<std::string> text = formText();
    if (!text) return;
    if (broken_ && !context_.messages.ask(
                       this, QString::fromStdString(
                                 "机床资料 " + machineDataFile(context_.catalogueFolder, model_) +
                                 " 有错，确定用这里的内容覆盖它吗？")))
        return;
    if (!saveConstant()) return;
    const MachineData data = readMachineData(*text).data;
    CatalogueResult result =
        saveMachineData(context_.catalogueFolder, model_, data, context_.fileSystem, opened_);
    if (result.status == CatalogueStatus::Changed) {
        if (!context_.messages.ask(
                this, QString::fromStdString(result.message + "，确定用这里的内容覆盖它吗？")))
            return;
        result = saveMachineData(context_.catalogueFolder, model_, data, context_.fileSystem);
    }
    if (result.failed()) {
        context_.messages.show(this, result.message);
        return;
    }
    broken_ = false;
    opened_ = loadMachineData(context_.catalogueFolder, model_, context_.fileSystem).bytes;
    hide();
    emit saved();
}

void JiChuangZiLiao::Command2_Click() {
    hide();
}

} // namespace kelvaro
