// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unit1.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <exception>

#include "ActivationTracker.h"
#include "BmpWriter.h"
#include "CanvasScale.h"
#include "Comparison.h"
#include "DecimalSeparator.h"
#include "ErrorAdvice.h"
#include "ErrorBox.h"
#include "ExtrasLayer.h"
#include "FileAccess.h"
#include "GasSettings.h"
#include "GuideText.h"
#include "HelpForm.h"
#include "FormFont.h"
#include "InOutCodes.h"
#include "MainDiagram.h"
#include "Numbers.h"
#include "Pictures.h"
#include "PngWriter.h"
#include "RasterCanvas.h"
#include "ResultFile.h"
#include "Solver.h"
#include "StepsForm.h"
#include "TFileDialog.h"
#include "TImage.h"
#include "TPrinter.h"
#include "TSpinEdit.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit5.h"
#include "WindowActivation.h"

TMain* Main = nullptr;
zk::FlowState Flow;

TMain::TMain(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      risCanvas_(std::make_unique<zk::RasterCanvas>(zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight,
                                                    zk::FontSpec{},
                                                    zk::CanvasScaleFor(devicePixelRatioF()))) {
    setWindowTitle(QStringLiteral("Мирандоль"));
    CreateComponents();
    CreateMenu();
    // While the settings window is open the main window only takes no input; it keeps its look.
    QPalette look = palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colorRole = static_cast<QPalette::ColorRole>(role);
        look.setColor(QPalette::Disabled, colorRole, look.color(QPalette::Active, colorRole));
    }
    setPalette(look);
    // A fixed window: the client area keeps its size and the frame cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    move(122, 143);
    zk::ActivationTracker::Instance().Register(this, [this] { zk::RunHandler([this] { FormActivate(); }); });
    zk::RunHandler([this] { FormCreate(); });
}

TMain::~TMain() = default;

QLabel* TMain::MakeLabel(int left, int top, const QString& caption, bool transparent) {
    auto* label = new QLabel(caption, Client);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(!transparent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

zk::TImage* TMain::MakeImage(int left, int top, int width, int height, QImage (*picture)()) {
    auto* image = new zk::TImage(Client);
    image->setGeometry(left, top, width, height);
    image->SetPicture(picture());
    image->SetHighResolutionSource(zk::pictures::AtScale(picture));
    return image;
}

void TMain::CreateComponents() {
    namespace pic = zk::pictures;
    Client = new QWidget(this);
    Client->setFixedSize(kClientWidth, kClientHeight);
    QPalette palette = Client->palette();
    palette.setColor(QPalette::Window, Qt::white);
    Client->setPalette(palette);
    Client->setAutoFillBackground(true);
    Client->setFont(zk::FormFont(13, true));
    setCentralWidget(Client);

    // Later controls paint over earlier ones: the labels and formulas lie on the diagram.
    Bevel1 = new QFrame(Client);
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel1->setGeometry(632, 16, 213, 295);

    Ris = new zk::TImage(Client);
    Ris->move(16, 16);
    Ris->SetAutoSize(true);
    Ris->SetCanvas(risCanvas_.get());
    // On a screen of another pixel ratio the picture is made again at that screen's scale, and
    // in print at the printer's.
    Ris->SetScaleHandler([this](int scale) { RescalePicture(scale); });
    Ris->SetHighResolutionSource([this](int scale) { return zk::CanvasImage(*DrawPicture(scale)); });
    connect(Ris, &zk::TImage::Click, this, zk::Guarded([this] { RisClick(); }));

    Image1 = MakeImage(640, 32, 145, 65, pic::TaskSketch);
    Label4 = MakeLabel(40, 40, QStringLiteral("М="), true);
    Label4->setFont(zk::FormFont(13, false));
    Label4->adjustSize();
    Label5 = MakeLabel(768, 152, QStringLiteral("м/с"), false);
    Label6 = MakeLabel(64, 40, QStringLiteral("0"), false);
    Label7 = MakeLabel(768, 104, QStringLiteral("о"), false);
    Image3 = MakeImage(40, 360, 40, 50, pic::PressureRatioFormula);
    Label1 = MakeLabel(120, 428, QStringLiteral("0"), false);
    Label2 = MakeLabel(80, 378, QStringLiteral("0"), false);
    Image4 = MakeImage(40, 304, 40, 50, pic::SpeedRatioFormula);
    Label8 = MakeLabel(80, 323, QStringLiteral("0"), false);
    Image5 = MakeImage(40, 256, 40, 50, pic::TemperatureRatioFormula);
    Image2 = MakeImage(40, 408, 75, 50, pic::VelocityDensityFormula);
    Label11 = MakeLabel(80, 274, QStringLiteral("0"), false);
    Image6 = MakeImage(696, 200, 33, 33, pic::SoundSpeedFormula);
    Image6->SetStretch(true); // 50 x 50 shrunk into 33 x 33
    Label12 = MakeLabel(736, 202, QStringLiteral("0"), false);
    Label12->setFont(zk::FormFont(16, true));
    Label12->adjustSize();
    Image7 = MakeImage(696, 248, 25, 25, pic::GammaFormula);
    Label13 = MakeLabel(728, 251, QStringLiteral("0"), false);
    Label13->setFont(zk::FormFont(16, true));
    Label13->adjustSize();
    Image8 = MakeImage(40, 88, 25, 25, pic::ChiMaxFormula);
    Image8->SetTransparent(true);
    Label3 = MakeLabel(88, 98, QStringLiteral("0"), false);
    Label14 = MakeLabel(776, 204, QStringLiteral("м/с"), false);
    Label15 = MakeLabel(112, 88, QStringLiteral("о"), false);
    Image9 = MakeImage(672, 112, 20, 20, pic::ChiFormula);
    Image10 = MakeImage(672, 152, 20, 20, pic::VelocityFormula);

    SpinEdit1 = new zk::TSpinEdit(Client);
    SpinEdit1->setGeometry(696, 112, 65, 24);
    SpinEdit1->setFont(zk::FormFont(13, false));
    SpinEdit1->SetMinValue(1);
    SpinEdit1->SetMaxValue(180);
    SpinEdit1->SetIncrement(1);
    SpinEdit1->SetValue(20);

    SpinEdit2 = new zk::TSpinEdit(Client);
    SpinEdit2->setGeometry(696, 152, 65, 24);
    SpinEdit2->setFont(zk::FormFont(13, false));
    SpinEdit2->SetMinValue(365);
    SpinEdit2->SetMaxValue(1000000);
    SpinEdit2->SetIncrement(1);
    SpinEdit2->SetValue(365);
    connect(SpinEdit2, &zk::TSpinEdit::Click, this, zk::Guarded([this] { SpinEdit2Click(); }));

    Button2 = new QPushButton(QStringLiteral("Применить"), Client);
    Button2->setGeometry(696, 432, 89, 25);
    connect(Button2, &QPushButton::clicked, this, zk::Guarded([this] { Button2Click(); }));

    setTabOrder(SpinEdit1, SpinEdit2);
    setTabOrder(SpinEdit2, Button2);
    SpinEdit1->setFocus();

    SaveDialog1 = std::make_unique<zk::TFileDialog>(zk::TFileDialogKind::Save, this);
    SaveDialog1->DefaultExt = QStringLiteral("psr");
    SaveDialog1->Filter = QStringLiteral("Файлы Мирандоль (psr)|*.psr");
    OpenDialog1 = std::make_unique<zk::TFileDialog>(zk::TFileDialogKind::Open, this);
    OpenDialog1->Filter = QStringLiteral("Мирандоль (psr)|*.psr");
    SavePictureDialog1 = std::make_unique<zk::TFileDialog>(zk::TFileDialogKind::SavePicture, this);
    // The dialog shows each entry as its description followed by its patterns in brackets.
    SavePictureDialog1->Filter = QStringLiteral("Точечные рисунки (*.bmp)|*.bmp|Рисунки PNG (*.png)|*.png");
}

void TMain::CreateMenu() {
    QMenuBar* bar = menuBar();
    N1 = bar->addMenu(QStringLiteral("Файл"));
    C1 = N1->addMenu(QStringLiteral("Cохранить")); // the C is Latin
    psr1 = C1->addAction(QStringLiteral("файл psr"));
    bmp1 = C1->addAction(QStringLiteral("файл bmp"));
    N6 = N1->addAction(QStringLiteral("Открыть"));
    N4 = N1->addAction(QStringLiteral("Печать"));
    N5 = N1->addAction(QStringLiteral("Выход"));
    N3 = bar->addAction(QStringLiteral("Графически"));
    N2 = bar->addAction(QStringLiteral("Настройки"));
    N8 = bar->addAction(QStringLiteral("Сравнение"));
    N9 = bar->addAction(QStringLiteral("По шагам"));
    N10 = bar->addAction(QStringLiteral("Дополнительные построения"));
    N10->setCheckable(true);
    N10->setChecked(false);
    N7 = bar->addAction(QStringLiteral("Выход"));
    Help1 = bar->addMenu(QStringLiteral("Справка"));
    Guide1 = Help1->addAction(QStringLiteral("Как читать диаграмму"));
    About1 = Help1->addAction(QStringLiteral("О программе"));

    // The usual desktop keys; the menus show them beside the captions.
    N6->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    psr1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    N4->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    N5->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Guide1->setShortcut(QKeySequence(Qt::Key_F1));

    connect(psr1, &QAction::triggered, this, zk::Guarded([this] { psr1Click(); }));
    connect(bmp1, &QAction::triggered, this, zk::Guarded([this] { bmp1Click(); }));
    connect(N6, &QAction::triggered, this, zk::Guarded([this] { N6Click(); }));
    connect(N4, &QAction::triggered, this, zk::Guarded([this] { N4Click(); }));
    connect(N5, &QAction::triggered, this, zk::Guarded([this] { N5Click(); }));
    connect(N3, &QAction::triggered, this, zk::Guarded([this] { N3Click(); }));
    connect(N2, &QAction::triggered, this, zk::Guarded([this] { N2Click(); }));
    connect(N7, &QAction::triggered, this, zk::Guarded([this] { N7Click(); }));
    connect(N8, &QAction::triggered, this, zk::Guarded([this] { N8Click(); }));
    connect(N9, &QAction::triggered, this, zk::Guarded([this] { N9Click(); }));
    connect(N10, &QAction::triggered, this, zk::Guarded([this] { N10Click(); }));
    connect(Guide1, &QAction::triggered, this, zk::Guarded([this] { Guide1Click(); }));
    connect(About1, &QAction::triggered, this, zk::Guarded([this] { About1Click(); }));
}

void TMain::FormCreate() {
    Flow.Gamma = 1.4;
    Flow.SoundSpeed = 340.0;
    SpinEdit2->SetValue(zk::Round(2.0L * Flow.SoundSpeed));
    Button2Click();
}

void TMain::FormActivate() {
    // One arrow click changes V1 by one speed of sound, one Mach unit.
    SpinEdit2->SetIncrement(zk::VelocityStep(Flow.SoundSpeed));
    SpinEdit1->SetMinValue(0);
}

void TMain::Button2Click() {
    zk::ApplyInputs inputs;
    inputs.WedgeDegrees = SpinEdit1->Value();
    inputs.Velocity = SpinEdit2->Value();
    inputs.DecimalSeparator = '.'; // the labels show the locale's separator in its place
    // The step-by-step window starts again with the new run, also one that a fault ended, once
    // the run's record is closed (the diagram below goes first).
    struct TellSteps {
        ~TellSteps() {
            if (Steps)
                Steps->AfterApply();
        }
    } tellSteps;
    runningRun_ = zk::DiagramRun{Flow, inputs, risCanvas_->Pen()};
    MainDiagram diagram(*this);
    // The comparison window follows every run, also one that a fault ended.
    struct TellComparison {
        int faults = std::uncaught_exceptions();
        ~TellComparison() {
            if (Comparison)
                Comparison->AfterApply(std::uncaught_exceptions() > faults);
        }
    } tellComparison;
    // An open flight window animates the new solution; after a fault it keeps the last one.
    struct TellFlight {
        int faults = std::uncaught_exceptions();
        ~TellFlight() {
            if (Form3 && std::uncaught_exceptions() == faults)
                zk::RunHandler([] { Form3->AfterApply(); });
        }
    } tellFlight;
    // What Apply drew before a fault stays in the picture and is shown.
    struct ShowPicture {
        zk::TImage* picture;
        ~ShowPicture() { picture->update(); }
    } showPicture{Ris};
    try {
        zk::Apply(Flow, inputs, diagram);
    } catch (const zk::AppError&) {
        // The input that leaves the case undefined, and what to change, under the fault's message.
        constexpr char kSeparatorMark = '\x01'; // the locale's separator goes in its place
        QString advice = QString::fromStdString(
            zk::ApplyAdvice(Flow.SoundSpeed, Flow.Gamma, inputs.Velocity, kSeparatorMark));
        if (advice.isEmpty())
            throw;
        advice.replace(QLatin1Char(kSeparatorMark), zk::DecimalSeparator());
        std::throw_with_nested(zk::ErrorAdviceNote(advice.toStdString()));
    }
    // Over a run that ended, exact theory's constructions when they are asked for; a fault above
    // leaves the picture as the run left it.
    if (ExtrasShown())
        zk::ExtrasLayer::Draw(*risCanvas_, Flow, ExtrasSeparator());
}

bool TMain::ExtrasShown() const {
    return N10 && N10->isChecked();
}

char TMain::ExtrasSeparator() {
    const QString separator = zk::DecimalSeparator();
    return separator.size() == 1 && separator[0].unicode() < 0x80 ? static_cast<char>(separator[0].unicode()) : ',';
}

void TMain::PictureCleared() {
    pictureRun_ = runningRun_;
}

std::unique_ptr<zk::RasterCanvas> TMain::DrawPicture(int scale) const {
    auto canvas = std::make_unique<zk::RasterCanvas>(zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight,
                                                     zk::FontSpec{}, scale);
    const std::optional<zk::FlowState> drawn = zk::DiagramPicture::Redraw(*canvas, pictureRun_);
    if (drawn && ExtrasShown())
        zk::ExtrasLayer::Draw(*canvas, *drawn, ExtrasSeparator());
    // The pen the next run starts with is the one the picture's own run left.
    canvas->SetPenColor(risCanvas_->Pen().Color);
    canvas->SetPenWidth(risCanvas_->Pen().Width);
    canvas->SetPenStyle(risCanvas_->Pen().Style);
    canvas->MoveTo(risCanvas_->PenPos().X, risCanvas_->PenPos().Y);
    return canvas;
}

void TMain::RescalePicture(int scale) {
    if (scale == risCanvas_->Scale())
        return;
    std::unique_ptr<zk::RasterCanvas> canvas = DrawPicture(scale);
    Ris->SetCanvas(canvas.get());
    risCanvas_ = std::move(canvas);
}

void TMain::N10Click() {
    // The picture of the last run made again, with or without the layer; nothing is solved anew.
    std::unique_ptr<zk::RasterCanvas> canvas = DrawPicture(risCanvas_->Scale());
    Ris->SetCanvas(canvas.get());
    risCanvas_ = std::move(canvas);
    Ris->update();
    if (Steps)
        Steps->AfterApply();
}

void TMain::ShowApplied() {
    if (!isVisible())
        show();
    Client->update();
    zk::ActivateWindow(this);
}

void TMain::SpinEdit2Click() {
    const zk::Extended mach = zk::Div(SpinEdit2->Value(), Flow.SoundSpeed);
    Label6->setText(
        zk::LocalizedNumberText(zk::NumberText(zk::RoundDecimals(static_cast<double>(mach), -3), '.')));
    Label6->adjustSize();
}

void TMain::RisClick() {
    Form5->show();
    zk::ActivateWindow(Form5);
}

void TMain::psr1Click() {
    if (!SaveDialog1->Execute() || SaveDialog1->FileName.isEmpty())
        return;
    const std::string bytes = zk::FormatResultFile(Flow);
    try {
        zk::ReplaceFileContents(SaveDialog1->FileName, bytes);
    } catch (const zk::FileAccessError& error) {
        throw zk::InOutError(zk::InOutCode(error));
    }
}

void TMain::N6Click() {
    if (!OpenDialog1->Execute() || OpenDialog1->FileName.isEmpty())
        return;
    OpenResultFile(OpenDialog1->FileName);
}

void TMain::OpenResultFile(const QString& fileName) {
    OpenDialog1->FileName = QFileInfo(fileName).absoluteFilePath();
    if (!QFileInfo(fileName).isFile())
        return; // no file of that name: nothing at all happens
    const std::string shownName = QFileInfo(fileName).fileName().toStdString();
    std::string bytes;
    try {
        bytes = zk::ReadFileBytes(fileName);
    } catch (const zk::FileAccessError& error) {
        const int code = zk::InOutCode(error);
        zk::ThrowWithAdvice(zk::InOutError(code), zk::ResultFileOpenAdvice(shownName, code));
    }
    // All four values are read and checked before anything changes: a bad line leaves the flow
    // state, the fields and the diagram as they were.
    zk::ResultFileValues values;
    zk::ResultFilePlace failed;
    try {
        values = zk::ReadResultFile(bytes, &failed);
    } catch (const zk::AppError&) {
        std::throw_with_nested(zk::ErrorAdviceNote(zk::ResultFileAdvice(shownName, failed)));
    }
    Flow.SoundSpeed = values.SoundSpeed;
    Flow.Gamma = values.Gamma;
    Flow.V1 = values.V1;
    SpinEdit1->SetValue(values.WedgeField);
    SpinEdit2->SetValue(Flow.V1);
    Opt->ShowGas(values.SoundSpeed, values.Gamma);
    Button2Click();
}

void TMain::bmp1Click() {
    if (!SavePictureDialog1->Execute() || SavePictureDialog1->FileName.isEmpty())
        return;
    QString fileName = SavePictureDialog1->FileName;
    // The extension the student typed decides the format; a name without one (or with another)
    // takes the type chosen in the dialog and its extension, so the file is what its name says.
    const QString suffix = QFileInfo(fileName).suffix();
    bool png = SavePictureDialog1->FilterIndex == 2;
    if (suffix.compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0)
        png = true;
    else if (suffix.compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0)
        png = false;
    else
        fileName += png ? QStringLiteral(".png") : QStringLiteral(".bmp");
    std::string bytes;
    if (png) {
        // PNG, for slides and worksheets: the diagram drawn again at four times its size.
        bytes = zk::EncodePng(*DrawPicture(kPngScale));
        if (bytes.empty())
            throw zk::AppError("Stream write error");
    } else {
        // The bitmap is the picture's own 609 x 449 pixels, whatever the screen's scale.
        bytes = zk::EncodeBmp(risCanvas_->Scale() == 1 ? *risCanvas_ : *DrawPicture(1));
    }
    try {
        zk::ReplaceFileContents(fileName, bytes);
    } catch (const zk::FileAccessError& error) {
        if (error.FailedStage() == zk::FileAccessError::Stage::Open)
            throw zk::AppError("Cannot create file " + fileName.toStdString());
        throw zk::AppError("Stream write error");
    }
}

void TMain::N4Click() {
    zk::Printer().SetLandscape();
    // The button is not part of the printout; it comes back whether the print succeeded or not.
    Button2->hide();
    struct ShowButton {
        QPushButton* button;
        ~ShowButton() { button->show(); }
    } showButton{Button2};
    zk::PrintClientArea(Client);
}

void TMain::N2Click() {
    Opt->show();
    Opt->setEnabled(true);
    zk::ActivateWindow(Opt);
    // The settings window is modal only in that the main window takes no input meanwhile.
    setEnabled(false);
}

void TMain::N3Click() {
    Form3->SetParticleCount(Opt->SpinEdit1->Value());
    // Hiding first makes an open flight window go through activation again: a fresh snapshot.
    Form3->hide();
    Form3->show();
    Form3->raise();
    Form3->activateWindow();
    zk::ActivationTracker::Instance().Activate(Form3);
}

void TMain::N8Click() {
    Comparison->Open();
}

void TMain::N9Click() {
    Steps->Open();
}

void TMain::Guide1Click() {
    HelpForm->Open();
}

QString TMain::AboutText() {
    return QString::fromStdString(zk::AboutHtml(ZK_VERSION)) +
           QStringLiteral("<p>Qt %1</p>").arg(QString::fromLatin1(qVersion()));
}

void TMain::About1Click() {
    if (!AboutBox) {
        AboutBox = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("О программе"), AboutText(),
                                   QMessageBox::Ok, this);
        AboutBox->setTextFormat(Qt::RichText);
    }
    // Window-modal and without a nested event loop: the flight window goes on meanwhile.
    AboutBox->open();
}

void TMain::N5Click() {
    close();
}

void TMain::N7Click() {
    close();
}

void TMain::SetWedgeField(int degrees) {
    SpinEdit1->SetValue(degrees);
}

void TMain::ClickApply() {
    Button2Click();
}

void TMain::ClickGraphics() {
    N3Click();
}

void TMain::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever other windows are open.
    event->accept();
    QCoreApplication::quit();
}
