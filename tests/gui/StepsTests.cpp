// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Построение по шагам": opened from the menu bar, owned by the main window, its
// steps and captions for an attached and a detached case, the last step equal to the main
// diagram, the buttons and keys, and every Apply starting it again from the first step.
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QWindow>

#include "ProgramFixture.h"
#include "StepsForm.h"

namespace {

class StepsTest : public ProgramTest {
  protected:
    static void Apply(int wedgeDegrees, int velocity = 680) {
        Main->SpinEdit1->SetValue(wedgeDegrees);
        Main->SpinEdit2->SetValue(velocity);
        QTest::mouseClick(Main->Button2, Qt::LeftButton);
    }
    // The title and the caption of every step, walking through them with "Далее".
    static QStringList Walk(std::vector<QImage>* pictures = nullptr) {
        QStringList texts;
        QTest::mouseClick(Steps->Button3, Qt::LeftButton);
        for (std::size_t k = 0; k < Steps->StepCount(); ++k) {
            EXPECT_EQ(Steps->CurrentStep(), k);
            EXPECT_EQ(Steps->Label1->text(),
                      QStringLiteral("Шаг %1 из %2").arg(k + 1).arg(Steps->StepCount()));
            // Formulas hold no-break spaces; the texts below are compared with plain ones.
            QString caption = Steps->Label3->text();
            caption.replace(QChar(0x00A0), QLatin1Char(' '));
            texts << Steps->Label2->text() + QStringLiteral(" | ") + caption;
            if (pictures)
                pictures->push_back(Steps->Image1->Picture());
            QTest::mouseClick(Steps->Button2, Qt::LeftButton);
        }
        return texts;
    }
    static void Key(int key) { QTest::keyClick(Steps, static_cast<Qt::Key>(key)); }
};

} // namespace

TEST_F(StepsTest, MenuBarItemFollowsTheComparisonAndOpensAnOwnedFixedWindow) {
    const QList<QAction*> bar = Main->menuBar()->actions();
    const qsizetype comparison = bar.indexOf(Main->N8);
    ASSERT_GE(comparison, 0);
    ASSERT_LT(comparison + 1, bar.size());
    EXPECT_EQ(bar[comparison + 1], Main->N9);
    EXPECT_EQ(Main->N9->text(), QStringLiteral("По шагам"));
    EXPECT_EQ(Main->N9->menu(), nullptr) << "no submenu: a click opens the window";

    EXPECT_FALSE(Steps->isVisible());
    Main->N9->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Steps));
    EXPECT_EQ(Steps->windowTitle(), QStringLiteral("Построение по шагам"));
    EXPECT_TRUE(Steps->isWindow());
    EXPECT_EQ(Steps->parentWidget(), Main) << "owned by the main window, kept above it";
    ASSERT_NE(Steps->windowHandle(), nullptr);
    EXPECT_EQ(Steps->windowHandle()->transientParent(), Main->windowHandle());
    EXPECT_EQ(Steps->minimumSize(), Steps->maximumSize());
    EXPECT_FALSE(Steps->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(Steps->Button1->text(), QStringLiteral("Назад"));
    EXPECT_EQ(Steps->Button2->text(), QStringLiteral("Далее"));
    EXPECT_EQ(Steps->Button3->text(), QStringLiteral("С начала"));
    EXPECT_EQ(Steps->CurrentStep(), 0u);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(StepsTest, AttachedCaseStepByStep) {
    zk::SetDecimalSeparator(QStringLiteral(","));
    Apply(20); // the start-up case: C = (460, 166), phi = 52.73 degrees
    Main->N9Click();
    std::vector<QImage> pictures;
    const QStringList texts = Walk(&pictures);
    const QStringList expected = {
        "Оси годографа | Плоскость годографа: каждая точка — вектор скорости (Vx, Vy) в м/с, O — начало "
        "координат. Масштаб 330/V1 пикселя на 1 м/с, поэтому скорость набегающего потока V1 = 680 м/с всегда "
        "ложится на ось Vx в 330 пикселях справа от O.",
        "Точка A | Точка A, Vx = 254 м/с: здесь поляра сходит с оси Vx. Это прямой скачок уплотнения — поток "
        "не поворачивает, а скорость за скачком самая малая из возможных.",
        "Нижняя ветвь поляры | Нижняя ветвь ударной поляры (зелёная) построена по точкам при каждом целом Vx "
        "от A до B = 680 м/с: каждая её точка — скорость за косым скачком своей силы. За точкой B линия идёт "
        "штрихом: там у неё нет физического смысла.",
        "Верхняя ветвь поляры | Верхняя ветвь — зеркальное отражение нижней относительно оси Vx. На ней "
        "лежат "
        "скорости потока, повёрнутого вверх, вдоль верхней грани клина.",
        "Лучи клина | Синие лучи под углами ±20° — грани клина; штрихи обращены внутрь клина, дуга отмечает "
        "угол χ. За присоединённым скачком поток идёт вдоль грани, поэтому его скорость лежит на луче.",
        "Точка C | Точка C (Vx = 460 м/с, Vy = 166 м/с) — последняя точка поляры, лежащая ближе одного "
        "пикселя "
        "к лучу клина; из двух пересечений это ближнее к B, слабый скачок. Шаг рисует одну красную точку — в "
        "кружке на нижнем луче: она отмечает абсциссу C.",
        "Прямая из B через C | Из B через точку луча над C проведена прямая до оси Vy; она встречает ось при "
        "Vy = 517,5 м/с, часто выше края рисунка. Фронт скачка перпендикулярен этой прямой.",
        "Линии скачка | Красные прямые — фронт скачка под углом φ = arctg(V1 / 517,5) = 52,73° к набегающему "
        "потоку, над осью и под ней.",
        "Точка D | D — основание перпендикуляра из B на фронт скачка, оно лежит на прямой BC: OD — "
        "составляющая скорости вдоль скачка, которая на нём не меняется, а DB и DC — нормальные составляющие "
        "до и после скачка. Буква C стоит над лучом у абсциссы точки C.",
        "Угол скачка φ | Дуга радиусом 100 пикселей с подписью «53 град» показывает угол скачка φ = 52,73° с "
        "округлением до целого градуса.",
        "Подписи | Подписаны начало координат O, точки A и B и оси Vx и Vy; стрелка V1 слева показывает "
        "направление набегающего потока.",
        "Результаты | Результаты построения при M = 2 и φ = 52,73°; обозначим P = P2/P1:\n"
        "P = 1 + 2γ/(γ+1)·((M·sin φ)² − 1) = 2,788;\n"
        "ρ1/ρ2 = ((γ−1)P + γ+1) / ((γ+1)P + γ−1) = 0,496;\n"
        "υ2/υ1 = |OC| / V1 = 0,719;\n"
        "T2/T1 = P·ρ1/ρ2 = 1,382;\n"
        "M = V1/c1 = 2; c1 = 340 м/с; γ = 1,4;\n"
        "χmax = arcsin(1/γ) = 45,6° — наибольший угол поворота потока за присоединённым скачком при сколь "
        "угодно большом числе Маха (предел M1 → ∞); при M1 = 2 предел меньше: θmax = 22,97°; наибольший "
        "угол клина, при котором построение находит C, показывает окно «Сравнение».",
    };
    EXPECT_EQ(texts, expected);
    // A decimal comma never stands beside a comma that separates a list.
    EXPECT_EQ(texts.filter(QRegularExpression(QStringLiteral("\\d,\\d+°?,\\s|,\\s\\d+,\\d"))), QStringList());
    // The formulas of the results are never broken across lines.
    const QStringList results = Steps->Label3->text().split(QLatin1Char('\n'));
    ASSERT_EQ(results.size(), 7);
    for (int line = 1; line <= 4; ++line)
        EXPECT_FALSE(results[line].contains(QLatin1Char(' '))) << results[line].toStdString();
    // The results say what the main window's labels say.
    EXPECT_TRUE(texts.back().contains(Main->Label2->text() + ";"));
    EXPECT_TRUE(texts.back().contains(Main->Label11->text() + ";"));

    // The last step's picture is the main diagram, pixel for pixel; the first holds only the axes.
    ASSERT_EQ(pictures.size(), 12u);
    EXPECT_EQ(pictures.back(), Picture());
    EXPECT_NE(pictures.front(), Picture());
    EXPECT_EQ(pictures[0].pixel(300, 220), qRgb(0, 0, 0));
    EXPECT_EQ(pictures[0].pixel(423, 301), qRgb(255, 255, 255));
    EXPECT_EQ(pictures[5].pixel(423, 301), qRgb(255, 0, 0)) << "the red pixel of C";
    EXPECT_EQ(Steps->CurrentStep(), 11u) << "Далее stops at the last step";
    EXPECT_FALSE(Steps->Button2->isEnabled());
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(StepsTest, DetachedCaseStepByStep) {
    Apply(30); // detached: the wedge turned back to 23 degrees
    Main->N9Click();
    std::vector<QImage> pictures;
    const QStringList texts = Walk(&pictures);
    ASSERT_EQ(texts.size(), 11);
    EXPECT_TRUE(texts[4].startsWith(QStringLiteral("Лучи клина | Синие лучи под углами ±30°")));
    EXPECT_EQ(texts[5], QStringLiteral("Подписи | Подписаны начало координат O, точки A и B и оси Vx и Vy; "
                                       "стрелка V1 слева показывает направление набегающего потока."));
    EXPECT_EQ(texts[6],
              QStringLiteral("Результаты | Луч клина проходит выше поляры, точки C нет: присоединённого "
                             "скачка нет, и отношений за скачком программа не показывает.\n"
                             "M = V1/c1 = 2; c1 = 340 м/с; γ = 1.4;\n"
                             "χmax = arcsin(1/γ) = 45.6° — наибольший угол поворота потока за "
                             "присоединённым скачком при сколь угодно большом числе Маха (предел M1 → ∞); "
                             "при M1 = 2 предел меньше: θmax = 22.97°; наибольший угол клина, при котором "
                             "построение находит C, показывает окно «Сравнение»."));
    EXPECT_EQ(texts[7], QStringLiteral("Уменьшенный угол клина | Скачок отходит от клина, поэтому угол клина "
                                       "уменьшали на 1°, пока луч не пересёк поляру: при u = 23° точка C — "
                                       "(Vx = 382 м/с, Vy = 160 м/с), угол скачка 61.45°. Поправка к "
                                       "настоящему клину φ = χ + e^(π(u − χ))·(φu − u) даёт φ = 56.19°."));
    EXPECT_EQ(texts[8],
              QStringLiteral("Дуга отошедшего скачка | Отошедший скачок начинается дугой радиусом 21 "
                             "пиксель вокруг O: чем сильнее пришлось уменьшить клин, тем дальше "
                             "скачок стоит перед его носиком. Дуга идёт шагами по 0.1 рад, пока её "
                             "наклон не дойдёт до угла φ."));
    EXPECT_EQ(texts[9],
              QStringLiteral("Прямое продолжение скачка | От конца дуги скачок продолжается прямой под "
                             "углом φ = 56.19°: вдали от клина отошедший скачок становится косым."));
    EXPECT_EQ(texts[10],
              QStringLiteral("Нижняя половина скачка | Нижняя половина скачка — зеркальное отражение "
                             "верхней относительно оси Vx. Построение закончено: рисунок тот же, что в "
                             "главном окне."));
    EXPECT_EQ(pictures.back(), Picture());
    EXPECT_NE(pictures[7], pictures[6]) << "the reduced wedge's C is ringed";
    EXPECT_EQ(pictures[8].pixel(183 - 0, 208), qRgb(255, 0, 0)) << "the upper arc";
    EXPECT_NE(pictures[9].pixel(183, 232), qRgb(255, 0, 0)) << "the lower arc comes last";
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(StepsTest, ZeroWedgeHasNoWedgeNoShockAndSaysWhy) {
    Apply(0);
    Main->N9Click();
    std::vector<QImage> pictures;
    const QStringList texts = Walk(&pictures);
    ASSERT_EQ(texts.size(), 6);
    EXPECT_TRUE(texts[4].startsWith(QStringLiteral("Подписи |")));
    EXPECT_TRUE(texts[5].startsWith(QStringLiteral("Результаты | При χ = 0 клина нет")));
    EXPECT_EQ(pictures.back(), Picture());
}

TEST_F(StepsTest, ButtonsAndKeysStepThroughAndStopAtTheEnds) {
    Main->N9Click();
    ASSERT_EQ(Steps->StepCount(), 12u);
    EXPECT_FALSE(Steps->Button1->isEnabled());
    EXPECT_FALSE(Steps->Button3->isEnabled());
    Key(Qt::Key_Left);
    EXPECT_EQ(Steps->CurrentStep(), 0u) << "no step before the first";
    Key(Qt::Key_Right);
    Key(Qt::Key_Space);
    EXPECT_EQ(Steps->CurrentStep(), 2u);
    EXPECT_EQ(Steps->Label2->text(), QStringLiteral("Нижняя ветвь поляры"));
    QTest::mouseClick(Steps->Button2, Qt::LeftButton);
    EXPECT_EQ(Steps->CurrentStep(), 3u);
    Key(Qt::Key_Left);
    EXPECT_EQ(Steps->CurrentStep(), 2u);
    QTest::mouseClick(Steps->Button1, Qt::LeftButton);
    EXPECT_EQ(Steps->CurrentStep(), 1u);
    EXPECT_TRUE(Steps->Button1->isEnabled());
    Key(Qt::Key_Home);
    EXPECT_EQ(Steps->CurrentStep(), 0u);
    for (int k = 0; k < 20; ++k)
        Key(Qt::Key_Right);
    EXPECT_EQ(Steps->CurrentStep(), 11u) << "no step after the last";
    EXPECT_EQ(Steps->Image1->Picture(), Picture());
    QTest::mouseClick(Steps->Button3, Qt::LeftButton);
    EXPECT_EQ(Steps->CurrentStep(), 0u);
    EXPECT_FALSE(Steps->Button1->isEnabled());
}

TEST_F(StepsTest, EveryApplyStartsAgainAtTheFirstStepOfTheNewCase) {
    Main->N9Click();
    Steps->Button2Click();
    Steps->Button2Click();
    Steps->Button2Click();
    ASSERT_EQ(Steps->CurrentStep(), 3u);

    // The button.
    Apply(30);
    EXPECT_EQ(Steps->CurrentStep(), 0u);
    EXPECT_EQ(Steps->StepCount(), 11u) << "the detached case";

    // Closing the settings window applies the gas.
    Steps->Button2Click();
    Main->N2Click();
    Opt->cG1->SetValue(16); // gamma 1.6
    Opt->close();
    EXPECT_EQ(Flow.Gamma, 1.6);
    EXPECT_EQ(Steps->CurrentStep(), 0u);
    for (std::size_t k = 0; k + 1 < Steps->StepCount(); ++k)
        Steps->Button2Click();
    EXPECT_EQ(Steps->Image1->Picture(), Picture()) << "the new gas's diagram";

    // A wedge picked in the flight window sets the field and clicks the button from code.
    Steps->Button2Click();
    Main->SetWedgeField(15);
    Main->ClickApply();
    EXPECT_EQ(Steps->CurrentStep(), 0u);
    EXPECT_EQ(Construction.State().WedgeAngle, Flow.WedgeAngle);

    // Opening a result file.
    Steps->Button2Click();
    dialogs.Answer(Data("startup.psr"));
    Main->N6Click();
    EXPECT_EQ(Steps->CurrentStep(), 0u);
    EXPECT_EQ(Steps->StepCount(), 12u);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(StepsTest, AFaultedApplyShowsWhatWasDrawnAndSaysSo) {
    Main->N9Click();
    Flow.Gamma = 0.5; // faults at chi max, after the diagram is drawn
    QTest::mouseClick(Main->Button2, Qt::LeftButton);
    ASSERT_EQ(errors.Boxes.size(), 1u);
    ASSERT_GE(Steps->StepCount(), 2u);
    for (std::size_t k = 0; k + 1 < Steps->StepCount(); ++k)
        Key(Qt::Key_Right);
    EXPECT_EQ(Steps->Label2->text(), QStringLiteral("Построение прервано"));
    EXPECT_EQ(Steps->Image1->Picture(), Picture());
    EXPECT_FALSE(Steps->Label3->text().contains(QStringLiteral("nan"), Qt::CaseInsensitive));

    // A speed of sound of 0 faults before the picture is cleared: no step has anything drawn.
    Flow.Gamma = 1.4;
    Flow.SoundSpeed = 0;
    QTest::mouseClick(Main->Button2, Qt::LeftButton);
    ASSERT_EQ(Steps->StepCount(), 1u);
    EXPECT_EQ(Steps->Label2->text(), QStringLiteral("Построение прервано"));
    EXPECT_TRUE(Steps->Label3->text().contains(QStringLiteral("до первого шага")));
}
