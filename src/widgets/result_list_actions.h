#pragma once

#include "widgets/set_details_window.h"

#include <QObject>
#include <functional>
#include <memory>

class QListView;

namespace kelvaro {

class ResultListModel;

// What a calculation window's result list does beyond showing lines:
// double-click or Enter on a set line (or on the best set, or the line of
// zeros) opens 挂轮详情; the heading and the other items open nothing. Its
// context menu holds 详情…, 复制全部结果 (the lines as they stand, one per
// line) and 导出CSV…, which the window carries out.
class ResultListActions : public QObject {
    Q_OBJECT
  public:
    ResultListActions(QListView* list, const ResultListModel* model,
                      SetDetailsWindow::PrintSheet printSheet, std::function<void()> exportCsv);
    ~ResultListActions() override;

    // Opens the details of `row`, if it shows a set; false where it does not.
    bool openDetails(int row);
    // The details window, once opened.
    SetDetailsWindow* detailsWindow() const { return details_.get(); }
    // The list's lines, one per line, on the clipboard.
    void copyAll() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showMenu(const QPoint& position);

    QListView* list_;
    const ResultListModel* model_;
    SetDetailsWindow::PrintSheet printSheet_;
    std::function<void()> exportCsv_;
    std::unique_ptr<SetDetailsWindow> details_;
};

} // namespace kelvaro
