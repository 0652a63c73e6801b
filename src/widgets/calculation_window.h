#pragma once

#include "gears/set_details.h"
#include "widgets/calculation_runner.h"
#include "widgets/printer_controls.h"
#include "widgets/result_list_actions.h"
#include "widgets/window_context.h"

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListView;
class QPushButton;

namespace kelvaro {

class ResultListModel;

// What the pane needs from the printing and catalogue layers, which it may
// not include: each window hands in paneServices(backend, wholeFileWriter(fs))
// (printing/pane_services.h). The functions return the message of a
// failure, empty on success.
struct PaneServices {
    std::function<PrinterListItems()> printers; // the printer list as it is now
    std::function<std::string(const std::string& printerList, const SetDetails& details)>
        printSheet;                         // the setup sheet on the printer the list names
    ResultListActions::WriteFile writeFile; // the CSV export
};

// What every calculation window shares, whatever its fields: the result list
// jsjgp with its actions (details, copy, CSV export), the printer list and
// Print, the setup sheet of an opened set (disabled with Print), a list
// greyed while the inputs differ from those that made it, Calculate on Command1 or Enter in
// a field, Exit on Command2, and closing through the frame as Exit (hidden,
// contents kept). A window builds its own layout table, then calls
// setUpPane; it supplies only its calculation, the fields whose readings
// are marked, and its printout.
class CalculationWindow : public QWidget {
    Q_OBJECT
  public:
    ~CalculationWindow() override;

    std::string printText() const; // made from the last results
    const ResultListModel& results() const { return *results_; }
    ResultListActions& listActions() const { return *listActions_; }

  public slots:
    void Command1_Click(); // 计算
    void Command2_Click(); // 退出
    void Command3_Click(); // 打印

  protected:
    CalculationWindow(const WindowContext& context, QWidget* parent);

    // Wires the controls the layout table made: jsjgp, Command1 to Command3
    // and the printer list of that name; Enter in any of `fields` calculates.
    void setUpPane(const char* printerList, const std::vector<QLineEdit*>& fields,
                   PaneServices services);
    // Refills the printer list from the printers installed now.
    void fillPrinters();
    // The text of the printer list, which names the printer a printout goes to.
    std::string printerListText() const;
    // The fields' texts now, in their order.
    static std::vector<std::string> fieldTexts(const std::vector<QLineEdit*>& fields);
    // The text a field or list held at the calculation that made printText,
    // exactly as it was then; its text now before any calculation. A
    // printout's data line is made of these, so it describes its sets.
    std::string calculatedText(const QLineEdit* field) const;
    std::string calculatedText(const QComboBox* list) const;

    // Greys the list while the inputs differ from those that made it. Runs
    // on every change of a field or list; a window that refills a list with
    // its signals blocked calls it afterwards.
    void markStale();

    // The calculation as Calculate runs it, the field texts read now.
    virtual Calculation calculation() = 0;
    // The fields whose readings are marked after a calculation.
    virtual std::vector<QLineEdit*> readFields() const = 0;
    // Prints the results with the fields as calculatedText gives them; the
    // message of a failure, empty on success or when the user declines.
    virtual std::string printResults() = 0;
    // After a calculation's outcome is shown: a window that shows more
    // than the list updates it here.
    virtual void calculated() {}

    void closeEvent(QCloseEvent* event) override;

    WindowContext context_;

  private:
    // Every field and list of the window but read-only fields and the
    // printer list, with its text now.
    std::map<const QWidget*, QString> inputTexts() const;
    PaneServices services_;
    // The inputs' texts at the calculation that last replaced the list.
    std::map<const QWidget*, QString> calculatedTexts_;
    QListView* resultList_ = nullptr;
    QComboBox* printerList_ = nullptr;
    QPushButton* printButton_ = nullptr;
    ResultListModel* results_ = nullptr;
    ResultListActions* listActions_ = nullptr;
};

} // namespace kelvaro
