#pragma once

#include "gears/gear_set.h"

#include <QWidget>
#include <optional>

class QPainter;

// The change-gear train drawn to scale: the pitch circles of a, b, c and d
// in proportion to their tooth counts, the driving shaft (a), the stud (c in
// front, b behind) and the driven shaft (d), and where the gears mesh. Gears
// in front are drawn solid, those behind dashed. A quadrant margin that
// fails is drawn in red with its reason: b's tip circle reaching the driving
// shaft, or c's reaching the driven shaft. The window and the setup sheet
// paint it alike.

namespace kelvaro {

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
