// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unit2.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "ActivationTracker.h"
#include "ErrorBox.h"
#include "GasSettings.h"
#include "Numbers.h"
#include "Pictures.h"
#include "TImage.h"
#include "TSpinEdit.h"
#include "Unit1.h"
#include "WindowActivation.h"

TOpt* Opt = nullptr;

namespace {
zk::TSpinEdit* MakeField(QWidget* parent, int left, int top, int minValue, int maxValue, int value) {
    auto* field = new zk::TSpinEdit(parent);
    field->setGeometry(left, top, 57, 22);
    field->SetMinValue(minValue);
    field->SetMaxValue(maxValue);
    field->SetIncrement(1);
    field->SetValue(value);
    return field;
}
} // namespace

TOpt::TOpt(QWidget* parent)
    : QWidget(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Настройки"));
    setFixedSize(kClientWidth, kClientHeight);
    move(292, 118);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Light)); // the highlight of 3-D elements
    setPalette(palette);
    setAutoFillBackground(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    Image1 = new zk::TImage(this);
    Image1->setGeometry(24, 24, 75, 50);
    Image1->SetPicture(zk::pictures::GammaTimesTenFormula());
    Image1->SetHighResolutionSource(zk::pictures::AtScale(zk::pictures::GammaTimesTenFormula));
    Image2 = new zk::TImage(this);
    Image2->setGeometry(32, 88, 50, 50);
    Image2->SetPicture(zk::pictures::SoundSpeedFormula());
    Image2->SetHighResolutionSource(zk::pictures::AtScale(zk::pictures::SoundSpeedFormula));
    Label1 = new QLabel(QStringLiteral("м/с"), this);
    Label1->move(168, 104);
    Label1->adjustSize();
    Label2 = new QLabel(QStringLiteral("число частиц"), this);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(16);
    tahoma.setBold(true);
    tahoma.setItalic(true);
    Label2->setFont(tahoma);
    Label2->move(24, 176);
    Label2->adjustSize();

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setGeometry(248, 216, 75, 25);
    connect(BitBtn1, &QPushButton::clicked, this, zk::Guarded([this] { BitBtn1Click(); }));
    cG1 = MakeField(this, 104, 40, 0, 100, 14);
    cc1 = MakeField(this, 104, 96, 0, 0, 340); // equal limits: none
    SpinEdit1 = MakeField(this, 152, 176, 10, 500, 100);
    setTabOrder(BitBtn1, cG1);
    setTabOrder(cG1, cc1);
    setTabOrder(cc1, SpinEdit1);

    setEnabled(false);
    zk::ActivationTracker::Instance().Register(this, {});
    zk::RunHandler([this] { FormCreate(); });
}

void TOpt::FormCreate() {
    ShowGas(Flow.SoundSpeed, Flow.Gamma);
}

void TOpt::ShowGas(double soundSpeed, double gamma) {
    const std::int64_t soundField = zk::Round(soundSpeed);
    const std::int64_t gammaField = zk::Round(static_cast<zk::Extended>(gamma) * 10);
    cc1->SetValue(soundField);
    cG1->SetValue(gammaField);
    // A value the field cannot show (clamped to its limits) stands for nothing but itself.
    shownSoundSpeed_ = {cc1->Value(), cc1->Value() == soundField ? soundSpeed : double(cc1->Value())};
    shownGamma_ = {cG1->Value(), cG1->Value() == gammaField
                                     ? gamma
                                     : static_cast<double>(static_cast<zk::Extended>(cG1->Value()) / 10)};
}

void TOpt::BitBtn1Click() {
    close();
}

void TOpt::FormClose() {
    // A field the student left as it was shown keeps the exact gas: γ = 1.67 shows as 17 and
    // stays 1.67, c1 = 340.5 shows as 340 (ties to even) and stays 340.5.
    const std::int32_t soundField = cc1->Value();
    const std::int32_t gammaField = cG1->Value();
    Flow.SoundSpeed = soundField == shownSoundSpeed_.Field ? shownSoundSpeed_.Exact : double(soundField);
    Flow.Gamma = gammaField == shownGamma_.Field ? shownGamma_.Exact : zk::GammaFromField(gammaField);
    shownSoundSpeed_ = {soundField, Flow.SoundSpeed};
    shownGamma_ = {gammaField, Flow.Gamma};
    Main->setEnabled(true);
    hide();
    // The focus passes back to the main window, whose activation takes the new c1 as its step.
    zk::ActivateWindow(Main);
    Main->ClickApply();
    Main->SpinEdit2->SetMinValue(zk::VelocityLowerLimit(cc1->Value()));
}

void TOpt::closeEvent(QCloseEvent* event) {
    zk::RunHandler([this] { FormClose(); });
    event->accept();
}

void TOpt::keyPressEvent(QKeyEvent* event) {
    // Escape is the keyboard's close box; like every close it takes the values over.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
