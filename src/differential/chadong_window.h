#pragma once

#include "widgets/window_context.h"

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
class Form2;
class Form3;
class ResultListActions;
class ResultListModel;
struct SetDetails;

// The differential calculation window. At each activation it lists the
// catalogue's machines and keeps the chosen one (or chooses the first); Calculate reads the part's
// data and the chosen machine's file and lists the machine's gear sets. Its
// menu opens the add-machine and delete-machine dialogs.
class ChaDong : public QWidget {
    Q_OBJECT
  public:
    explicit ChaDong(const WindowContext& context, QWidget* parent = nullptr);
    ~ChaDong() override;

    std::string printText() const; // made from the last results
    const ResultListModel& results() const { return *results_; }
    ResultListActions& listActions() const { return *listActions_; }
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
    void printSetupSheet(const SetDetails& details);
    void activated();

    WindowContext context_;
    bool activationPostponed_ = false;
    ActivationWatcher* watcher_;
    QLineEdit* moduleField_;
    QLineEdit* degreesField_; // the lathe kind's own module
    QLineEdit* minutesField_;
    QLineEdit* secondsField_;
    QLineEdit* toleranceField_;
    QLineEdit* partTeethField_;
    QLabel* partTeethLabel_;
    QComboBox* machineList_;
    QComboBox* printerList_;
    QPushButton* printButton_;
    QListView* resultList_;
    ResultListModel* results_;
    ResultListActions* listActions_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
};

} // namespace kelvaro
