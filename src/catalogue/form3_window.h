#pragma once

#include "catalogue/file_system.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>

class QComboBox;

namespace kelvaro {

class ActivationWatcher;
// The delete-machine dialog: offers the models that the differential window
// lists and removes the chosen one from the machine list on Confirm. Its
// machine file stays on disk.
class Form3 : public QWidget {
    Q_OBJECT
  public:
    // `machineList` gives the differential window's list as it is now; the
    // catalogue's files are reached through `fs`.
    Form3(std::string directory, std::function<QStringList()> machineList,
          FileSystem& fs = realFileSystem(), QWidget* parent = nullptr);
    ~Form3() override;

  public slots:
    void Form_Activate();
    void Command2_Click(); // 确认
    void Command1_Click(); // 退回

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::string directory_;
    FileSystem& fs_;
    ActivationWatcher* watcher_;
    std::function<QStringList()> machineList_;
    QComboBox* combo1_;
};

} // namespace kelvaro
