// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zk {

namespace {

int CodePoints(const std::string& utf8) {
    int n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xc0) != 0x80)
            ++n;
    return n;
}

void Escaped(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

// Appends the shortest text that reads back as the same double; whole numbers without a
// fraction.  A text of at most 15 significant digits that reads back as v is what "%.15g" gives
// once its trailing zeros are dropped, since v lies far closer to it than a unit of the 15th
// digit; so only 15, 16 and 17 digits are tried, not every count from 1.  (Formatting a double
// is slow in WebAssembly, where the C library does it in software wider arithmetic, and a chart
// holds thousands of numbers.)
void AppendNumber(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char buffer[32];
    if (v == std::floor(v) && std::abs(v) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", v);
    } else {
        for (int digits = 15; digits <= 17; ++digits) {
            std::snprintf(buffer, sizeof buffer, "%.*g", digits, v);
            if (std::strtod(buffer, nullptr) == v)
                break;
        }
    }
    out += buffer;
}

std::string Number(double v) {
    std::string text;
    AppendNumber(text, v);
    return text;
}

void RectJson(std::string& out, const ChartRect& r) {
    out += '[';
    AppendNumber(out, r.X);
    out += ',';
    AppendNumber(out, r.Y);
    out += ',';
    AppendNumber(out, r.W);
    out += ',';
    AppendNumber(out, r.H);
    out += ']';
}

const char* KindName(ChartItem::Kind kind) {
    switch (kind) {
    case ChartItem::Kind::Line: return "line";
    case ChartItem::Kind::Polyline: return "polyline";
    case ChartItem::Kind::Fill: return "fill";
    case ChartItem::Kind::Ellipse: return "ellipse";
    case ChartItem::Kind::Text: return "text";
    case ChartItem::Kind::TextBox: return "textbox";
    }
    return "";
}

const char* PenName(ChartPen pen) {
    switch (pen) {
    case ChartPen::Solid: return "solid";
    case ChartPen::Dash: return "dash";
    case ChartPen::Dot: return "dot";
    case ChartPen::DashDot: return "dashdot";
    }
    return "";
}

std::string ColorText(ChartColor c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%06x", static_cast<unsigned>(c & 0xffffff));
    return buffer;
}

void ItemJson(std::string& out, const ChartItem& item) {
    out += "{\"kind\":\"";
    out += KindName(item.Type);
    out += "\",\"whole\":";
    out += item.Whole ? "true" : "false";
    out += ",\"color\":\"" + ColorText(item.Color) + "\"";
    const bool stroked = item.Type == ChartItem::Kind::Line || item.Type == ChartItem::Kind::Polyline ||
                         item.Type == ChartItem::Kind::Ellipse;
    if (stroked) {
        out += ",\"width\":" + Number(item.PenWidth);
        out += std::string(",\"pen\":\"") + PenName(item.Pen) + "\"";
    }
    if (item.Type != ChartItem::Kind::Fill && item.Type != ChartItem::Kind::TextBox) {
        out += ",\"points\":[";
        for (std::size_t i = 0; i < item.Points.size(); ++i) {
            if (i)
                out += ',';
            out += '[';
            AppendNumber(out, item.Points[i].X);
            out += ',';
            AppendNumber(out, item.Points[i].Y);
            out += ']';
        }
        out += "]";
    }
    if (item.Type == ChartItem::Kind::Ellipse)
        out += ",\"rx\":" + Number(item.Rx) + ",\"ry\":" + Number(item.Ry);
    if (item.Type == ChartItem::Kind::Fill || item.Type == ChartItem::Kind::TextBox) {
        out += ",\"box\":";
        RectJson(out, item.Box);
    }
    if (item.Type == ChartItem::Kind::Text || item.Type == ChartItem::Kind::TextBox) {
        out += ",\"text\":";
        Escaped(out, item.Text);
        out += ",\"font\":" + std::to_string(item.FontPixels);
        out += std::string(",\"bold\":") + (item.Bold ? "true" : "false");
        if (item.Type == ChartItem::Kind::Text) {
            out += std::string(",\"align\":\"") +
                   (item.HAlign == ChartHAlign::Left ? "left" : item.HAlign == ChartHAlign::Center ? "center" : "right") +
                   "\",\"baseline\":\"" +
                   (item.VAlign == ChartVAlign::Baseline ? "baseline" : item.VAlign == ChartVAlign::Top ? "top" : "middle") +
                   "\"";
        } else {
            out += std::string(",\"wrap\":") + (item.Wrap ? "true" : "false");
        }
    }
    if (item.Clip) {
        out += ",\"clip\":";
        RectJson(out, *item.Clip);
    }
    out += "}";
}

void ItemsJson(std::string& out, const std::vector<ChartItem>& items) {
    out += "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += ",\n";
        ItemJson(out, items[i]);
    }
    out += "]";
}

} // namespace

int EstimatedTextMetrics::Advance(const std::string& utf8, int pixelHeight, bool bold) const {
    return static_cast<int>(std::lround(CodePoints(utf8) * pixelHeight * (bold ? 0.53 : 0.5)));
}

int EstimatedTextMetrics::Ascent(int pixelHeight, bool) const {
    return static_cast<int>(std::lround(pixelHeight * 0.891));
}

int EstimatedTextMetrics::Height(int pixelHeight, bool) const {
    return static_cast<int>(std::lround(pixelHeight * 1.15));
}

namespace {

std::string SceneJson(const ChartScene& scene, const std::string& background) {
    std::string out = "{\"name\":";
    Escaped(out, scene.Name);
    out += ",\"width\":" + std::to_string(scene.Width) + ",\"height\":" + std::to_string(scene.Height);
    out += ",\"plot\":";
    RectJson(out, scene.Plot);
    out += ",\"thetaLimit\":" + Number(scene.ThetaLimit) + ",\"thetaStep\":" + Number(scene.ThetaStep);
    out += ",\"notice\":";
    Escaped(out, scene.Notice);
    out += ",\n\"background\":";
    out += background;
    out += ",\n\"marks\":";
    ItemsJson(out, scene.Marks);
    out += "}";
    return out;
}

} // namespace

std::string ChartSceneJson(const ChartScene& scene) {
    std::string background;
    ItemsJson(background, scene.Background);
    return SceneJson(scene, background);
}

std::string ChartJsonCache::Json(const ChartScene& scene) {
    auto kept = std::find_if(kept_.begin(), kept_.end(), [&](const auto& k) { return k.first == scene.Name; });
    if (kept == kept_.end()) {
        kept_.emplace_back(scene.Name, Kept{});
        kept = kept_.end() - 1;
    }
    Kept& k = kept->second;
    if (k.Text.empty() || k.Background != scene.Background) {
        k.Background = scene.Background;
        k.Text.clear();
        ItemsJson(k.Text, scene.Background);
    }
    return SceneJson(scene, k.Text);
}

double ChartXOf(const ChartScene& scene, double thetaDegrees) {
    return scene.Plot.X + thetaDegrees / scene.ThetaLimit * scene.Plot.W;
}

double ChartThetaAt(const ChartScene& scene, double x) {
    return (x - scene.Plot.X) / scene.Plot.W * scene.ThetaLimit;
}

int WedgeAngleFor(double thetaDegrees, double axisLimitDegrees, int low, int high) {
    const double limit = std::isfinite(axisLimitDegrees) ? std::max(axisLimitDegrees, 0.0) : 0.0;
    const double theta = std::isfinite(thetaDegrees) ? std::clamp(thetaDegrees, 0.0, limit) : 0.0;
    const int degrees = static_cast<int>(std::lround(theta));
    // As the wedge field itself: equal limits mean no limits.
    return low < high ? std::clamp(degrees, low, high) : degrees;
}

int ChartAngleAt(const ChartScene& scene, double x, int low, int high) {
    return WedgeAngleFor(ChartThetaAt(scene, x), scene.ThetaLimit, low, high);
}

} // namespace zk
