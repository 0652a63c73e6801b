#pragma once

#include "catalogue/file_system.h"

#include <QWidget>
#include <functional>
#include <string>

class QLineEdit;

namespace kelvaro {

// The add-machine dialog: the model, its tooth-count range, its machine
// constant and its missing tooth counts go into the catalogue on Confirm.
// Exit shows the differential window again, which then reloads its list.
class Form2 : public QWidget {
    Q_OBJECT
  public:
    // The catalogue's files are reached through `fs`.
    Form2(std::string directory, std::function<void()> showDifferential,
          FileSystem& fs = realFileSystem(), QWidget* parent = nullptr);
    ~Form2() override;

  public slots:
    void Command2_Click(); // 确认
    void Command1_Click(); // 退出

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Text1_LostFocus();
    void Text5_KeyPress(int characterCode);

    std::string directory_;
    FileSystem& fs_;
    std::function<void()> showDifferential_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QLineEdit* text3_;
    QLineEdit* text4_;
    QLineEdit* text5_;
};

} // namespace kelvaro
