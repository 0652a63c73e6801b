#pragma once

#include "catalogue/machine_file.h"
#include "widgets/window_context.h"

#include <QWidget>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace kelvaro {

// 机床资料: the machine data of one machine as a form: the index rows in a
// table (常数 C, Z/K 从, 到, 说明), the box as tooth counts with their numbers,
// the clearance, and the machine file's differential constant. 确定 writes
// the data file through the catalogue's file system, and a changed constant
// through the catalogue's own overwrite path, after its question. A file
// that cannot be read as machine data is named with its fault and is
// replaced only after the user confirms it; so is a file that another
// dialog or program changed since the form was filled.
class JiChuangZiLiao : public QWidget {
    Q_OBJECT
  public:
    explicit JiChuangZiLiao(const WindowContext& context, QWidget* parent = nullptr);

    // Loads the machine's files into the form and shows the window.
    void open(const std::string& model);
    const std::string& model() const { return model_; }

  signals:
    void saved();

  public slots:
    void Command1_Click(); // 确定
    void Command2_Click(); // 取消

  private:
    // The machine data file's text from the form; empty with a message shown
    // where a cell cannot be read.
    std::optional<std::string> formText();
    bool saveConstant();
    void showBoxNote();

    WindowContext context_;
    std::string model_;
    bool broken_ = false; // the file on disk is not machine data
    MachineFile machine_;
    QString constantText_; // as the machine file gave it
    std::string opened_;   // the data file's bytes when the form was filled; none: missing
    QLabel* note_;
    QStandardItemModel* indexRows_;
    QStandardItemModel* box_;
    QTableView* indexTable_;
    QTableView* boxTable_;
    QLabel* boxNote_;
    QLineEdit* clearance_;
    QStandardItemModel* feedLines_;
    QLineEdit* feedPairs_;
    QComboBox* helixExtra_;
    QLineEdit* constant_;
};

} // namespace kelvaro
