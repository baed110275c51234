// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShockCharts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "Errors.h"
#include "ExactShock.h"
#include "FlowState.h"
#include "LargestWedgeCache.h"

namespace zk {

namespace {

constexpr ChartColor kBlack = 0xff000000;
constexpr ChartColor kGrid = 0xffe0e0e0;
constexpr ChartColor kNoticeColor = 0xffa00000;

// Adds items to one layer of a scene, with the clip in force.
class Writer {
  public:
    explicit Writer(std::vector<ChartItem>& items) : items_(items) {}
    std::optional<ChartRect> Clip;

    void Line(double x1, double y1, double x2, double y2, ChartColor c, double width, ChartPen pen,
              bool whole) {
        ChartItem item = Base(ChartItem::Kind::Line, c, whole);
        item.PenWidth = width;
        item.Pen = pen;
        item.Points = {{x1, y1}, {x2, y2}};
        items_.push_back(std::move(item));
    }
    void Polyline(std::vector<ChartPoint> points, ChartColor c, double width, ChartPen pen, bool whole) {
        ChartItem item = Base(ChartItem::Kind::Polyline, c, whole);
        item.PenWidth = width;
        item.Pen = pen;
        item.Points = std::move(points);
        items_.push_back(std::move(item));
    }
    void Fill(ChartRect box, ChartColor c, bool whole) {
        ChartItem item = Base(ChartItem::Kind::Fill, c, whole);
        item.Box = box;
        items_.push_back(std::move(item));
    }
    void Ellipse(double x, double y, double r, ChartColor c, double penWidth, bool whole) {
        ChartItem item = Base(ChartItem::Kind::Ellipse, c, whole);
        item.PenWidth = penWidth;
        item.Points = {{x, y}};
        item.Rx = item.Ry = r;
        items_.push_back(std::move(item));
    }
    void Text(double x, double y, std::string text, int pixels, bool bold, ChartColor c, ChartHAlign h,
              ChartVAlign v, bool whole) {
        ChartItem item = Base(ChartItem::Kind::Text, c, whole);
        item.Points = {{x, y}};
        item.Text = std::move(text);
        item.FontPixels = pixels;
        item.Bold = bold;
        item.HAlign = h;
        item.VAlign = v;
        items_.push_back(std::move(item));
    }
    void TextBox(ChartRect box, std::string text, int pixels, bool bold, ChartColor c, bool wrap) {
        ChartItem item = Base(ChartItem::Kind::TextBox, c, true);
        item.Box = box;
        item.Text = std::move(text);
        item.FontPixels = pixels;
        item.Bold = bold;
        item.Wrap = wrap;
        items_.push_back(std::move(item));
    }
    // A filled dot and a cross, the marks of the exact shocks and of the construction.
    void Dot(double x, double y, ChartColor c) { Ellipse(x, y, 4, c, 1, false); }
    void Cross(double x, double y, ChartColor c) {
        Line(x - 5, y - 5, x + 5, y + 5, c, 2, ChartPen::Solid, false);
        Line(x - 5, y + 5, x + 5, y - 5, c, 2, ChartPen::Solid, false);
    }

  private:
    ChartItem Base(ChartItem::Kind kind, ChartColor c, bool whole) const {
        ChartItem item;
        item.Type = kind;
        item.Color = c;
        item.Whole = whole;
        item.Clip = Clip;
        return item;
    }
    std::vector<ChartItem>& items_;
};

int Round(double v) { return static_cast<int>(std::lround(v)); }

// A rectangle from its corners, both inside, as for whole pixels.
ChartRect Corners(int left, int top, int right, int bottom) {
    return {double(left), double(top), double(right - left + 1), double(bottom - top + 1)};
}

// The common θ axis of the family chart and the polar: grid, marks, numbers and caption.
void ThetaAxis(Writer& w, const ChartScene& s, const ChartTextMetrics&, const std::string& sep) {
    const int marks = Round(s.ThetaLimit / s.ThetaStep);
    const int bottom = static_cast<int>(s.Plot.Bottom()), top = static_cast<int>(s.Plot.Y);
    for (int k = 0; k <= marks; ++k) {
        const double theta = k * s.ThetaStep;
        const int x = Round(ChartXOf(s, theta));
        if (k > 0)
            w.Line(x, bottom - 1, x, top, kGrid, 1, ChartPen::Solid, true);
        w.Line(x, bottom, x, bottom + 4, kBlack, 1, ChartPen::Solid, true);
        w.Text(x, bottom + 6, ChartNumberText(theta, 2, sep), 12, false, kBlack,
               ChartHAlign::Center, ChartVAlign::Top, true);
    }
    const int left = static_cast<int>(s.Plot.X), right = static_cast<int>(s.Plot.Right());
    w.Line(left, bottom, right, bottom, kBlack, 1, ChartPen::Solid, true);
    w.Line(left, bottom, left, top, kBlack, 1, ChartPen::Solid, true);
    w.Text(right + 8, bottom, "θ, °", 13, true, kBlack, ChartHAlign::Left, ChartVAlign::Middle, true);
}

// The β axis of the family chart, 0 to 90 degrees.
void BetaAxis(Writer& w, const ChartScene& s, double (*toY)(const ChartScene&, double)) {
    const int left = static_cast<int>(s.Plot.X), right = static_cast<int>(s.Plot.Right());
    for (int b = 0; b <= 90; b += 10) {
        const int y = Round(toY(s, b));
        if (b > 0)
            w.Line(left + 1, y, right, y, kGrid, 1, ChartPen::Solid, true);
        w.Line(left - 4, y, left, y, kBlack, 1, ChartPen::Solid, true);
        w.Text(left - 7, y, std::to_string(b), 12, false, kBlack, ChartHAlign::Right, ChartVAlign::Middle,
               true);
    }
    w.Text(left, s.Plot.Y - 8, "β, °", 13, true, kBlack, ChartHAlign::Center, ChartVAlign::Baseline, true);
}

void Notice(Writer& w, const ChartScene& s, const std::string& text) {
    w.TextBox({s.Plot.X + 12, s.Plot.Y + 12, s.Plot.W - 24, s.Plot.H - 24}, text, 13, true, kNoticeColor,
              true);
}

// The wedge angle: a dotted vertical line with its value, or its value with an arrow at the right
// edge when it lies beyond the axis.
void Wedge(Writer& w, const ChartScene& s, double wedge, const ChartTextMetrics& m, const std::string& sep) {
    if (wedge < 0 || !std::isfinite(wedge))
        return;
    const std::string text = "χ = " + ChartNumberText(wedge, 2, sep) + "°";
    const int top = static_cast<int>(s.Plot.Y), bottom = static_cast<int>(s.Plot.Bottom());
    const int right = static_cast<int>(s.Plot.Right());
    if (wedge <= s.ThetaLimit) {
        const int x = Round(ChartXOf(s, wedge));
        w.Line(x, top, x, bottom - 1, kChartWedgeColor, 1, ChartPen::Dot, true);
        const int width = m.Advance(text, 12, true);
        if (x + 4 + width <= right)
            w.Text(x + 4, top, text, 12, true, kChartWedgeColor, ChartHAlign::Left, ChartVAlign::Top, true);
        else
            w.Text(x - 4, top, text, 12, true, kChartWedgeColor, ChartHAlign::Right, ChartVAlign::Top, true);
    } else {
        w.Text(right, top, text + " →", 12, true, kChartWedgeColor, ChartHAlign::Right, ChartVAlign::Top, true);
    }
}

double FamilyY(const ChartScene& s, double beta) {
    return s.Plot.Bottom() - beta / 90.0 * (s.Plot.Bottom() - s.Plot.Y);
}

std::vector<ChartPoint> FamilyLine(const ChartScene& s, const std::vector<ShockPoint>& points) {
    std::vector<ChartPoint> line;
    line.reserve(points.size());
    for (const ShockPoint& p : points)
        line.push_back({ChartXOf(s, DegreesFromRadians(p.Theta)), FamilyY(s, DegreesFromRadians(p.Beta))});
    return line;
}

void SetThetaAxis(ChartScene& s, double wantedDegrees) {
    const double wanted = std::isfinite(wantedDegrees) ? std::max(wantedDegrees, 0.1) : 10.0;
    s.ThetaStep = ChartNiceStep(wanted, 10);
    s.ThetaLimit = std::ceil(wanted / s.ThetaStep - 1e-9) * s.ThetaStep;
}

} // namespace

std::string ChartNumberText(double value, int decimals, const std::string& separator) {
    const std::string text = ComparisonNumberText(value, decimals, '.');
    std::string shown;
    for (char c : text)
        if (c == '.')
            shown += separator;
        else
            shown += c;
    return shown;
}

std::string ChartPressureText(double value, int significant, const std::string& separator) {
    // Behind a hypersonic shock the pressure runs to millions: those as a mantissa times a power of
    // ten, which a student reads at a glance, the others as they are.
    if (!(std::abs(value) >= 1e5) || !std::isfinite(value))
        return ChartNumberText(value, significant, separator);
    static const char* const kSuperscripts[10] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    int exponent = static_cast<int>(std::floor(std::log10(std::abs(value))));
    double mantissa = value / std::pow(10.0, exponent);
    if (std::abs(std::stod(ComparisonNumberText(mantissa, significant - 1, '.'))) >= 10) {
        ++exponent; // 9.9996 rounds to 10
        mantissa /= 10;
    }
    std::string power;
    for (char digit : std::to_string(exponent))
        power += digit == '-' ? "⁻" : kSuperscripts[digit - '0'];
    return ChartNumberText(mantissa, significant - 1, separator) + "·10" + power;
}

double ChartNiceStep(double span, int marks) {
    const double raw = span / std::max(marks, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw * (1 - 1e-12))
            return factor * power;
    return 10 * power;
}

// ---- The θ–β chart of the current free stream ----

namespace {

constexpr int kTbLeft = 44, kTbRight = kThetaBetaWidth - 40, kTbTop = 24, kTbBottom = kThetaBetaHeight - 52;

struct TbPixel {
    int X, Y;
};

TbPixel ToPixel(const ChartScene& s, double theta, double beta) {
    const double x = kTbLeft + theta / s.ThetaLimit * (kTbRight - kTbLeft);
    const double y = kTbBottom - beta / 90.0 * (kTbBottom - kTbTop);
    return {Round(x), Round(y)};
}

// The two branches in degrees, (θ, β), sampled along β.  They depend on M1 and γ only, so the last
// stream's samples are kept.
struct BranchSamples {
    double Mach = 0, Gamma = 0;
    std::vector<ChartPoint> Weak, Strong;
};

const BranchSamples& SamplesFor(const ExactValues& exact) {
    static BranchSamples last;
    if (!last.Weak.empty() && last.Mach == exact.M1 && last.Gamma == exact.Theory.Gamma)
        return last;
    BranchSamples samples;
    samples.Mach = exact.M1;
    samples.Gamma = exact.Theory.Gamma;
    const double mu = exact.Theory.MachAngle;
    const double betaMax = exact.Theory.BetaAtThetaMax;
    constexpr double kHalfPi = 1.5707963267948966;
    // β runs from the Mach angle to the normal shock; θ(β) rises to θmax and falls back to 0.
    constexpr int kSamples = 720;
    for (int i = 0; i <= kSamples; ++i) {
        double beta = mu + (kHalfPi - mu) * i / kSamples;
        const double next = mu + (kHalfPi - mu) * (i + 1) / kSamples;
        const bool crossesMaximum = beta < betaMax && next > betaMax;
        const double theta = DeflectionForShockAngle(exact.M1, exact.Theory.Gamma, beta);
        const ChartPoint p{DegreesFromRadians(theta), DegreesFromRadians(beta)};
        (beta <= betaMax ? samples.Weak : samples.Strong).push_back(p);
        if (crossesMaximum) {
            // Both branches end exactly at the point of maximum deflection.
            beta = betaMax;
            const ChartPoint top{DegreesFromRadians(exact.Theory.ThetaMax), DegreesFromRadians(beta)};
            samples.Weak.push_back(top);
            samples.Strong.push_back(top);
        }
    }
    last = std::move(samples);
    return last;
}

void TbAxes(Writer& w, const ChartScene& s, const std::string& sep) {
    w.Line(kTbLeft, kTbBottom, kTbRight, kTbBottom, kBlack, 1, ChartPen::Solid, true);
    w.Line(kTbLeft, kTbBottom, kTbLeft, kTbTop, kBlack, 1, ChartPen::Solid, true);
    for (int b = 0; b <= 90; b += 10) {
        const int y = ToPixel(s, 0, b).Y;
        if (b > 0)
            w.Line(kTbLeft + 1, y, kTbRight, y, kGrid, 1, ChartPen::Solid, true);
        w.Line(kTbLeft - 4, y, kTbLeft, y, kBlack, 1, ChartPen::Solid, true);
        w.Text(kTbLeft - 7, y, std::to_string(b), 12, false, kBlack, ChartHAlign::Right, ChartVAlign::Middle,
               true);
    }
    const int marks = Round(s.ThetaLimit / s.ThetaStep);
    for (int k = 0; k <= marks; ++k) {
        const double theta = k * s.ThetaStep;
        const int x = ToPixel(s, theta, 0).X;
        if (k > 0)
            w.Line(x, kTbBottom - 1, x, kTbTop, kGrid, 1, ChartPen::Solid, true);
        w.Line(x, kTbBottom, x, kTbBottom + 4, kBlack, 1, ChartPen::Solid, true);
        w.Text(x, kTbBottom + 6, ChartNumberText(theta, 2, sep), 12, false, kBlack, ChartHAlign::Center,
               ChartVAlign::Top, true);
    }
    w.Text(kTbRight + 8, kTbBottom, "θ, °", 13, true, kBlack, ChartHAlign::Left, ChartVAlign::Middle, true);
    w.Text(kTbLeft, kTbTop - 10, "β, °", 13, true, kBlack, ChartHAlign::Center, ChartVAlign::Baseline, true);
}

// Beyond the maximum deflection no attached shock exists: a grey band up to the axis end, under
// the grid, and its caption over the grid.
void TbBand(Writer& w, const ChartScene& s, const ExactValues& exact, bool caption, const ChartTextMetrics& m) {
    const int x = ToPixel(s, DegreesFromRadians(exact.Theory.ThetaMax), 0).X;
    if (x >= kTbRight)
        return;
    constexpr ChartColor grey = 0xffeeeeee;
    const ChartRect band = Corners(x + 1, kTbTop, kTbRight, kTbBottom - 1);
    if (!caption) {
        w.Fill(band, grey, true);
        return;
    }
    const std::string text = "нет присоединённого скачка";
    const int width = m.Advance(text, 12, false);
    const int height = m.Height(12, false);
    if (band.W > width + 12) {
        // Low in the band, clear of the maximum's mark and of the wedge's caption at the top.
        const int centre = (x + 1 + kTbRight) / 2;
        const ChartRect box{double(centre - width / 2 - 3), double(ToPixel(s, 0, 15).Y - height / 2),
                            double(width + 6), double(height)};
        w.Fill(box, grey, true);
        w.TextBox(box, text, 12, false, 0xff606060, false);
    }
}

void TbBranches(Writer& w, const ChartScene& s, const ExactValues& exact) {
    const BranchSamples& samples = SamplesFor(exact);
    const auto pixels = [&](const std::vector<ChartPoint>& points) {
        std::vector<ChartPoint> line;
        line.reserve(points.size());
        for (const ChartPoint& p : points) {
            const TbPixel q = ToPixel(s, p.X, p.Y);
            line.push_back({double(q.X), double(q.Y)});
        }
        return line;
    };
    w.Polyline(pixels(samples.Weak), kChartWeakColor, 2, ChartPen::Solid, true);
    w.Polyline(pixels(samples.Strong), kChartStrongColor, 2, ChartPen::Solid, true);
}

void TbMarks(Writer& w, const ChartScene& s, const ShockComparison& comparison, double wedge,
             const ChartTextMetrics& m, const std::string& sep) {
    const ExactValues& exact = comparison.Exact;
    // The maximum deflection: a dashed line down to the θ axis and the value at its foot, below
    // the weak branch, which near θmax runs high.
    const double thetaMax = DegreesFromRadians(exact.Theory.ThetaMax);
    const TbPixel top = ToPixel(s, thetaMax, DegreesFromRadians(exact.Theory.BetaAtThetaMax));
    w.Line(top.X, top.Y + 4, top.X, kTbBottom - 1, kBlack, 1, ChartPen::Dash, true);
    w.Fill({double(top.X - 2), double(top.Y - 2), 5, 5}, kBlack, true);
    const std::string maxText = "θmax = " + ChartNumberText(thetaMax, 2, sep) + "°";
    const int maxWidth = m.Advance(maxText, 12, true);
    if (top.X + 4 + maxWidth <= kTbRight)
        w.Text(top.X + 4, kTbBottom - 5, maxText, 12, true, kBlack, ChartHAlign::Left, ChartVAlign::Baseline, true);
    else
        w.Text(top.X - 4, kTbBottom - 5, maxText, 12, true, kBlack, ChartHAlign::Right, ChartVAlign::Baseline,
               true);

    // The wedge: a dotted vertical line, or an arrow at the right edge when it lies beyond the axis.
    const std::string wedgeText = "χ = " + ChartNumberText(wedge, 2, sep) + "°";
    if (wedge <= s.ThetaLimit) {
        const int x = ToPixel(s, wedge, 0).X;
        w.Line(x, kTbTop, x, kTbBottom - 1, kChartWedgeColor, 1, ChartPen::Dot, true);
        const int width = m.Advance(wedgeText, 12, true);
        if (x + 4 + width <= kTbRight)
            w.Text(x + 4, kTbTop, wedgeText, 12, true, kChartWedgeColor, ChartHAlign::Left, ChartVAlign::Top, true);
        else
            w.Text(x - 4, kTbTop, wedgeText, 12, true, kChartWedgeColor, ChartHAlign::Right, ChartVAlign::Top,
                   true);
    } else {
        w.Text(kTbRight, kTbTop, wedgeText + " →", 12, true, kChartWedgeColor, ChartHAlign::Right,
               ChartVAlign::Top, true);
    }

    // The exact shocks for the wedge, and the construction's shock angle.
    const auto dot = [&](const std::optional<ShockSolution>& shock, ChartColor color) {
        if (!shock)
            return;
        const TbPixel p = ToPixel(s, wedge, DegreesFromRadians(shock->Beta));
        w.Ellipse(p.X, p.Y, 4, color, 1, true);
    };
    dot(exact.Weak, kChartWeakColor);
    dot(exact.Strong, kChartStrongColor);
    const ConstructionValues& c = comparison.Construction;
    const double phi = DegreesFromRadians(c.ShockAngle);
    if (c.Attached && phi >= 0 && phi <= 90 && wedge <= s.ThetaLimit) {
        const TbPixel p = ToPixel(s, wedge, phi);
        w.Line(p.X - 5, p.Y - 5, p.X + 5, p.Y + 5, kChartConstructionColor, 2, ChartPen::Solid, true);
        w.Line(p.X - 5, p.Y + 5, p.X + 5, p.Y - 5, kChartConstructionColor, 2, ChartPen::Solid, true);
    }
}

void TbLegend(Writer& w, const ChartTextMetrics& m) {
    // One row under the θ axis, so that it never covers the curves.
    const int y = kThetaBetaHeight - 10;
    int x = kTbLeft;
    const auto caption = [&](const std::string& text) {
        w.Text(x, y, text, 12, true, kBlack, ChartHAlign::Left, ChartVAlign::Middle, true);
        x += m.Advance(text, 12, true) + 22;
    };
    for (ChartColor color : {kChartWeakColor, kChartStrongColor}) {
        w.Line(x, y, x + 18, y, color, 2, ChartPen::Solid, true);
        w.Ellipse(x + 9, y, 3, color, 2, true);
        x += 24;
        caption(color == kChartWeakColor ? "слабый скачок" : "сильный скачок");
    }
    w.Line(x + 4, y - 4, x + 12, y + 4, kChartConstructionColor, 2, ChartPen::Solid, true);
    w.Line(x + 4, y + 4, x + 12, y - 4, kChartConstructionColor, 2, ChartPen::Solid, true);
    x += 20;
    caption("построение, φ");
    w.Line(x + 6, y - 7, x + 6, y + 7, kChartWedgeColor, 1, ChartPen::Dot, true);
    x += 14;
    caption("угол клина χ");
}

} // namespace

ChartScene ThetaBetaScene(const ShockComparison& comparison, double wedgeDegrees, const ChartTextMetrics& m,
                          const std::string& sep) {
    ChartScene s;
    s.Name = "theta-beta";
    s.Width = kThetaBetaWidth;
    s.Height = kThetaBetaHeight;
    s.Plot = {kTbLeft, kTbTop, kTbRight - kTbLeft, kTbBottom - kTbTop};
    // The θ axis reaches a little beyond the maximum deflection and the wedge, when the wedge is a
    // deflection at all (up to 90 degrees); its marks fall on 1, 2 or 5 times a power of ten.
    const double wedge = wedgeDegrees <= 90 ? wedgeDegrees : 0;
    const double wanted =
        comparison.Exact.Answered()
            ? std::max(std::max(wedge, DegreesFromRadians(comparison.Exact.Theory.ThetaMax)) * 1.08, 0.1)
            : std::max(wedge, 10.0); // no curve: a plain axis of ten degrees or up to the wedge
    double thetaStep = 10;
    for (double step : {0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0}) {
        thetaStep = step;
        if (wanted / step <= 10)
            break;
    }
    s.ThetaStep = thetaStep;
    s.ThetaLimit = std::ceil(wanted / thetaStep - 1e-9) * thetaStep;
    if (!comparison.Exact.Answered()) {
        Writer w(s.Marks);
        TbAxes(w, s, sep);
        s.Notice = "Точная теория не даёт ответа";
        w.TextBox({kTbLeft, kTbTop, kTbRight - kTbLeft, kTbBottom - kTbTop}, s.Notice, 13, true, kBlack, false);
        return s;
    }
    Writer background(s.Background);
    TbBand(background, s, comparison.Exact, false, m);
    TbAxes(background, s, sep);
    TbBand(background, s, comparison.Exact, true, m);
    TbBranches(background, s, comparison.Exact);
    TbLegend(background, m);
    Writer marks(s.Marks);
    TbMarks(marks, s, comparison, wedgeDegrees, m, sep);
    return s;
}

// ---- The θ–β–M family ----

ChartScene FamilyScene(const ChartCase& c, const ChartTextMetrics& m, const std::string& sep) {
    ChartScene s;
    s.Name = "family";
    s.Width = kFamilyWidth;
    s.Height = kFamilyHeight;
    s.Plot = Corners(40, 22, kFamilyWidth - 40, kFamilyHeight - 62);
    // The axis reaches the limit curve's maximum, arcsin(1/γ), with a margin.
    SetThetaAxis(s, c.Family ? DegreesFromRadians(c.Family->ThetaLimit()) * 1.04 : 50.0);
    s.Notice = !c.Family ? c.FamilyProblem : c.Current ? std::string() : c.CurrentProblem;
    const ChartRect clip{s.Plot.X + 1, s.Plot.Y - 6, s.Plot.W + 5, s.Plot.H + 6};
    if (!c.Family) {
        Writer w(s.Marks);
        BetaAxis(w, s, FamilyY);
        ThetaAxis(w, s, m, sep);
        Notice(w, s, s.Notice);
        return s;
    }
    // The gas's family stays while the wedge angle or even M1 change.
    Writer b(s.Background);
    BetaAxis(b, s, FamilyY);
    ThetaAxis(b, s, m, sep);
    b.Clip = clip;
    const ThetaBetaFamily& family = *c.Family;
    for (const ShockCurve& curve : family.Curves()) {
        b.Polyline(FamilyLine(s, curve.Weak()), kChartFamilyColor, 1, ChartPen::Solid, false);
        b.Polyline(FamilyLine(s, curve.Strong()), kChartFamilyColor, 1, ChartPen::Solid, false);
    }
    b.Polyline(FamilyLine(s, family.MaximumDeflectionLine()), kChartMaximumColor, 1, ChartPen::Dash, false);
    b.Polyline(FamilyLine(s, family.SonicLine()), kChartSonicColor, 2, ChartPen::DashDot, false);
    // Each curve's M1 beside its maximum, alternately above and below it: towards the limit the
    // maxima crowd together.
    const int ascent = m.Ascent(12, true);
    int index = 0;
    for (const ShockCurve& curve : family.Curves()) {
        const ShockPoint& top = curve.Maximum();
        const double x = ChartXOf(s, DegreesFromRadians(top.Theta));
        const double y = FamilyY(s, DegreesFromRadians(top.Beta));
        const std::string name = curve.IsLimit() ? "∞" : ChartNumberText(curve.Mach(), 2, sep);
        const bool above = index % 2 == 0;
        b.Text(x + 2, above ? y - 5 : y + 5 + ascent, name, 12, true, kChartFamilyColor, ChartHAlign::Left,
               ChartVAlign::Baseline, false);
        ++index;
    }
    b.Clip.reset();
    // The legend: the lines of the family, then the current case.
    const auto caption = [&](int& x, int y, const std::string& text) {
        b.Text(x, y, text, 12, true, kBlack, ChartHAlign::Left, ChartVAlign::Middle, true);
        x += m.Advance(text, 12, true) + 18;
    };
    int y = kFamilyHeight - 30;
    int x = static_cast<int>(s.Plot.X);
    b.Line(x, y, x + 18, y, kChartFamilyColor, 1, ChartPen::Solid, true);
    x += 24;
    caption(x, y, "M₁ у кривых");
    b.Line(x, y, x + 18, y, kChartMaximumColor, 1, ChartPen::Dash, true);
    x += 24;
    caption(x, y, "θmax: слабые ниже, сильные выше");
    b.Line(x, y, x + 18, y, kChartSonicColor, 2, ChartPen::DashDot, true);
    x += 24;
    caption(x, y, "M₂ = 1");
    y = kFamilyHeight - 12;
    x = static_cast<int>(s.Plot.X);
    for (ChartColor color : {kChartWeakColor, kChartStrongColor}) {
        b.Line(x, y, x + 18, y, color, 3, ChartPen::Solid, true);
        b.Dot(x + 9, y, color);
        x += 24;
        caption(x, y, color == kChartWeakColor ? "слабый скачок" : "сильный скачок");
    }
    b.Cross(x + 8, y, kChartConstructionColor);
    x += 20;
    caption(x, y, "построение, φ");

    Writer w(s.Marks);
    if (c.Current) {
        w.Clip = clip;
        w.Polyline(FamilyLine(s, c.Current->Weak()), kChartWeakColor, 3, ChartPen::Solid, false);
        w.Polyline(FamilyLine(s, c.Current->Strong()), kChartStrongColor, 3, ChartPen::Solid, false);
        w.Clip.reset();
    }
    Wedge(w, s, c.WedgeDegrees, m, sep);
    if (c.Current) {
        const double wedge = c.WedgeDegrees;
        const ExactValues& exact = c.Comparison.Exact;
        if (exact.Weak)
            w.Dot(ChartXOf(s, wedge), FamilyY(s, DegreesFromRadians(exact.Weak->Beta)), kChartWeakColor);
        if (exact.Strong)
            w.Dot(ChartXOf(s, wedge), FamilyY(s, DegreesFromRadians(exact.Strong->Beta)), kChartStrongColor);
        const ConstructionValues& k = c.Comparison.Construction;
        const double phi = DegreesFromRadians(k.ShockAngle);
        if (k.Attached && phi >= 0 && phi <= 90 && wedge <= s.ThetaLimit)
            w.Cross(ChartXOf(s, wedge), FamilyY(s, phi), kChartConstructionColor);
        // The current M1 named at the top right of the plot, in the bold curve's colour.
        w.Text(s.Plot.Right() - 4, static_cast<int>(FamilyY(s, 20)), "M₁ = " + ChartNumberText(c.Current->Mach(), 3, sep),
               13, true, kChartWeakColor, ChartHAlign::Right, ChartVAlign::Baseline, true);
    } else {
        Notice(w, s, s.Notice);
    }
    return s;
}

// ---- The pressure polar ----

PressureAxis PressureAxisFor(const ChartCase& c) {
    PressureAxis axis;
    if (!c.Current)
        return axis;
    const double normal = c.Current->Strong().back().PressureRatio;
    const double span = std::max((normal - 1) * 1.05, 1e-3);
    axis.Step = ChartNiceStep(span, 8);
    axis.Limit = std::max(std::ceil((1 + span) / axis.Step - 1e-9) * axis.Step, 1 + axis.Step);
    // At the smallest wedges the construction's one-pixel resolution can put φ below the Mach
    // angle, and its P2/P1 below 1: the axis then reaches down far enough to keep that point in
    // sight.
    const ConstructionValues& k = c.Comparison.Construction;
    if (k.Attached && std::isfinite(k.PressureRatio) && k.PressureRatio < 1)
        axis.Floor = 1 - std::ceil((1 - k.PressureRatio) / axis.Step + 1e-9) * axis.Step;
    return axis;
}

ChartScene PressureScene(const ChartCase& c, const ChartTextMetrics& m, const std::string& sep) {
    ChartScene s;
    s.Name = "pressure";
    s.Width = kPressureWidth;
    s.Height = kPressureHeight;
    s.Plot = Corners(64, 22, kPressureWidth - 40, kPressureHeight - 48);
    const int left = static_cast<int>(s.Plot.X), top = static_cast<int>(s.Plot.Y);
    const int right = static_cast<int>(s.Plot.Right()), bottom = static_cast<int>(s.Plot.Bottom());
    if (!c.Current) {
        SetThetaAxis(s, 10);
        s.Notice = c.Family ? c.CurrentProblem : c.FamilyProblem;
        Writer w(s.Marks);
        ThetaAxis(w, s, m, sep);
        w.Line(left, bottom, left, top, kBlack, 1, ChartPen::Solid, true);
        Notice(w, s, s.Notice);
        return s;
    }
    const ShockCurve& curve = *c.Current;
    SetThetaAxis(s, DegreesFromRadians(curve.Theory().ThetaMax) * 1.08);
    const PressureAxis axis = PressureAxisFor(c);
    const auto toY = [&](double p) { return bottom - (p - axis.Floor) / (axis.Limit - axis.Floor) * (bottom - top); };

    Writer b(s.Background);
    ThetaAxis(b, s, m, sep);
    // The marks fall on multiples of the step; the axis starts at 1, the pressure ahead of the
    // shock, or below it at a multiple of the step, with a grid line at 1.
    const int decimals = axis.Step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(axis.Step) - 1e-9));
    const auto mark = [&](double p, bool grid) {
        const int y = Round(toY(p));
        if (grid)
            b.Line(left + 1, y, right, y, kGrid, 1, ChartPen::Solid, true);
        b.Line(left - 4, y, left, y, kBlack, 1, ChartPen::Solid, true);
        b.Text(left - 7, y, ChartPressureText(p, std::max(decimals, 2), sep), 12, false, kBlack,
               ChartHAlign::Right, ChartVAlign::Middle, true);
    };
    mark(axis.Floor, false);
    if (axis.Floor < 1)
        mark(1, true);
    const int first = static_cast<int>(std::ceil(std::max(axis.Floor, 1.0) / axis.Step + 0.5));
    const int last = Round(axis.Limit / axis.Step);
    for (int k = first; k <= last; ++k)
        mark(k * axis.Step, true);
    b.Text(left, top - 8, "p₂/p₁", 13, true, kBlack, ChartHAlign::Center, ChartVAlign::Baseline, true);

    const auto polyline = [&](const std::vector<ShockPoint>& points) {
        std::vector<ChartPoint> line;
        for (const ShockPoint& p : points)
            line.push_back({ChartXOf(s, DegreesFromRadians(p.Theta)), toY(p.PressureRatio)});
        return line;
    };
    b.Polyline(polyline(curve.Weak()), kChartWeakColor, 2, ChartPen::Solid, false);
    b.Polyline(polyline(curve.Strong()), kChartStrongColor, 2, ChartPen::Solid, false);
    // The normal shock's end on the θ axis, named below the strong branch, which leaves it nearly
    // level.
    const double normal = curve.Strong().back().PressureRatio;
    b.Text(ChartXOf(s, 0) + 6, toY(normal) + m.Ascent(12, false) + 4, "прямой скачок: " + ChartPressureText(normal, 4, sep),
           12, false, kBlack, ChartHAlign::Left, ChartVAlign::Baseline, false);

    // The maximum deflection: a dashed line down to the θ axis and its value at the foot.
    const double thetaMax = DegreesFromRadians(curve.Theory().ThetaMax);
    const double topX = ChartXOf(s, thetaMax), topY = toY(curve.Maximum().PressureRatio);
    b.Line(topX, topY + 4, topX, bottom - 1, kBlack, 1, ChartPen::Dash, false);
    b.Fill({topX - 2, topY - 2, 5, 5}, kBlack, false);
    const std::string maxText = "θmax = " + ChartNumberText(thetaMax, 2, sep) + "°";
    const int width = m.Advance(maxText, 12, true);
    const double maxX = topX + 4 + width <= right ? topX + 4 : topX - 4 - width;
    b.Text(maxX, bottom - 5, maxText, 12, true, kBlack, ChartHAlign::Left, ChartVAlign::Baseline, false);

    // The legend.
    {
        const int y = kPressureHeight - 10;
        int x = left;
        const auto caption = [&](const std::string& text) {
            b.Text(x, y, text, 12, true, kBlack, ChartHAlign::Left, ChartVAlign::Middle, true);
            x += m.Advance(text, 12, true) + 18;
        };
        for (ChartColor color : {kChartWeakColor, kChartStrongColor}) {
            b.Line(x, y, x + 18, y, color, 2, ChartPen::Solid, true);
            b.Dot(x + 9, y, color);
            x += 24;
            caption(color == kChartWeakColor ? "слабый скачок" : "сильный скачок");
        }
        b.Cross(x + 8, y, kChartConstructionColor);
        x += 20;
        caption("построение, P₂/P₁");
    }

    Writer w(s.Marks);
    const double wedge = c.WedgeDegrees;
    Wedge(w, s, wedge, m, sep);
    const ExactValues& exact = c.Comparison.Exact;
    if (exact.Weak)
        w.Dot(ChartXOf(s, wedge), toY(exact.Weak->PressureRatio), kChartWeakColor);
    if (exact.Strong)
        w.Dot(ChartXOf(s, wedge), toY(exact.Strong->PressureRatio), kChartStrongColor);
    const ConstructionValues& k = c.Comparison.Construction;
    if (k.Attached && wedge >= 0 && wedge <= s.ThetaLimit && std::isfinite(k.PressureRatio) &&
        k.PressureRatio >= axis.Floor && k.PressureRatio <= axis.Limit)
        w.Cross(ChartXOf(s, wedge), toY(k.PressureRatio), kChartConstructionColor);
    return s;
}

// ---- The charts' case ----

std::string ChartSentence(const std::string& message) {
    std::string text = message;
    if (text.empty() || text.back() != '.')
        text += '.';
    return text;
}

std::string ChartContinuing(const std::string& message) {
    std::string text = ChartSentence(message);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (!text.empty() && byte(0) >= 'A' && byte(0) <= 'Z') {
        text[0] = static_cast<char>(byte(0) + 32);
    } else if (text.size() >= 2 && (byte(0) == 0xd0 || byte(0) == 0xd1)) {
        // Cyrillic capitals: U+0410..U+042F and U+0400..U+040F.
        const unsigned code = ((byte(0) & 0x1f) << 6) | (byte(1) & 0x3f);
        unsigned lower = code;
        if (code >= 0x410 && code <= 0x42f)
            lower = code + 0x20;
        else if (code >= 0x400 && code <= 0x40f)
            lower = code + 0x50;
        text[0] = static_cast<char>(0xc0 | (lower >> 6));
        text[1] = static_cast<char>(0x80 | (lower & 0x3f));
    }
    return text;
}

ChartCase ChartCaseMaker::Make(const ShockComparison* comparison, double gamma, double wedgeDegrees,
                               const std::string& problem) {
    ChartCase c;
    c.WedgeDegrees = wedgeDegrees;
    if (!comparison) {
        c.FamilyProblem = c.CurrentProblem = problem;
        return c;
    }
    c.Comparison = *comparison;
    // Bit for bit: a new γ, however near, gets its own family (the web's library has no bit_cast).
    const auto bits = [](double v) {
        std::uint64_t b = 0;
        std::memcpy(&b, &v, sizeof b);
        return b;
    };
    if (!familyGamma_ || bits(*familyGamma_) != bits(gamma)) {
        familyGamma_ = gamma;
        family_.reset();
        familyProblem_.clear();
        try {
            family_ = std::make_shared<const ThetaBetaFamily>(gamma);
        } catch (const AppError& e) {
            familyProblem_ = "Кривых θ–β–M нет: " + ChartContinuing(e.what());
        }
    }
    c.Family = family_;
    c.FamilyProblem = familyProblem_;
    const ExactValues& exact = comparison->Exact;
    if (!exact.Answered()) {
        current_.reset();
        c.CurrentProblem = "Для этого потока кривой нет: " + ChartContinuing(exact.Problem);
    } else {
        if (!current_ || current_->Mach() != exact.M1 || current_->Theory().Gamma != exact.Theory.Gamma)
            current_ = std::make_shared<const ShockCurve>(exact.M1, exact.Theory.Gamma, 120);
        c.Current = current_;
    }
    return c;
}

std::string ComparisonChartsJson(ChartCaseMaker& cases, LargestWedgeCache& wedges, const FlowState& state,
                                 bool lastApplyFaulted, const ChartTextMetrics& metrics,
                                 const std::string& separator) {
    return ComparisonChartsJson(cases, state, CompareCase(state, lastApplyFaulted, wedges), metrics, separator);
}

std::string ComparisonChartsJson(ChartCaseMaker& cases, const FlowState& state, const ComparedCase& compared,
                                 const ChartTextMetrics& metrics, const std::string& separator,
                                 ChartJsonCache* json) {
    const auto write = [json](const ChartScene& scene) { return json ? json->Json(scene) : ChartSceneJson(scene); };
    double wedgeDegrees = DegreesFromRadians(state.WedgeAngle);
    const std::optional<ShockComparison>& comparison = compared.Comparison;
    std::string problem;
    if (compared.ApplyFaulted) {
        problem = "Последний расчёт прерван ошибкой.";
    } else if (!comparison) {
        // Nothing of the comparison may stop the page; the charts say what went wrong.
        problem = "Сравнение не удалось: " + ChartSentence(compared.Failure);
        wedgeDegrees = 0;
    }
    const ChartCase chartCase = cases.Make(comparison ? &*comparison : nullptr, state.Gamma, wedgeDegrees, problem);
    std::string out = "[";
    if (comparison) {
        out += write(ThetaBetaScene(*comparison, wedgeDegrees, metrics, separator));
    } else {
        // The desktop shows no θ–β chart then; an empty scene of its size says so.
        ChartScene empty;
        empty.Name = "theta-beta";
        empty.Width = kThetaBetaWidth;
        empty.Height = kThetaBetaHeight;
        empty.Notice = problem;
        out += write(empty);
    }
    out += ",\n" + write(FamilyScene(chartCase, metrics, separator));
    out += ",\n" + write(PressureScene(chartCase, metrics, separator)) + "]";
    return out;
}

} // namespace zk
