// The look of the five windows, read from the live widgets and compared with
// the layout tables below (twips, as the layouts are drawn): frame, every
// control's place, font, colours and visibility at start, and the way the
// tab key walks. The same test runs at 150 % (see CMakeLists.txt), where
// pixels follow the screen's logical resolution.
#include "catalogue/add_machine_window.h"
#include "catalogue/delete_machine_window.h"
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"
#include "shell/start_window.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/form_builder.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QGlyphRun>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>
#include <span>

using namespace kelvaro;

namespace {

constexpr QColor kCyan{192, 255, 255};
constexpr QColor kRed{192, 0, 0};
constexpr unsigned kHidden = 1, kOwnColour = 2;

// One control in focus order; a label's size follows its caption, so only
// its position counts.
struct Row {
    const char* name;
    int left, top, width, height;
    const char* face;
    double points;
    bool bold = false;
    unsigned flags = 0;
};

struct Layout {
    const char* caption;
    int width, height; // client area, below the menu bar
    QColor background;
    std::span<const Row> rows;
};

constexpr const char* kSans = "MS Sans Serif";
constexpr const char* kSong = "宋体";

const Row kForm1[] = {
    {"Label2", 2580, 1980, 0, 0, kSong, 24, true},
    {"Label3", 2580, 3090, 0, 0, kSong, 24, true},
    {"Label1", 3405, 5220, 0, 0, kSong, 24, true},
    {"Label5", 540, 255, 0, 0, "System", 12, true},
};

const Row kPuTong[] = {
    {"Label2", 720, 930, 0, 0, kSans, 18},
    {"chuandongbi", 1950, 870, 1290, 510, kSans, 13.5},
    {"Label3", 705, 1770, 0, 0, kSans, 18},
    {"jingdu", 1950, 1725, 1290, 510, kSans, 13.5},
    {"Label4", 705, 2685, 0, 0, kSans, 18},
    {"zuishaochishu", 2355, 2625, 885, 510, kSans, 13.5},
    {"Label5", 705, 3570, 0, 0, kSans, 18},
    {"zuidachishu", 2370, 3540, 900, 510, kSans, 13.5},
    {"Command1", 1140, 4395, 1500, 645, kSans, 24},
    {"Label1", 4935, 315, 0, 0, kSans, 18},
    {"Command2", 2385, 5490, 1500, 645, kSans, 24},
    {"Command3", 5010, 5490, 1500, 645, kSans, 24},
    {"jsjgp", 4020, 900, 4080, 3660, kSans, 12},
    {"Label11", 4935, 705, 0, 0, kSans, 8.25}, // moved clear of 计算结果
    {"Combo1", 5280, 4800, 2775, 360, "System", 12, true},
    {"Label13", 4080, 4800, 0, 0, kSans, 18},
};

const Row kChaDong[] = {
    {"Label1", 1260, 240, 0, 0, kSans, 24},
    {"Label2", 900, 1125, 0, 0, kSans, 18},
    {"moshu", 2295, 1080, 870, 465, kSans, 13.5},
    {"Label3", 885, 1710, 0, 0, kSans, 18},
    {"luoxuanjiaodu", 2295, 1680, 870, 480, kSans, 13.5},
    {"Label4", 3285, 1710, 0, 0, kSans, 18},
    {"luoxuanjiaofen", 2295, 2160, 870, 480, kSans, 13.5},
    {"Label5", 3285, 2190, 0, 0, kSans, 18},
    {"luoxuanjiaomiao", 2295, 2640, 870, 480, kSans, 13.5},
    {"Label6", 3270, 2670, 0, 0, kSans, 18},
    {"Label7", 690, 3360, 0, 0, kSans, 18},
    {"jingdu", 2295, 3285, 1290, 480, kSans, 13.5},
    {"Combo1", 2295, 3930, 1710, 360, "System", 12, true},
    {"Command1", 1185, 5400, 1500, 720, kSans, 24},
    {"Command2", 3690, 5415, 1500, 720, kSans, 24},
    {"Command3", 5985, 5400, 1500, 720, kSans, 24},
    {"jsjgp", 4125, 1110, 4080, 3060, kSans, 12},
    {"Label8", 4740, 240, 0, 0, kSans, 24},
    {"Label9", 735, 3945, 0, 0, kSans, 18},
    {"Label10", 840, 2115, 0, 0, "Arial", 8.25}, // moved clear of 螺旋角
    {"Label11", 5175, 780, 0, 0, "Arial", 8.25}, // moved clear of 计算结果
    {"齿数", 2295, 4440, 870, 480, kSans, 13.5, false, kHidden},
    {"Label12", 735, 4485, 0, 0, kSans, 18, false, kHidden},
    {"Combo2", 5400, 4500, 2775, 360, "System", 12, true},
    {"Label13", 4200, 4463, 0, 0, kSans, 18},
};

const Row kForm2[] = {
    {"Label1", 870, 375, 0, 0, kSans, 18},
    {"Text1", 2760, 315, 1845, 480, kSans, 13.5},
    {"Label2", 825, 1185, 0, 0, kSans, 18},
    {"Text2", 2775, 1110, 1845, 480, kSans, 13.5},
    {"Label3", 825, 1995, 0, 0, kSans, 18},
    {"Text3", 2760, 1920, 1845, 480, kSans, 13.5},
    {"Label4", 855, 3525, 0, 0, kSans, 18},
    {"Text4", 2760, 2670, 1845, 480, kSans, 13.5},
    {"Label5", 825, 2745, 0, 0, kSans, 18},
    {"Text5", 2760, 3450, 1845, 480, kSans, 13.5},
    {"Command2", 1305, 4575, 1155, 585, kSans, 13.5},
    {"Command1", 3390, 4560, 1155, 585, kSans, 13.5},
};

const Row kForm3[] = {
    {"Label1", 1020, 1095, 0, 0, kSans, 18, false, kOwnColour},
    {"Command1", 1155, 2055, 1155, 585, kSans, 13.5},
    {"Command2", 3075, 2010, 1155, 585, kSans, 13.5},
    {"Combo1", 2790, 1110, 1710, 360, "System", 12, true},
};

const Layout kLayouts[] = {
    {"Kelvaro", 8640, 6360, kCyan, kForm1},       {"普通Kelvaro", 8580, 6300, kCyan, kPuTong},
    {"差动Kelvaro", 8595, 6330, kCyan, kChaDong}, {"增加机床", 6720, 6030, kCyan, kForm2},
    {"删除机床", 5175, 3030, kRed, kForm3},
};

bool isSerif(const QString& family) {
    return family.contains(QLatin1String("Serif"), Qt::CaseInsensitive) ||
           family.contains(QLatin1String("Ming"), Qt::CaseInsensitive);
}

// Whether every character of `text` is drawn with a real glyph, from the
// font itself or a fallback, rather than an empty box.
bool showsAll(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        if (run.glyphIndexes().contains(0)) return false;
    return true;
}

QString textOf(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<const QPushButton*>(w)) return button->text();
    return {};
}

QColor pixel(const QImage& image, QPoint at) {
    return image.pixelColor((QPointF(at) * image.devicePixelRatio()).toPoint());
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        installFontSubstitutes();
        printers_.printers = {"Kelvaro_PDF"}; // so that 打印 takes the focus
    }

    void layout_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 5; ++i)
            QTest::newRow(kLayouts[i].caption) << i;
    }

    void layout() {
        QFETCH(int, index);
        const Layout& want = kLayouts[index];
        const std::unique_ptr<QWidget> window = open(index);
        QStringList hiddenAtStart;
        for (const QWidget* w : window->findChildren<QWidget*>())
            if (!w->isVisibleTo(window.get())) hiddenAtStart << w->objectName();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const int dpiX = window->logicalDpiX(), dpiY = window->logicalDpiY();
        const auto x = [dpiX](int twips) { return qRound(twips * dpiX / 1440.0); };
        const auto y = [dpiY](int twips) { return qRound(twips * dpiY / 1440.0); };

        // The controls and the table list the same names.
        QWidget* area =
            window->findChild<QWidget*>(QString::fromUtf8(want.rows[0].name))->parentWidget();
        QStringList names, listed;
        for (const QWidget* w : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            names << w->objectName();
        for (const Row& row : want.rows)
            listed << QString::fromUtf8(row.name);
        names.sort();
        listed.sort();
        QCOMPARE(names, listed);

        // Frame: caption, client size (plus ChaDong's menu bar), background,
        // fixed size without a maximise box.
        QCOMPARE(window->windowTitle(), QString::fromUtf8(want.caption));
        QCOMPARE(area->size(), QSize(x(want.width), y(want.height)));
        const auto* menuBar = window->findChild<QMenuBar*>();
        const int menuHeight = menuBar ? menuBar->height() : 0;
        QCOMPARE(window->size(), area->size() + QSize(0, menuHeight));
        QCOMPARE(area->pos(), QPoint(0, menuHeight));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        window->resize(window->size() * 2);
        QCOMPARE(window->size(), area->size() + QSize(0, menuHeight));
        const QImage image = window->grab().toImage();
        QCOMPARE(pixel(image, QPoint(window->width() - 2, window->height() - 2)), want.background);

        QStringList problems;
        QStringList focusOrder;
        for (const Row& row : want.rows) {
            const QString name = QString::fromUtf8(row.name);
            const QWidget* w = area->findChild<QWidget*>(name);
            const auto expect = [&](bool ok, const QString& what) {
                if (!ok) problems << name + QLatin1String(": ") + what;
            };
            const bool label = qobject_cast<const QLabel*>(w) != nullptr;
            const QPoint at(x(row.left), y(row.top));
            if (label) {
                expect(w->pos() == at, QStringLiteral("position"));
                expect(w->size() == w->sizeHint(), QStringLiteral("not sized to its caption"));
                expect(w->focusPolicy() == Qt::NoFocus, QStringLiteral("takes the focus"));
                const QColor shown = row.flags & kOwnColour
                                         ? QApplication::palette().color(QPalette::Window)
                                         : want.background;
                expect(pixel(image, w->mapTo(window.get(), QPoint(0, 0))) == shown,
                       QStringLiteral("background"));
            } else {
                expect(w->geometry() == QRect(at, QSize(x(row.width), y(row.height))),
                       QStringLiteral("geometry"));
                if (!(row.flags & kHidden)) focusOrder << name;
            }

            const QFont font = w->font();
            expect(font.family() == QString::fromUtf8(row.face) &&
                       font.pointSizeF() == row.points && font.bold() == row.bold,
                   QStringLiteral("font ") + font.toString());
            const QString face = QFontInfo(font).family();
            expect(isSerif(face) == (qstrcmp(row.face, kSong) == 0),
                   QStringLiteral("drawn in ") + face);
            expect(hiddenAtStart.contains(name) == bool(row.flags & kHidden),
                   QStringLiteral("visibility at start"));

            // Captions show every character and fit their control; a field
            // or a list shows a line of Chinese and digits whole. A label's
            // line stands in the middle of it.
            const QString text = textOf(w).isEmpty() ? QString::fromUtf8("机床Y7150") : textOf(w);
            const QFontMetrics metrics(font);
            const QRect ink = metrics.tightBoundingRect(text);
            const int baseline = (w->height() - metrics.height()) / 2 + metrics.ascent();
            expect(showsAll(font, text), QStringLiteral("missing glyphs"));
            expect(label
                       ? baseline + ink.top() >= 0 && baseline + ink.bottom() < w->height()
                       : ink.height() <= w->height() - 4 && (!qobject_cast<const QPushButton*>(w) ||
                                                             ink.width() <= w->width() - 8),
                   QStringLiteral("caption clipped"));

            if (auto* combo = qobject_cast<const QComboBox*>(w)) {
                const QPalette p = combo->palette();
                expect(p.color(QPalette::ButtonText) == QColor(64, 64, 64) &&
                           p.color(QPalette::Text) == QColor(64, 64, 64) &&
                           p.color(QPalette::Button) == Qt::white &&
                           p.color(QPalette::Base) == Qt::white,
                       QStringLiteral("combo colours"));
                expect(!combo->isEditable(), QStringLiteral("typing allowed"));
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1String("; "))));

        checkTabKey(window.get(), focusOrder);
        if (index == 0)
            checkStartWindowExtras(window.get());
        else
            QVERIFY(window->windowIcon().isNull());
    }

  private:
    std::unique_ptr<QWidget> open(int index) {
        switch (index) {
        case 0:
            return std::make_unique<Form1>(context_, [] {});
        case 1:
            return std::make_unique<PuTong>(context_);
        case 2:
            return std::make_unique<ChaDong>(context_);
        case 3:
            return std::make_unique<Form2>(context_, [] {});
        default:
            return std::make_unique<Form3>(context_, [] { return QStringList(); });
        }
    }

    // The tab key walks the focusable controls in table order and comes back
    // round to the first.
    static void checkTabKey(QWidget* window, const QStringList& order) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        if (order.isEmpty()) {
            QVERIFY(!QApplication::focusWidget());
            return;
        }
        window->findChild<QWidget*>(order.first())->setFocus(Qt::TabFocusReason);
        QStringList walked;
        for (int i = 0; i <= order.size(); ++i) {
            walked << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(walked, order + QStringList{order.first()});
    }

    // The program's icon, and the 32 × 32 pointer over the three captions
    // that act, not over the credit line.
    static void checkStartWindowExtras(const QWidget* form1) {
        QVERIFY(!form1->windowIcon().isNull());
        for (const char* name : {"Label2", "Label3", "Label1"}) {
            const QCursor cursor = form1->findChild<QLabel*>(QString::fromUtf8(name))->cursor();
            QCOMPARE(cursor.shape(), Qt::BitmapCursor);
            QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
        }
        QVERIFY(
            !form1->findChild<QLabel*>(QStringLiteral("Label5"))->testAttribute(Qt::WA_SetCursor));
    }

    RecordingPrintBackend printers_;
    TemporaryCatalogue catalogue_; // no jixing.dat: empty lists
    driver::MessageRecorder messages_;
    WindowContext context_ = driver::context(printers_, messages_, catalogue_.path());
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
