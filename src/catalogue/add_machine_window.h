#pragma once

#include "widgets/window_context.h"

#include <QClipboard>
#include <QWidget>
#include <functional>
#include <string>

class QLineEdit;

namespace kelvaro {

// Form2, the add-machine dialog: the model, its tooth-count range, its machine
// constant and its missing tooth counts go into the catalogue on Confirm.
// Exit shows the differential window again, which then reloads its list.
class Form2 : public QWidget {
    Q_OBJECT
  public:
    Form2(const WindowContext& context, std::function<void()> showDifferential,
          QWidget* parent = nullptr);
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
    // A paste into Text5: refused with the message unless it holds only
    // digits and commas (full-width ones become commas).
    void pasteMissingTeeth(QClipboard::Mode mode);

    WindowContext context_;
    std::function<void()> showDifferential_;
    QLineEdit* modelField_;
    QLineEdit* smallestField_;
    QLineEdit* largestField_;
    QLineEdit* constantField_;
    QLineEdit* missingTeethField_; // 缺少齿数
};

} // namespace kelvaro
