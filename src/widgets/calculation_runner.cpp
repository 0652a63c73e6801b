// A Calculate click, kept responsive: the calculation (search and result
// lines) runs on a worker thread; the user-interface thread waits for it in
// a local event loop that repaints but swallows user input, shows a
// progress dialog when the wait grows long, and takes the outcome once the
// worker has ended. The worker's only link to the windows is the search
// control (atomics) and one queued call that ends the wait.
#include "widgets/calculation_runner.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace kelvaro {

namespace {

constexpr int kProgressDelayMs = 300;
constexpr int kProgressIntervalMs = 100;

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// Swallows the user's input to every window but the progress dialog, and
// requests to close a window (the start window's would end the program).
class InputBlocker : public QObject {
  public:
    void allow(QWidget* dialog) { dialog_ = dialog; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isUserInput(event->type()) || belongsToDialog(watched)) return false;
        if (event->type() == QEvent::Close) event->ignore();
        return true;
    }

  private:
    bool belongsToDialog(QObject* watched) const {
        if (dialog_ == nullptr) return false;
        if (auto* widget = qobject_cast<QWidget*>(watched)) return widget->window() == dialog_;
        return watched == dialog_->windowHandle();
    }

    QWidget* dialog_ = nullptr;
};

class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString progressText(std::size_t found) {
    return QStringLiteral("正在计算，已找到 %1 组").arg(found);
}

std::unique_ptr<QProgressDialog> makeProgressDialog(QWidget* window) {
    auto dialog =
        std::make_unique<QProgressDialog>(progressText(0), QStringLiteral("取消"), 0, 0, window);
    dialog->setWindowTitle(QStringLiteral("Kelvaro"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setMinimumWidth(320);
    return dialog;
}

} // namespace

std::optional<CalculationOutcome> runCalculation(QWidget* window, const Calculation& calculation,
                                                 std::size_t setLimit) {
    // A calculation asked for while one runs (input is swallowed, so only
    // code could ask) does not start.
    static bool running = false;
    if (running) return std::nullopt;
    struct Running {
        Running() { running = true; }
        ~Running() { running = false; }
    } const flag;

    SearchControl control;
    control.setLimit = setLimit;
    const WaitCursor cursor;
    InputBlocker blocker;
    qApp->installEventFilter(&blocker);

    QEventLoop loop;
    std::atomic<bool> done{false};
    std::optional<CalculationOutcome> outcome;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            outcome = calculation(control);
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    std::unique_ptr<QProgressDialog> progress;
    QTimer update;
    update.setInterval(kProgressIntervalMs);
    QObject::connect(&update, &QTimer::timeout, &loop, [&] {
        progress->setLabelText(progressText(control.found.load(std::memory_order_relaxed)));
    });
    QTimer::singleShot(kProgressDelayMs, &loop, [&] {
        if (done.load()) return; // its end is already on its way
        progress = makeProgressDialog(window);
        QObject::connect(progress.get(), &QProgressDialog::canceled, &loop,
                         [&control] { control.cancelled.store(true); });
        blocker.allow(progress.get());
        QApplication::changeOverrideCursor(Qt::BusyCursor); // the Cancel button can be clicked
        progress->show();
        update.start();
    });

    if (!done.load()) loop.exec();
    // The loop ends early only when the application quits: stop the search.
    if (!done.load()) control.cancelled.store(true);
    worker.join();
    update.stop();
    progress.reset();

    if (failure) std::rethrow_exception(failure);
    if (control.cancelled.load()) return std::nullopt;
    return outcome;
}

} // namespace kelvaro
