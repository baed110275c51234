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
#include "FlowState.h"
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

// The guide, written for a student who sees the program for the first time.  The two pictures
// are the document's resources, added by the window.
QString GuideText() {
    return QStringLiteral(R"(
<h2>Как читать диаграмму</h2>

<p>Программа решает задачу о сверхзвуковом потоке газа, который набегает со скоростью
υ<sub>1</sub> на клин с половинным углом раствора χ. Перед клином возникает ударная волна
(скачок уплотнения): пройдя через неё, газ скачком тормозится, сжимается и нагревается, а его
скорость поворачивает вдоль щеки клина. Программа находит этот скачок графически, построением на
ударной поляре.</p>

<h3>Плоскость годографа</h3>

<p>Диаграмма в главном окне нарисована не в обычных координатах, а в <b>плоскости годографа</b>
скорости. Каждая точка этой плоскости — это вектор скорости газа: по оси Vx откладывается его
составляющая вдоль набегающего потока, по оси Vy — поперёк него, обе в м/с. Начало координат O —
покоящийся газ. Точка <b>B</b> на оси Vx — скорость набегающего потока V<sub>1</sub>; масштаб
выбран так, что B всегда стоит на одном месте диаграммы.</p>

<p><img src="diagram.png"></p>
<p><i>Диаграмма для V<sub>1</sub> = 680 м/с, χ = 20°, c<sub>1</sub> = 340 м/с, γ = 1,4 (число
Маха 2) — с этим случаем программа запускается.</i></p>

<h3>Ударная поляра: от A до B</h3>

<p>Зелёная петля — <b>ударная поляра</b>. На ней лежат все скорости, которые может иметь газ за
косым скачком при данной скорости V<sub>1</sub>. Её крайняя левая точка <b>A</b> на оси Vx
соответствует прямому скачку: газ за ним тормозится сильнее всего и не поворачивает. Точка
<b>B</b> — скачок нулевой силы, слабая звуковая волна, которая ничего не меняет. Часть петли
правее B показана штрихами: физического смысла она не имеет, потому что газ в скачке не может
ускориться.</p>

<h3>Луч клина и точка C</h3>

<p>Синие лучи из O идут под углами +χ и −χ к оси Vx: это направления щёк клина. За
присоединённым скачком газ течёт вдоль щеки, поэтому конец его вектора скорости лежит на луче.
Луч пересекает поляру в двух точках; программа берёт ту, что ближе к B (слабый скачок, который
и наблюдается у острого клина), — это точка <b>C</b>. Отрезок OC — скорость газа за скачком:
он короче OB, газ затормозился.</p>

<h3>Прямая BC, скачок и точка D</h3>

<p>Чёрная прямая идёт из B через C. Она перпендикулярна фронту скачка: при переходе через скачок
сохраняется составляющая скорости вдоль его фронта, а меняется только нормальная составляющая,
поэтому вектор BC, разность скоростей до и после скачка, направлен по нормали к фронту. Красные
линии, перпендикулярные BC, — это сам скачок под углом φ к набегающему потоку (и его
зеркальное отражение внизу). <b>D</b> — основание перпендикуляра, опущенного из B на фронт:
отрезок OD — касательная составляющая скорости, одинаковая до и после скачка, а отрезки DB и
DC — нормальные составляющие до и после.</p>

<p>Подписи на диаграмме дают число Маха M = V<sub>1</sub>/c<sub>1</sub> набегающего потока,
отношения давлений, плотностей, скоростей и температур за скачком и перед ним и угол
χ<sub>max</sub> — наибольший угол клина, при котором построение ещё находит точку C.</p>

<h3>Отошедший скачок</h3>

<p>Если клин слишком тупой, луч проходит выше поляры и не пересекает её: точки C нет.
Присоединённого скачка тогда не бывает, и скачок отходит от носика клина и становится
криволинейным (<b>отошедший скачок</b>). Программа уменьшает угол клина на один градус, пока луч
не пересечёт поляру, и по найденной точке рисует приближённо изогнутый скачок перед клином:
чем больше пришлось уменьшить угол, тем дальше скачок стоит от носика.</p>

<h3>Теоретический рисунок</h3>

<p>Щелчок по диаграмме открывает рисунок, который объясняет построение в общем виде: поляра от A
до B, критическая окружность радиуса c*, касательные из 0 к поляре (точка касания K отвечает
наибольшему углу поворота потока), вектор υ<sub>2</sub> в точку C, фронт скачка под углом φ,
прямая из B через C до основания перпендикуляра D и составляющие скорости υ<sub>1n</sub>,
υ<sub>2n</sub> и υ<sub>1t</sub> = υ<sub>2t</sub>. Щелчок по рисунку закрывает его.</p>

<p><img src="theory.png"></p>

<h3>Полёт частиц и выбор угла мышью</h3>

<p>Пункт меню «Графически» открывает окно, в котором отдельные частицы газа летят на клин со
скоростью V<sub>1</sub>, пересекают скачок и поворачивают вдоль щеки, замедляясь до скорости
точки C. Флажки показывают и прячут скачок и линии тока, полоса прокрутки меняет скорость
анимации, а число частиц задаётся в окне «Настройки».</p>

<p>Угол клина можно выбрать мышью: справа от носика клина указатель становится перекрестием, от
носика к нему тянется пунктир, а в окошке вверху справа виден угол в градусах. Отпустите кнопку
мыши — этот угол станет углом клина в главном окне, задача решится заново, и окно полёта
откроется снова, если скачок присоединённый. Угол больше 88° выбрать нельзя: он становится
равным 88°.</p>

<h3>Сравнение с точной теорией</h3>

<p>Пункт меню «Сравнение» показывает рядом графическое построение и точное решение теории косого
скачка для того же потока и клина: угол скачка и отношения параметров для слабого и сильного
скачка, их расхождение с построением, наибольший угол поворота, угол Маха и график θ–β для
текущего числа Маха. Окно следует за каждым пересчётом, пока оно открыто. Так видно, насколько
близко построение, точное до одного пикселя диаграммы, подходит к точному решению.</p>

<h3>Полезные клавиши</h3>

<p>Ctrl+O — открыть сохранённый случай, Ctrl+S — сохранить его, Ctrl+P — печать, Ctrl+Q —
выход, F1 — это руководство. Окно «Настройки» закрывается кнопкой OK, крестиком или клавишей
Esc; любое закрытие применяет введённые значения.</p>
)");
}

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

THelpForm::THelpForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Как читать диаграмму"));
    resize(kClientWidth, kClientHeight);
    setMinimumSize(400, 300);
    Text1 = new QTextBrowser(this);
    Text1->setOpenLinks(false);
    AddPictures(zk::CanvasScaleFor(devicePixelRatioF()));
    Text1->setHtml(GuideText());
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
