#include "widgets/text_color.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace kelvaro {

void setTextColor(QWidget* widget, const QColor& color) {
    if (!color.isValid()) {
        widget->setPalette(QPalette());
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

} // namespace kelvaro
