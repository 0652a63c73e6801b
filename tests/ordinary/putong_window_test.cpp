#include "common/result_list_model.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

namespace kelvaro {

class PuTongWindowTest : public QObject {
    Q_OBJECT

  private:
    RecordingPrintBackend printers_;

    static QLineEdit* field(PuTong& w, const char* name) {
        return w.findChild<QLineEdit*>(QString::fromUtf8(name));
    }
    static void click(PuTong& w, const char* button) {
        QTest::mouseClick(w.findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
    }
    static QStringList listItems(PuTong& w) {
        QStringList items;
        auto* model = w.findChild<QListView*>(QStringLiteral("jsjgp"))->model();
        for (int row = 0; row < model->rowCount(); ++row)
            items << model->index(row, 0).data().toString();
        return items;
    }
    static void type(PuTong& w, const char* name, const char* text) {
        field(w, name)->clear();
        QTest::keyClicks(field(w, name), QString::fromUtf8(text));
    }

  private slots:
    void startsWithTheInitialTexts() {
        PuTong w(printers_);
        QCOMPARE(w.windowTitle(), QString::fromUtf8("普通Kelvaro"));
        QCOMPARE(field(w, "jingdu")->text(), QStringLiteral("0.00001"));
        QVERIFY(field(w, "chuandongbi")->text().isEmpty());
        QVERIFY(listItems(w).isEmpty());
        QVERIFY(w.printText().empty());
    }

    void missingInputAppendsAnItemEachClick() {
        PuTong w(printers_);
        w.show();
        click(w, "Command1");
        click(w, "Command1");
        QCOMPARE(listItems(w),
                 QStringList({QString::fromUtf8("请输入数值"), QString::fromUtf8("请输入数值")}));
        QVERIFY(w.printText().empty());
    }

    void calculateReplacesAndMissingInputAppends() {
        PuTong w(printers_);
        w.show();
        type(w, "chuandongbi", "1.5");
        type(w, "zuishaochishu", "20");
        type(w, "zuidachishu", "30");
        click(w, "Command1");
        QStringList first = listItems(w);
        QCOMPARE(first.size(), 16);
        QCOMPARE(first.front(), QStringLiteral(" 20    30    20    20      0"));
        QCOMPARE(first.at(14), QString::fromUtf8("     误差最小的挂轮组及误差为"));
        const std::string printText = w.printText();
        QVERIFY(printText.starts_with("\r      20     30     20     20     0"));

        click(w, "Command1");
        QCOMPARE(listItems(w), first);

        field(w, "chuandongbi")->clear();
        click(w, "Command1");
        QStringList after = listItems(w);
        QCOMPARE(after.size(), 17);
        QCOMPARE(after.mid(0, 16), first);
        QCOMPARE(after.back(), QString::fromUtf8("请输入数值"));
        QCOMPARE(w.printText(), printText);
        QVERIFY(field(w, "chuandongbi")->text().isEmpty());
    }

    void zeroDivisorIsReportedLikeAMissingInput() {
        PuTong w(printers_);
        w.show();
        type(w, "chuandongbi", "1.5");
        type(w, "zuishaochishu", "20");
        type(w, "zuidachishu", "30");
        click(w, "Command1");
        type(w, "jingdu", "1.5");
        click(w, "Command1");
        QCOMPARE(listItems(w).size(), 17);
        QCOMPARE(listItems(w).back(), QString::fromUtf8("请输入数值"));
    }

    void exitAndFrameCloseHideAndKeepEverything() {
        PuTong w(printers_);
        w.show();
        type(w, "chuandongbi", "1.5");
        type(w, "zuishaochishu", "20");
        type(w, "zuidachishu", "30");
        click(w, "Command1");
        click(w, "Command2");
        QVERIFY(!w.isVisible());
        w.show();
        QVERIFY(w.close() == false || !w.isVisible());
        QVERIFY(!w.isVisible());
        QCOMPARE(field(w, "chuandongbi")->text(), QStringLiteral("1.5"));
        QCOMPARE(listItems(w).size(), 16);
    }
};

} // namespace kelvaro

QTEST_MAIN(kelvaro::PuTongWindowTest)
#include "putong_window_test.moc"
