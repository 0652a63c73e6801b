#include "widgets/result_list_model.h"

#include "gears/gear_lines.h"
#include "widgets/message_sink.h"

namespace kelvaro {

std::size_t ResultListModel::resultRows() const {
    return results_ ? resultLineCount(*results_) : 0;
}

std::string ResultListModel::line(std::size_t row) const {
    const std::size_t rows = resultRows();
    return row < rows ? resultLine(*results_, row) : items_[row - rows];
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(resultRows() + items_.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole) return {};
    return QString::fromStdString(line(static_cast<std::size_t>(index.row())));
}

std::vector<std::string> ResultListModel::lines() const {
    std::vector<std::string> all;
    const auto rows = static_cast<std::size_t>(rowCount());
    all.reserve(rows);
    for (std::size_t row = 0; row < rows; ++row)
        all.push_back(line(row));
    return all;
}

std::string ResultListModel::printText() const {
    return results_ ? kelvaro::printText(*results_) : std::string();
}

void ResultListModel::apply(CalculationOutcome outcome, QWidget* window, MessageSink& messages) {
    if (outcome.replaceResults) {
        beginResetModel();
        results_ = std::move(outcome.results);
        items_.clear();
        endResetModel();
    }
    if (!outcome.items.empty()) {
        const int first = rowCount();
        beginInsertRows({}, first, first + static_cast<int>(outcome.items.size()) - 1);
        items_.insert(items_.end(), std::make_move_iterator(outcome.items.begin()),
                      std::make_move_iterator(outcome.items.end()));
        endInsertRows();
    }
    if (!outcome.message.empty()) messages.show(window, outcome.message);
}

} // namespace kelvaro
