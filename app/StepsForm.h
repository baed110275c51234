// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "Построение по шагам": the diagram of the last Apply built up again one step at a
// time, in the order Apply drew it, with a caption for each step.  Each step's picture is the
// recorded drawing of that run replayed onto a fresh canvas up to the step, with what the step
// adds highlighted and its points ringed; the last step is left unmarked, the main window's
// diagram pixel for pixel.  Every Apply starts the window again at its first step.
#include <QWidget>
#include <cstddef>
#include <memory>

#include "ConstructionRecord.h"

class QLabel;
class QPushButton;

namespace zk {
class RasterCanvas;
class TImage;
} // namespace zk

class TStepsForm : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 980;  // pixels
    static constexpr int kClientHeight = 481; // pixels

    // A window owned by the main window (parent), kept above it.
    explicit TStepsForm(QWidget* parent = nullptr);
    ~TStepsForm() override;

    // Shows the window beside the main window (the first time) at the first step of the last run.
    void Open();
    // Told after every Apply, also one that a fault ended: back to the first step of the new run.
    void AfterApply() noexcept;

    // The step shown, 0 for the first, and how many there are.
    std::size_t CurrentStep() const { return step_; }
    std::size_t StepCount() const;

    // Buttons and keys: Left, Right or Space, Home.
    void Button1Click(); // "Назад"
    void Button2Click(); // "Далее"
    void Button3Click(); // "С начала"

    QLabel* Label1 = nullptr;     // "Шаг 3 из 14"
    QLabel* Label2 = nullptr;     // the step's title
    QLabel* Label3 = nullptr;     // the step's caption
    zk::TImage* Image1 = nullptr; // the picture up to this step
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateComponents();
    void ShowStep(std::size_t step);

    std::unique_ptr<zk::RasterCanvas> picture_;
    std::size_t step_ = 0;
    bool placed_ = false;
};

extern TStepsForm* Steps;
// The last run of Apply, step by step; the main window's diagram draws through it.
extern zk::ConstructionRecord Construction;
