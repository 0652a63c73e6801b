#include "common/result_list_model.h"

#include "common/message_box.h"

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

void applyOutcome(CalculationOutcome outcome, ResultListModel& list, std::string& printText,
                  QWidget* window) {
    if (outcome.replaceResults) {
        list.clear();
        printText = std::move(outcome.printText);
    }
    list.append(std::move(outcome.items));
    if (!outcome.message.empty()) showMessage(window, QString::fromStdString(outcome.message));
}

} // namespace kelvaro
