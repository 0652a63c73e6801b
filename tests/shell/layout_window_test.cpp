// The five fixed windows' look, by properties that every control must have
// rather than a copy of the layout tables: inside the window and clear of
// the others, captions whole, and a frame of fixed size. CMakeLists.txt runs it
// again at 150 % and at 144 dpi.
#include "catalogue/add_machine_window.h"
#include "catalogue/delete_machine_window.h"
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "shell/start_window.h"
#include "support/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/form_builder.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>

using namespace kelvaro;

namespace {

// A label's caption, a button's; a field or a list shows a line of Chinese.
QString textOf(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<const QPushButton*>(w)) return button->text();
    return QStringLiteral("机床Y7150");
}

// Where a control draws in the window: a label only its caption's ink.
QRect drawnArea(const QWidget* w, const QWidget* window) {
    const QRect box(w->mapTo(window, QPoint(0, 0)), w->size());
    if (!qobject_cast<const QLabel*>(w)) return box;
    const QFontMetrics metrics(w->font());
    const int baseline = (w->height() - metrics.height()) / 2 + metrics.ascent();
    return metrics.tightBoundingRect(textOf(w)).translated(box.left(), box.top() + baseline);
}

} // namespace

class LayoutWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }

    // All five, one after the other.
    void layout() {
        const std::unique_ptr<QWidget> windows[] = {
            std::make_unique<Form1>(context_, [] {}), std::make_unique<PuTong>(context_),
            std::make_unique<ChaDong>(context_), std::make_unique<Form2>(context_, [] {}),
            std::make_unique<Form3>(context_, [] { return QStringList(); })};
        for (const auto& window : windows) {
            check(window.get());
            if (QTest::currentTestFailed()) return;
            window->hide();
        }
    }

  private:
    void check(QWidget* window);

    RecordingPrintBackend printers_;
    TemporaryCatalogue catalogue_; // no jixing.dat: empty lists
    driver::MessageRecorder messages_;
    WindowContext context_ = driver::context(printers_, messages_, catalogue_.path());
};

void LayoutWindowTest::check(QWidget* window) {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    // A frame of fixed size without a maximise box.
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    // The controls are the window's named children, or those of the
    // unnamed area below its menu bar.
    const auto* menuBar = window->findChild<QMenuBar*>();
    const QWidget* area = window;
    for (const QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (menuBar && w != menuBar && w->objectName().isEmpty()) area = w;
    const QRect client = area == window ? window->rect() : area->geometry();

    QStringList problems{window->metaObject()->className()};
    QList<const QWidget*> shown;
    for (const QWidget* w : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString name = w->objectName();
        if (name.isEmpty() || w == menuBar || !w->isVisible() || w->isWindow()) continue;
        const auto expect = [&](bool ok, const char* what) {
            if (!ok) problems << name + QLatin1String(": ") + QLatin1String(what);
        };
        const QRect box = drawnArea(w, window);
        expect(client.contains(box), "outside the window");
        for (const QWidget* other : shown)
            if (box.intersects(drawnArea(other, window)))
                problems << name + QLatin1String(" overlaps ") + other->objectName();
        shown << w;

        const QString text = textOf(w);
        const QFontMetrics metrics(w->font());
        const QRect ink = metrics.tightBoundingRect(text);
        if (qobject_cast<const QLabel*>(w)) {
            expect(w->size() == w->sizeHint(), "not sized to its caption");
        } else {
            expect(ink.height() <= w->height() - 4, "caption clipped in height");
            if (qobject_cast<const QPushButton*>(w))
                expect(ink.width() <= w->width() - 8, "caption clipped in width");
        }
    }
    QVERIFY2(problems.size() == 1, qPrintable(problems.join(QLatin1String("; "))));
}

QTEST_MAIN(LayoutWindowTest)
#include "layout_window_test.moc"
