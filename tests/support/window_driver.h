#pragma once

// Uses a window as a user does: controls found by their names, texts typed
// and buttons clicked through QTest, lists read back from their views.
#include "common/message_box.h"

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

inline QStringList qt(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}

// PuTong's four fields, in focus order.
inline void fillPuTong(const QWidget* window, const QString& ratio, const QString& tolerance,
                       const QString& smallest, const QString& largest) {
    type(window, "chuandongbi", ratio);
    type(window, "jingdu", tolerance);
    type(window, "zuishaochishu", smallest);
    type(window, "zuidachishu", largest);
}

// The texts of the message boxes shown while it lives, instead of the boxes.
struct MessageRecorder {
    QStringList texts;
    MessageRecorder() {
        setMessageHook([this](const QString& text) { texts << text; });
    }
    ~MessageRecorder() { setMessageHook({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
};

} // namespace kelvaro::driver
