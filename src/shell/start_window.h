#pragma once

#include "widgets/window_context.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace kelvaro {

class PuTong;
class ChaDong;
class GunChi;

// Form1, the start window: opens the calculation windows, each created on first
// use and afterwards only shown again, and ends the program.
class Form1 : public QWidget {
    Q_OBJECT
  public:
    // `endProgram` closes every window and leaves the event loop; the
    // windows opened from here get `context`.
    Form1(const WindowContext& context, std::function<void()> endProgram,
          QWidget* parent = nullptr);
    ~Form1() override;

    PuTong* puTong() const { return puTong_.get(); }
    ChaDong* chaDong() const { return chaDong_.get(); }
    GunChi* gunChi() const { return gunChi_.get(); }

  public slots:
    void Label2_Click(); // 普通Kelvaro
    void Label3_Click(); // 差动Kelvaro
    void Label4_Click(); // 滚齿调整
    void Label1_Click(); // 结  束

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    WindowContext context_;
    std::function<void()> endProgram_;
    std::unique_ptr<PuTong> puTong_;
    std::unique_ptr<ChaDong> chaDong_;
    std::unique_ptr<GunChi> gunChi_;
};

} // namespace kelvaro
