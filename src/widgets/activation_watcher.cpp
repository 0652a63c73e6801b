#include "widgets/activation_watcher.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace kelvaro {

ActivationWatcher::ActivationWatcher(QWidget* window, std::function<void()> onActivate)
    : QObject(window), window_(window), onActivate_(std::move(onActivate)), filter_(window) {
    QWidget* current = nullptr;
    const auto kind = kindOf(QGuiApplication::focusWindow(), &current);
    filter_.focusMovedTo(current, kind);
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            &ActivationWatcher::focusWindowChanged);
    window->installEventFilter(this);
}

ActivationFilter::Kind ActivationWatcher::kindOf(QWindow* window, QWidget** widget) {
    if (!window) return ActivationFilter::Kind::NoWindow;
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget* candidate : topLevels) {
        if (candidate->windowHandle() != window) continue;
        if (candidate->windowType() != Qt::Window || qobject_cast<QDialog*>(candidate))
            return ActivationFilter::Kind::OtherWindow;
        if (widget) *widget = candidate;
        return ActivationFilter::Kind::ProgramWindow;
    }
    return ActivationFilter::Kind::OtherWindow;
}

void ActivationWatcher::focusWindowChanged(QWindow* window) {
    QWidget* widget = nullptr;
    const auto kind = kindOf(window, &widget);
    if (filter_.focusMovedTo(widget, kind)) onActivate_();
}

bool ActivationWatcher::eventFilter(QObject* watched, QEvent* event) {
    // A hide by the program, not one by the window system (minimising).
    if (watched == window_ && event->type() == QEvent::Hide && !event->spontaneous())
        filter_.watchedHidden();
    return QObject::eventFilter(watched, event);
}

} // namespace kelvaro
