// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConstructionCaptions.h"

#include <cmath>

#include "ExactShock.h"
#include "ShockComparison.h"
#include "StepView.h"

namespace zk {

namespace {

// The captions are built from the numbers of one finished (or faulted) run; every value they
// show is finite there, but a text never shows "nan" whatever a state holds.
std::string Number(double value, int decimals, char sep) {
    if (!std::isfinite(value))
        return "—";
    return ComparisonNumberText(value, decimals, sep);
}

std::string Degrees(double radians, int decimals, char sep) {
    return Number(DegreesFromRadians(radians), decimals, sep) + "°";
}

std::string WholeDegrees(double radians) {
    if (!std::isfinite(radians))
        return "—";
    return IntegerText(Round(static_cast<Extended>(radians) * 180 / Pi));
}

// A label text as Apply wrote it ("." as the separator), in the separator of the view.
std::string Label(const ConstructionRecord& record, ResultItem item, char sep) {
    std::string text = record.Caption(item).value_or("—");
    for (char& c : text)
        if (c == '.')
            c = sep;
    return text;
}

bool Shown(const ConstructionRecord& record, ResultItem item) {
    return record.Visible(item).value_or(false);
}

// A formula is not broken across lines: its spaces are no-break spaces.
std::string Formula(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == ' ' ? std::string("\u00a0") : std::string(1, c);
    return out;
}

// What the label chi max says, and what it does not: arcsin(1/γ) is the largest deflection an
// attached shock gives at any Mach number, reached only as M1 grows without bound; the stream of
// the case has its own, smaller limit θmax(M1).
std::string ChiMaxMeaning(const FlowState& s, char sep) {
    std::string text = "наибольший угол поворота потока за присоединённым скачком при сколь угодно большом "
                       "числе Маха (предел M1 → ∞)";
    const double mach = s.SoundSpeed == 0 ? 0 : s.V1 / s.SoundSpeed;
    if (std::isfinite(mach) && mach > 1 && std::isfinite(s.Gamma) && s.Gamma > 1) {
        try {
            const ExactShockTheory theory = ExactTheory(mach, s.Gamma);
            return text + "; при M1 = " + Number(mach, 3, sep) +
                   " предел меньше: " + Formula("θmax = " + Degrees(theory.ThetaMax, 2, sep)) +
                   "; наибольший угол клина, при котором построение находит C, показывает окно "
                   "«Сравнение».";
        } catch (const AppError&) {
            // A stream the exact relations cannot represent: the limit alone is said.
        }
    }
    return text + ".";
}

// At the smallest wedges the one-pixel resolution can take C so near B that φ falls below the
// Mach angle, where no shock stands: the results then say so.
std::string BelowMachAngle(const FlowState& s, char sep) {
    const double mach = s.SoundSpeed == 0 ? 0 : s.V1 / s.SoundSpeed;
    if (!(std::isfinite(mach) && mach > 1 && s.ShockAngle > 0 && s.ShockAngle < std::asin(1 / mach)))
        return {};
    return "\nφ здесь меньше угла Маха " +
           Formula("μ = arcsin(1/M) = " + Degrees(std::asin(1 / mach), 2, sep)) +
           ": при таком малом клине разрешение построения в один пиксель сдвигает C слишком близко к B. "
           "Это не скачок уплотнения — давление за ним падает.";
}

std::string Results(const ConstructionRecord& record, char sep) {
    const FlowState& s = record.State();
    const std::string landmarks =
        Formula("M = V1/c1 = " + Label(record, ResultItem::Label6, sep)) + "; " +
        Formula("c1 = " + Label(record, ResultItem::Label12, sep) + " м/с") + "; " +
        Formula("γ = " + Label(record, ResultItem::Label13, sep)) + ";\n" +
        Formula("χmax = arcsin(1/γ) = " + Label(record, ResultItem::Label3, sep) + "°") + " — " +
        ChiMaxMeaning(s, sep);
    if (Shown(record, ResultItem::Label2))
        return "Результаты построения при " + Formula("M = " + Label(record, ResultItem::Label6, sep)) +
               " и " + Formula("φ = " + Degrees(s.ShockAngle, 2, sep)) + "; обозначим " +
               Formula("P = P2/P1") + ":\n" +
               Formula("P = 1 + 2γ/(γ+1)·((M·sin φ)² − 1) = " + Label(record, ResultItem::Label2, sep)) +
               ";\n" +
               Formula("ρ1/ρ2 = ((γ−1)P + γ+1) / ((γ+1)P + γ−1) = " +
                       Label(record, ResultItem::Label1, sep)) +
               ";\n" + Formula("υ2/υ1 = |OC| / V1 = " + Label(record, ResultItem::Label8, sep)) + ";\n" +
               Formula("T2/T1 = P·ρ1/ρ2 = " + Label(record, ResultItem::Label11, sep)) + ";\n" + landmarks +
               BelowMachAngle(s, sep);
    std::string why;
    if (s.WedgeAngle == 0)
        why = "При χ = 0 клина нет: поток не поворачивает и скачка нет, поэтому отношений за скачком "
              "программа не показывает.";
    else if (s.WedgeAngle < 0)
        why = "Отрицательный угол клина не пересекает верхнюю ветвь поляры: точки C нет, и отношений за "
              "скачком программа не показывает.";
    else
        why = "Луч клина проходит выше поляры, точки C нет: присоединённого скачка нет, и отношений за "
              "скачком программа не показывает.";
    return why + "\n" + landmarks;
}

} // namespace

std::string PixelCount(std::int64_t n) {
    const std::int64_t last = (n < 0 ? -n : n) % 100;
    if (last % 10 == 1 && last != 11)
        return IntegerText(n) + " пиксель";
    if (last % 10 >= 2 && last % 10 <= 4 && (last < 12 || last > 14))
        return IntegerText(n) + " пикселя";
    return IntegerText(n) + " пикселей";
}

std::string StepTitle(ConstructionStep step) {
    switch (step) {
    case ConstructionStep::Axes:
        return "Оси годографа";
    case ConstructionStep::PointA:
        return "Точка A";
    case ConstructionStep::LowerBranch:
        return "Нижняя ветвь поляры";
    case ConstructionStep::UpperBranch:
        return "Верхняя ветвь поляры";
    case ConstructionStep::Wedge:
        return "Лучи клина";
    case ConstructionStep::PointC:
        return "Точка C";
    case ConstructionStep::LineBC:
        return "Прямая из B через C";
    case ConstructionStep::ShockLines:
        return "Линии скачка";
    case ConstructionStep::FootD:
        return "Точка D";
    case ConstructionStep::ShockArc:
        return "Угол скачка φ";
    case ConstructionStep::Letters:
        return "Подписи";
    case ConstructionStep::Results:
        return "Результаты";
    case ConstructionStep::ReducedWedge:
        return "Уменьшенный угол клина";
    case ConstructionStep::DetachedUpperArc:
        return "Дуга отошедшего скачка";
    case ConstructionStep::DetachedUpperLine:
        return "Прямое продолжение скачка";
    case ConstructionStep::DetachedLowerBranch:
        return "Нижняя половина скачка";
    case ConstructionStep::NoShock:
        return "Скачок не построен";
    case ConstructionStep::Interrupted:
        return "Построение прервано";
    }
    return {};
}

namespace {

std::string Caption(const ConstructionRecord& record, std::size_t index, char sep) {
    const FlowState& s = record.State();
    const std::string v1 = IntegerText(s.V1);
    const std::string chi = WholeDegrees(s.WedgeAngle);
    const std::string phi = Degrees(s.ShockAngle, 2, sep);
    const std::string c = "Vx = " + IntegerText(s.PointCx) + " м/с, Vy = " + IntegerText(s.PointCy) + " м/с";
    const std::string bc =
        record.BcInterceptY() ? Number(static_cast<double>(*record.BcInterceptY()), 1, sep) : "—";
    switch (record.Steps().at(index).Step) {
    case ConstructionStep::Axes:
        return "Плоскость годографа: каждая точка — вектор скорости (Vx, Vy) в м/с, O — начало координат. "
               "Масштаб 330/V1 пикселя на 1 м/с, поэтому скорость набегающего потока V1 = " +
               v1 + " м/с всегда ложится на ось Vx в 330 пикселях справа от O.";
    case ConstructionStep::PointA:
        return "Точка A, Vx = " + (record.PointAx() ? IntegerText(*record.PointAx()) : std::string("—")) +
               " м/с: здесь поляра сходит с оси Vx. Это прямой скачок уплотнения — поток не поворачивает, "
               "а скорость за скачком самая малая из возможных.";
    case ConstructionStep::LowerBranch:
        return "Нижняя ветвь ударной поляры (зелёная) построена по точкам при каждом целом Vx от A до B = " +
               v1 +
               " м/с: каждая её точка — скорость за косым скачком своей силы. За точкой B линия идёт "
               "штрихом: "
               "там у неё нет физического смысла.";
    case ConstructionStep::UpperBranch:
        return "Верхняя ветвь — зеркальное отражение нижней относительно оси Vx. На ней лежат скорости "
               "потока, "
               "повёрнутого вверх, вдоль верхней грани клина.";
    case ConstructionStep::Wedge:
        return "Синие лучи под углами ±" + chi +
               "° — грани клина; штрихи обращены внутрь клина, дуга отмечает угол χ. За присоединённым "
               "скачком поток идёт вдоль грани, поэтому его скорость лежит на луче.";
    case ConstructionStep::PointC:
        return "Точка C (" + c +
               ") — последняя точка поляры, лежащая ближе одного пикселя к лучу клина; из двух пересечений "
               "это ближнее к B, слабый скачок. Шаг рисует одну красную точку — в кружке на нижнем луче: "
               "она отмечает абсциссу C.";
    case ConstructionStep::LineBC:
        return "Из B через точку луча над C проведена прямая до оси Vy; она встречает ось при Vy = " + bc +
               " м/с, часто выше края рисунка. Фронт скачка перпендикулярен этой прямой.";
    case ConstructionStep::ShockLines:
        return "Красные прямые — фронт скачка под углом " + Formula("φ = arctg(V1 / " + bc + ") = " + phi) +
               " к набегающему потоку, над осью и под ней.";
    case ConstructionStep::FootD:
        return "D — основание перпендикуляра из B на фронт скачка, оно лежит на прямой BC: OD — составляющая "
               "скорости вдоль скачка, которая на нём не меняется, а DB и DC — нормальные составляющие до и "
               "после скачка. Буква C стоит над лучом у абсциссы точки C.";
    case ConstructionStep::ShockArc:
        return "Дуга радиусом " + PixelCount(100) + " с подписью «" + WholeDegrees(s.ShockAngle) +
               " град» показывает угол скачка φ = " + phi + " с округлением до целого градуса.";
    case ConstructionStep::Letters:
        return "Подписаны начало координат O, точки A и B и оси Vx и Vy; стрелка V1 слева показывает "
               "направление набегающего потока.";
    case ConstructionStep::Results:
        return Results(record, sep);
    case ConstructionStep::ReducedWedge: {
        const std::string u =
            record.ReducedWedgeAngle() ? WholeDegrees(static_cast<double>(*record.ReducedWedgeAngle())) : "—";
        const std::string phiU =
            record.ShockAngleAtReducedWedge()
                ? Degrees(static_cast<double>(*record.ShockAngleAtReducedWedge()), 2, sep)
                : "—";
        return "Скачок отходит от клина, поэтому угол клина уменьшали на 1°, пока луч не пересёк поляру: "
               "при " +
               Formula("u = " + u + "°") + " точка C — (" + c + "), угол скачка " + phiU +
               ". Поправка к настоящему клину " + Formula("φ = χ + e^(π(u − χ))·(φu − u)") + " даёт " +
               Formula("φ = " + phi) + ".";
    }
    case ConstructionStep::DetachedUpperArc:
        return "Отошедший скачок начинается дугой радиусом " + PixelCount(s.DetachedRadius) +
               " вокруг O: чем сильнее пришлось уменьшить клин, тем дальше скачок стоит перед его "
               "носиком. Дуга идёт шагами по 0" +
               std::string(1, sep) + "1 рад, пока её наклон не дойдёт до угла φ.";
    case ConstructionStep::DetachedUpperLine:
        return "От конца дуги скачок продолжается прямой под углом φ = " + phi +
               ": вдали от клина отошедший скачок становится косым.";
    case ConstructionStep::DetachedLowerBranch:
        return "Нижняя половина скачка — зеркальное отражение верхней относительно оси Vx. Построение "
               "закончено: рисунок тот же, что в главном окне.";
    case ConstructionStep::NoShock:
        return "Луч клина χ = " + chi +
               "° проходит выше поляры, и даже клин, повёрнутый назад за 0°, её не пересекает: для этого "
               "случая программа скачок не строит.";
    case ConstructionStep::Interrupted:
        if (index == 0)
            return "Построение остановилось с ошибкой вычисления до первого шага, ничего не нарисовав; её "
                   "сообщение показано в отдельном окне. Исправьте данные и нажмите «Применить».";
        return "Здесь построение остановилось с ошибкой вычисления; её сообщение показано в отдельном окне. "
               "Рисунок оставлен таким, каким он был в момент ошибки.";
    }
    return {};
}

// Steps that only find a value and draw nothing say the value in their caption.
bool TellsOnly(ConstructionStep step) {
    switch (step) {
    case ConstructionStep::PointA:
    case ConstructionStep::Results:
    case ConstructionStep::ReducedWedge:
    case ConstructionStep::NoShock:
    case ConstructionStep::Interrupted:
        return true;
    default:
        return false;
    }
}

} // namespace

std::string StepCaption(const ConstructionRecord& record, std::size_t index, char sep) {
    std::string caption = Caption(record, index, sep);
    // A drawing step can fall wholly on what is drawn already or off the picture (a shock line
    // along a wedge ray, a letter beyond the edge): then the caption must not point at the picture.
    if (!TellsOnly(record.Steps().at(index).Step) && !StepChangesPicture(record, index))
        caption += " На рисунке этот шаг ничего не изменил: всё, что он рисует, легло на уже нарисованное "
                   "или вышло за край рисунка.";
    return caption;
}

} // namespace zk
