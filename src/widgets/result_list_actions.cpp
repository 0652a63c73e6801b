#include "widgets/result_list_actions.h"

#include "gears/set_details.h"
#include "widgets/message_sink.h"
#include "widgets/result_list_model.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>

namespace kelvaro {

ResultListActions::ResultListActions(QListView* list, ResultListModel* model, MessageSink& messages,
                                     SetDetailsWindow::PrintSheet printSheet, WriteFile writeFile)
    : QObject(list), list_(list), model_(model), messages_(messages),
      printSheet_(std::move(printSheet)), writeFile_(std::move(writeFile)) {
    // Double-click, not "activated": a desktop that activates on a single
    // click would otherwise open the details when a line is only selected.
    connect(list_, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { openDetails(index.row()); });
    list_->installEventFilter(this);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, &ResultListActions::showMenu);
}

ResultListActions::~ResultListActions() = default;

void ResultListActions::show(CalculationOutcome outcome, QWidget* window) {
    const bool replaced = outcome.replaceResults;
    const int rows = model_->rowCount();
    model_->apply(std::move(outcome), window, messages_);
    // The facts shown belong to a list that is gone.
    if (replaced && details_) details_->hide();
    if (replaced)
        list_->scrollToTop();
    else if (model_->rowCount() > rows)
        list_->scrollToBottom();
}

void ResultListActions::exportCsv() {
    const auto& results = model_->results();
    if (!results || !model_->facts()) return;
    QWidget* window = list_->window();
    QString file = messages_.askSaveFileName(window, QStringLiteral("导出CSV"),
                                             QStringLiteral("CSV 文件 (*.csv)"));
    if (file.isEmpty()) return;
    // The dialog's filter names the kind, not the name: a name without a
    // suffix gets the filter's.
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".csv");
    const std::string failure =
        writeFile_(file.toStdString(), calculationCsv(*results, *model_->facts()));
    if (!failure.empty()) messages_.show(window, failure);
}

bool ResultListActions::openDetails(int row) {
    const auto& facts = model_->facts();
    if (!facts || row < 0 || row >= model_->rowCount()) return false;
    const RowKind kind = model_->rowKind(row);
    if (kind != RowKind::Set && kind != RowKind::BestSet) return false;
    SetDetails details =
        kind == RowKind::BestSet && model_->nothingListed()
            ? nothingListedDetails(*facts)
            : listedSetDetails(*facts, model_->rowSet(row), kind == RowKind::BestSet);
    if (!details_) details_ = std::make_unique<SetDetailsWindow>(printSheet_);
    details_->setPrintable(!sheetPrintable_ || sheetPrintable_());
    details_->showDetails(std::move(details));
    return true;
}

void ResultListActions::setSheetPrintable(std::function<bool()> printable) {
    sheetPrintable_ = std::move(printable);
    if (details_) details_->setPrintable(!sheetPrintable_ || sheetPrintable_());
}

void ResultListActions::copyAll() const {
    QStringList lines;
    for (const std::string& line : model_->lines())
        lines << QString::fromStdString(line);
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

bool ResultListActions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && list_->currentIndex().isValid())
            return openDetails(list_->currentIndex().row());
    }
    return QObject::eventFilter(watched, event);
}

void ResultListActions::showMenu(const QPoint& position) {
    const QModelIndex index = list_->indexAt(position);
    QMenu menu(list_);
    QAction* details = menu.addAction(QStringLiteral("详情…"));
    const RowKind kind = index.isValid() ? model_->rowKind(index.row()) : RowKind::Item;
    details->setEnabled(model_->facts() && (kind == RowKind::Set || kind == RowKind::BestSet));
    connect(details, &QAction::triggered, this, [this, index] { openDetails(index.row()); });
    QAction* copy = menu.addAction(QStringLiteral("复制全部结果"));
    copy->setEnabled(model_->rowCount() > 0);
    connect(copy, &QAction::triggered, this, &ResultListActions::copyAll);
    QAction* csv = menu.addAction(QStringLiteral("导出CSV…"));
    csv->setEnabled(model_->results().has_value());
    connect(csv, &QAction::triggered, this, &ResultListActions::exportCsv);
    menu.exec(list_->viewport()->mapToGlobal(position));
}

} // namespace kelvaro
