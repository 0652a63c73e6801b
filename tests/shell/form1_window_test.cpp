#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"
#include "shell/form1_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace kelvaro {

class Form1WindowTest : public QObject {
    Q_OBJECT

  private:
    RecordingPrintBackend printers_;

    static void clickCaption(Form1& w, const char* name) {
        QTest::mouseClick(w.findChild<QLabel*>(QString::fromUtf8(name)), Qt::LeftButton);
    }

  private slots:
    void captionsAreLabelsWithoutFocus() {
        Form1 w(printers_, [] {});
        QCOMPARE(w.windowTitle(), QStringLiteral("Kelvaro"));
        for (const char* name : {"Label1", "Label2", "Label3", "Label5"}) {
            auto* label = w.findChild<QLabel*>(QString::fromUtf8(name));
            QVERIFY(label);
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        }
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QString::fromUtf8("结  束"));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label2"))->cursor().shape(),
                 Qt::BitmapCursor);
    }

    void openingTwiceGivesOneWindowWithItsContents() {
        Form1 w(printers_, [] {});
        w.show();
        QVERIFY(!w.puTong());
        clickCaption(w, "Label2");
        PuTong* first = w.puTong();
        QVERIFY(first && first->isVisible());
        first->findChild<QLineEdit*>(QStringLiteral("chuandongbi"))->setText(QStringLiteral("1.5"));
        clickCaption(w, "Label2");
        QCOMPARE(w.puTong(), first);

        first->Command2_Click();
        QVERIFY(!first->isVisible());
        clickCaption(w, "Label2");
        QCOMPARE(w.puTong(), first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->findChild<QLineEdit*>(QStringLiteral("chuandongbi"))->text(),
                 QStringLiteral("1.5"));
        QVERIFY(w.isVisible());
    }

    void bothCalculationWindowsOpenBesideTheStartWindow() {
        Form1 w(printers_, [] {});
        w.show();
        clickCaption(w, "Label3");
        ChaDong* chaDong = w.chaDong();
        QVERIFY(chaDong && chaDong->isVisible());
        clickCaption(w, "Label2");
        clickCaption(w, "Label3");
        QCOMPARE(w.chaDong(), chaDong);
        QVERIFY(w.puTong()->isVisible() && chaDong->isVisible() && w.isVisible());
    }

    void endCaptionAndFrameCloseEndTheProgram() {
        int ended = 0;
        Form1 w(printers_, [&ended] { ++ended; });
        w.show();
        clickCaption(w, "Label2");
        clickCaption(w, "Label1");
        QCOMPARE(ended, 1);
        w.close();
        QCOMPARE(ended, 2);
    }

    void creditLineDoesNothing() {
        int ended = 0;
        Form1 w(printers_, [&ended] { ++ended; });
        clickCaption(w, "Label5");
        QVERIFY(!w.puTong());
        QCOMPARE(ended, 0);
    }
};

} // namespace kelvaro

QTEST_MAIN(kelvaro::Form1WindowTest)
#include "form1_window_test.moc"
