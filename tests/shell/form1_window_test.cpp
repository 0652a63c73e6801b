// The start window: its captions open one PuTong and one ChaDong, shown
// again with their contents; 结  束 and the frame's close end the program;
// the credit line does nothing. Its look is the layout test's.
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "shell/start_window.h"
#include "support/recording_print_backend.h"
#include "support/window_driver.h"

#include <QLabel>

namespace kelvaro {

using namespace driver;

class Form1WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void captionsOpenOneWindowEachAndEndTheProgram() {
        RecordingPrintBackend printers;
        MessageRecorder messages;
        int ended = 0;
        Form1 w(context(printers, messages), [&ended] { ++ended; });
        w.show();
        const auto clickCaption = [&w](const char* name) {
            QTest::mouseClick(child<QLabel>(&w, name), Qt::LeftButton);
        };
        QCOMPARE(child<QLabel>(&w, "Label1")->text(), QStringLiteral("结  束"));
        clickCaption("Label5");
        QVERIFY(!w.puTong() && !w.chaDong());
        QCOMPARE(ended, 0);

        clickCaption("Label2");
        PuTong* puTong = w.puTong();
        QVERIFY(puTong && puTong->isVisible());
        type(puTong, "chuandongbi", "1.5");
        puTong->Command2_Click();
        clickCaption("Label3");
        ChaDong* chaDong = w.chaDong();
        QVERIFY(chaDong && chaDong->isVisible());
        clickCaption("Label2");
        clickCaption("Label3");
        QCOMPARE(w.puTong(), puTong);
        QCOMPARE(w.chaDong(), chaDong);
        QVERIFY(puTong->isVisible() && chaDong->isVisible() && w.isVisible());
        QCOMPARE(text(puTong, "chuandongbi"), QStringLiteral("1.5"));

        clickCaption("Label1");
        QCOMPARE(ended, 1);
        w.close();
        QCOMPARE(ended, 2);
    }
};

} // namespace kelvaro

QTEST_MAIN(kelvaro::Form1WindowTest)
#include "form1_window_test.moc"
