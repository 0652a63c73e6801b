#pragma once

#include "widgets/calculation_window.h"

#include <QStringList>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;

namespace kelvaro {

class ActivationWatcher;
class Form2;
class Form3;

// The differential calculation window. At each activation it lists the
// catalogue's machines and keeps the chosen one (or chooses the first); Calculate reads the part's
// data and the chosen machine's file and lists the machine's gear sets. Its
// menu opens the add-machine and delete-machine dialogs.
class ChaDong : public CalculationWindow {
    Q_OBJECT
  public:
    explicit ChaDong(const WindowContext& context, QWidget* parent = nullptr);
    ~ChaDong() override;

    QStringList machineNames() const;
    Form2* form2() const { return form2_.get(); }
    Form3* form3() const { return form3_.get(); }

  public slots:
    void Form_Activate();
    // The old handler's name: it runs when the chosen machine changes, by
    // click, key or Form_Activate, not on a click alone.
    void Combo1_Click();
    void addmachine_Click();    // 增加机床
    void deletemachine_Click(); // 删除机床

  private:
    void activated();

    Calculation calculation() override;
    std::vector<QLineEdit*> readFields() const override;
    std::string printResults() override;

    bool activationPostponed_ = false;
    ActivationWatcher* watcher_;
    QLineEdit* moduleField_;
    QLineEdit* degreesOrLatheModuleField_; // 度; the lathe kind reads its own module here
    QLineEdit* minutesField_;
    QLineEdit* secondsField_;
    QLineEdit* toleranceField_;
    QLineEdit* partTeethField_;
    QLabel* partTeethLabel_;
    QComboBox* machineList_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
};

} // namespace kelvaro
