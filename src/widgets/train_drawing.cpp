#include "widgets/train_drawing.h"

#include "gears/set_facts.h"

#include <QPainter>
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

namespace {

// The first spot, ring by ring outwards from `wanted`, where a box of
// `size` lies inside `room` and clear of every box in `taken`; `wanted`
// itself where there is none.
QRectF freeSpot(QPointF wanted, QSizeF size, const QRectF& room, const std::vector<QRectF>& taken,
                double step) {
    const int rings = static_cast<int>(std::hypot(room.width(), room.height()) / step) + 1;
    auto boxAt = [size](QPointF centre) {
        return QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size);
    };
    for (int ring = 0; ring <= rings; ++ring) {
        const int spots = ring == 0 ? 1 : 8 + 4 * ring;
        for (int i = 0; i < spots; ++i) {
            // From straight up, alternately either way round.
            const double turn = (i + 1) / 2 * (i % 2 == 0 ? 1 : -1) * 2 * std::numbers::pi / spots;
            const QRectF box =
                boxAt(wanted + QPointF(std::sin(turn), -std::cos(turn)) * step * ring);
            if (!room.contains(box)) continue;
            if (std::none_of(taken.begin(), taken.end(),
                             [&box](const QRectF& t) { return t.intersects(box); }))
                return box;
        }
    }
    return boxAt(wanted);
}

// Why the set cannot be mounted, a line each; none where it can.
QStringList mountingFailures(const GearSet& set, double clearance) {
    const QuadrantMargins margins = quadrantMargins(set.a, set.b, set.c, set.d);
    QStringList reasons;
    if (!margins.drivingFits(clearance))
        reasons << QString::fromStdString(drivingMarginFailure(margins.driving, clearance));
    if (!margins.drivenFits(clearance))
        reasons << QString::fromStdString(drivenMarginFailure(margins.driven, clearance));
    return reasons;
}

} // namespace

TrainLayout layoutGearTrain(const QRectF& area, const GearSet& set, const QFontMetricsF& metrics,
                            double clearance) {
    TrainLayout layout;
    const auto reasonLines = static_cast<double>(mountingFailures(set, clearance).size());
    for (double teeth : {set.a, set.b, set.c, set.d})
        if (!(teeth > 0) || !std::isfinite(teeth)) return layout;
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
    const double textHeight = metrics.height();
    // The reasons of failed margins stand below the drawing.
    const QRectF space =
        area.adjusted(textHeight, textHeight, -textHeight, -textHeight * (1.5 + reasonLines));
    const double scale = std::min(space.width() / bounds.width(), space.height() / bounds.height());
    if (!(scale > 0)) return layout;
    const QPointF offset = space.center() - bounds.center() * scale;
    auto at = [&](QPointF p) { return p * scale + offset; };
    layout.scale = scale;
    layout.driving = at(driving);
    layout.stud = at(stud);
    layout.driven = at(driven);
    layout.line = std::max(1.0, textHeight / 12);
    const double line = layout.line;

    for (const QPointF& shaft : {layout.driving, layout.stud, layout.driven})
        layout.marks.push_back(QRectF(shaft - QPointF(3 * line, 3 * line), QSizeF(6, 6) * line));
    for (const QPointF& mesh : {driving + (stud - driving) * (set.a / (set.a + set.c)),
                                stud + (driven - stud) * (set.b / (set.b + set.d))})
        layout.marks.push_back(QRectF(at(mesh) - QPointF(2 * line, 2 * line), QSizeF(4, 4) * line));

    // Labels keep a little air between them and the marks.
    const double air = line;
    std::vector<QRectF> taken;
    for (const QRectF& mark : layout.marks)
        taken.push_back(mark.adjusted(-air, -air, air, air));
    const QRectF room =
        area.adjusted(0, 0, 0, reasonLines > 0 ? -textHeight * (reasonLines + 0.5) : 0);
    auto place = [&](QString text, QPointF wanted, QPointF centre, double radius) {
        const QSizeF size(metrics.horizontalAdvance(text) + 2 * air, textHeight);
        const QRectF box = freeSpot(wanted, size, room, taken, textHeight / 2);
        taken.push_back(box.adjusted(-air, -air, air, air));
        layout.labels.push_back({std::move(text), box, centre, radius});
    };
    // The shafts' names to the right of their dots, then each gear's name
    // inside its circle: above the centre for the front gears, below it for
    // those behind, so c and b on the stud do not meet.
    const struct {
        QPointF centre;
        const char* name;
    } shafts[] = {{layout.driving, "主动轴"}, {layout.stud, "中间轴"}, {layout.driven, "被动轴"}};
    for (const auto& shaft : shafts) {
        const QString name = QString::fromUtf8(shaft.name);
        const double width = metrics.horizontalAdvance(name) + 2 * air;
        place(name, shaft.centre + QPointF(4 * line + width / 2, 0), shaft.centre, 0);
    }
    for (const Gear& g : gears) {
        const double r = g.teeth / 2 * scale;
        place(QStringLiteral("%1 %2").arg(QLatin1String(g.name),
                                          QString::fromStdString(shortNumber(g.teeth, 15))),
              at(g.centre) + QPointF(0, (g.front ? -0.55 : 0.6) * r), at(g.centre), r);
    }
    // Gears first, as the header says.
    std::rotate(layout.labels.begin(), layout.labels.begin() + 3, layout.labels.end());
    return layout;
}

void paintGearTrain(QPainter& painter, const QRectF& area, const GearSet& set, double clearance) {
    painter.save();
    const QColor red(200, 0, 0);
    for (double teeth : {set.a, set.b, set.c, set.d}) {
        if (!(teeth > 0) || !std::isfinite(teeth)) {
            painter.drawText(area, Qt::AlignCenter, QStringLiteral("齿数不是正数，无法画出"));
            painter.restore();
            return;
        }
    }
    const QuadrantMargins margins = quadrantMargins(set.a, set.b, set.c, set.d);
    const QStringList reasons = mountingFailures(set, clearance);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const TrainLayout layout = layoutGearTrain(area, set, metrics, clearance);
    if (!(layout.scale > 0)) {
        painter.restore();
        return;
    }
    const double scale = layout.scale;
    const double line = layout.line;
    const double textHeight = metrics.height();

    painter.setRenderHint(QPainter::Antialiasing);
    // Centre lines.
    painter.setPen(QPen(Qt::gray, line, Qt::DashDotLine));
    painter.drawLine(layout.driving, layout.stud);
    painter.drawLine(layout.stud, layout.driven);
    const struct {
        double teeth;
        QPointF centre;
        bool front;
    } circles[] = {{set.a, layout.driving, true},
                   {set.c, layout.stud, true},
                   {set.b, layout.stud, false},
                   {set.d, layout.driven, false}};
    painter.setBrush(Qt::NoBrush);
    for (const auto& g : circles) {
        const double r = g.teeth / 2 * scale;
        painter.setPen(QPen(g.front ? QColor(0, 70, 160) : QColor(0, 120, 60), line * 1.5,
                            g.front ? Qt::SolidLine : Qt::DashLine));
        painter.drawEllipse(g.centre, r, r);
    }
    // Where the pitch circles touch, and the shafts.
    painter.setPen(QPen(Qt::black, line));
    for (std::size_t i = 0; i < layout.marks.size(); ++i) {
        painter.setBrush(i < 3 ? QColor(60, 60, 60) : QColor(Qt::black));
        painter.drawEllipse(layout.marks[i]);
    }
    // The labels; one moved out of its gear points to it.
    for (const TrainLayout::Label& label : layout.labels) {
        const QPointF from = label.rect.center();
        const double away = std::hypot(from.x() - label.centre.x(), from.y() - label.centre.y());
        if (label.radius > 0 && away > label.radius) {
            painter.setPen(QPen(Qt::gray, line * 0.75));
            const QPointF edge = label.centre + (from - label.centre) * (label.radius / away);
            const QPointF toEdge = edge - from;
            // From the box's edge, not its middle.
            const double k =
                std::min(label.rect.width() / 2 / std::max(std::abs(toEdge.x()), 1e-9),
                         label.rect.height() / 2 / std::max(std::abs(toEdge.y()), 1e-9));
            if (k < 1) painter.drawLine(from + toEdge * k, edge);
        }
        painter.setPen(Qt::black);
        painter.drawText(label.rect, Qt::AlignCenter, label.text);
    }
    // A failed margin: the tip circle that reaches the other shaft, in red.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(red, line * 2));
    if (!margins.drivingFits(clearance)) {
        painter.drawEllipse(layout.stud, (set.b + 2) / 2 * scale, (set.b + 2) / 2 * scale);
        painter.drawEllipse(layout.driving, 5 * line, 5 * line);
    }
    if (!margins.drivenFits(clearance)) {
        painter.drawEllipse(layout.stud, (set.c + 2) / 2 * scale, (set.c + 2) / 2 * scale);
        painter.drawEllipse(layout.driven, 5 * line, 5 * line);
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
    setMinimumSize(200, 200);
}

void TrainDrawing::setTrain(const std::optional<GearSet>& set, double clearance) {
    set_ = set;
    clearance_ = clearance;
    update();
}

void TrainDrawing::setFaded(bool faded) {
    faded_ = faded;
    update();
}

void TrainDrawing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (faded_) painter.setOpacity(0.3);
    if (set_) paintGearTrain(painter, rect(), *set_, clearance_);
}

} // namespace kelvaro
