#pragma once

class QColor;
class QWidget;

namespace kelvaro {

// Text in `color`, or (an invalid colour) as the parent has it. A palette,
// not a style sheet: a style sheet would drop the font the window hands down.
void setTextColor(QWidget* widget, const QColor& color);

} // namespace kelvaro
