#pragma once

#include "gears/calculation_outcome.h"

#include <QAbstractListModel>
#include <optional>
#include <string>
#include <vector>

namespace kelvaro {

class MessageSink;

// What a calculation window holds of its results: the sets of the last
// completed search, whose list lines are made only for the rows the view
// draws (so a list of a hundred thousand sets appears at once) and whose
// printText is made when it is asked for; then the items appended after
// them ("请输入数值").
class ResultListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Every line as the list shows it.
    std::vector<std::string> lines() const;
    // The printText of the last calculation that replaced the list.
    std::string printText() const;
    // The sets of the last completed search, if the list shows one.
    const std::optional<GearSearchResult>& results() const { return results_; }

    // Puts a calculation's outcome in, in its order: the list and printText
    // replaced, the items appended, and the message, if any, shown over
    // `window`.
    void apply(CalculationOutcome outcome, QWidget* window, MessageSink& messages);

  private:
    std::size_t resultRows() const;
    std::string line(std::size_t row) const;

    std::optional<GearSearchResult> results_;
    std::vector<std::string> items_;
};

} // namespace kelvaro
