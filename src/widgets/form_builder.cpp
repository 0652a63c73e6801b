#include "widgets/form_builder.h"

#include "widgets/clickable_label.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTranslator>
#include <array>

namespace kelvaro {

namespace {

// The combo boxes' dark grey on white.
constexpr QColor kComboText{64, 64, 64};

// The faces the layouts name, each with installed faces that show Chinese
// and whose line heights come close to the ones the layouts were drawn
// with, so auto-sized labels keep their places; Noto CJK as a last resort.
// A Chinese Windows without those has SimSun and Microsoft YaHei, named last.
struct NamedFace {
    const char* name;
    QFont::StyleHint kind; // for the font matcher when no substitute is there
    std::array<const char*, 6> substitutes;
};

const NamedFace kNamedFaces[] = {
    {"MS Sans Serif",
     QFont::SansSerif,
     {"WenQuanYi Zen Hei", "Noto Sans CJK SC", "SimSun", "Microsoft YaHei"}},
    {"System",
     QFont::SansSerif,
     {"WenQuanYi Zen Hei", "Noto Sans CJK SC", "SimSun", "Microsoft YaHei"}},
    // Liberation Sans has Arial's widths; Chinese comes from the next ones.
    {"Arial",
     QFont::SansSerif,
     {"Liberation Sans", "DejaVu Sans", "WenQuanYi Zen Hei", "Noto Sans CJK SC", "SimSun",
      "Microsoft YaHei"}},
    // 宋体 is a Song (Ming) face: a serif CJK face stands in for it.
    {"宋体",
     QFont::Serif,
     {"Noto Serif CJK SC", "AR PL UMing CN", "Noto Sans CJK SC", "SimSun", "Microsoft YaHei"}},
};

QFont fontFor(const QFont& base, const FontSpec& wanted) {
    if (!wanted.family && wanted.points <= 0) return base; // the window's font, bold or not
    QFont font = base;
    // Glyphs keep their fractional widths, as Linux's fonts give them, so
    // that a FreeType engine elsewhere (Windows' offscreen platform) lays out
    // the same lines; Windows' own GDI engine does not hint by this.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    if (wanted.family) {
        const QString family = QString::fromUtf8(wanted.family);
        font.setFamily(family);
        for (const NamedFace& face : kNamedFaces)
            if (family == QString::fromUtf8(face.name)) font.setStyleHint(face.kind);
    }
    if (wanted.points > 0) font.setPointSizeF(wanted.points);
    font.setBold(wanted.bold);
    return font;
}

QWidget* create(const ControlSpec& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text ? control.text : "");
    switch (control.kind) {
    case ControlKind::Label:
        return new QLabel(text, parent);
    case ControlKind::ClickableLabel:
        return new ClickableLabel(text, parent);
    case ControlKind::TextBox:
        return new QLineEdit(text, parent);
    case ControlKind::Button:
        return new QPushButton(text, parent);
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        QPalette palette = combo->palette();
        palette.setColor(QPalette::Text, kComboText);
        palette.setColor(QPalette::ButtonText, kComboText);
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Button, Qt::white);
        combo->setPalette(palette);
        return combo;
    }
    case ControlKind::ListBox: {
        auto* list = new QListView(parent);
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        return list;
    }
    }
    return nullptr;
}

// The result lists stand in their named face with a narrower one than the
// labels do, so that their widest line (three-digit tooth counts and an
// error in exponent form) fits beside the scroll bar; it shows Chinese too.
// The face comes second in the font's families, which are tried before any
// substitute, so the font keeps its name.
constexpr const char* kListFace = "Noto Sans CJK SC";

void useListFace(QWidget* list) {
    QFont font = list->font();
    font.setFamilies({font.family(), QString::fromUtf8(kListFace)});
    list->setFont(font);
}

bool isLabel(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::ClickableLabel;
}

} // namespace

void buildForm(QWidget* form, const FormSpec& window, std::span<const ControlSpec> controls,
               QWidget* content) {
    QWidget* area = content ? content : form;
    form->setWindowTitle(QString::fromUtf8(window.caption));
    // A fixed frame: the windows keep their size and offer no maximise box.
    form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint);
    form->setFont(fontFor(QFont(), {"MS Sans Serif", 8.25}));
    form->setFont(fontFor(form->font(), window.font));

    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, window.background);
    form->setPalette(palette);
    form->setAutoFillBackground(true);
    const int dpiX = form->logicalDpiX();
    const int dpiY = form->logicalDpiY();
    const auto x = [dpiX](int twips) { return twipsToPixels(twips, dpiX); };
    const auto y = [dpiY](int twips) { return twipsToPixels(twips, dpiY); };
    area->setFixedSize(x(window.width), y(window.height));

    QWidget* previous = nullptr;
    for (const ControlSpec& c : controls) {
        QWidget* widget = create(c, area);
        widget->setObjectName(QString::fromUtf8(c.name));
        widget->setFont(fontFor(form->font(), c.font));
        if (c.kind == ControlKind::ListBox) useListFace(widget);
        if (c.toolTip) widget->setToolTip(QString::fromUtf8(c.toolTip));
        if (isLabel(c.kind)) {
            widget->setFocusPolicy(Qt::NoFocus);
            if (c.flags & kOwnBackground) {
                // An empty palette would inherit the window's colour; the
                // label's own colour must be set explicitly to stay.
                QPalette own = QApplication::palette(widget);
                own.setColor(QPalette::Window, own.color(QPalette::Window));
                widget->setPalette(own);
                widget->setAutoFillBackground(true);
            }
            widget->move(x(c.left), y(c.top));
            widget->adjustSize();
        } else {
            widget->setGeometry(x(c.left), y(c.top), x(c.width), y(c.height));
            if (previous) QWidget::setTabOrder(previous, widget);
            previous = widget;
        }
        if (c.flags & kStartsHidden) widget->hide();
    }
}

void bringToFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void installFontSubstitutes() {
    for (const NamedFace& face : kNamedFaces) {
        QStringList substitutes;
        for (const char* name : face.substitutes)
            if (name) substitutes << QString::fromUtf8(name);
        QFont::insertSubstitutions(QString::fromUtf8(face.name), substitutes);
    }
}

bool installQtTranslations() {
    auto* translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_zh_CN"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace kelvaro
