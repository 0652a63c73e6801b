#include "widgets/calculation_window.h"

#include "widgets/field_marks.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"
#include "widgets/result_list_model.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace kelvaro {

CalculationWindow::CalculationWindow(const WindowContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {}

CalculationWindow::~CalculationWindow() = default;

void CalculationWindow::setUpPane(const char* printerList, const std::vector<QLineEdit*>& fields,
                                  PaneServices services) {
    services_ = std::move(services);
    resultList_ = control<QListView>(this, "jsjgp");
    printerList_ = control<QComboBox>(this, printerList);
    printButton_ = control<QPushButton>(this, "Command3");

    results_ = new ResultListModel(this);
    resultList_->setModel(results_);
    listActions_ = new ResultListActions(
        resultList_, results_, context_.messages,
        [this](const SetDetails& details) {
            const std::string failure = services_.printSheet(printerListText(), details);
            if (!failure.empty()) context_.messages.show(listActions_->detailsWindow(), failure);
        },
        services_.writeFile);

    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            &CalculationWindow::Command1_Click);
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this,
            &CalculationWindow::Command2_Click);
    connect(printButton_, &QPushButton::clicked, this, &CalculationWindow::Command3_Click);
    // Enter in a field calculates.
    for (QLineEdit* field : fields)
        connect(field, &QLineEdit::returnPressed, this, &CalculationWindow::Command1_Click);
}

std::string CalculationWindow::printText() const {
    return results_->printText();
}

void CalculationWindow::fillPrinters() {
    const PrinterListItems printers = services_.printers();
    applyPrinterList(printers.items, printers.selected, printers.disablePrint, *printerList_,
                     *printButton_);
}

std::string CalculationWindow::printerListText() const {
    return printerList_->currentText().toStdString();
}

std::vector<std::string> CalculationWindow::fieldTexts(const std::vector<QLineEdit*>& fields) {
    std::vector<std::string> texts;
    for (const QLineEdit* field : fields)
        texts.push_back(field->text().toStdString());
    return texts;
}

void CalculationWindow::Command1_Click() {
    auto outcome = runCalculation(this, calculation());
    if (!outcome) return;
    listActions_->show(std::move(*outcome), this);
    markReadings(readFields());
}

void CalculationWindow::Command2_Click() {
    hide();
}

void CalculationWindow::Command3_Click() {
    const std::string failure = printResults();
    if (!failure.empty()) context_.messages.show(this, failure);
}

void CalculationWindow::closeEvent(QCloseEvent* event) {
    // Closing through the frame is Exit: hidden, contents kept.
    event->ignore();
    Command2_Click();
}

} // namespace kelvaro
