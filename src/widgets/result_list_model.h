#pragma once

#include "gears/calculation_outcome.h"

#include <QAbstractListModel>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvaro {

class MessageSink;

// What a row of the list shows.
enum class RowKind {
    Set,     // a listed set
    Heading, // "误差最小的挂轮组及误差为"
    BestSet, // the best set; where nothing is listed, the line of zeros
    Item,    // an appended item ("请输入数值")
};

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
    // What the facts of those sets need; null while the list shows no search.
    const std::shared_ptr<const CalculationFacts>& facts() const { return facts_; }
    RowKind rowKind(int row) const;
    // The set a Set or BestSet row shows.
    const GearSet& rowSet(int row) const;
    // Whether the search listed nothing, so that the best-set row is the
    // line of zeros: it is drawn grey, with a tooltip.
    bool nothingListed() const { return results_ && results_->sets.empty(); }

    // A list that no longer matches the window's inputs: its result rows are
    // drawn grey, with `note` (the inputs that made them) as their tooltip.
    // An empty note marks them current again.
    void setStaleNote(QString note);
    const QString& staleNote() const { return staleNote_; }

    // Puts a calculation's outcome in, in its order: the list and printText
    // replaced, the items appended, and the message, if any, shown over
    // `window`.
    void apply(CalculationOutcome outcome, QWidget* window, MessageSink& messages);

  private:
    std::size_t resultRows() const;
    std::string line(std::size_t row) const;

    std::optional<GearSearchResult> results_;
    std::shared_ptr<const CalculationFacts> facts_;
    std::vector<std::string> items_;
    QString staleNote_;
};

} // namespace kelvaro
