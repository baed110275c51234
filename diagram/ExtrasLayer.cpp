// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtrasLayer.h"

#include <cmath>
#include <cstdio>

#include "Numbers.h"
#include "ShockComparison.h"

namespace zk {

namespace {

constexpr double kOriginX = 200; // pixel of O
constexpr double kOriginY = 220;
constexpr std::int32_t kMarkRadius = 3; // pixels, the rings that mark points

std::int32_t Pixel(double x) {
    // Every landmark lies within |V| <= V1 of O, that is within 330 pixels; far values only
    // from a degenerate scale, kept on the canvas's range.
    if (!(std::abs(x) < 1e9))
        return x < 0 ? -1000000000 : 1000000000;
    return static_cast<std::int32_t>(Round(x));
}

struct Pt {
    std::int32_t X, Y;
};

// The point of the hodograph on the picture; s = -1 for the upper half, +1 for its mirror image.
Pt ToPicture(const HodographPoint& p, double scale, int s) {
    return {Pixel(kOriginX + p.Vx * scale), Pixel(kOriginY + s * p.Vy * scale)};
}

void Ring(TCanvas& canvas, Pt p) {
    canvas.Ellipse(p.X - kMarkRadius, p.Y - kMarkRadius, p.X + kMarkRadius + 1, p.Y + kMarkRadius + 1);
}

std::string Fixed2(double value, char separator) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string out = text;
    for (char& c : out)
        if (c == '.')
            c = separator;
    return out;
}

void DrawTangent(TCanvas& canvas, const HodographLandmarks& l, double scale, char separator) {
    canvas.SetPenColor(ExtrasLayer::kTangentColor);
    // From O as far as B is, so the tangent's angle reads against the wedge ray beside it.
    constexpr double kLength = 330; // pixels
    const double c = std::cos(l.ThetaMax), s = std::sin(l.ThetaMax);
    Pt upperEnd{};
    for (int side : {-1, +1}) {
        canvas.SetPenWidth(1);
        canvas.SetPenStyle(TPenStyle::psDash);
        canvas.MoveTo(static_cast<std::int32_t>(kOriginX), static_cast<std::int32_t>(kOriginY));
        const Pt end{Pixel(kOriginX + kLength * c), Pixel(kOriginY + side * kLength * s)};
        canvas.LineTo(end.X, end.Y);
        if (side < 0)
            upperEnd = end;
        canvas.SetPenStyle(TPenStyle::psSolid);
        canvas.SetPenWidth(2);
        Ring(canvas, ToPicture(l.Tangent, scale, side));
    }
    // The label on the side of the line away from the wedge ray: above it when the ray lies
    // below the tangent (an attached shock), below it when the ray passes above.
    const bool rayAbove = l.Wedge > l.ThetaMax;
    canvas.TextOut(upperEnd.X - 40, upperEnd.Y + (rayAbove ? 6 : -18), ExtrasLayer::ThetaMaxText(l.ThetaMax, separator));
}

void DrawWedgePoints(TCanvas& canvas, const HodographLandmarks& l, double scale) {
    canvas.SetPenColor(ExtrasLayer::kPointColor);
    canvas.SetPenWidth(2);
    canvas.SetPenStyle(TPenStyle::psSolid);
    // Lettered below the ray, inside the wedge, where the construction's C (above it) is not.
    if (l.Weak) {
        const Pt p = ToPicture(*l.Weak, scale, -1);
        Ring(canvas, p);
        canvas.TextOut(p.X + 5, p.Y + 4, "Cт");
    }
    if (l.Strong) {
        const Pt p = ToPicture(*l.Strong, scale, -1);
        Ring(canvas, p);
        canvas.TextOut(p.X + 5, p.Y + 4, "C′");
    }
}

void DrawSonicCircle(TCanvas& canvas, const HodographLandmarks& l, double scale) {
    canvas.SetPenColor(ExtrasLayer::kSonicColor);
    canvas.SetPenWidth(1);
    canvas.SetPenStyle(TPenStyle::psDashDot);
    // The circle as 180 chords: an ellipse would fill its inside with the white brush.
    const double r = l.SonicRadius * scale; // pixels
    constexpr int kChords = 180;
    canvas.MoveTo(Pixel(kOriginX + r), static_cast<std::int32_t>(kOriginY));
    for (int j = 1; j <= kChords; ++j) {
        const double t = 2 * 3.14159265358979323846 * j / kChords; // radians
        canvas.LineTo(Pixel(kOriginX + r * std::cos(t)), Pixel(kOriginY - r * std::sin(t)));
    }
    canvas.SetPenStyle(TPenStyle::psSolid);
    canvas.SetPenWidth(2);
    for (int side : {-1, +1})
        Ring(canvas, ToPicture(l.Sonic, scale, side));
    // Its letter inside the circle's lowest point, just left of the Vy axis, where neither the
    // polar, the wedge, the shock nor the main window's labels come; when that point is off the
    // picture (a free stream barely supersonic), outside the circle at 30° below the Vx axis.
    if (kOriginY + r <= 430) {
        canvas.TextOut(static_cast<std::int32_t>(kOriginX) - 30, Pixel(kOriginY + r) - 18, "a*");
    } else {
        const double t = 3.14159265358979323846 / 6; // radians below the axis
        canvas.TextOut(Pixel(kOriginX + r * std::cos(t)) + 6, Pixel(kOriginY + r * std::sin(t)) - 6, "a*");
    }
}

} // namespace

HodographLandmarks ExtrasLayer::LandmarksOf(const FlowState& state) {
    return HodographLandmarksFor(state.V1, state.SoundSpeed, state.Gamma, state.WedgeAngle);
}

std::string ExtrasLayer::ThetaMaxText(double thetaMax, char decimalSeparator) {
    return "θmax = " + Fixed2(DegreesFromRadians(thetaMax), decimalSeparator) + "°";
}

std::string ExtrasLayer::VerdictText(const HodographLandmarks& l, char decimalSeparator) {
    if (!l.Answered())
        return l.Problem;
    const std::string chi = "χ = " + IntegerText(Round(DegreesFromRadians(l.Wedge))) + "°";
    const std::string limit = "θmax(M1) = " + Fixed2(DegreesFromRadians(l.ThetaMax), decimalSeparator) + "°";
    if (!(l.Wedge > 0))
        return chi + ": клина нет, поток не поворачивает; " + limit;
    if (l.Attached())
        return chi + (l.Wedge < l.ThetaMax ? " < " : " = ") + limit + ": скачок присоединён";
    return chi + " > " + limit + ": скачок отсоединён";
}

std::string ExtrasLayer::StepTitle(Part part) {
    switch (part) {
    case Part::Tangent:
        return "Касательная из O";
    case Part::WedgePoints:
        return "Слабый и сильный скачок";
    case Part::SonicCircle:
        return "Звуковая окружность";
    case Part::Verdict:
        return "Присоединён ли скачок";
    }
    return {};
}

std::string ExtrasLayer::StepCaption(Part part, const FlowState& state, char sep) {
    const HodographLandmarks l = LandmarksOf(state);
    if (!l.Answered())
        return "Точная теория здесь ничего не добавляет: " + l.Problem + ".";
    const auto number = [&](double value, int decimals) { return ComparisonNumberText(value, decimals, sep); };
    const auto degrees = [&](double radians) { return number(DegreesFromRadians(radians), 2) + "°"; };
    const std::string mach = "M1 = " + number(l.M1, 3);
    const std::string chi = "χ = " + IntegerText(Round(DegreesFromRadians(l.Wedge))) + "°";
    switch (part) {
    case Part::Tangent:
        return "Из начала координат O проведены касательные к обеим ветвям поляры (фиолетовые штрихи, "
               "точки касания обведены). Их угол с осью Vx — наибольший угол, на который скачок может "
               "повернуть поток при " +
               mach + ": " + ThetaMaxText(l.ThetaMax, sep) +
               ". Луч клина под большим углом проходит выше поляры и не пересекает её.";
    case Part::WedgePoints: {
        if (!(l.Wedge > 0))
            return "Клина нет (" + chi + "): поток не поворачивает, и на луче нет точек скачка.";
        if (!l.Attached())
            return "Луч клина " + chi + " проходит выше касательной и не пересекает поляру: точек слабого "
                   "и сильного скачка нет, присоединённого скачка не бывает.";
        std::string text = "Луч клина " + chi + " пересекает поляру дважды (коричневые кружки). Cт — точное "
                           "решение для слабого скачка, угол скачка β = " +
                           degrees(l.WeakShock->Beta) + "; здесь должна лежать точка C построения";
        if (state.PointCx != 0 && !state.ShockDetached && state.ShockAngle != 0)
            text += " (у построения φ = " + degrees(state.ShockAngle) + ")";
        return text + ". C′ — сильный скачок, β = " + degrees(l.StrongShock->Beta) +
               ": он круче, газ за ним тормозится сильнее, и поток за ним дозвуковой (M2 = " +
               number(l.StrongShock->M2, 3) + ").";
    }
    case Part::SonicCircle: {
        const double a2 = l.SonicRadius * l.SonicRadius;
        return "Штрих-пунктирная окружность радиуса a* = " + number(l.SonicRadius, 1) +
               " м/с: при этой скорости газ движется со скоростью звука. Внутри неё поток за скачком "
               "дозвуковой, снаружи — сверхзвуковой. Точка A прямого скачка внутри, на расстоянии "
               "a*²/V1 = " +
               number(a2 / l.V1, 1) +
               " м/с от O (соотношение Прандтля V1·V2 = a*²). Кружки — звуковые точки, где окружность "
               "пересекает поляру: за скачком там ровно M2 = 1.";
    }
    case Part::Verdict:
        if (!(l.Wedge > 0))
            return VerdictText(l, sep) + ".";
        return VerdictText(l, sep) + (l.Attached() ? ". Угол клина не больше наибольшего угла поворота, "
                                                     "поэтому луч пересекает поляру и скачок сидит на носике клина."
                                                   : ". Угол клина больше наибольшего угла поворота: скачок "
                                                     "отходит от носика клина и становится криволинейным.");
    }
    return {};
}

void ExtrasLayer::Draw(TCanvas& canvas, const FlowState& state, char decimalSeparator, std::size_t parts) {
    if (parts == 0)
        return;
    const TPen pen = canvas.Pen();
    const TPoint position = canvas.PenPos();
    const HodographLandmarks l = LandmarksOf(state);
    const double scale = state.ScaleX; // pixels per m/s, as the diagram has it
    if (l.Answered() && std::isfinite(scale) && scale > 0) {
        DrawTangent(canvas, l, scale, decimalSeparator);
        if (parts > 1)
            DrawWedgePoints(canvas, l, scale);
        if (parts > 2)
            DrawSonicCircle(canvas, l, scale);
    }
    if (parts > 3)
        canvas.TextOut(212, 432, VerdictText(l, decimalSeparator));
    // The next run of Apply starts from the pen the last one left.
    canvas.SetPenColor(pen.Color);
    canvas.SetPenWidth(pen.Width);
    canvas.SetPenStyle(pen.Style);
    canvas.MoveTo(position.X, position.Y);
}

} // namespace zk
