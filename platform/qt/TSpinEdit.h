// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An integer field with two arrow buttons.  Its value reads the text as typed, without clamping
// (letters read as the lower limit); writing a value clamps it to the limits unless both limits
// are equal, which means no limits.  The arrows (repeating while held: first after 400 ms, then
// every 100 ms) and the Up and Down keys step by Increment; leaving the field clamps its text.
// Typing accepts digits, signs, the decimal separator and control keys; other keys beep.
#include <QWidget>
#include <cstdint>

class QLineEdit;
class QTimer;
class QToolButton;

namespace zk {

class TSpinEdit : public QWidget {
    Q_OBJECT
  public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    // The text as a 32-bit decimal integer with an optional sign; MinValue when it is none.
    std::int32_t Value() const;
    // Clamped to MinValue .. MaxValue unless they are equal; then shown as text.
    void SetValue(std::int64_t value);

    std::int32_t MinValue() const { return minValue_; }
    std::int32_t MaxValue() const { return maxValue_; }
    std::int32_t Increment() const { return increment_; }
    // The limits and the step change nothing on screen; they act at the next write, step or
    // loss of focus.
    void SetMinValue(std::int32_t value) { minValue_ = value; }
    void SetMaxValue(std::int32_t value) { maxValue_ = value; }
    void SetIncrement(std::int32_t value) { increment_ = value; }

    QString Text() const;
    void SetText(const QString& text);

    // Value + steps * Increment, written through SetValue (what the arrows and keys do).
    void Step(int steps);

    QLineEdit* Editor() const { return editor_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }
    // Runs the repeat of a held arrow: its interval is the delay until the first repeat, then the
    // time between repeats.
    QTimer* RepeatTimer() const { return repeat_; }

    static constexpr int kRepeatDelay = 400;    // ms before a held arrow repeats
    static constexpr int kRepeatInterval = 100; // ms between repeats

  signals:
    // The left mouse button pressed and released inside the text (not on the arrows).
    void Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    bool FilterKey(class QKeyEvent* key);
    void ClampOnFocusLoss();
    void LayOut();
    void ArrowPressed(int direction);

    QLineEdit* editor_;
    QToolButton* up_;
    QToolButton* down_;
    QTimer* repeat_;
    int repeatDirection_ = 0; // +1 while the up arrow is held, -1 for the down arrow
    std::int32_t minValue_ = 0;
    std::int32_t maxValue_ = 0;
    std::int32_t increment_ = 1;
    bool pressedInText_ = false;
};

} // namespace zk
