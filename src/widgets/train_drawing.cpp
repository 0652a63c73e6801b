#include "widgets/train_drawing.h"

#include "gears/set_facts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvaro {

namespace {

// Directions of the centre lines on the page (y down): from the driving
// shaft down to the right to the stud, and from there down to the left to
// the driven shaft, as a quadrant is usually set.
constexpr double kToStud = 30 * std::numbers::pi / 180;
constexpr double kToDriven = 115 * std::numbers::pi / 180;

struct Gear {
    const char* name;
    double teeth;
    QPointF centre;
    bool front;
};

QPointF along(QPointF from, double angle, double length) {
    return from + QPointF(std::cos(angle), std::sin(angle)) * length;
}

} // namespace

void paintGearTrain(QPainter& painter, const QRectF& area, const GearSet& set) {
    painter.save();
    const QColor red(200, 0, 0);
    for (double teeth : {set.a, set.b, set.c, set.d}) {
        if (!(teeth > 0) || !std::isfinite(teeth)) {
            painter.drawText(area, Qt::AlignCenter, QStringLiteral("齿数不是正数，无法画出"));
            painter.restore();
            return;
        }
    }
    // In module units: a pitch circle's radius is half its tooth count.
    const QPointF driving(0, 0);
    const QPointF stud = along(driving, kToStud, (set.a + set.c) / 2);
    const QPointF driven = along(stud, kToDriven, (set.b + set.d) / 2);
    const Gear gears[] = {{"a", set.a, driving, true},
                          {"c", set.c, stud, true},
                          {"b", set.b, stud, false},
                          {"d", set.d, driven, false}};
    QRectF bounds;
    for (const Gear& g : gears) {
        const double r = g.teeth / 2 + 1; // room for a tip circle
        bounds |= QRectF(g.centre - QPointF(r, r), g.centre + QPointF(r, r));
    }
    // The reasons of failed margins stand below the drawing.
    const QuadrantMargins margins = quadrantMargins(set.a, set.b, set.c, set.d);
    QStringList reasons;
    if (margins.driving <= 0)
        reasons << QString::fromStdString(drivingMarginFailure(margins.driving, 0));
    if (margins.driven <= 0)
        reasons << QString::fromStdString(drivenMarginFailure(margins.driven, 0));
    const double textHeight = painter.fontMetrics().height();
    QRectF space =
        area.adjusted(textHeight, textHeight, -textHeight, -textHeight * (1.5 + reasons.size()));
    const double scale = std::min(space.width() / bounds.width(), space.height() / bounds.height());
    if (!(scale > 0)) {
        painter.restore();
        return;
    }
    const QPointF offset = space.center() - bounds.center() * scale;
    auto at = [&](QPointF p) { return p * scale + offset; };

    painter.setRenderHint(QPainter::Antialiasing);
    const double line = std::max(1.0, textHeight / 12);
    // Centre lines.
    painter.setPen(QPen(Qt::gray, line, Qt::DashDotLine));
    painter.drawLine(at(driving), at(stud));
    painter.drawLine(at(stud), at(driven));
    for (const Gear& g : gears) {
        const double r = g.teeth / 2 * scale;
        painter.setPen(QPen(g.front ? QColor(0, 70, 160) : QColor(0, 120, 60), line * 1.5,
                            g.front ? Qt::SolidLine : Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at(g.centre), r, r);
        // The label inside the circle: above the centre for the front gears,
        // below it for those behind, so c and b on the stud do not meet.
        const QString label = QStringLiteral("%1 %2").arg(
            QLatin1String(g.name), QString::fromStdString(shortNumber(g.teeth, 15)));
        const QPointF spot = at(g.centre) + QPointF(0, (g.front ? -0.55 : 0.6) * r);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(spot.x() - 4 * textHeight, spot.y() - textHeight / 2,
                                8 * textHeight, textHeight),
                         Qt::AlignCenter, label);
    }
    // Where the pitch circles touch: a meshes c, b meshes d.
    painter.setPen(QPen(Qt::black, line));
    painter.setBrush(Qt::black);
    for (const QPointF& mesh : {driving + (stud - driving) * (set.a / (set.a + set.c)),
                                stud + (driven - stud) * (set.b / (set.b + set.d))})
        painter.drawEllipse(at(mesh), 2 * line, 2 * line);
    // The shafts, named.
    const struct {
        QPointF centre;
        const char* name;
    } shafts[] = {{driving, "主动轴"}, {stud, "中间轴"}, {driven, "被动轴"}};
    for (const auto& shaft : shafts) {
        painter.setBrush(QColor(60, 60, 60));
        painter.drawEllipse(at(shaft.centre), 3 * line, 3 * line);
        painter.drawText(at(shaft.centre) + QPointF(4 * line, textHeight * 0.35),
                         QString::fromUtf8(shaft.name));
    }
    // A failed margin: the tip circle that reaches the other shaft, in red.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(red, line * 2));
    if (margins.driving <= 0) {
        painter.drawEllipse(at(stud), (set.b + 2) / 2 * scale, (set.b + 2) / 2 * scale);
        painter.drawEllipse(at(driving), 5 * line, 5 * line);
    }
    if (margins.driven <= 0) {
        painter.drawEllipse(at(stud), (set.c + 2) / 2 * scale, (set.c + 2) / 2 * scale);
        painter.drawEllipse(at(driven), 5 * line, 5 * line);
    }
    double y = area.bottom() - textHeight * (reasons.size() + 0.5);
    for (const QString& reason : reasons) {
        painter.drawText(QRectF(area.left(), y, area.width(), textHeight), Qt::AlignCenter,
                         QStringLiteral("装不上：") + reason);
        y += textHeight;
    }
    painter.restore();
}

TrainDrawing::TrainDrawing(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("train"));
    setMinimumSize(320, 320);
}

void TrainDrawing::setTrain(const std::optional<GearSet>& set) {
    set_ = set;
    update();
}

void TrainDrawing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (set_) paintGearTrain(painter, rect(), *set_);
}

} // namespace kelvaro
