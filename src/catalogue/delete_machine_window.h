#pragma once

#include "widgets/window_context.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>

class QComboBox;

namespace kelvaro {

class ActivationWatcher;

// Form3, the delete-machine dialog: offers the models that the differential window
// lists and removes the chosen one from the machine list on Confirm, once
// the user has said yes to "确定删除机床 X 吗？". Its machine file stays on
// disk, and the message afterwards says so.
class Form3 : public QWidget {
    Q_OBJECT
  public:
    // `machineNames` gives the differential window's list as it is now.
    Form3(const WindowContext& context, std::function<QStringList()> machineNames,
          QWidget* parent = nullptr);
    ~Form3() override;

  public slots:
    void Form_Activate();
    void Command2_Click(); // 确认
    void Command1_Click(); // 退回

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    WindowContext context_;
    ActivationWatcher* watcher_;
    std::function<QStringList()> machineNames_;
    QComboBox* machineList_;
};

} // namespace kelvaro
