#include "widgets/message_sink.h"

#include <QMessageBox>

namespace kelvaro {

void MessageBoxes::show(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kelvaro"), text, QMessageBox::Ok, parent);
    box.exec();
}

bool MessageBoxes::ask(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kelvaro"), question,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace kelvaro
