// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpForm.h"

#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ActivationTracker.h"
#include "CanvasScale.h"
#include "ExtrasLayer.h"
#include "FlowState.h"
#include "GuideText.h"
#include "Pictures.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"
#include "Unit1.h"
#include "WindowActivation.h"

THelpForm* HelpForm = nullptr;

const char* const THelpForm::kTheoryPictureName = "theory.png";
const char* const THelpForm::kDiagramPictureName = "diagram.png";
const char* const THelpForm::kExtrasAttachedPictureName = "extras-attached.png";
const char* const THelpForm::kExtrasDetachedPictureName = "extras-detached.png";

namespace {

// Apply as far as the picture is concerned: the diagram on the canvas, the labels left out.
class PictureOnly : public zk::PolarDiagram {
  public:
    using PolarDiagram::PolarDiagram;
};

} // namespace

QImage THelpForm::StartupDiagram(int scale) {
    zk::FlowState flow;
    flow.Gamma = 1.4;
    flow.SoundSpeed = 340.0;
    zk::RasterCanvas canvas(zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight, zk::FontSpec{},
                            std::clamp(scale, 1, zk::RasterCanvas::kMaxScale));
    PictureOnly diagram(canvas, flow);
    zk::Apply(flow, zk::ApplyInputs{20, 680, ','}, diagram);
    return zk::CanvasImage(canvas); // the canvas goes, the picture stays
}

QImage THelpForm::ExtrasDiagram(int chi, int scale) {
    zk::FlowState flow;
    flow.Gamma = 1.4;
    flow.SoundSpeed = 340.0;
    zk::RasterCanvas canvas(zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight, zk::FontSpec{}, scale);
    PictureOnly diagram(canvas, flow);
    zk::Apply(flow, zk::ApplyInputs{chi, 680, ','}, diagram);
    zk::ExtrasLayer::Draw(canvas, flow, TMain::ExtrasSeparator());
    return zk::CanvasImage(canvas);
}

THelpForm::THelpForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Как читать диаграмму"));
    resize(kClientWidth, kClientHeight);
    setMinimumSize(400, 300);
    Text1 = new QTextBrowser(this);
    Text1->setOpenLinks(false);
    AddPictures(zk::CanvasScaleFor(devicePixelRatioF()));
    Text1->setHtml(QString::fromStdString(
        zk::GuideHtml(zk::GuideEdition::Desktop, {kDiagramPictureName, kTheoryPictureName,
                                                  kExtrasAttachedPictureName, kExtrasDetachedPictureName})));
    // Painted on a screen of another device scale, the pictures are drawn again at that scale.
    Text1->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    zk::ActivationTracker::Instance().Register(this, {});
}

void THelpForm::ShowPicturesAtScale(int scale) {
    if (scale == picturesScale_)
        return;
    AddPictures(scale);
    Text1->viewport()->update();
}

void THelpForm::AddPictures(int scale) {
    // The document lays an image out at its size in pixels over its device pixel ratio: the
    // pictures keep their size at every scale.
    QTextDocument* document = Text1->document();
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kTheoryPictureName)),
                          zk::pictures::AtScale(zk::pictures::TheoryPicture)(scale));
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kDiagramPictureName)),
                          StartupDiagram(scale));
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kExtrasAttachedPictureName)),
                          ExtrasDiagram(20, scale));
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kExtrasDetachedPictureName)),
                          ExtrasDiagram(30, scale));
    picturesScale_ = scale;
}

bool THelpForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && watched == Text1->viewport()) {
        const int scale = zk::CanvasScaleFor(Text1->viewport()->devicePixelRatioF());
        if (scale != picturesScale_ && scale != requestedScale_) {
            // Not while painting: the pictures are drawn anew, then the guide repaints.
            requestedScale_ = scale;
            QTimer::singleShot(0, this, [this, scale] {
                if (requestedScale_ == scale)
                    ShowPicturesAtScale(scale);
                requestedScale_ = 0;
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void THelpForm::Open() {
    if (!placed_ && Main) {
        // Beside the main window where the screen has room, otherwise against the screen's right
        // edge, so that the diagram can be read beside the guide as far as possible.
        const QRect main = Main->frameGeometry();
        const QRect screen = Main->screen()->availableGeometry();
        const QSize frame = Main->frameGeometry().size() - Main->geometry().size();
        const int width = std::min(kClientWidth + frame.width(), screen.width());
        const int height = std::min(kClientHeight + frame.height(), screen.height());
        resize(width - frame.width(), height - frame.height());
        const int x = std::max(screen.left(), std::min(main.right() + 8, screen.right() + 1 - width));
        const int y = std::max(screen.top(), std::min(main.top(), screen.bottom() + 1 - height));
        move(x, y);
        placed_ = true;
    }
    show();
    zk::ActivateWindow(this);
}

void THelpForm::keyPressEvent(QKeyEvent* event) {
    // Escape puts the guide away, as in the other help windows of the desktop.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
