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

// The train in module units: a pitch circle's radius is half its tooth count.
struct Train {
    QPointF driving, stud, driven;
    Gear gears[4];
    QRectF bounds; // every tip circle
};

Train trainOf(const GearSet& set) {
    Train t;
    t.driving = QPointF(0, 0);
    t.stud = along(t.driving, kToStud, (set.a + set.c) / 2);
    t.driven = along(t.stud, kToDriven, (set.b + set.d) / 2);
    t.gears[0] = {"a", set.a, t.driving, true};
    t.gears[1] = {"c", set.c, t.stud, true};
    t.gears[2] = {"b", set.b, t.stud, false};
    t.gears[3] = {"d", set.d, t.driven, false};
    for (const Gear& g : t.gears) {
        const double r = g.teeth / 2 + 1; // room for a tip circle
        t.bounds |= QRectF(g.centre - QPointF(r, r), g.centre + QPointF(r, r));
    }
    return t;
}

// From module units to the painter's, and the pen widths and text height.
struct Page {
    double scale;
    QPointF offset;
    double line;       // the width of a thin line
    double textHeight; // of the painter's font
    QPointF at(QPointF p) const { return p * scale + offset; }
};

// Each gear's pitch circle, front gears solid, those behind dashed, with its
// name and tooth count.
void drawGears(QPainter& painter, const Train& train, const Page& page) {
    for (const Gear& g : train.gears) {
        const double r = g.teeth / 2 * page.scale;
        painter.setPen(QPen(g.front ? QColor(0, 70, 160) : QColor(0, 120, 60), page.line * 1.5,
                            g.front ? Qt::SolidLine : Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(page.at(g.centre), r, r);
        // The label inside the circle: above the centre for the front gears,
        // below it for those behind, so c and b on the stud do not meet.
        const QString label = QStringLiteral("%1 %2").arg(
            QLatin1String(g.name), QString::fromStdString(shortNumber(g.teeth, 15)));
        const QPointF spot = page.at(g.centre) + QPointF(0, (g.front ? -0.55 : 0.6) * r);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(spot.x() - 4 * page.textHeight, spot.y() - page.textHeight / 2,
                                8 * page.textHeight, page.textHeight),
                         Qt::AlignCenter, label);
    }
}

// Where the pitch circles touch (a meshes c, b meshes d), and the shafts, named.
void drawMeshesAndShafts(QPainter& painter, const Train& train, const GearSet& set,
                         const Page& page) {
    painter.setPen(QPen(Qt::black, page.line));
    painter.setBrush(Qt::black);
    for (const QPointF& mesh :
         {train.driving + (train.stud - train.driving) * (set.a / (set.a + set.c)),
          train.stud + (train.driven - train.stud) * (set.b / (set.b + set.d))})
        painter.drawEllipse(page.at(mesh), 2 * page.line, 2 * page.line);
    const struct {
        QPointF centre;
        const char* name;
    } shafts[] = {{train.driving, "主动轴"}, {train.stud, "中间轴"}, {train.driven, "被动轴"}};
    for (const auto& shaft : shafts) {
        painter.setBrush(QColor(60, 60, 60));
        painter.drawEllipse(page.at(shaft.centre), 3 * page.line, 3 * page.line);
        painter.drawText(page.at(shaft.centre) + QPointF(4 * page.line, page.textHeight * 0.35),
                         QString::fromUtf8(shaft.name));
    }
}

// A failed margin: the tip circle that reaches the other shaft, in red.
void drawFailedMargins(QPainter& painter, const Train& train, const GearSet& set,
                       const QuadrantMargins& margins, const Page& page) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(200, 0, 0), page.line * 2));
    if (margins.driving <= 0) {
        painter.drawEllipse(page.at(train.stud), (set.b + 2) / 2 * page.scale,
                            (set.b + 2) / 2 * page.scale);
        painter.drawEllipse(page.at(train.driving), 5 * page.line, 5 * page.line);
    }
    if (margins.driven <= 0) {
        painter.drawEllipse(page.at(train.stud), (set.c + 2) / 2 * page.scale,
                            (set.c + 2) / 2 * page.scale);
        painter.drawEllipse(page.at(train.driven), 5 * page.line, 5 * page.line);
    }
}

bool drawable(const GearSet& set) {
    for (double teeth : {set.a, set.b, set.c, set.d})
        if (!(teeth > 0) || !std::isfinite(teeth)) return false;
    return true;
}

} // namespace

void paintGearTrain(QPainter& painter, const QRectF& area, const GearSet& set) {
    painter.save();
    if (!drawable(set)) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("齿数不是正数，无法画出"));
        painter.restore();
        return;
    }
    const Train train = trainOf(set);
    // The reasons of failed margins stand below the drawing.
    const QuadrantMargins margins = quadrantMargins(set.a, set.b, set.c, set.d);
    QStringList reasons;
    if (margins.driving <= 0) reasons << QString::fromStdString(drivingMarginFailure());
    if (margins.driven <= 0) reasons << QString::fromStdString(drivenMarginFailure());
    const double textHeight = painter.fontMetrics().height();
    QRectF space =
        area.adjusted(textHeight, textHeight, -textHeight, -textHeight * (1.5 + reasons.size()));
    const double scale =
        std::min(space.width() / train.bounds.width(), space.height() / train.bounds.height());
    if (!(scale > 0)) {
        painter.restore();
        return;
    }
    const Page page{scale, space.center() - train.bounds.center() * scale,
                    std::max(1.0, textHeight / 12), textHeight};

    painter.setRenderHint(QPainter::Antialiasing);
    // Centre lines.
    painter.setPen(QPen(Qt::gray, page.line, Qt::DashDotLine));
    painter.drawLine(page.at(train.driving), page.at(train.stud));
    painter.drawLine(page.at(train.stud), page.at(train.driven));
    drawGears(painter, train, page);
    drawMeshesAndShafts(painter, train, set, page);
    drawFailedMargins(painter, train, set, margins, page);
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
