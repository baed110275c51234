// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanvasOpsLog.h"

#include <cstdio>

namespace zk {

namespace {

// Six upper-case hexadecimal digits of the colour's low 24 bits.
struct Hex {
    explicit Hex(TColor c) {
        std::snprintf(Digits, sizeof Digits, "%06X", static_cast<unsigned>(c & 0xFFFFFFu));
    }
    char Digits[8];
};

std::ostream& operator<<(std::ostream& out, const Hex& hex) {
    return out << hex.Digits;
}

} // namespace

CanvasOpsLog::CanvasOpsLog(TCanvas& inner, std::ostream& out) : inner_(inner), out_(out) {}

const char* CanvasOpsLog::StyleName(TPenStyle style) {
    switch (style) {
    case TPenStyle::psSolid:
        return "solid";
    case TPenStyle::psDash:
        return "dash";
    case TPenStyle::psDot:
        return "dot";
    case TPenStyle::psDashDot:
        return "dashdot";
    case TPenStyle::psDashDotDot:
        return "dashdotdot";
    case TPenStyle::psClear:
        return "clear";
    case TPenStyle::psInsideFrame:
        return "insideframe";
    }
    return "solid";
}

void CanvasOpsLog::SetPenColor(TColor color) {
    inner_.SetPenColor(color);
}

void CanvasOpsLog::SetPenWidth(std::int32_t width) {
    inner_.SetPenWidth(width);
}

void CanvasOpsLog::SetPenStyle(TPenStyle style) {
    inner_.SetPenStyle(style);
}

TPen CanvasOpsLog::Pen() const {
    return inner_.Pen();
}

TPoint CanvasOpsLog::PenPos() const {
    return inner_.PenPos();
}

void CanvasOpsLog::MoveTo(std::int32_t x, std::int32_t y) {
    inner_.MoveTo(x, y);
    out_ << "MoveTo " << x << ' ' << y << '\n';
}

void CanvasOpsLog::LineTo(std::int32_t x, std::int32_t y) {
    inner_.LineTo(x, y);
    const TPen pen = inner_.Pen();
    out_ << "LineTo " << x << ' ' << y << ' ' << Hex(pen.Color) << ' ' << pen.Width << ' '
         << StyleName(pen.Style) << '\n';
}

void CanvasOpsLog::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    inner_.Ellipse(x1, y1, x2, y2);
    const TPen pen = inner_.Pen();
    out_ << "Ellipse " << x1 << ' ' << y1 << ' ' << x2 << ' ' << y2 << ' ' << Hex(pen.Color) << ' '
         << pen.Width << '\n';
}

void CanvasOpsLog::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    inner_.TextOut(x, y, text);
    out_ << "TextOut " << x << ' ' << y << ' ';
    for (const char c : text) {
        if (c == '\n') {
            out_ << "\\n";
        } else if (c == '\r') {
            out_ << "\\r";
        } else {
            out_ << c;
        }
    }
    out_ << '\n';
}

void CanvasOpsLog::SetPixel(std::int32_t x, std::int32_t y, TColor color) {
    inner_.SetPixel(x, y, color);
    out_ << "SetPixel " << x << ' ' << y << ' ' << Hex(color) << '\n';
}

void CanvasOpsLog::FloodFill(std::int32_t x, std::int32_t y, TColor color, TFillStyle mode) {
    inner_.FloodFill(x, y, color, mode);
    out_ << "FloodFill " << x << ' ' << y << ' ' << Hex(color) << ' '
         << (mode == TFillStyle::fsBorder ? "border" : "surface") << '\n';
}

void CanvasOpsLog::Refresh() {
    inner_.Refresh();
}

} // namespace zk
