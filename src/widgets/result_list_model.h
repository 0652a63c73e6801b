#pragma once

#include "gears/calculation_outcome.h"

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace kelvaro {

class MessageSink;

// What a calculation window holds of its results: the items of its result
// list, kept as the logic made them (UTF-8) and converted only for the rows
// the view draws, so a list of a hundred thousand sets appears at once; and
// the printText that Print sends.
class ResultListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const std::vector<std::string>& items() const { return items_; }
    const std::string& printText() const { return printText_; }

    // Puts a calculation's outcome in, in its order: the list and printText
    // replaced, the items appended, and the message, if any, shown over
    // `window`.
    void apply(CalculationOutcome outcome, QWidget* window, MessageSink& messages);

  private:
    void clear();
    void append(std::vector<std::string> items);

    std::vector<std::string> items_;
    std::string printText_;
};

} // namespace kelvaro
