#pragma once

#include "gears/search_control.h"
#include "widgets/window_context.h"

#include <QWidget>
#include <string>

class QComboBox;
class QLineEdit;
class QListView;
class QPushButton;

namespace kelvaro {

class ResultListActions;
class ResultListModel;
struct SetDetails;

// The ordinary calculation window: four fields in, the result list and the
// printout text of the last calculation out. Hiding keeps everything.
class PuTong : public QWidget {
    Q_OBJECT
  public:
    explicit PuTong(const WindowContext& context, QWidget* parent = nullptr);
    ~PuTong() override;

    std::string printText() const; // made from the last results
    const ResultListModel& results() const { return *results_; }
    ResultListActions& listActions() const { return *listActions_; }
    // The most sets a calculation lists (kSetLimit); tests make it small.
    void setSetLimit(std::size_t limit) { setLimit_ = limit; }

  public slots:
    void Command1_Click(); // 计算
    void Command2_Click(); // 退出
    void Command3_Click(); // 打印

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void printSetupSheet(const SetDetails& details);

    void Form_Load();

    WindowContext context_;
    QLineEdit* ratioField_;
    QLineEdit* toleranceField_;
    QLineEdit* smallestField_;
    QLineEdit* largestField_;
    QListView* resultList_;
    QComboBox* printerList_;
    QPushButton* printButton_;
    ResultListModel* results_;
    ResultListActions* listActions_;
    std::size_t setLimit_ = kSetLimit;
};

} // namespace kelvaro
