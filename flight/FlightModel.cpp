// SPDX-License-Identifier: GPL-3.0-or-later
#include "FlightModel.h"

#include <algorithm>
#include <cmath>

#include "Numbers.h"

namespace zk {

namespace {

// A computed coordinate as the canvas takes it.  A wedge or shock at a right angle gives tangents
// of about 1e16, whose pixels would wrap around the 32-bit range and throw the line in a random
// direction; such end points are pulled in to a billion pixels, where the line still crosses the
// window along the same pixels.
std::int32_t Pixel(Extended v) {
    constexpr Extended kFar = 1.0e9L; // pixels
    return Round32(std::clamp(v, -kFar, kFar));
}

constexpr std::int32_t kStartSpan = 600;  // pixels: particles start up to this far left of the window
constexpr std::int32_t kHeightSpan = 250; // pixels: start heights 0 .. 249 above the axis
constexpr double kRespawnX = 600;         // pixels: a particle beyond this column starts again
constexpr double kRespawnY = 250;         // pixels: ... and one above this height
// pixels: the attached shock meets the axis 3 pixels before the tip
constexpr std::int32_t kShockStartX = 197;

// The six streamlines: window row at the left edge, distance from the axis and side.
struct Streamline {
    std::int32_t Row; // pixels
    std::int32_t D;   // pixels from the axis
    bool Above;
};
constexpr std::array<Streamline, 6> kStreamlines{{
    {80, 170, true},
    {160, 90, true},
    {240, 10, true},
    {260, 10, false},
    {340, 90, false},
    {420, 170, false},
}};

std::string DegreesText(Extended radians) {
    return IntegerText(Round(radians * 180 / Pi));
}

} // namespace

FontSpec FlightModel::WindowFont() {
    FontSpec font;
    font.Family = "MS Sans Serif";
    font.PixelHeight = 11;
    return font;
}

void FlightModel::TakeSnapshot(const FlowState& flow) {
    Snapshot.FlightV2x = flow.PointCx;
    Snapshot.FlightV2y = flow.PointCy;
    Snapshot.FlightV1 = flow.V1;
    Snapshot.FlightWedgeAngle = flow.WedgeAngle;
    Snapshot.FlightShockDetached = flow.ShockDetached;
    Snapshot.FlightShockAngle = flow.ShockAngle;
    Snapshot.FlightDetachedRadius = flow.DetachedRadius;
    Snapshot.FlightDetachedEndX = flow.DetachedEndX;
    Snapshot.FlightDetachedEndY = flow.DetachedEndY;
}

void FlightModel::StartParticles() {
    for (std::int32_t i = 0; i < particleCount_; ++i) {
        Particle& p = Particles[i];
        p.x = Random(kStartSpan) - kStartSpan; // x first, then y: the sequence is part of the picture
        p.y = Random(kHeightSpan);
        p.vx = Snapshot.FlightV1;
        p.vy = 0;
    }
}

void FlightModel::SetParticleCount(std::int32_t count) {
    particleCount_ = std::clamp(count, kMinParticleCount, kParticleSlots);
}

void FlightModel::SetSpeedFromScrollBar(std::int32_t position, std::int32_t max) {
    FlightSpeed = static_cast<double>(Div(10, max) * position);
}

std::int32_t DotPixel(double v) {
    // Within 2^51 a double rounds to a whole number, ties to even, when shifted by 1.5 * 2^52:
    // the sum then has no bits below the units.  Beyond the window's reach, and for what is not
    // a number, the general rule.
    constexpr double kShift = 6755399441055744.0; // 1.5 * 2^52
    if (!(std::fabs(v) < 1.0e8))
        return Pixel(v);
    const double shifted = v + kShift;
    return static_cast<std::int32_t>(shifted - kShift);
}

void FlightModel::DrawParticle(TCanvas& canvas, const Particle& p) const {
    // A 2 x 2 ellipse with the 3-pixel pen: a round dot.  The sums are formed before rounding so
    // both images cover the same rounded rectangle, mirrored about the axis.  Rounding ties to
    // even keeps the parity that adding 2 keeps, so the far corner is the near one plus 2.
    const bool near = std::fabs(p.x) < 1.0e8 && std::fabs(p.y) < 1.0e8;
    const std::int32_t left = DotPixel(p.x);
    const std::int32_t right = near ? left + 2 : Pixel(Extended(p.x) + 2);
    const std::int32_t low = DotPixel(p.y);
    const std::int32_t high = near ? low + 2 : Pixel(Extended(p.y) + 2);
    canvas.Ellipse(left, kAxisY - low, right, kAxisY - high);
    canvas.Ellipse(left, low + kAxisY, right, high + kAxisY);
}

void FlightModel::MotionTick(TCanvas& canvas, std::int32_t scrollPosition) {
    const FlightSnapshot& s = Snapshot;
    const bool moving = scrollPosition != 0;
    // Per-tick constants of the shock rules.
    const Extended tanPhi = Tan(s.FlightShockAngle);
    const Extended cosChi = Cos(s.FlightWedgeAngle);
    const Extended sinChi = Sin(s.FlightWedgeAngle);
    const Extended v2 =
        Sqrt(Extended(s.FlightV2x) * s.FlightV2x + Extended(s.FlightV2y) * s.FlightV2y); // m/s
    // Behind the curved shock the flow is slowed the more, the larger the stand-off radius.
    const Extended k = 1 - Extended(s.FlightDetachedRadius) / 200;

    for (std::int32_t i = 0; i < particleCount_; ++i) {
        Particle& p = Particles[i];
        canvas.SetPenWidth(3);
        if (moving) {
            if (p.x >= 0) {
                canvas.SetPenColor(clWhite);
                DrawParticle(canvas, p);
            }
            // A particle at V1 moves FlightSpeed pixels per tick.  Without a free-stream velocity
            // there is no scale, and the particles stand.
            if (s.FlightV1 != 0) {
                p.x = static_cast<double>(p.x + Extended(FlightSpeed) * p.vx / s.FlightV1);
                p.y = static_cast<double>(p.y + Extended(FlightSpeed) * p.vy / s.FlightV1);
            }
            if (!s.FlightShockDetached) {
                // Attached shock: the line y = tan(phi) (x - 197).  A particle that has not turned
                // yet turns onto the velocity of C, parallel to the wedge, once it is on or under it.
                if (p.vy == 0 && tanPhi * (Extended(p.x) - kShockStartX) >= p.y) {
                    p.vx = s.FlightV2x;
                    p.vy = s.FlightV2y;
                }
            } else {
                const std::int32_t r = s.FlightDetachedRadius;
                // The chord below divides by R - EX; the arc's end is moved one pixel when the two
                // meet, and stays moved until the next activation.
                if (r == Snapshot.FlightDetachedEndX)
                    ++Snapshot.FlightDetachedEndX;
                const std::int32_t ex = s.FlightDetachedEndX;
                const std::int32_t ey = s.FlightDetachedEndY;
                const Extended rMinusEx = Extended(r) - ex;
                // On or behind the chord from the vertex (200 - R, 0) to the arc's end
                // (200 - EX, EY), the flow turns the more, the higher it lies.  An arc that ends on
                // the axis has no such region.
                if (ey != 0 && p.y <= ey) {
                    const auto rTimesEy = static_cast<std::int32_t>(static_cast<std::uint32_t>(r) *
                                                                    static_cast<std::uint32_t>(ey));
                    if (ey / rMinusEx * (Extended(p.x) - kTipX) + rTimesEy / rMinusEx >= p.y) {
                        const Extended h = Extended(p.y) / ey;
                        p.vx = static_cast<double>(v2 * cosChi * k);
                        p.vy = static_cast<double>(v2 * sinChi * k * (h * h));
                    }
                }
                // From the tip on, and behind the straight part of the shock through the arc's
                // end, the flow runs parallel to the wedge at the reduced speed.
                if ((p.y <= ey && p.x >= kTipX) ||
                    (p.y > ey && p.y <= tanPhi * (ex + Extended(p.x) - kTipX) + ey)) {
                    p.vx = static_cast<double>(v2 * cosChi * k);
                    p.vy = static_cast<double>(v2 * sinChi * k);
                }
            }
            if (p.x > kRespawnX || p.y > kRespawnY) {
                p.vx = s.FlightV1;
                p.vy = 0;
                p.x = 0;
                p.y = Random(kHeightSpan);
            }
        }
        if (p.x >= 0) {
            canvas.SetPenColor(clBlack);
            DrawParticle(canvas, p);
        }
    }
}

void FlightModel::AngleArc(TCanvas& canvas, std::int32_t radius, double angle) const {
    // Six chords about the tip from the axis to the angle.
    canvas.MoveTo(kTipX + radius, kAxisY);
    for (int k = 1; k <= 6; ++k) {
        const Extended a = k == 1 ? Extended(angle) / 6 : k == 6 ? Extended(angle) : k * Extended(angle) / 6;
        canvas.LineTo(Pixel(Cos(a) * radius + kTipX), Pixel(kAxisY - Sin(a) * radius));
    }
}

void FlightModel::MouseLine(TCanvas& canvas, double angle) const {
    // From the tip through the pointer to column 600, and its angle arc.
    canvas.MoveTo(kTipX, kAxisY);
    canvas.LineTo(kRightX, kAxisY - Pixel(Div(400 * Sin(angle), Cos(angle))));
    AngleArc(canvas, 100, angle);
}

void FlightModel::DrawWedge(TCanvas& canvas) const {
    const Extended chi = Snapshot.FlightWedgeAngle;
    const Extended slope = Div(Sin(chi), Cos(chi));
    const Extended upSlope = Div(-Sin(chi), Cos(chi));

    canvas.SetPenColor(clBlack);
    canvas.SetPenWidth(1);
    canvas.MoveTo(kTipX, kAxisY); // the axis
    canvas.LineTo(kRightX, kAxisY);

    canvas.SetPenWidth(3);
    canvas.MoveTo(kTipX, kAxisY); // lower surface
    canvas.LineTo(kRightX, Pixel(slope * 400 + kAxisY));
    canvas.MoveTo(kTipX, kAxisY); // upper surface
    canvas.LineTo(kRightX, Pixel(upSlope * 400 + kAxisY));

    canvas.SetPenWidth(2);
    AngleArc(canvas, 200, Snapshot.FlightWedgeAngle);
    const Extended textAngle = 2 * chi / 3;
    canvas.TextOut(Pixel(Cos(textAngle) * 200 + 210), Pixel(240 - Sin(textAngle) * 200),
                   DegreesText(chi) + " град");

    // Hatching strokes every 10 pixels, pointing into the wedge; the thinner the wedge, the
    // farther from the tip they begin.
    canvas.SetPenWidth(2);
    const std::int32_t first = Round32(Div(400, chi * 180 / Pi + 1));
    std::int32_t i = first;
    while (i % 10 != 0) // the first multiple of 10 at or after first
        ++i;
    for (; i <= 400; i += 10) {
        const std::int32_t low = Pixel(slope * i + kAxisY);
        canvas.MoveTo(i + kTipX, low);
        canvas.LineTo(i + kTipX + 4, low - 8);
        const std::int32_t up = Pixel(upSlope * i + kAxisY);
        canvas.MoveTo(i + kTipX, up);
        canvas.LineTo(i + kTipX + 4, up + 8);
    }
}

void FlightModel::DrawStreamlines(TCanvas& canvas, const SceneControls& controls) const {
    // Each line runs parallel to the axis until it meets the straight shock line through the tip,
    // then turns by the wedge angle and runs parallel to the wedge surface.
    const Extended tanPhi = Tan(Snapshot.FlightShockAngle);
    const Extended tanChi = Tan(Snapshot.FlightWedgeAngle);
    canvas.SetPenColor(controls.StreamlinesChecked ? clBlue : clWhite);
    canvas.SetPenWidth(1);
    for (const Streamline& line : kStreamlines) {
        const Extended run = Div(line.D, tanPhi); // pixels from the tip to the shock
        canvas.MoveTo(0, line.Row);
        canvas.LineTo(Pixel(run + kTipX), line.Row);
        const Extended rise = line.Above ? tanChi * (-(400 - run)) : tanChi * (400 - run);
        canvas.LineTo(kRightX, Pixel(rise + line.Row));
    }
}

void FlightModel::DrawDetachedBranch(TCanvas& canvas, int side) {
    // The arc of the stand-off radius about the tip in steps of 0.1 rad, up to where its
    // parameter plus the shock angle first exceeds a right angle, then the straight shock to
    // column 600.  side is -1 above the axis, +1 below.
    const std::int32_t r = Snapshot.FlightDetachedRadius;
    const std::int32_t ex = Snapshot.FlightDetachedEndX;
    const std::int32_t ey = Snapshot.FlightDetachedEndY;
    const Extended phi = Snapshot.FlightShockAngle;
    canvas.MoveTo(kTipX - r, kAxisY);
    ArcParam = 0;
    do {
        ArcParam = static_cast<double>(ArcParam + OneTenth);
        const std::int32_t x = Pixel(kTipX - Cos(ArcParam) * r);
        const std::int32_t y =
            side < 0 ? Pixel(kAxisY - Sin(ArcParam) * r) : Pixel(Sin(ArcParam) * r + kAxisY);
        canvas.LineTo(x, y);
    } while (ArcParam + phi <= HalfPi);
    const Extended rise = Tan(phi) * (ex + 400);
    canvas.LineTo(kRightX, side < 0 ? Pixel(kAxisY - rise - ey) : Pixel(rise + kAxisY + ey));
}

void FlightModel::SceneTick(TCanvas& canvas, SceneControls& controls) {
    // Wipe out the mouse line of the previous tick ...
    canvas.SetPenStyle(TPenStyle::psDot);
    canvas.SetPenColor(clWhite);
    canvas.SetPenWidth(1);
    MouseLine(canvas, PrevMouseAngle);
    // ... and draw the current one, grey in the pick field and white (wiped only) outside it.
    canvas.SetPenStyle(TPenStyle::psDot);
    if (MouseInField)
        canvas.SetPenColor(kMouseLineColor);
    canvas.SetPenWidth(1);
    MouseLine(canvas, MouseAngle);
    canvas.SetPenStyle(TPenStyle::psSolid); // the particles are drawn with a solid pen
    PrevMouseAngle = MouseAngle;

    if (Snapshot.FlightWedgeAngle != 0)
        DrawWedge(canvas);

    // Without a shock solution (shock angle 0) there is no shock to turn the streamlines at, and
    // none to draw.
    if (Snapshot.FlightShockAngle != 0)
        DrawStreamlines(canvas, controls);

    const bool hasShock = Snapshot.FlightShockAngle != 0;
    canvas.SetPenColor(controls.ShockChecked ? clRed : clWhite);
    if (!Snapshot.FlightShockDetached) {
        if (hasShock) {
            // The shock lines from two pixels before the tip; the closing edge at column 600 lies
            // outside the window.
            const Extended phi = Snapshot.FlightShockAngle;
            const Extended rise = Tan(phi) * 400;
            canvas.MoveTo(kTipX - 2, kAxisY);
            canvas.LineTo(kRightX, Pixel(kAxisY - rise));
            canvas.LineTo(kRightX, Pixel(rise + kAxisY));
            canvas.LineTo(kTipX - 2, kAxisY);
            AngleArc(canvas, 300, Snapshot.FlightShockAngle);
            const Extended textAngle = 2 * phi / 3;
            canvas.TextOut(Pixel(Cos(textAngle) * 300 + 210), Pixel(kAxisY - Sin(textAngle) * 300),
                           "fi= " + DegreesText(phi) + " град");
        }
        controls.StreamlinesEnabled = true;
    } else {
        // No streamlines while the shock stands detached.
        controls.StreamlinesChecked = false;
        controls.StreamlinesEnabled = false;
        if (hasShock) {
            canvas.SetPenWidth(2);
            DrawDetachedBranch(canvas, -1);
            DrawDetachedBranch(canvas, +1);
        }
    }
}

void FlightModel::MouseMove(std::int32_t X, std::int32_t Y) {
    if (X > kTipX) {
        cursor_ = TCursor::crCross;
        const Extended slope = Extended(kAxisY - Y) / (X - kTipX);
        MouseAngle = static_cast<double>(ArcTan(slope));
        panelCaption_ = DegreesText(ArcTan(Abs(slope)));
    } else {
        cursor_ = TCursor::crDefault;
    }
    MouseInField = X < 580 && X > kTipX && Y > 20 && Y < 480;
}

bool FlightModel::PickWedgeAngle(std::int32_t X, std::int32_t Y, std::int32_t& degrees) {
    // Only where the pointer shows the cross-hair, right of the tip: a release on or left of the
    // tip's column picks nothing (and never divides by a zero distance).
    if (cursor_ != TCursor::crCross || X <= kTipX)
        return false;
    Snapshot.FlightWedgeAngle = static_cast<double>(ArcTan(Abs(Extended(kAxisY - Y) / (X - kTipX))));
    // Steeper than 88 degrees the wedge would stand almost across the flow.
    if (Extended(Snapshot.FlightWedgeAngle) * 180 / Pi > 88)
        Snapshot.FlightWedgeAngle = static_cast<double>(88 * Pi / 180);
    degrees = Round32(Extended(Snapshot.FlightWedgeAngle) * 180 / Pi);
    return true;
}

} // namespace zk
