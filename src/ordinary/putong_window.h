#pragma once

#include "widgets/calculation_window.h"

class QLineEdit;

namespace kelvaro {

// The ordinary calculation window: four fields in, the result list and the
// printout text of the last calculation out. Hiding keeps everything.
class PuTong : public CalculationWindow {
    Q_OBJECT
  public:
    explicit PuTong(const WindowContext& context, QWidget* parent = nullptr);

  private:
    void Form_Load();

    Calculation calculation() override;
    std::vector<QLineEdit*> readFields() const override;
    std::string printResults() override;

    QLineEdit* ratioField_;
    QLineEdit* toleranceField_;
    QLineEdit* smallestField_;
    QLineEdit* largestField_;
};

} // namespace kelvaro
