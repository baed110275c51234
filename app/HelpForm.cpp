// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpForm.h"

#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ActivationTracker.h"
#include "CanvasScale.h"
#include "ExtrasLayer.h"
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
const char* const THelpForm::kExtrasAttachedPictureName = "extras-attached.png";
const char* const THelpForm::kExtrasDetachedPictureName = "extras-detached.png";

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

<h3>Дополнительные построения: касательная, сильный скачок, звуковая окружность</h3>

<p>Пункт меню «Дополнительные построения» накладывает на диаграмму то, что о той же поляре
говорит точная теория косого скачка. Эти линии рисуются своими цветами, поверх построения, и
не меняют ни его, ни результатов; повторный выбор пункта убирает их. Они попадают и в
сохранённый рисунок, и в печать, и в последние шаги окна «По шагам».</p>

<p><b>Касательная.</b> Фиолетовые штриховые прямые идут из O и касаются верхней и нижней ветви
поляры; точки касания обведены кружками. Угол касательной с осью Vx — наибольший угол, на
который скачок может повернуть поток с данным числом Маха, θ<sub>max</sub>(M<sub>1</sub>):
луч клина под большим углом проходит выше поляры и не пересекает её. Подпись
«θmax = 22,97°» даёт этот угол для M<sub>1</sub> = 2. Он зависит от числа Маха и растёт с ним до
предела arcsin(1/γ) = 45,6° при M<sub>1</sub> → ∞, который показывает подпись χ<sub>max</sub>
главного окна. Внизу диаграммы строка сравнивает угол клина с θ<sub>max</sub>: «χ = 20° &lt;
θmax(M1) = 22,97°: скачок присоединён» или «χ = 30° &gt; θmax(M1) = 22,97°: скачок отсоединён».</p>

<p><b>Слабый и сильный скачок.</b> Луч клина пересекает поляру дважды. Оранжевый кружок
<b>Cт</b> — точное решение для слабого скачка, ближе к B: здесь должна лежать точка C построения,
и видно, на сколько пикселей она от него отстоит. Кружок <b>C′</b> — вторая точка пересечения,
сильный скачок: он стоит круче, почти как прямой, и газ за ним тормозится сильнее. Оба
поворачивают поток на один и тот же угол χ; у острого клина в свободном потоке наблюдается
слабый скачок, сильный возникает, когда давление за клином велико. Если луч поляру не
пересекает, обеих точек нет.</p>

<p><b>Звуковая окружность.</b> Бирюзовая штрих-пунктирная окружность с центром O имеет радиус
критической скорости a* = √(((γ − 1)V<sub>1</sub><sup>2</sup> + 2c<sub>1</sub><sup>2</sup>)/(γ + 1)),
при которой скорость газа равна местной скорости звука. Всё, что лежит внутри неё, — дозвуковой
поток за скачком, снаружи — сверхзвуковой. Точка A прямого скачка всегда внутри: для неё
V<sub>1</sub>·V<sub>2</sub> = a*<sup>2</sup> (соотношение Прандтля), поэтому A стоит на
расстоянии a*<sup>2</sup>/V<sub>1</sub> от O. Кружки там, где окружность пересекает поляру, —
звуковые точки: между ними и точкой A (вся часть поляры за сильным скачком и малый кусок рядом с
касанием) поток за скачком дозвуковой.</p>

<p><img src="extras-attached.png"></p>
<p><i>M<sub>1</sub> = 2, χ = 20°: луч клина ниже касательной, скачок присоединён; точка C
построения лежит рядом с точной точкой Cт.</i></p>

<p><img src="extras-detached.png"></p>
<p><i>M<sub>1</sub> = 2, χ = 30°: луч выше касательной, точек пересечения нет, скачок
отсоединён.</i></p>

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
    QTextDocument* document = Text1->document();
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kTheoryPictureName)),
                          zk::pictures::TheoryPicture());
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kDiagramPictureName)),
                          StartupDiagram());
    const int scale = zk::CanvasScaleFor(devicePixelRatioF());
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kExtrasAttachedPictureName)),
                          ExtrasDiagram(20, scale));
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kExtrasDetachedPictureName)),
                          ExtrasDiagram(30, scale));
    Text1->setHtml(GuideText());
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
