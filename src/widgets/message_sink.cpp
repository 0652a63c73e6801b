#include "widgets/message_sink.h"

#include <QFileDialog>
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

QString MessageBoxes::askSaveFileName(QWidget* parent, const QString& title,
                                      const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, {}, filter);
}

} // namespace kelvaro
