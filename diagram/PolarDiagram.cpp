// SPDX-License-Identifier: GPL-3.0-or-later
#include "PolarDiagram.h"

namespace zk {

namespace {

constexpr std::int32_t kOriginX = 200; // pixel of O
constexpr std::int32_t kOriginY = 220;

std::int32_t R32(Extended x) { return static_cast<std::int32_t>(Round(x)); }

// A pixel coordinate offset from a rounded one, kept to its low 32 bits as the canvas takes it:
// a coordinate far off the picture wraps instead of overflowing.
std::int32_t Low32(std::int64_t n) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(n)); }

std::string DegreesText(Extended radians) { return IntegerText(Round(radians * 180 / Pi)) + " град"; }

} // namespace

PolarDiagram::PolarDiagram(TCanvas& canvas, const FlowState& state) : canvas_(canvas), state_(state) {}

void PolarDiagram::ClearAndDrawAxes() {
    // Nothing on the picture is ever drawn in medium grey, so the fill reaches every pixel.
    canvas_.FloodFill(100, 100, clMedGray, TFillStyle::fsBorder);
    canvas_.SetPenWidth(1);
    canvas_.SetPenColor(clBlack);
    // Vx axis with its arrow head.
    canvas_.MoveTo(50, 220);
    canvas_.LineTo(600, 220);
    canvas_.LineTo(595, 225);
    canvas_.LineTo(595, 215);
    canvas_.LineTo(600, 220);
    // Vy axis.
    canvas_.MoveTo(200, 440);
    canvas_.LineTo(200, 10);
    canvas_.LineTo(205, 15);
    canvas_.LineTo(195, 15);
    canvas_.LineTo(200, 10);
}

void PolarDiagram::PolarPassBegin(int /*s*/, std::int32_t pointAx) {
    canvas_.MoveTo(R32(static_cast<Extended>(pointAx) * state_.ScaleX) + kOriginX, kOriginY);
}

void PolarDiagram::PolarSample(int s, std::int32_t i, Extended p) {
    canvas_.SetPenColor(clGreen);
    // Beyond B the polar has no physical meaning: dashed.
    canvas_.SetPenStyle(i > state_.V1 ? TPenStyle::psDash : TPenStyle::psSolid);
    canvas_.LineTo(R32(static_cast<Extended>(i) * state_.ScaleX + kOriginX),
                   Low32(kOriginY + s * std::int64_t{R32(p * state_.ScaleY)}));
}

void PolarDiagram::PolarPassEnd(int /*s*/) { canvas_.SetPenStyle(TPenStyle::psSolid); }

void PolarDiagram::Wedge() {
    const Extended chi = state_.WedgeAngle;
    const Extended sinChi = Sin(chi), cosChi = Cos(chi);
    const Extended v1 = state_.V1;
    canvas_.SetPenColor(clBlue);
    canvas_.SetPenWidth(3);
    canvas_.MoveTo(kOriginX, kOriginY);
    canvas_.LineTo(R32(v1 * state_.ScaleX + 200), R32(Div(sinChi * state_.ScaleY, cosChi) * v1 + 220));
    canvas_.MoveTo(kOriginX, kOriginY);
    canvas_.LineTo(R32(v1 * state_.ScaleX + 200),
                   R32(Div(sinChi * -static_cast<Extended>(state_.ScaleY), cosChi) * v1 + 220));

    // Hatching on the inner side of both rays, every 10 pixels of x; the thinner the wedge, the
    // farther from O it begins.
    canvas_.SetPenWidth(2);
    const Extended tanChi = Div(sinChi, cosChi);
    const std::int64_t first = Round(Div(400, chi * 180 / Pi + 1));
    for (std::int64_t i = first; i <= 330; ++i) {
        if (i % 10 != 0)
            continue;
        const auto x = static_cast<std::int32_t>(i);
        const std::int32_t yL = R32(tanChi * x + 220);
        const std::int32_t yU = R32(-tanChi * x + 220);
        canvas_.MoveTo(Low32(x + 200LL), yL);
        canvas_.LineTo(Low32(x + 204LL), Low32(yL - 8LL));
        canvas_.MoveTo(Low32(x + 200LL), yU);
        canvas_.LineTo(Low32(x + 204LL), Low32(yU + 8LL));
    }

    // The arc of chi: six chords of radius 200 about O, and its label.
    canvas_.SetPenWidth(2);
    canvas_.MoveTo(400, 220);
    for (int j = 1; j <= 6; ++j)
        canvas_.LineTo(R32(Cos(j * chi / 6) * 200 + 200), R32(220 - Sin(j * chi / 6) * 200));
    canvas_.TextOut(R32(Cos(2 * chi / 3) * 200 + 210), R32(210 - Sin(2 * chi / 3) * 200), DegreesText(chi));
}

void PolarDiagram::ShockPen() { canvas_.SetPenWidth(3); }

void PolarDiagram::MarkC() {
    const Extended chi = state_.WedgeAngle;
    const Extended tanChi = Div(Sin(chi), Cos(chi));
    canvas_.SetPenWidth(1);
    canvas_.SetPenColor(clBlack);
    // C's abscissa on the lower wedge ray.
    canvas_.SetPixel(R32(static_cast<Extended>(state_.PointCx) * state_.ScaleX) + 200,
                     Low32(R32(tanChi * state_.ScaleY * state_.PointCx) + 220LL), clRed);
}

void PolarDiagram::ConstructionLine(Extended bcInterceptY) {
    // From B through C to the Vy axis.
    canvas_.MoveTo(R32(static_cast<Extended>(state_.V1) * state_.ScaleX) + 200, 220);
    canvas_.LineTo(200, Low32(220 - std::int64_t{R32(bcInterceptY * state_.ScaleY)}));
}

void PolarDiagram::ShockConstruction(Extended bcInterceptY) {
    const Extended phi = state_.ShockAngle;
    const Extended tanPhi = Tan(phi);
    const Extended chi = state_.WedgeAngle;
    const Extended tanChi = Div(Sin(chi), Cos(chi));
    canvas_.SetPenWidth(2);
    canvas_.SetPenColor(clRed);
    canvas_.MoveTo(200, 220);
    canvas_.LineTo(600, R32(tanPhi * 400 + 220));
    canvas_.MoveTo(200, 220);
    canvas_.LineTo(600, R32(-tanPhi * 400 + 220));
    PartDrawn(Part::ShockLines);

    // D, the foot of the perpendicular from B on the upper shock line, and C on the upper ray.
    const Extended sin2Phi = Sin(2 * phi);
    canvas_.TextOut(R32(sin2Phi * (bcInterceptY * state_.ScaleX) / 2 + 195),
                    R32(200 - sin2Phi * (tanPhi * state_.ScaleY * bcInterceptY) / 2), "D");
    canvas_.TextOut(R32(static_cast<Extended>(state_.PointCx) * state_.ScaleX) + 200,
                    Low32(200 - std::int64_t{R32(tanChi * state_.PointCx * state_.ScaleY)}), "C");
    PartDrawn(Part::ShockLetters);

    // The arc of phi: three chords of radius 100 about O, and its label.
    canvas_.MoveTo(300, 220);
    for (int j = 1; j <= 3; ++j)
        canvas_.LineTo(R32(Cos(j * phi / 3) * 100 + 200), R32(220 - Sin(j * phi / 3) * 100));
    canvas_.TextOut(R32(Cos(2 * phi / 3) * 100 + 210), R32(210 - Sin(2 * phi / 3) * 100), DegreesText(phi));
}

void PolarDiagram::FixedLabels(std::int32_t pointAx) {
    canvas_.TextOut(185, 225, "O");
    canvas_.TextOut(180, 20, "Vy");
    canvas_.TextOut(580, 230, "Vx");
    canvas_.TextOut(540, 230, "B");
    canvas_.TextOut(R32(static_cast<Extended>(pointAx) * state_.ScaleX) + 190, 225, "A");
    // The free-stream arrow over the left part of the Vx axis.
    canvas_.SetPenColor(clBlack);
    canvas_.MoveTo(50, 220);
    canvas_.LineTo(150, 220);
    canvas_.LineTo(147, 217);
    canvas_.LineTo(147, 223);
    canvas_.LineTo(150, 220);
    canvas_.TextOut(140, 200, "V1");
}

void PolarDiagram::DetachedShock() {
    const std::int32_t r = state_.DetachedRadius;
    const Extended phi = state_.ShockAngle;
    const Extended tanPhi = Tan(phi);
    const std::int32_t endX = state_.DetachedEndX;
    const std::int32_t endY = state_.DetachedEndY;
    canvas_.SetPenColor(clRed);
    // Each branch: the arc about O in steps of 0.1 rad until the shock's own slope takes over,
    // then the straight part at the corrected shock angle.
    for (int s : {-1, +1}) {
        canvas_.MoveTo(200 - r, 220);
        double t = 0; // radians
        do {
            t = static_cast<double>(static_cast<Extended>(t) + OneTenth);
            canvas_.LineTo(200 - R32(Cos(t) * r), 220 + s * R32(Sin(t) * r));
        } while (static_cast<Extended>(t) + phi <= HalfPi);
        if (s < 0)
            PartDrawn(Part::DetachedUpperArc);
        canvas_.LineTo(600, Low32(220 + s * std::int64_t{R32(tanPhi * (endX + 400) + endY)}));
        if (s < 0)
            PartDrawn(Part::DetachedUpperLine);
    }
}

} // namespace zk
