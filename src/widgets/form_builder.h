#pragma once

#include <QColor>
#include <QWidget>
#include <span>

// Every window's look stands in one table of controls in its own file; this
// module turns such a table into widgets, so a position, caption or font is
// changed in one line. Geometry is in twips (1/1440 inch), turned into
// pixels at the screen's logical resolution, the one the point sizes of the
// fonts are turned with: captions and controls grow together.

namespace kelvaro {

enum class ControlKind { Label, ClickableLabel, TextBox, Button, ComboBox, ListBox };

struct FontSpec {
    const char* family = nullptr; // nullptr: the window's font
    double points = 0;
    bool bold = false;
};

// The faces and sizes the windows share.
inline constexpr FontSpec kLargeFont{"MS Sans Serif", 24}; // titles and big buttons
inline constexpr FontSpec kLabelFont{"MS Sans Serif", 18};
inline constexpr FontSpec kFieldFont{"MS Sans Serif", 13.5}; // text boxes, small buttons
inline constexpr FontSpec kComboFont{"System", 12, true};

enum ControlFlag : unsigned {
    kStartsHidden = 1u << 0,
    kOwnBackground = 1u << 1, // a label on the default label colour, not the window's
};

// One control, in the window's focus order. A label sizes itself to its
// caption, so only its position is taken from Left and Top.
struct ControlSpec {
    ControlKind kind;
    const char* name;
    const char* text;
    int left, top, width, height;
    FontSpec font = {};
    unsigned flags = 0;
    const char* toolTip = nullptr;
};

struct FormSpec {
    const char* caption;
    int width, height; // client area
    QColor background;
    FontSpec font = {};
};

inline constexpr QColor kLightCyan{192, 255, 255};
inline constexpr QColor kDarkRed{192, 0, 0};

// 15 twips to the pixel at 96 dpi.
inline int twipsToPixels(int twips, int dotsPerInch = 96) {
    return (twips * dotsPerInch + 720) / 1440;
}

// Creates the controls as children of `form` (or of `content` when given,
// for a window whose client area sits below a menu bar) and fixes the
// window's size (no maximise box), caption, colours and focus order.
void buildForm(QWidget* form, const FormSpec& window, std::span<const ControlSpec> controls,
               QWidget* content = nullptr);

// The control of that name, which the table must have created.
template <typename T> T* control(const QWidget* form, const char* name) {
    T* widget = form->findChild<T*>(QString::fromUtf8(name));
    Q_ASSERT_X(widget, "control", name);
    return widget;
}

// Shows a window of the program beside the others and brings it to the front.
void bringToFront(QWidget* window);

// Maps the faces the layouts name to installed ones that show Chinese.
void installFontSubstitutes();

// Loads Qt's own Chinese texts (qtbase_zh_CN: 确定, 取消, 是, 否 and the file
// dialogs) into the running application; false when they are not installed.
bool installQtTranslations();

} // namespace kelvaro
