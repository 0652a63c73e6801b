#pragma once

#include <QLabel>

namespace kelvaro {

// A caption that acts on a mouse click; it never takes the keyboard focus.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace kelvaro
