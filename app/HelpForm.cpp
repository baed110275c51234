// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpForm.h"

#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ActivationTracker.h"
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

namespace {

// Apply as far as the picture is concerned: the diagram on the canvas, the labels left out.
class PictureOnly : public zk::PolarDiagram {
  public:
    using PolarDiagram::PolarDiagram;
};

} // namespace

QImage THelpForm::StartupDiagram() {
    zk::FlowState flow;
    flow.Gamma = 1.4;
    flow.SoundSpeed = 340.0;
    zk::RasterCanvas canvas(zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight);
    PictureOnly diagram(canvas, flow);
    zk::Apply(flow, zk::ApplyInputs{20, 680, ','}, diagram);
    const QImage view(reinterpret_cast<const uchar*>(canvas.Bits()), canvas.Width(), canvas.Height(),
                      canvas.Width() * 4, QImage::Format_RGB32);
    return view.copy(); // the canvas goes, the picture stays
}

THelpForm::THelpForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Как читать диаграмму"));
    resize(kClientWidth, kClientHeight);
    setMinimumSize(400, 300);
    Text1 = new QTextBrowser(this);
    Text1->setOpenLinks(false);
    QTextDocument* document = Text1->document();
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kTheoryPictureName)),
                          zk::pictures::TheoryPicture());
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kDiagramPictureName)),
                          StartupDiagram());
    Text1->setHtml(QString::fromStdString(zk::GuideHtml(
        zk::GuideEdition::Desktop, {kDiagramPictureName, kTheoryPictureName})));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    zk::ActivationTracker::Instance().Register(this, {});
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
