#include "common/form_builder.h"

#include "common/clickable_label.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace kelvaro {

namespace {

// The combo boxes' dark grey on white.
constexpr QColor kComboText{64, 64, 64};

QFont fontFor(const QFont& base, const FontSpec& spec) {
    if (!spec.family && spec.points <= 0) return base; // the window's font, bold or not
    QFont font = base;
    if (spec.family) font.setFamily(QString::fromUtf8(spec.family));
    if (spec.points > 0) font.setPointSizeF(spec.points);
    font.setBold(spec.bold);
    return font;
}

QWidget* create(const ControlSpec& spec, QWidget* parent) {
    const QString text = QString::fromUtf8(spec.text ? spec.text : "");
    switch (spec.kind) {
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

bool isLabel(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::ClickableLabel;
}

} // namespace

void buildForm(QWidget* form, const FormSpec& spec, std::span<const ControlSpec> controls,
               QWidget* content) {
    QWidget* area = content ? content : form;
    form->setWindowTitle(QString::fromUtf8(spec.caption));
    QFont windowDefault(QStringLiteral("MS Sans Serif"));
    windowDefault.setPointSizeF(8.25);
    form->setFont(fontFor(windowDefault, spec.font));

    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, spec.background);
    form->setPalette(palette);
    form->setAutoFillBackground(true);
    area->setFixedSize(twipsToPixels(spec.width), twipsToPixels(spec.height));

    QWidget* previous = nullptr;
    for (const ControlSpec& c : controls) {
        QWidget* widget = create(c, area);
        widget->setObjectName(QString::fromUtf8(c.name));
        widget->setFont(fontFor(form->font(), c.font));
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
            widget->move(twipsToPixels(c.left), twipsToPixels(c.top));
            widget->adjustSize();
        } else {
            widget->setGeometry(twipsToPixels(c.left), twipsToPixels(c.top), twipsToPixels(c.width),
                                twipsToPixels(c.height));
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
    // Faces whose line heights come close to the ones the layouts were drawn
    // with, so auto-sized labels keep their places; Noto CJK as a last resort.
    const QString zenHei = QStringLiteral("WenQuanYi Zen Hei");
    const QString notoSans = QStringLiteral("Noto Sans CJK SC");
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {zenHei, notoSans});
    QFont::insertSubstitutions(QStringLiteral("System"), {zenHei, notoSans});
    QFont::insertSubstitutions(
        QStringLiteral("Arial"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"), zenHei, notoSans});
    // 宋体 is a Song (Ming) face: a serif CJK face stands in for it.
    QFont::insertSubstitutions(
        QString::fromUtf8("宋体"),
        {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"), notoSans});
}

} // namespace kelvaro
