#pragma once

#include "job/hobbing_job.h"
#include "widgets/calculation_window.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;

namespace kelvaro {

class ActivationWatcher;
class JiChuangZiLiao;
class TrainDrawing;

// 滚齿调整: one hobbing job on a machine of the catalogue. Calculate (or
// Enter in a field) finds both trains from the machine's box; the list shows
// the job in lines, the drawings the two trains; 打印调整卡 prints the card;
// 机床资料 edits the machine's data. At each activation the machine list is
// read again, the chosen machine kept.
class GunChi : public CalculationWindow {
    Q_OBJECT
  public:
    explicit GunChi(const WindowContext& context, QWidget* parent = nullptr);
    ~GunChi() override;

    const HobbingJob* job() const { return job_.get(); }
    JiChuangZiLiao* machineData() const { return machineData_.get(); }

  public slots:
    void Form_Activate();
    void Command4_Click(); // 机床资料

  private:
    Calculation calculation() override;
    std::vector<QLineEdit*> readFields() const override;
    std::string printResults() override;
    void calculated() override;

    ActivationWatcher* watcher_;
    std::vector<QLineEdit*> numberFields_;
    QLineEdit* leadField_;
    QLineEdit* deviationField_;
    QLineEdit* lengthField_;
    QComboBox* machineList_;
    QComboBox* handsList_;
    QComboBox* measuredList_;
    TrainDrawing* indexDrawing_;
    TrainDrawing* differentialDrawing_;
    QLabel* differentialCaption_;
    std::shared_ptr<std::shared_ptr<const HobbingJob>> pending_; // written by the worker
    std::shared_ptr<const HobbingJob> job_;
    std::unique_ptr<JiChuangZiLiao> machineData_;
};

} // namespace kelvaro
