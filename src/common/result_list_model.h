#pragma once

#include "common/calculation_outcome.h"

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace kelvaro {

// The items of a result list, kept as the logic made them (UTF-8) and
// converted only for the rows the view draws, so a list of a hundred
// thousand sets appears at once.
class ResultListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void clear();
    void append(std::vector<std::string> items);
    const std::vector<std::string>& items() const { return items_; }

  private:
    std::vector<std::string> items_;
};

// Puts a calculation's outcome into a window: its result list, its printText
// and, where the outcome has one, a message box over `window`.
void applyOutcome(CalculationOutcome outcome, ResultListModel& list, std::string& printText,
                  QWidget* window);

} // namespace kelvaro
