#pragma once

#include "job/hobbing_job.h"
#include "job/job_sheet.h"
#include "printing/card_sheet.h"
#include "widgets/calculation_window.h"

#include <map>
#include <memory>

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace kelvaro {

class ActivationWatcher;
class JiChuangZiLiao;
class TrainDrawing;

// 滚齿调整: one hobbing job on a machine of the catalogue, laid out as a shop
// sheet. The inputs stand in groups (零件, 滚刀, 机床, 试切修正); Calculate (or
// Enter in a field) finds the trains from the machine's box, shown one panel
// per train with its drawing, then the setting angle and the notes. A result
// that no longer matches the inputs (a field, a hand, the machine, its data
// saved) is greyed with what made it, and is not printed. 打印调整卡 prints
// the card; 机床资料 edits the machine's data. At each activation the machine
// list is read again, the chosen machine kept.
class GunChi : public CalculationWindow {
    Q_OBJECT
  public:
    explicit GunChi(const WindowContext& context, QWidget* parent = nullptr);
    ~GunChi() override;

    const HobbingJob* job() const { return job_.get(); }
    JiChuangZiLiao* machineData() const { return machineData_.get(); }
    // What the result's greying says; empty while it matches the inputs.
    const QString& staleNote() const { return staleNote_; }
    // The card as it prints the shown result.
    PrintedSheet card() const;

  public slots:
    void Form_Activate();
    void Command4_Click(); // 机床资料

  private:
    Calculation calculation() override;
    std::vector<QLineEdit*> readFields() const override;
    std::string printResults() override;
    void calculated() override;

    std::map<const QWidget*, QString> inputs() const;
    void markResultStale();
    void showSheet();

    ActivationWatcher* watcher_;
    std::vector<QLineEdit*> numberFields_;
    QLineEdit* leadField_;
    QLineEdit* widthField_;
    QLineEdit* feedField_;
    QLineEdit* deviationField_;
    QLineEdit* lengthField_;
    QComboBox* machineList_;
    QComboBox* partHandList_;
    QComboBox* hobHandList_;
    QComboBox* measuredList_;
    QLabel* constants_;
    QWidget* results_;
    QLabel* status_;
    QHBoxLayout* trainPanels_;
    QLabel* setting_;
    QLabel* notes_;
    struct Pending {
        std::shared_ptr<const HobbingJob> job; // written by the worker
    };
    std::shared_ptr<Pending> pending_;
    JobRequest pendingRequest_, request_;
    std::map<const QWidget*, QString> pendingInputs_, calculatedInputs_;
    bool dataSaved_ = false; // the job's machine data saved since it ran
    QString staleNote_;
    std::shared_ptr<const HobbingJob> job_;
    JobSheet sheet_;
    std::unique_ptr<JiChuangZiLiao> machineData_;
};

} // namespace kelvaro
