#pragma once

#include "gears/calculation_outcome.h"
#include "widgets/set_details_window.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>

class QListView;

namespace kelvaro {

class MessageSink;
class ResultListModel;

// What a calculation window's result list does beyond showing lines:
// double-click or Enter on a set line (or on the best set, or the line of
// zeros) opens 挂轮详情; the heading and the other items open nothing. Its
// context menu holds 详情…, 复制全部结果 (the lines as they stand, one per
// line) and 导出CSV…, which asks for a file name and writes the sets of
// the last calculation through the window's `writeFile`.
class ResultListActions : public QObject {
    Q_OBJECT
  public:
    // Writes `bytes` as the file `path` whole or not at all; returns the
    // message of a failure, empty on success.
    using WriteFile = std::function<std::string(const std::string& path, const std::string& bytes)>;

    ResultListActions(QListView* list, ResultListModel* model, MessageSink& messages,
                      SetDetailsWindow::PrintSheet printSheet, WriteFile writeFile);
    ~ResultListActions() override;

    // Puts a calculation's outcome into the list (ResultListModel::apply)
    // and turns the view to it: new results show from their first line, an
    // appended item is scrolled to.
    void show(CalculationOutcome outcome, QWidget* window);

    // Opens the details of `row`, if it shows a set; false where it does not.
    bool openDetails(int row);
    // Whether 打印挂轮卡 can print now (the window's Print can); asked
    // whenever details open.
    void setSheetPrintable(std::function<bool()> printable);
    // The details window, once opened.
    SetDetailsWindow* detailsWindow() const { return details_.get(); }
    // The list's lines, one per line, on the clipboard.
    void copyAll() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showMenu(const QPoint& position);
    void exportCsv();

    QListView* list_;
    ResultListModel* model_;
    MessageSink& messages_;
    SetDetailsWindow::PrintSheet printSheet_;
    WriteFile writeFile_;
    std::function<bool()> sheetPrintable_;
    std::unique_ptr<SetDetailsWindow> details_;
};

} // namespace kelvaro
