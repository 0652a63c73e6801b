#include "common/message_box.h"

#include <QMessageBox>

namespace kelvaro {

namespace {
MessageHook& hook() {
    static MessageHook instance;
    return instance;
}
} // namespace

void showMessage(QWidget* parent, const QString& text) {
    if (hook()) {
        hook()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kelvaro"), text, QMessageBox::Ok, parent);
    box.exec();
}

void setMessageHook(MessageHook newHook) {
    hook() = std::move(newHook);
}

} // namespace kelvaro
