#pragma once

#include <QObject>
#include <functional>

class QWidget;
class QWindow;

// A window's Form_Activate runs when the window becomes the program's active
// window: when it is opened, and when the user comes back to it from another
// window of the program. Qt reports activation also when one of the
// program's message boxes closes and when the user comes back from another
// program; those are not returns from another window of the program, so
// they are filtered out here by remembering which of the program's own
// windows had the focus last.

namespace kelvaro {

// The decision, apart from Qt. Windows are told apart by identity only.
class ActivationFilter {
  public:
    enum class Kind {
        ProgramWindow, // one of the program's windows (not a dialog or a popup)
        OtherWindow,   // a message box, dialog, popup or foreign window
        NoWindow,      // the focus left the program
    };

    explicit ActivationFilter(const void* watched) : watched_(watched) {}

    // The focus moved to `window`; true when that makes the watched window
    // active in the sense of Form_Activate.
    bool focusMovedTo(const void* window, Kind kind) {
        if (kind != Kind::ProgramWindow) return false;
        const bool activated = window == watched_ && last_ != watched_;
        last_ = window;
        return activated;
    }

    // Whether the watched window is the one of the program's windows that
    // had the focus last.
    bool watchedIsActive() const { return last_ == watched_; }

    // The program hid the watched window: showing it again opens it anew.
    void watchedHidden() {
        if (last_ == watched_) last_ = nullptr;
    }

  private:
    const void* watched_;
    const void* last_ = nullptr;
};

// Runs `onActivate` at each activation of `window` as the filter counts it.
// Owned by the window.
class ActivationWatcher : public QObject {
    Q_OBJECT
  public:
    ActivationWatcher(QWidget* window, std::function<void()> onActivate);

    // The kind of a focus window, and the program's window behind it.
    static ActivationFilter::Kind kindOf(QWindow* window, QWidget** widget = nullptr);
    bool windowIsActive() const { return filter_.watchedIsActive(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void focusWindowChanged(QWindow* window);

    QWidget* window_;
    std::function<void()> onActivate_;
    ActivationFilter filter_;
};

} // namespace kelvaro
