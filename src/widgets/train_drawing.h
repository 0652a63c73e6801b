#pragma once

#include "gears/gear_set.h"

#include <QFontMetricsF>
#include <QWidget>
#include <optional>
#include <vector>

class QPainter;

// The change-gear train drawn to scale: the pitch circles of a, b, c and d
// in proportion to their tooth counts, the driving shaft (a), the stud (c in
// front, b behind) and the driven shaft (d), and where the gears mesh. Gears
// in front are drawn solid, those behind dashed. A quadrant margin that
// fails is drawn in red with its reason: b's tip circle reaching the driving
// shaft, or c's reaching the driven shaft. The window and the setup sheet
// paint it alike.

namespace kelvaro {

// Where the drawing of a set puts its parts in `area`, for text of
// `metrics`, with room below it for the reasons a set cannot be mounted. Each label is moved from
// its own place (inside its gear, beside its shaft) to the nearest spot where it overlaps no other
// label and no shaft or mesh mark, within the area.
struct TrainLayout {
    struct Label {
        QString text;
        QRectF rect;
        QPointF centre; // of its gear, which a label outside that gear points to
        double radius;  // of its gear; 0 for a shaft
    };
    double scale = 0;              // pixels per module; 0 where nothing can be drawn
    QPointF driving, stud, driven; // the shafts
    double line = 1;               // pen width
    std::vector<Label> labels;     // a, c, b, d, then the shafts
    std::vector<QRectF> marks;     // the shafts' and the meshes' dots
};

TrainLayout layoutGearTrain(const QRectF& area, const GearSet& set, const QFontMetricsF& metrics);

void paintGearTrain(QPainter& painter, const QRectF& area, const GearSet& set);

class TrainDrawing : public QWidget {
    Q_OBJECT
  public:
    explicit TrainDrawing(QWidget* parent = nullptr);

    // None: an empty drawing.
    void setTrain(const std::optional<GearSet>& set);
    const std::optional<GearSet>& train() const { return set_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<GearSet> set_;
};

} // namespace kelvaro
