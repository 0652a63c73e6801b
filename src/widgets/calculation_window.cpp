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
    listActions_->setSheetPrintable([this] { return printButton_->isEnabled(); });
    for (const auto& [input, text] : inputTexts()) {
        if (const auto* field = qobject_cast<const QLineEdit*>(input))
            connect(field, &QLineEdit::textChanged, this, &CalculationWindow::markStale);
        else
            connect(static_cast<const QComboBox*>(input), &QComboBox::currentTextChanged, this,
                    &CalculationWindow::markStale);
    }
}

std::map<const QWidget*, QString> CalculationWindow::inputTexts() const {
    std::map<const QWidget*, QString> texts;
    // A read-only field shows a result; it is no input.
    for (const QLineEdit* field : findChildren<QLineEdit*>())
        if (!field->isReadOnly() && !qobject_cast<const QComboBox*>(field->parent()))
            texts[field] = field->text();
    for (const QComboBox* list : findChildren<QComboBox*>())
        if (list != printerList_) texts[list] = list->currentText();
    return texts;
}

void CalculationWindow::markStale() {
    QString note;
    if (results_->facts() && inputTexts() != calculatedTexts_) {
        QStringList lines;
        for (const std::string& line : results_->facts()->inputLines)
            lines << QString::fromStdString(line);
        note = QStringLiteral("结果对应：") + lines.join(QStringLiteral("  "));
    }
    results_->setStaleNote(note);
}

std::string CalculationWindow::calculatedText(const QLineEdit* field) const {
    const auto kept = calculatedTexts_.find(field);
    return (kept == calculatedTexts_.end() ? field->text() : kept->second).toStdString();
}

std::string CalculationWindow::calculatedText(const QComboBox* list) const {
    const auto kept = calculatedTexts_.find(list);
    return (kept == calculatedTexts_.end() ? list->currentText() : kept->second).toStdString();
}

std::string CalculationWindow::printText() const {
    return results_->printText();
}

void CalculationWindow::fillPrinters() {
    const PrinterListItems printers = services_.printers();
    applyPrinterList(printers.items, printers.selected, printers.disablePrint, *printerList_,
                     *printButton_);
    listActions_->setSheetPrintable([this] { return printButton_->isEnabled(); });
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
    std::map<const QWidget*, QString> texts = inputTexts();
    auto outcome = runCalculation(this, calculation());
    if (!outcome) return; // cancelled: the list stays as it was, and marked if it was
    if (outcome->replaceResults) calculatedTexts_ = std::move(texts);
    listActions_->show(std::move(*outcome), this);
    markStale();
    markReadings(readFields());
    calculated();
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
