#pragma once

#include "widgets/window_context.h"

#include <QWidget>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kelvaro {

// 机床资料: edits the machine data of one machine (its index rows, its box
// and its clearance) and writes them through the catalogue's file system. A
// file that cannot be read as machine data is named with its fault and is
// replaced only after the user confirms it.
class JiChuangZiLiao : public QWidget {
    Q_OBJECT
  public:
    explicit JiChuangZiLiao(const WindowContext& context, QWidget* parent = nullptr);

    // Loads the machine's file into the fields and shows the window.
    void open(const std::string& model);
    const std::string& model() const { return model_; }

  signals:
    void saved();

  public slots:
    void Command1_Click(); // 确定
    void Command2_Click(); // 取消

  private:
    WindowContext context_;
    std::string model_;
    bool broken_ = false; // the file on disk is not machine data
    QLabel* note_;
    QPlainTextEdit* indexRows_;
    QLineEdit* box_;
    QLineEdit* clearance_;
};

} // namespace kelvaro
