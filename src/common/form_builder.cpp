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
    form->setFont(fontFor(form->font(), spec.font));

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

void installFontSubstitutes() {
    const QStringList sans{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("System"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Noto Sans CJK SC")});
    QFont::insertSubstitutions(QString::fromUtf8("宋体"), {QStringLiteral("Noto Serif CJK SC"),
                                                           QStringLiteral("AR PL UMing CN"),
                                                           QStringLiteral("Noto Sans CJK SC")});
}

} // namespace kelvaro
