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

// The one page's size and words; an empty size where there is not one page.
std::pair<QSizeF, std::vector<Word>> pageWords(const QString& pdf) {
    const QString html = withoutRadicals(pdfText(pdf, QStringLiteral("-bbox")));
    static const QRegularExpression tag(
        "<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|<word xMin=\"([\\d.]+)\" "
        "yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
    std::pair<QSizeF, std::vector<Word>> page;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        auto n = [&m](int i) { return m.captured(i).toDouble(); };
        if (m.captured(1).isEmpty())
            page.second.push_back(
                {m.captured(7), QRectF(QPointF(n(3), n(4)), QPointF(n(5), n(6)))});
        else
            page.first = page.first.isEmpty() ? QSizeF(n(1), n(2)) : QSizeF(-1, -1);
    }
    return page;
}

constexpr double kPointsPerMm = 72 / 25.4;

} // namespace

class JobCardTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }

    void onePageInsideTheMargins() {
        // Name, Z, measured (0 none, 2 smaller by 20 µm over 50 mm), Letter,
        // the differential title and the set drawn under it (a/c × b/d).
        const std::tuple<const char*, const char*, int, bool, const char*, const char*> rows[] = {
            {"Z 40", "40", 0, false, "差动挂轮", "43/57 × 86/94"},
            {"Z 40 corrected", "40", 2, false, "差动挂轮（修正后）", "69/83 × 74/89"},
            {"Z 127", "127", 0, false, "差动挂轮", ""}, // no index set: the long reason wraps
            {"Z 127 Letter", "127", 0, true, "差动挂轮", ""},
            {"Z 107", "107", 0, false, "差动挂轮", "59/36 × 20/71"}}; // for Z0, with the feed
        for (const auto& [label, teeth, measured, letter, title, gears] : rows) {
            const QString name = label;
            JobRequest request;
            request.model = "M";
            request.teeth = teeth;
            request.module = "3";
            request.degrees = "15";
            request.hobLead = "2.5";
            request.partHand = request.hobHand = Hand::Right;
            request.measured = JobRequest::Measured(measured);
            request.deviation = "20";
            request.length = "50";
            request.faceWidth = "30";
            if (teeth == std::string("107")) request.feed = "1.1";
            const JobSheet sheet = jobSheet(runHobbingJob(request, catalogue.path()), request);
            QVERIFY2(sheet.message.empty(), sheet.message.c_str());
            const QString pdf = folder + '/' + name + ".pdf";
            QtPrintBackend printers(pdf, letter);
            QVERIFY(printJobCard(printers, "", jobCard(sheet, "2026-12-08")).ok());
            const auto [size, words] = pageWords(pdf);
            QVERIFY2(qRound(size.width()) == (letter ? 612 : 595), qPrintable(name));
            // The back-end's margins: 20 mm left, 15 mm elsewhere.
            const QRectF printable(QPointF(20, 15) * kPointsPerMm,
                                   QPointF(size.width(), size.height()) -
                                       QPointF(15, 15) * kPointsPerMm);
            QString text;
            for (const Word& word : words) {
                QVERIFY2(printable.adjusted(-0.5, -0.5, 0.5, 0.5).contains(word.box),
                         qPrintable(name + ": " + word.text));
                text += word.text + ' ';
            }
            QVERIFY2(text.contains("2026-12-08") && text.contains(gears), qPrintable(text));
            if (teeth == std::string("107"))
                QVERIFY(text.contains("分齿挂轮（差动分齿）") && text.contains("进给挂轮") &&
                        text.contains("u = 螺旋项 + 补偿项"));
            // A drawing's labels ("a 69") are words of their own, below its
            // title in the title's column; the lines name the counts only
            // inside longer words ("69/83", "69（主动轴）").
            auto drawnBelow = [&](const QString& over, const QString& count) {
                const auto at = std::find_if(words.begin(), words.end(),
                                             [&](const Word& w) { return w.text == over; });
                const bool right = at->box.center().x() > size.width() / 2;
                return std::any_of(words.begin(), words.end(), [&](const Word& w) {
                    return w.text == count && w.box.top() > at->box.bottom() &&
                           (w.box.center().x() > size.width() / 2) == right;
                });
            };
            for (const QString& count : QString(gears).split(QRegularExpression("[/ ×]+")))
                QVERIFY2(count.isEmpty() || drawnBelow(title, count), qPrintable(name + count));
            if (teeth != std::string("40")) continue;
            // Corrected, the set it replaces is named but not drawn.
            for (const char* count : {"43", "57", "86", "94"})
                QCOMPARE(drawnBelow(title, count), measured == 0);
            for (const char* count : {"20", "25", "21", "28"})
                QVERIFY(drawnBelow("分齿挂轮", count));
        }
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
