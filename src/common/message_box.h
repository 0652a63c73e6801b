#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kelvaro {

// Every message of the program: its text alone, an OK button, the title
// "Kelvaro", no icon; returns when the user has closed it.
void showMessage(QWidget* parent, const QString& text);

// Window tests see the text instead of a modal box while a hook is set.
using MessageHook = std::function<void(const QString& text)>;
void setMessageHook(MessageHook hook);

} // namespace kelvaro
