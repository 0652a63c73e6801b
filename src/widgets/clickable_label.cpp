#include "widgets/clickable_label.h"

#include <QMouseEvent>

namespace kelvaro {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a release over the label with the left button.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace kelvaro
