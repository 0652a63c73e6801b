#pragma once

// Uses a window as a user does: controls found by their names, texts typed
// and buttons clicked through QTest, lists read back from their views.
#include "platform/file_system.h"
#include "widgets/message_sink.h"
#include "widgets/window_context.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

namespace kelvaro::driver {

template <typename T = QWidget> T* child(const QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QString::fromUtf8(name));
    if (!widget) qFatal("no control %s", name);
    return widget;
}

inline void type(const QWidget* window, const char* field, const QString& text) {
    auto* edit = child<QLineEdit>(window, field);
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
}

inline void click(const QWidget* window, const char* button) {
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

// Picks the list's item that has that text.
inline void choose(const QWidget* window, const char* combo, const QString& item) {
    auto* list = child<QComboBox>(window, combo);
    list->setCurrentIndex(list->findText(item));
}

inline QString text(const QWidget* window, const char* field) {
    return child<QLineEdit>(window, field)->text();
}

inline QStringList comboItems(const QWidget* window, const char* combo) {
    const auto* list = child<QComboBox>(window, combo);
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// What the result list jsjgp shows.
inline QStringList listItems(const QWidget* window) {
    const auto* model = child<QAbstractItemView>(window, "jsjgp")->model();
    QStringList items;
    for (int row = 0; row < model->rowCount(); ++row)
        items << model->index(row, 0).data().toString();
    return items;
}

// PuTong's four fields, in focus order.
inline void fillPuTong(const QWidget* window, const QString& ratio, const QString& tolerance,
                       const QString& smallest, const QString& largest) {
    type(window, "chuandongbi", ratio);
    type(window, "jingdu", tolerance);
    type(window, "zuishaochishu", smallest);
    type(window, "zuidachishu", largest);
}

// The texts of the messages and questions, instead of the boxes; questions
// are answered with `answer`, a file dialog with `fileName`.
struct MessageRecorder final : MessageSink {
    QStringList texts;
    bool answer = true;
    QString fileName;

    using MessageSink::show;
    void show(QWidget*, const QString& text) override { texts << text; }
    bool ask(QWidget*, const QString& question) override {
        texts << question;
        return answer;
    }
    QString askSaveFileName(QWidget*, const QString&, const QString&) override { return fileName; }
};

// A window context over the real file system.
inline WindowContext context(PrintBackend& printers, MessageSink& messages,
                             std::string folder = ".") {
    return {printers, realFileSystem(), messages, std::move(folder)};
}

} // namespace kelvaro::driver
