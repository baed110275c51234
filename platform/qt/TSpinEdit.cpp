// SPDX-License-Identifier: GPL-3.0-or-later
#include "TSpinEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <limits>

#include "DecimalSeparator.h"
#include "ErrorBox.h"

namespace zk {

namespace {
constexpr int kButtonWidth = 13; // pixels
// The empty pixels QLineEdit keeps on each side of its text, inside the text margins.
constexpr int kLineEditTextGap = 2; // pixels

// Decimal digits with an optional sign, inside the 32-bit range.
bool ParseInt32(const QString& text, std::int32_t& value) {
    if (text.isEmpty())
        return false;
    int pos = 0;
    bool negative = false;
    if (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-')) {
        negative = text[0] == QLatin1Char('-');
        pos = 1;
    }
    if (pos == text.size())
        return false;
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

// For a whole number too large for 32 bits, the side it lies on: +1 or -1; 0 for any other text.
int BeyondInt32(const QString& text) {
    std::int32_t value = 0;
    if (text.isEmpty() || ParseInt32(text, value))
        return 0;
    const bool negative = text[0] == QLatin1Char('-');
    const int first = text[0] == QLatin1Char('+') || negative ? 1 : 0;
    if (first == text.size())
        return 0;
    for (int pos = first; pos < text.size(); ++pos) {
        if (text[pos] < QLatin1Char('0') || text[pos] > QLatin1Char('9'))
            return 0;
    }
    return negative ? -1 : 1;
}
} // namespace

TSpinEdit::TSpinEdit(QWidget* parent)
    : QWidget(parent), editor_(new QLineEdit(this)), up_(new QToolButton(this)), down_(new QToolButton(this)),
      repeat_(new QTimer(this)) {
    setFocusProxy(editor_);
    setFocusPolicy(Qt::StrongFocus);
    editor_->installEventFilter(this);
    editor_->setText(QStringLiteral("0"));
    for (QToolButton* button : {up_, down_})
        button->setFocusPolicy(Qt::NoFocus);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    // One step when an arrow goes down, then, while it is held, one after the delay and one at
    // every interval; releasing it stops the repeat.
    connect(up_, &QToolButton::pressed, this, Guarded([this] { ArrowPressed(1); }));
    connect(down_, &QToolButton::pressed, this, Guarded([this] { ArrowPressed(-1); }));
    for (QToolButton* button : {up_, down_})
        connect(button, &QToolButton::released, this, [this] { repeat_->stop(); });
    connect(repeat_, &QTimer::timeout, this, Guarded([this] {
                repeat_->setInterval(kRepeatInterval);
                Step(repeatDirection_);
            }));
    resize(65, 24);
    LayOut();
}

void TSpinEdit::ArrowPressed(int direction) {
    editor_->setFocus();
    Step(direction);
    repeatDirection_ = direction;
    repeat_->start(kRepeatDelay);
}

std::int32_t TSpinEdit::Value() const {
    std::int32_t value = 0;
    return ParseInt32(editor_->text(), value) ? value : minValue_;
}

void TSpinEdit::SetValue(std::int64_t value) {
    if (minValue_ != maxValue_)
        value = std::clamp<std::int64_t>(value, minValue_, maxValue_);
    else // no limits: keep the value a 32-bit integer rather than wrap it
        value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max());
    editor_->setText(QString::number(value));
}

QString TSpinEdit::Text() const {
    return editor_->text();
}

void TSpinEdit::SetText(const QString& text) {
    editor_->setText(text);
}

void TSpinEdit::Step(int steps) {
    SetValue(std::int64_t{Value()} + std::int64_t{steps} * increment_);
}

void TSpinEdit::ClampOnFocusLoss() {
    if (minValue_ == maxValue_)
        return;
    // A whole number typed beyond 32 bits lies beyond the limits too.  It would read as the lower
    // limit while the field still showed it, so it becomes the limit on its own side.
    if (const int side = BeyondInt32(editor_->text()); side != 0) {
        SetValue(side > 0 ? maxValue_ : minValue_);
        return;
    }
    const std::int32_t value = Value();
    if (value < minValue_ || value > maxValue_)
        SetValue(value);
}

bool TSpinEdit::FilterKey(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Up:
        Step(1);
        return true;
    case Qt::Key_Down:
        Step(-1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        QApplication::beep();
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty())
        return false; // navigation and editing keys
    for (const QChar c : text) {
        const bool control = c.unicode() < 0x20 || c.unicode() == 0x7F;
        const bool accepted = control || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                              c == QLatin1Char('+') || c == QLatin1Char('-') ||
                              DecimalSeparator().contains(c);
        if (!accepted) {
            QApplication::beep();
            return true;
        }
    }
    return false;
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editor_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        bool handled = false;
        RunHandler([&] { handled = FilterKey(static_cast<QKeyEvent*>(event)); });
        return handled;
    }
    case QEvent::FocusOut: {
        // Only a move of the focus to another control counts as leaving the field; a menu that
        // opens or a switch to another window leaves it as it is.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            RunHandler([this] { ClampOnFocusLoss(); });
        break;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            pressedInText_ = true;
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && pressedInText_) {
            pressedInText_ = false;
            if (editor_->rect().contains(mouse->position().toPoint())) {
                editor_->event(event); // let the text finish its selection first
                emit Click();
                return true;
            }
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void TSpinEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        editor_->setFont(font());
    QWidget::changeEvent(event);
}

void TSpinEdit::LayOut() {
    editor_->setGeometry(0, 0, width(), height());
    // The arrows stand against the right side of the field's frame, and the text may run up to
    // them: so the velocity field shows its largest value, 1000000, whole at 65 pixels.
    editor_->setTextMargins(0, 0, kButtonWidth - kLineEditTextGap, 0);
    const int side = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, editor_); // pixels
    const int frame = 2; // pixels above and below the arrows
    const int inner = height() - 2 * frame;
    const int upHeight = inner / 2;
    up_->setGeometry(width() - side - kButtonWidth, frame, kButtonWidth, upHeight);
    down_->setGeometry(width() - side - kButtonWidth, frame + upHeight, kButtonWidth, inner - upHeight);
    up_->raise();
    down_->raise();
}

} // namespace zk
