#pragma once

#include "gears/set_details.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kelvaro {

class TrainDrawing;

// 挂轮详情: the facts of one line of a result list, beside the drawing of
// its train. Each calculation window keeps one, shown without blocking and
// filled anew for each line opened, hidden when its list is calculated
// again or on Escape. "打印挂轮卡" hands the details to the
// calculation window, which prints them on its chosen printer.
class SetDetailsWindow : public QWidget {
    Q_OBJECT
  public:
    using PrintSheet = std::function<void(const SetDetails&)>;

    explicit SetDetailsWindow(PrintSheet printSheet, QWidget* parent = nullptr);

    void showDetails(SetDetails details);
    const SetDetails& details() const { return details_; }
    // 打印挂轮卡 is disabled, saying why, where there is no printer.
    void setPrintable(bool printable);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // At most the first size, within the screen's available area.
    void fitToScreen();

    PrintSheet printSheet_;
    SetDetails details_;
    QLabel* heading_;
    QTableWidget* facts_;
    TrainDrawing* drawing_;
    QPushButton* printButton_;
};

} // namespace kelvaro
