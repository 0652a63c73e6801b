#pragma once

#include "catalogue/file_system.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace kelvaro {

class ActivationWatcher;
class PrintBackend;
class Form2;
class Form3;
class ResultListModel;

// The differential calculation window. At each activation it lists the
// catalogue's machines and chooses the first; Calculate reads the part's
// data and the chosen machine's file and lists the machine's gear sets. Its
// menu opens the add-machine and delete-machine dialogs.
class ChaDong : public QWidget {
    Q_OBJECT
  public:
    // `directory` holds the catalogue files, reached through `fs`.
    ChaDong(PrintBackend& printBackend, std::string directory, FileSystem& fs = realFileSystem(),
            QWidget* parent = nullptr);
    ~ChaDong() override;

    const std::string& printText() const { return printText_; }
    const ResultListModel& results() const { return *results_; }
    QStringList machineNames() const;
    Form2* form2() const { return form2_.get(); }
    Form3* form3() const { return form3_.get(); }

  public slots:
    void Form_Activate();
    void Combo1_Click();
    void addmachine_Click();    // 增加机床
    void deletemachine_Click(); // 删除机床
    void Command1_Click();      // 计算
    void Command2_Click();      // 退出
    void Command3_Click();      // 打印

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    PrintBackend& printBackend_;
    std::string directory_;
    FileSystem& fs_;
    ActivationWatcher* watcher_;
    QLineEdit* moshu_;
    QLineEdit* luoxuanjiaodu_;
    QLineEdit* luoxuanjiaofen_;
    QLineEdit* luoxuanjiaomiao_;
    QLineEdit* jingdu_;
    QLineEdit* chishu_; // 齿数
    QLabel* label12_;
    QComboBox* combo1_;
    QComboBox* combo2_;
    QPushButton* command3_;
    QListView* jsjgp_;
    ResultListModel* results_;
    std::string printText_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
};

} // namespace kelvaro
