// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepView.h"

#include <algorithm>
#include <cmath>

#include "ExtrasLayer.h"
#include "PolarDiagram.h"

namespace zk {

namespace {

constexpr std::int32_t kOriginX = 200; // pixel of O
constexpr std::int32_t kOriginY = 220;
constexpr int kHalo = 2;                   // pixels the highlight reaches beyond a changed pixel
constexpr double kRingRadius = 6;          // pixels
constexpr double kRingHalfPen = 0.8;       // pixels: the ring is about two pixels thick
constexpr std::int32_t kLetterHeight = 13; // pixels
constexpr std::int32_t kLetterGap = 6;     // pixels between the ring and its letter

bool OnPicture(double x, double y) {
    return std::isfinite(x) && std::isfinite(y) && x >= 0 && y >= 0 && x < PolarDiagram::kWidth &&
           y < PolarDiagram::kHeight;
}

void AddPoint(std::vector<StepPoint>& points, double x, double y, const char* letter) {
    if (OnPicture(x, y))
        points.push_back(StepPoint{static_cast<std::int32_t>(std::lround(x)),
                                   static_cast<std::int32_t>(std::lround(y)), letter});
}

// The pictures before and after a step, each on a fresh white canvas; before the first step, the
// white canvas.
struct StepPictures {
    RasterCanvas Before{PolarDiagram::kWidth, PolarDiagram::kHeight};
    RasterCanvas After{PolarDiagram::kWidth, PolarDiagram::kHeight};
    StepPictures(const ConstructionRecord& record, std::size_t index) {
        if (index > 0)
            record.DrawStep(index - 1, Before);
        record.DrawStep(index, After);
    }
};

std::vector<bool> ChangedPixels(const RasterCanvas& before, const RasterCanvas& after) {
    const std::size_t n = static_cast<std::size_t>(PolarDiagram::kWidth) * PolarDiagram::kHeight;
    std::vector<bool> changed(n);
    for (std::size_t k = 0; k < n; ++k)
        changed[k] = before.Bits()[k] != after.Bits()[k];
    return changed;
}

// A pale band behind the new drawing: the white pixels within a couple of pixels of a changed
// one.  The new ink itself keeps its colour, so the step's picture reads as before.
void Highlight(const std::vector<bool>& changed, const RasterCanvas& step, RasterCanvas& target) {
    const int w = PolarDiagram::kWidth, h = PolarDiagram::kHeight;
    std::vector<bool> near(changed.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!changed[static_cast<std::size_t>(y * w + x)])
                continue;
            for (int dy = -kHalo; dy <= kHalo; ++dy)
                for (int dx = -kHalo; dx <= kHalo; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (dx * dx + dy * dy <= kHalo * kHalo + 1 && nx >= 0 && ny >= 0 && nx < w && ny < h)
                        near[static_cast<std::size_t>(ny * w + nx)] = true;
                }
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (near[static_cast<std::size_t>(y * w + x)] && step.Pixel(x, y) == clWhite)
                target.SetPixel(x, y, kStepHighlight);
}

// A ring round the point, open in the middle so the point itself stays in sight, and its letter
// beside it, up and to the right where the picture has room, written without a background.
void Ring(const StepPoint& point, RasterCanvas& target) {
    const int reach = static_cast<int>(kRingRadius + kRingHalfPen) + 1;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (std::abs(std::hypot(dx, dy) - kRingRadius) <= kRingHalfPen)
                target.SetPixel(point.X + dx, point.Y + dy, kStepRing);
    if (point.Letter.empty())
        return;

    FontSpec font;
    font.PixelHeight = kLetterHeight;
    font.Bold = true;
    font.Color = kStepRing;
    RasterCanvas letter(kLetterHeight * 2, kLetterHeight + 4, font);
    letter.TextOut(0, 0, point.Letter);
    const std::int32_t width = letter.TextWidth(point.Letter), height = letter.TextHeight();
    const std::int32_t offset = static_cast<std::int32_t>(kRingRadius) + kLetterGap / 2;
    std::int32_t left = point.X + offset, top = point.Y - offset - height + 2;
    if (left + width > PolarDiagram::kWidth)
        left = point.X - offset - width;
    if (top < 0)
        top = point.Y + offset - 2;
    for (std::int32_t y = 0; y < letter.Height(); ++y)
        for (std::int32_t x = 0; x < letter.Width(); ++x)
            if (letter.Pixel(x, y) != clWhite)
                target.SetPixel(left + x, top + y, kStepRing);
}

} // namespace

std::vector<StepPoint> StepPoints(const ConstructionRecord& record, std::size_t index) {
    std::vector<StepPoint> points;
    if (index >= record.Steps().size())
        return points;
    const FlowState& s = record.State();
    const double v1 = s.V1 * s.ScaleX; // pixels from O to B
    switch (record.Steps()[index].Step) {
    case ConstructionStep::Axes:
        AddPoint(points, kOriginX, kOriginY, "O");
        break;
    case ConstructionStep::PointA:
        if (record.PointAx())
            AddPoint(points, std::round(*record.PointAx() * s.ScaleX) + kOriginX, kOriginY, "A");
        break;
    case ConstructionStep::LowerBranch:
    case ConstructionStep::LineBC:
        AddPoint(points, std::round(v1) + kOriginX, kOriginY, "B");
        break;
    case ConstructionStep::PointC: {
        // The red pixel of C's abscissa on the lower ray.
        const double tanChi = std::tan(s.WedgeAngle);
        AddPoint(points, std::round(s.PointCx * s.ScaleX) + kOriginX,
                 std::round(tanChi * s.ScaleY * s.PointCx) + kOriginY, "C");
        break;
    }
    case ConstructionStep::FootD: {
        // The foot of the perpendicular from B on the upper shock line: V1 cos φ along it.
        const double phi = s.ShockAngle;
        // The step writes the letter D itself, beside the point: the ring stands alone.
        AddPoint(points, kOriginX + v1 * std::cos(phi) * std::cos(phi),
                 kOriginY - s.V1 * s.ScaleY * std::sin(phi) * std::cos(phi), "");
        break;
    }
    case ConstructionStep::ReducedWedge:
        // C of the reduced wedge on the upper branch of the polar; its ray is not drawn.
        if (s.PointCx != 0)
            AddPoint(points, s.PointCx * s.ScaleX + kOriginX, kOriginY - s.PointCy * s.ScaleY, "C");
        break;
    default:
        break;
    }
    return points;
}

bool StepChangesPicture(const ConstructionRecord& record, std::size_t index) {
    if (index >= record.Steps().size())
        return false;
    if (index > 0 && record.Steps()[index].Ops == record.Steps()[index - 1].Ops)
        return false;
    const StepPictures pictures(record, index);
    const std::size_t n = static_cast<std::size_t>(PolarDiagram::kWidth) * PolarDiagram::kHeight;
    return !std::equal(pictures.Before.Bits(), pictures.Before.Bits() + n, pictures.After.Bits());
}

void DrawStepView(const ConstructionRecord& record, std::size_t index, RasterCanvas& target) {
    record.DrawStep(index, target);
    if (index + 1 >= record.Steps().size())
        return;
    const StepPictures pictures(record, index);
    Highlight(ChangedPixels(pictures.Before, pictures.After), pictures.After, target);
    for (const StepPoint& point : StepPoints(record, index))
        Ring(point, target);
}

std::size_t ExtrasStepCount(const ConstructionRecord& record) {
    return record.Completed() && !record.Steps().empty() ? ExtrasLayer::kParts : 0;
}

void DrawExtrasStepView(const ConstructionRecord& record, std::size_t part, char decimalSeparator,
                        RasterCanvas& target) {
    const std::size_t last = record.Steps().size() - 1;
    const auto draw = [&](RasterCanvas& canvas, std::size_t pieces) {
        record.DrawStep(last, canvas);
        ExtrasLayer::Draw(canvas, record.State(), decimalSeparator, pieces);
    };
    draw(target, part + 1);
    if (part + 1 >= ExtrasLayer::kParts)
        return;
    RasterCanvas before(PolarDiagram::kWidth, PolarDiagram::kHeight);
    RasterCanvas after(PolarDiagram::kWidth, PolarDiagram::kHeight);
    draw(before, part);
    draw(after, part + 1);
    Highlight(ChangedPixels(before, after), after, target);
}

} // namespace zk
