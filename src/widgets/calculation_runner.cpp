// A Calculate click, kept responsive: the calculation (search and result
// lines) runs on a worker thread; the user-interface thread waits for it in
// a local event loop that repaints but swallows user input, shows a
// progress dialog when the wait grows long, and takes the outcome once the
// worker has ended. The worker's only link to the windows is the search
// control (atomics) and one queued call that ends the wait. Work that could
// open a message box (a window's activation) waits for the calculation's end
// through whenNoCalculation; a modal window that opens anyway gets its input,
// and a request to quit the program ends the wait and then the program.
#include "widgets/calculation_runner.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <new>
#include <thread>
#include <utility>
#include <vector>

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

// Swallows the user's input to every window but the progress dialog and a
// modal window opened over it, and requests to close a window (the start
// window's would end the program). A request to quit the program is taken
// here and handed to `onQuit`: the windows are not asked to close while a
// calculation runs.
class InputBlocker : public QObject {
  public:
    explicit InputBlocker(std::function<void()> onQuit) : onQuit_(std::move(onQuit)) {}
    void allow(QWidget* dialog) { dialog_ = dialog; }
    bool quitRequested() const { return quitRequested_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Quit && watched == qApp) {
            quitRequested_ = true;
            onQuit_();
            return true;
        }
        if (!isUserInput(event->type()) || mayReceive(watched)) return false;
        if (event->type() == QEvent::Close) event->ignore();
        return true;
    }

  private:
    // Escape reaches the progress dialog as a shortcut event to its
    // QShortcut, a child object: objects count as their widget's.
    static bool belongsTo(QObject* watched, QWidget* window) {
        if (window == nullptr) return false;
        if (watched == window->windowHandle()) return true;
        for (QObject* object = watched; object != nullptr; object = object->parent())
            if (auto* widget = qobject_cast<QWidget*>(object)) return widget->window() == window;
        return false;
    }

    // While a modal window is open Qt keeps input from the others itself.
    bool mayReceive(QObject* watched) const {
        return belongsTo(watched, dialog_) || belongsTo(watched, QApplication::activeModalWidget());
    }

    std::function<void()> onQuit_;
    QWidget* dialog_ = nullptr;
    bool quitRequested_ = false;
};

// Cancels and joins the worker however the wait is left, so that no
// exception can leave a joinable thread behind.
class WorkerGuard {
  public:
    WorkerGuard(std::thread& worker, SearchControl& control) : worker_(worker), control_(control) {}
    ~WorkerGuard() {
        if (!worker_.joinable()) return;
        control_.cancelled.store(true);
        worker_.join();
    }
    WorkerGuard(const WorkerGuard&) = delete;
    WorkerGuard& operator=(const WorkerGuard&) = delete;

  private:
    std::thread& worker_;
    SearchControl& control_;
};

bool running = false;
std::vector<std::pair<QPointer<QObject>, std::function<void()>>> postponed;

// After the wait: the postponed work runs from the event loop, once the
// outcome has been applied; when the program ends it does not run at all.
void releasePostponed(bool ending) {
    auto works = std::move(postponed);
    postponed.clear();
    if (ending) return;
    for (auto& [context, work] : works)
        if (context) QTimer::singleShot(0, context.data(), std::move(work));
}

class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString progressText(double progress, std::size_t found) {
    const int percent = std::clamp(static_cast<int>(progress * 100), 0, 100);
    return QStringLiteral("正在计算 %1%，已找到 %2 组").arg(percent).arg(found);
}

std::unique_ptr<QProgressDialog> makeProgressDialog(QWidget* window) {
    auto dialog =
        std::make_unique<QProgressDialog>(progressText(0, 0), QStringLiteral("取消"), 0, 0, window);
    dialog->setWindowTitle(QStringLiteral("Kelvaro"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setMinimumWidth(320);
    return dialog;
}

} // namespace

bool calculationRunning() {
    return running;
}

void whenNoCalculation(QObject* context, std::function<void()> work) {
    if (!running) {
        work();
        return;
    }
    postponed.emplace_back(context, std::move(work));
}

std::optional<CalculationOutcome> runCalculation(QWidget* window, const Calculation& calculation,
                                                 std::size_t setLimit) {
    // A calculation asked for while one runs (input is swallowed, so only
    // code could ask) does not start.
    if (running) return std::nullopt;
    struct Running {
        Running() { running = true; }
        ~Running() { running = false; }
    } const flag;

    SearchControl control;
    control.setLimit = setLimit;
    const WaitCursor cursor;
    QEventLoop loop;
    const auto cancel = [&control, &loop] {
        control.cancelled.store(true);
        loop.quit();
    };
    InputBlocker blocker(cancel);
    qApp->installEventFilter(&blocker);

    std::atomic<bool> done{false};
    std::optional<CalculationOutcome> outcome;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            outcome = calculation(control);
        } catch (const std::bad_alloc&) {
            // The search's memory is free again once it has unwound.
            outcome.emplace();
            outcome->message = kOutOfMemoryMessage;
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    const WorkerGuard guard(worker, control);

    std::unique_ptr<QProgressDialog> progress;
    QTimer update;
    update.setInterval(kProgressIntervalMs);
    QObject::connect(&update, &QTimer::timeout, &loop, [&] {
        progress->setLabelText(progressText(control.progress.load(std::memory_order_relaxed),
                                            control.found.load(std::memory_order_relaxed)));
    });
    QTimer::singleShot(kProgressDelayMs, &loop, [&] {
        if (done.load()) return; // its end is already on its way
        progress = makeProgressDialog(window);
        QObject::connect(progress.get(), &QProgressDialog::canceled, &loop,
                         [&control] { control.cancelled.store(true); });
        // Escape is the dialog's shortcut for 取消 while the dialog is the
        // active window, and otherwise rejects it, which hides it.
        QObject::connect(progress.get(), &QDialog::rejected, &loop,
                         [&control] { control.cancelled.store(true); });
        blocker.allow(progress.get());
        QApplication::changeOverrideCursor(Qt::BusyCursor); // the Cancel button can be clicked
        progress->show();
        update.start();
    });

    if (!done.load()) loop.exec();
    // The loop ends early only when the program is asked to end: stop the
    // search.
    if (!done.load()) control.cancelled.store(true);
    worker.join();
    update.stop();
    progress.reset();
    qApp->removeEventFilter(&blocker);

    // Asked to end, the program ends, with nothing applied.
    const bool ending = blocker.quitRequested();
    releasePostponed(ending);
    if (ending) QCoreApplication::exit(0);
    if (failure) std::rethrow_exception(failure);
    if (control.cancelled.load()) return std::nullopt;
    return outcome;
}

} // namespace kelvaro
