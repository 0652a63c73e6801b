#pragma once

#include "gears/gear_set.h"
#include "gears/set_facts.h"

#include <QFontMetricsF>
#include <QWidget>
#include <optional>
#include <vector>

class QPainter;

// The change-gear train drawn to scale: the pitch circles of a, b, c and d
// in proportion to their tooth counts, the driving shaft (a), the stud (c in
// front, b behind) and the driven shaft (d), and where the gears mesh. Gears
// in front are drawn solid, those behind dashed. A quadrant margin that
// fails (less than the clearance s) is drawn in red with its reason: b's tip
// circle too near the driving shaft, or c's too near the driven shaft. The window and the setup
// sheet paint it alike.

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

// A margin below `clearance` is marked as the details' verdict reads it.
TrainLayout layoutGearTrain(const QRectF& area, const GearSet& set, const QFontMetricsF& metrics,
                            double clearance = kDefaultClearance);

void paintGearTrain(QPainter& painter, const QRectF& area, const GearSet& set,
                    double clearance = kDefaultClearance);

class TrainDrawing : public QWidget {
    Q_OBJECT
  public:
    explicit TrainDrawing(QWidget* parent = nullptr);

    // None: an empty drawing.
    void setTrain(const std::optional<GearSet>& set, double clearance = kDefaultClearance);
    const std::optional<GearSet>& train() const { return set_; }
    double clearance() const { return clearance_; }
    // Faded: drawn pale, for a result that no longer matches its inputs.
    void setFaded(bool faded);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<GearSet> set_;
    double clearance_ = kDefaultClearance;
    bool faded_ = false;
};

} // namespace kelvaro
