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
#include <QProgressBar>
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

int percentOf(double progress) {
    return std::clamp(static_cast<int>(progress * 100), 0, 100);
}

QString progressText(double progress, std::size_t found) {
    return QStringLiteral("正在计算 %1%，已找到 %2 组").arg(percentOf(progress)).arg(found);
}

// The bar is set directly: the dialog's own setValue would run the event
// loop from inside the timer that updates it.
std::unique_ptr<QProgressDialog> makeProgressDialog(QWidget* window, QProgressBar*& bar) {
    auto dialog = std::make_unique<QProgressDialog>(progressText(0, 0), QStringLiteral("取消"), 0,
                                                    100, window);
    bar = new QProgressBar(dialog.get());
    bar->setRange(0, 100);
    bar->setValue(0);
    dialog->setBar(bar);
    dialog->setWindowTitle(QStringLiteral("Kelvaro"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setMinimumWidth(320);
    return dialog;
}

// The progress dialog over `window`: shown once the calculation has taken
// kProgressDelayMs, unless it is done by then, and updated from `control`
// until this is destroyed. Its 取消 and Escape cancel the search.
class DelayedProgress {
  public:
    DelayedProgress(QWidget* window, SearchControl& control, const std::atomic<bool>& done,
                    InputBlocker& blocker) {
        update_.setInterval(kProgressIntervalMs);
        QObject::connect(&update_, &QTimer::timeout, &context_, [this, &control] {
            const double share = control.progress.load(std::memory_order_relaxed);
            dialog_->setLabelText(
                progressText(share, control.found.load(std::memory_order_relaxed)));
            bar_->setValue(percentOf(share));
        });
        QTimer::singleShot(kProgressDelayMs, &context_, [this, window, &control, &done, &blocker] {
            if (done.load()) return; // its end is already on its way
            show(window, control, blocker);
        });
    }
    ~DelayedProgress() {
        update_.stop();
        dialog_.reset();
    }
    DelayedProgress(const DelayedProgress&) = delete;
    DelayedProgress& operator=(const DelayedProgress&) = delete;

  private:
    void show(QWidget* window, SearchControl& control, InputBlocker& blocker) {
        dialog_ = makeProgressDialog(window, bar_);
        QObject::connect(dialog_.get(), &QProgressDialog::canceled, &context_,
                         [&control] { control.cancelled.store(true); });
        // Escape is the dialog's shortcut for 取消 while the dialog is the
        // active window, and otherwise rejects it, which hides it.
        QObject::connect(dialog_.get(), &QDialog::rejected, &context_,
                         [&control] { control.cancelled.store(true); });
        blocker.allow(dialog_.get());
        QApplication::changeOverrideCursor(Qt::BusyCursor); // the Cancel button can be clicked
        dialog_->show();
        update_.start();
    }

    QObject context_; // ends the timers' and the dialog's calls with this
    QTimer update_;
    std::unique_ptr<QProgressDialog> dialog_;
    QProgressBar* bar_ = nullptr; // owned by dialog_
};

// What the worker hands back.
struct WorkerResult {
    std::atomic<bool> done{false};
    std::optional<CalculationOutcome> outcome;
    std::exception_ptr failure;
};

// Runs `calculation` on a thread of its own; at its end `result.done` is
// set and `loop` is asked, from the thread, to quit.
std::thread startWorker(const Calculation& calculation, SearchControl& control,
                        WorkerResult& result, QEventLoop& loop) {
    return std::thread([&calculation, &control, &result, &loop] {
        try {
            result.outcome = calculation(control);
        } catch (const std::bad_alloc&) {
            // The search's memory is free again once it has unwound.
            result.outcome.emplace();
            result.outcome->message = kOutOfMemoryMessage;
        } catch (...) {
            result.failure = std::current_exception();
        }
        result.done.store(true);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
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

std::optional<CalculationOutcome> runCalculation(QWidget* window, const Calculation& calculation) {
    // A calculation asked for while one runs (input is swallowed, so only
    // code could ask) does not start.
    if (running) return std::nullopt;
    struct Running {
        Running() { running = true; }
        ~Running() { running = false; }
    } const flag;

    SearchControl control;
    const WaitCursor cursor;
    QEventLoop loop;
    InputBlocker blocker([&control, &loop] {
        control.cancelled.store(true);
        loop.quit();
    });
    qApp->installEventFilter(&blocker);

    WorkerResult result;
    std::thread worker = startWorker(calculation, control, result, loop);
    const WorkerGuard guard(worker, control);
    {
        const DelayedProgress progress(window, control, result.done, blocker);
        if (!result.done.load()) loop.exec();
        // The loop ends early only when the program is asked to end: stop
        // the search.
        if (!result.done.load()) control.cancelled.store(true);
        worker.join();
    }
    qApp->removeEventFilter(&blocker);

    // Asked to end, the program ends, with nothing applied.
    const bool ending = blocker.quitRequested();
    releasePostponed(ending);
    if (ending) QCoreApplication::exit(0);
    if (result.failure) std::rethrow_exception(result.failure);
    if (control.cancelled.load()) return std::nullopt;
    return std::move(result.outcome);
}

} // namespace kelvaro
