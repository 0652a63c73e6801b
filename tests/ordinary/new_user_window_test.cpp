// What a new user meets in the calculation windows: whole result lines, a
// refused negative tolerance, a question before a long printout, slips in
// the fields marked, the list scrolled to what is new, Enter, the machine
// choice kept, a second Confirm of Form2, Qt's own texts in Chinese and the
// progress in percent.
#include "catalogue/add_machine_window.h"
#include "differential/chadong_window.h"
#include "gears/gear_lines.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/field_marks.h"
#include "widgets/form_builder.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QListView>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScrollBar>
#include <QTimer>

namespace kelvaro {

using namespace driver;

class NewUserWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }
    void init() { recorder = MessageRecorder(); }
    void wholeLinesFitTheList();

  private:
    RecordingPrintBackend printers;
    MessageRecorder recorder;
};

// The widest lines, three-digit counts and an exponent error, fit beside
// the scroll bar in both windows.
void NewUserWindowTest::wholeLinesFitTheList() {
    const WindowContext context = driver::context(printers, recorder);
    PuTong puTong(context);
    ChaDong chaDong(context);
    for (QWidget* window : {static_cast<QWidget*>(&puTong), static_cast<QWidget*>(&chaDong)}) {
        window->show();
        auto* list = child<QListView>(window, "jsjgp");
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        const QFontMetricsF metrics(list->font());
        for (double teeth : {88.0, 188.0}) {
            const QString line =
                QString::fromStdString(formatListLine({teeth, teeth, teeth, teeth, -8.888888E-08}));
            // The view leaves a margin each side of an item's text.
            const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
            const int room = list->viewport()->width() - 2 * (list->spacing() + margin);
            QVERIFY2(metrics.horizontalAdvance(line) <= room, qPrintable(line));
        }
    }
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::NewUserWindowTest)
#include "new_user_window_test.moc"
