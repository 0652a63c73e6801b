#include "widgets/result_list_model.h"

#include "gears/gear_lines.h"
#include "widgets/message_sink.h"

#include <QColor>

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
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(line(static_cast<std::size_t>(index.row())));
    // The line of zeros keeps its text, but nobody should take it for a set.
    const bool zeroLine = nothingListed() && rowKind(index.row()) == RowKind::BestSet;
    const bool stale =
        !staleNote_.isEmpty() && static_cast<std::size_t>(index.row()) < resultRows();
    if ((zeroLine || stale) && role == Qt::ForegroundRole) return QColor(Qt::gray);
    if (role == Qt::ToolTipRole) {
        QStringList tips;
        if (stale) tips << staleNote_;
        if (zeroLine) tips << QStringLiteral("允差内无解，双击查看最接近的一组");
        if (!tips.isEmpty()) return tips.join(QLatin1Char('\n'));
    }
    return {};
}

void ResultListModel::setStaleNote(QString note) {
    if (note == staleNote_) return;
    staleNote_ = std::move(note);
    if (resultRows() > 0)
        emit dataChanged(index(0), index(static_cast<int>(resultRows()) - 1),
                         {Qt::ForegroundRole, Qt::ToolTipRole});
}

RowKind ResultListModel::rowKind(int row) const {
    const auto r = static_cast<std::size_t>(row);
    if (!results_ || r >= resultRows()) return RowKind::Item;
    if (r < results_->sets.size()) return RowKind::Set;
    return r == results_->sets.size() ? RowKind::Heading : RowKind::BestSet;
}

const GearSet& ResultListModel::rowSet(int row) const {
    const auto r = static_cast<std::size_t>(row);
    return r < results_->sets.size() ? results_->sets[r] : results_->best;
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
        facts_ = std::move(outcome.facts);
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
