// The 调整卡 printed to PDF and read back word by word (pdftotext -bbox):
// one page on A4 and on Letter, every word inside the printable area, a
// title over each drawing, and the differential set drawn the one the card
// names as mounted.
#include "job/job_card.h"
#include "printing/qt_print_backend.h"
#include "support/pdf_reading.h"
#include "support/temporary_catalogue.h"
#include "widgets/form_builder.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace kelvaro;

namespace {

struct Word {
    QString text;
    QRectF box; // points, y down
};
struct Page {
    QSizeF size;
    std::vector<Word> words;
};

std::vector<Page> pdfWords(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    const QString html = withoutRadicals(QString::fromUtf8(process.readAllStandardOutput()));
    std::vector<Page> pages;
    static const QRegularExpression tag(
        QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|<word xMin=\"([\\d.]+)\" "
                       "yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty())
            pages.push_back({QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}});
        else if (!pages.empty())
            pages.back().words.push_back(
                {m.captured(7),
                 QRectF(QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()),
                        QPointF(m.captured(5).toDouble(), m.captured(6).toDouble()))});
    }
    return pages;
}

const Word* find(const Page& page, const QString& text) {
    for (const Word& word : page.words)
        if (word.text == text) return &word;
    return nullptr;
}

constexpr double kPointsPerMm = 72 / 25.4;

} // namespace

class JobCardTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }

    void onePageInsideTheMargins_data() {
        QTest::addColumn<QString>("teeth");
        QTest::addColumn<int>("measured");
        QTest::addColumn<QString>("drawnTitle");
        QTest::addColumn<QString>("drawnGears"); // a/c × b/d as the card names it
        QTest::addColumn<bool>("letter");
        // The first piece's angle too small by 20 µm over 50 mm: the
        // corrected set is the one mounted and drawn.
        QTest::newRow("Z 40") << "40" << 0 << "差动挂轮"
                              << "43/57 × 86/94" << false;
        QTest::newRow("Z 40 corrected") << "40" << 2 << "差动挂轮（修正后）"
                                        << "69/83 × 74/89" << false;
        QTest::newRow("Z 40 corrected, Letter") << "40" << 2 << "差动挂轮（修正后）"
                                                << "69/83 × 74/89" << true;
        // No exact index set: the long reason wraps inside the page.
        QTest::newRow("Z 127") << "127" << 0 << "差动挂轮"
                               << "" << false;
        QTest::newRow("Z 127, Letter") << "127" << 0 << "差动挂轮"
                                       << "" << true;
        // Indexed differentially for Z0 = 107 − 2/39, with the feed pair.
        QTest::newRow("Z 107") << "107" << 0 << "差动挂轮"
                               << "59/36 × 20/71" << false;
    }

    void onePageInsideTheMargins() {
        QFETCH(QString, teeth);
        QFETCH(int, measured);
        QFETCH(QString, drawnTitle);
        QFETCH(QString, drawnGears);
        QFETCH(bool, letter);
        JobRequest request;
        request.model = "M";
        request.teeth = teeth.toStdString();
        request.module = "3";
        request.degrees = "15";
        request.hobLead = "2.5";
        request.partHand = request.hobHand = Hand::Right;
        request.measured = JobRequest::Measured(measured);
        request.deviation = "20";
        request.length = "50";
        request.faceWidth = "30";
        if (teeth == "107") request.feed = "1.1";
        const JobSheet sheet = jobSheet(runHobbingJob(request, catalogue.path()), request);
        QVERIFY2(sheet.message.empty(), sheet.message.c_str());
        const QString pdf = folder + '/' + QTest::currentDataTag() + ".pdf";
        QtPrintBackend printers(pdf, letter);
        QVERIFY(printJobCard(printers, "", jobCard(sheet, "2026-12-08")).ok());

        const std::vector<Page> pages = pdfWords(pdf);
        QCOMPARE(pages.size(), std::size_t{1});
        const Page& page = pages[0];
        QCOMPARE(qRound(page.size.width()), letter ? 612 : 595);
        // The back-end's margins: 20 mm left, 15 mm elsewhere.
        const QRectF printable(
            QPointF(20 * kPointsPerMm, 15 * kPointsPerMm),
            QPointF(page.size.width() - 15 * kPointsPerMm, page.size.height() - 15 * kPointsPerMm));
        for (const Word& word : page.words)
            QVERIFY2(printable.adjusted(-0.5, -0.5, 0.5, 0.5).contains(word.box),
                     qPrintable(word.text));
        QString text;
        for (const Word& word : page.words)
            text += word.text + ' ';
        QVERIFY2(text.contains("2026-12-08"), qPrintable(text));
        QVERIFY(text.contains("右旋"));

        // Each drawing's gear labels ("a 69") lie below its train's title,
        // in the title's column.
        const Word* title = find(page, drawnTitle);
        QVERIFY2(title, qPrintable(text));
        if (drawnGears.isEmpty()) return;
        QVERIFY2(text.contains(drawnGears), qPrintable(text));
        // The drawing's labels ("a 69") are words of their own; the lines
        // name counts only inside longer words ("69/83", "69（主动轴）").
        const double column = page.size.width() / 2;
        auto drawnBelow = [&](const Word* over, const QString& count) {
            return std::any_of(page.words.begin(), page.words.end(), [&](const Word& w) {
                return w.text == count && w.box.top() > over->box.bottom() &&
                       (w.box.center().x() > column) == (over->box.center().x() > column);
            });
        };
        for (const QString& count : drawnGears.split(QRegularExpression("[/ ×]+")))
            QVERIFY2(drawnBelow(title, count), qPrintable(count));
        if (teeth == "107") {
            QVERIFY(find(page, "分齿挂轮（差动分齿）") && find(page, "进给挂轮"));
            QVERIFY(text.contains("u = 螺旋项 + 补偿项"));
            return;
        }
        // Corrected, the set it replaces is named but not drawn.
        for (const char* count : {"43", "57", "86", "94"})
            QCOMPARE(drawnBelow(title, count), measured == 0);
        const Word* index = find(page, "分齿挂轮");
        QVERIFY(index);
        for (const char* count : {"20", "25", "21", "28"})
            QVERIFY(drawnBelow(index, count));
    }

  private:
    TemporaryCatalogue catalogue{
        TemporaryCatalogue::Files{{"jixing.dat", "M\r\n"},
                                  {"M.dat", "20\r\n100\r\n 3\r\n8\r\n23\r\n47\r\n53\r\n"},
                                  {"M.dat.txt", "index = 24 for Z/K from 1 to 161, e/f = 36/36\n"
                                                "index = 48 for Z/K from 162 to 1000, e/f = 24/48\n"
                                                "box = 20-100, 25, 40, -23, -47, -53\n"
                                                "feed = 0.9216π × 30/54, 进给箱 II 档\n"
                                                "feed pairs = 26/52, 32/46, 46/32, 52/26\n"
                                                "helix extra = with\n"}}};
    QTemporaryDir dir;
    // KELVARO_CARD names a folder that keeps the cards to look at.
    const QString folder = qEnvironmentVariable("KELVARO_CARD", dir.path());
};

QTEST_MAIN(JobCardTest)
#include "job_card_test.moc"
