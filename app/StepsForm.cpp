// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepsForm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "ActivationTracker.h"
#include "ConstructionCaptions.h"
#include "DecimalSeparator.h"
#include "ExtrasLayer.h"
#include "FormFont.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "StepView.h"
#include "TImage.h"
#include "Unit1.h"
#include "WindowActivation.h"
#include "WindowPlacement.h"
#include "WorkingWindow.h"

TStepsForm* Steps = nullptr;
zk::ConstructionRecord Construction;

namespace {

// Captions are written with this stand-in for the decimal separator, replaced by the locale's.
constexpr char kSeparatorMark = '\x01';

QString Localized(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1Char(kSeparatorMark), zk::DecimalSeparator());
    return shown;
}

} // namespace

TStepsForm::TStepsForm(QWidget* parent)
    : QWidget(parent, zk::kWorkingWindowFlags) {
    setWindowTitle(QStringLiteral("Построение по шагам"));
    // Laid out for kClientWidth x kClientHeight; on a smaller screen everything is shown smaller.
    resize(kClientWidth, kClientHeight);
    setMinimumSize(QSize(kClientWidth, kClientHeight) * kWorkingWindowMinimumScale);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(zk::FormFont(13, true));
    // The buttons take no focus, so the keys always reach the window.
    setFocusPolicy(Qt::StrongFocus);
    CreateComponents();
    content_.Record(this, QSize(kClientWidth, kClientHeight));
    zk::ActivationTracker::Instance().Register(this, {});
    ShowStep(0);
}

TStepsForm::~TStepsForm() = default;

void TStepsForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const double scale = ScaledContent::ScaleFor(QSize(kClientWidth, kClientHeight), size());
    if (scale != content_.Scale())
        content_.Apply(scale);
}

void TStepsForm::CreateComponents() {
    Image1 = new zk::TImage(this);
    Image1->setGeometry(16, 16, zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight);
    Image1->SetFitToBox(true);

    const int left = 16 + zk::PolarDiagram::kWidth + 16; // pixels
    const int width = kClientWidth - left - 16;
    Label1 = new QLabel(this);
    Label1->setGeometry(left, 16, width, 18);
    Label1->setFont(zk::FormFont(13, false));
    Label2 = new QLabel(this);
    Label2->setGeometry(left, 38, width, 22);
    Label2->setFont(zk::FormFont(16, true));
    Label3 = new QLabel(this);
    Label3->setGeometry(left, 66, width, 360);
    Label3->setFont(zk::FormFont(14, false));
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const int buttonWidth = (width - 2 * 8) / 3;
    Button3 = new QPushButton(QStringLiteral("С начала"), this);
    Button3->setGeometry(left, 440, buttonWidth, 25);
    Button1 = new QPushButton(QStringLiteral("Назад"), this);
    Button1->setGeometry(left + buttonWidth + 8, 440, buttonWidth, 25);
    Button2 = new QPushButton(QStringLiteral("Далее"), this);
    Button2->setGeometry(left + 2 * (buttonWidth + 8), 440, buttonWidth, 25);
    for (QPushButton* button : {Button1, Button2, Button3})
        button->setFocusPolicy(Qt::NoFocus);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

std::size_t TStepsForm::StepCount() const {
    // With the layer of extra constructions shown, its pieces follow as the last steps.
    const std::size_t extras = Main && Main->ExtrasShown() ? zk::ExtrasStepCount(Construction) : 0;
    return Construction.Steps().size() + extras;
}

void TStepsForm::Open() {
    if (!placed_ && Main) {
        PlaceBesideMain(this, QSize(kClientWidth, kClientHeight));
        placed_ = true;
    }
    ShowStep(step_);
    show();
    raise();
    zk::ActivateWindow(this);
}

void TStepsForm::AfterApply() noexcept {
    try {
        ShowStep(0);
    } catch (...) {
        // Showing a step draws only what Apply drew before; nothing of it may stop the program.
        step_ = 0;
    }
}

void TStepsForm::Button1Click() {
    if (step_ > 0)
        ShowStep(step_ - 1);
}

void TStepsForm::Button2Click() {
    if (step_ + 1 < StepCount())
        ShowStep(step_ + 1);
}

void TStepsForm::Button3Click() {
    ShowStep(0);
}

void TStepsForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        Button1Click();
        break;
    case Qt::Key_Right:
    case Qt::Key_Space:
        Button2Click();
        break;
    case Qt::Key_Home:
        Button3Click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TStepsForm::ShowStep(std::size_t step) {
    const std::size_t count = StepCount();
    step_ = count == 0 ? 0 : std::min(step, count - 1);
    // Every step is drawn afresh: the run's operations up to that step on a white picture, with
    // what the step adds marked on it.
    auto picture = std::make_unique<zk::RasterCanvas>(zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight);
    if (count == 0) {
        Label1->clear();
        Label2->clear();
        Label3->setText(QStringLiteral("Диаграмма ещё не построена."));
    } else if (const std::size_t recorded = Construction.Steps().size(); step_ >= recorded) {
        const std::size_t part = step_ - recorded;
        const auto piece = static_cast<zk::ExtrasLayer::Part>(part);
        zk::DrawExtrasStepView(Construction, part, TMain::ExtrasSeparator(), *picture);
        Label1->setText(QStringLiteral("Шаг %1 из %2").arg(step_ + 1).arg(count));
        Label2->setText(QString::fromStdString(zk::ExtrasLayer::StepTitle(piece)));
        Label3->setText(
            Localized(zk::ExtrasLayer::StepCaption(piece, Construction.State(), kSeparatorMark)));
    } else {
        zk::DrawStepView(Construction, step_, *picture);
        Label1->setText(QStringLiteral("Шаг %1 из %2").arg(step_ + 1).arg(count));
        Label2->setText(QString::fromStdString(zk::StepTitle(Construction.Steps()[step_].Step)));
        Label3->setText(Localized(zk::StepCaption(Construction, step_, kSeparatorMark)));
    }
    Image1->SetCanvas(picture.get());
    picture_ = std::move(picture);
    Image1->update();
    Button1->setEnabled(step_ > 0);
    Button3->setEnabled(step_ > 0);
    Button2->setEnabled(step_ + 1 < count);
}
