#include "widgets/field_marks.h"

#include "gears/numeric_value.h"

#include <QLineEdit>
#include <QVariant>

namespace kelvaro {

namespace {

constexpr const char* kMarkedProperty = "kelvaroMarked";
constexpr const char* kOwnToolTipProperty = "kelvaroOwnToolTip";

void unmark(QLineEdit* field) {
    if (!isMarked(field)) return;
    field->setProperty(kMarkedProperty, false);
    field->setStyleSheet({});
    field->setToolTip(field->property(kOwnToolTipProperty).toString());
}

void mark(QLineEdit* field, const QString& note) {
    if (!isMarked(field)) {
        field->setProperty(kOwnToolTipProperty, field->toolTip());
        field->setProperty(kMarkedProperty, true);
        QObject::connect(
            field, &QLineEdit::textEdited, field, [field] { unmark(field); },
            Qt::SingleShotConnection);
    }
    field->setStyleSheet(QStringLiteral("QLineEdit { background-color: #ffff80; }"));
    field->setToolTip(note);
}

} // namespace

bool isMarked(const QLineEdit* field) {
    return field->property(kMarkedProperty).toBool();
}

void markReadings(const std::vector<QLineEdit*>& fields) {
    for (QLineEdit* field : fields) {
        const std::string note = readingNote(field->text().toStdString());
        if (note.empty())
            unmark(field);
        else
            mark(field, QString::fromStdString(note));
    }
}

} // namespace kelvaro
