#pragma once

#include "common/search_control.h"

#include <QWidget>
#include <string>

class QComboBox;
class QLineEdit;
class QListView;
class QPushButton;

namespace kelvaro {

class PrintBackend;
class ResultListModel;

// The ordinary calculation window: four fields in, the result list and the
// printout text of the last calculation out. Hiding keeps everything.
// Printing goes through `printBackend`, which must outlive the window.
class PuTong : public QWidget {
    Q_OBJECT
  public:
    explicit PuTong(PrintBackend& printBackend, QWidget* parent = nullptr);
    ~PuTong() override;

    const std::string& printText() const { return printText_; }
    const ResultListModel& results() const { return *results_; }
    // The most sets a calculation lists (kSetLimit); tests make it small.
    void setSetLimit(std::size_t limit) { setLimit_ = limit; }

  public slots:
    void Command1_Click(); // 计算
    void Command2_Click(); // 退出
    void Command3_Click(); // 打印

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();

    PrintBackend& printBackend_;
    QLineEdit* chuandongbi_;
    QLineEdit* jingdu_;
    QLineEdit* zuishaochishu_;
    QLineEdit* zuidachishu_;
    QListView* jsjgp_;
    QComboBox* combo1_;
    QPushButton* command3_;
    ResultListModel* results_;
    std::string printText_;
    std::size_t setLimit_ = kSetLimit;
};

} // namespace kelvaro
