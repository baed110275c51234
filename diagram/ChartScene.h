// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a chart of the comparison view shows, as a list of things to draw in the chart's own
// logical pixels: lines and polylines with their pens, filled rectangles, dots, and texts placed
// at an anchor with an alignment.  The desktop paints the list with a painter, the web page on a
// canvas; both take the same geometry from here.  Texts whose place depends on the width of
// another text (a legend's row, a caption that turns to the left at the plot's edge) are laid out
// with the metrics of the font the front end draws with.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zk {

// 0xAARRGGBB, as the desktop's colours are written.
using ChartColor = std::uint32_t;

enum class ChartPen { Solid, Dash, Dot, DashDot };
// Horizontally: the anchor at the text's left end, its middle (half the width rounded down to a
// whole pixel) or its right end.
enum class ChartHAlign { Left, Center, Right };
// Vertically: the anchor on the baseline, at the top (the baseline one ascent lower) or in the
// middle (the baseline half an ascent, rounded down, lower, less one pixel).
enum class ChartVAlign { Baseline, Top, Middle };

struct ChartPoint {
    double X = 0, Y = 0;
    bool operator==(const ChartPoint&) const = default;
};

// A rectangle from its top left corner; whole pixels where the chart's rectangles are.
struct ChartRect {
    double X = 0, Y = 0, W = 0, H = 0;
    double Right() const { return X + W - 1; } // the last column inside, as for whole pixels
    double Bottom() const { return Y + H - 1; }
    bool operator==(const ChartRect&) const = default;
};

struct ChartItem {
    enum class Kind {
        Line,     // Points[0] to Points[1]
        Polyline, // through Points
        Fill,     // Box filled with Color, no outline
        Ellipse,  // centred on Points[0] with radii Rx, Ry, outlined with the pen, filled with Color
        Text,     // Text at Points[0] aligned by HAlign and VAlign
        TextBox,  // Text centred in Box, broken into lines at spaces where Wrap is set
    };
    Kind Type = Kind::Line;
    // The coordinates are whole pixels and are drawn as such (the desktop's integer calls).
    bool Whole = false;
    ChartColor Color = 0xff000000;
    double PenWidth = 1;
    ChartPen Pen = ChartPen::Solid;
    std::vector<ChartPoint> Points;
    double Rx = 0, Ry = 0;
    ChartRect Box;
    std::string Text; // UTF-8
    int FontPixels = 12;
    bool Bold = false;
    ChartHAlign HAlign = ChartHAlign::Left;
    ChartVAlign VAlign = ChartVAlign::Baseline;
    bool Wrap = false;
    // Only what falls inside is drawn.
    std::optional<ChartRect> Clip;

    bool operator==(const ChartItem&) const = default;
};

// One chart: its size, its plot area and θ axis (for picking), and the two layers.  The
// background depends only on the free stream or the gas (a front end may keep its picture while
// the wedge angle is dragged); the marks are drawn over it.
struct ChartScene {
    std::string Name;
    int Width = 0, Height = 0;
    ChartRect Plot;
    double ThetaLimit = 10; // degrees at the right end of the θ axis
    double ThetaStep = 1;
    std::vector<ChartItem> Background;
    std::vector<ChartItem> Marks;
    std::string Notice; // the sentence shown instead of curves; empty when there is none
};

// The widths of texts in the chart's font (a serif face, pixelHeight pixels high, bold or not),
// whole pixels.
class ChartTextMetrics {
  public:
    virtual ~ChartTextMetrics() = default;
    virtual int Advance(const std::string& utf8, int pixelHeight, bool bold) const = 0;
    virtual int Ascent(int pixelHeight, bool bold) const = 0;
    virtual int Height(int pixelHeight, bool bold) const = 0;
};

// Metrics that need no font: every character about as wide as an average serif letter.  For a
// front end that has no text measure at hand, and for comparing scenes between front ends.
class EstimatedTextMetrics : public ChartTextMetrics {
  public:
    int Advance(const std::string& utf8, int pixelHeight, bool bold) const override;
    int Ascent(int pixelHeight, bool bold) const override;
    int Height(int pixelHeight, bool bold) const override;
};

// The scene as JSON: {"name", "width", "height", "plot", "thetaLimit", "thetaStep", "notice",
// "background": [...], "marks": [...]}, each item with its kind and only the fields it uses.
std::string ChartSceneJson(const ChartScene& scene);

// Writes scenes as ChartSceneJson does, keeping the text of each scene's last background: one
// equal to it is not written again.  While a student drags the wedge only the marks change, and
// writing the curves' thousands of numbers is what takes the time.
class ChartJsonCache {
  public:
    std::string Json(const ChartScene& scene);

  private:
    struct Kept {
        std::vector<ChartItem> Background;
        std::string Text;
    };
    std::vector<std::pair<std::string, Kept>> kept_; // by scene name
};

// The horizontal position of a deflection on the scene's θ axis, and the deflection under a
// column (negative left of the plot, beyond the axis right of it), degrees and logical pixels.
double ChartXOf(const ChartScene& scene, double thetaDegrees);
double ChartThetaAt(const ChartScene& scene, double x);

// The whole degree a pick at thetaDegrees asks for: the nearest, clamped to [0, axisLimit] (no
// number at all: 0) and then to the wedge field's limits [low, high] (equal limits: none).
int WedgeAngleFor(double thetaDegrees, double axisLimitDegrees, int low, int high);
// The whole degree a pointer at column x of the scene picks.
int ChartAngleAt(const ChartScene& scene, double x, int low, int high);

} // namespace zk
