#include "widgets/result_list_model.h"

#include "widgets/message_sink.h"

namespace kelvaro {

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole) return {};
    return QString::fromStdString(items_[static_cast<std::size_t>(index.row())]);
}

void ResultListModel::clear() {
    if (items_.empty()) return;
    beginResetModel();
    items_.clear();
    endResetModel();
}

void ResultListModel::append(std::vector<std::string> items) {
    if (items.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(items.size()) - 1);
    if (items_.empty()) {
        items_ = std::move(items);
    } else {
        items_.insert(items_.end(), std::make_move_iterator(items.begin()),
                      std::make_move_iterator(items.end()));
    }
    endInsertRows();
}

void ResultListModel::apply(CalculationOutcome outcome, QWidget* window, MessageSink& messages) {
    if (outcome.replaceResults) {
        clear();
        printText_ = std::move(outcome.printText);
    }
    append(std::move(outcome.items));
    if (!outcome.message.empty()) messages.show(window, outcome.message);
}

} // namespace kelvaro
