// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A canvas decorator that records every drawing operation it passes on, one line each:
//   FloodFill X Y COLOR border|surface / MoveTo X Y / LineTo X Y COLOR WIDTH STYLE /
//   TextOut X Y TEXT / SetPixel X Y COLOR / Ellipse X1 Y1 X2 Y2 COLOR WIDTH
// COLOR is the TColor as six upper-case hexadecimal digits BBGGRR; STYLE is solid, dash or dot
// (the rarer styles by their own names: dashdot, dashdotdot, clear, insideframe).  TEXT runs to
// the end of the line as UTF-8, with line breaks in it written as \n and \r.
// Pen changes are not lines of their own: each LineTo carries the pen in force.
#include <ostream>

#include "TCanvas.h"

namespace zk {

class CanvasOpsLog : public TCanvas {
public:
    CanvasOpsLog(TCanvas& inner, std::ostream& out);

    void SetPenColor(TColor color) override;
    void SetPenWidth(std::int32_t width) override;
    void SetPenStyle(TPenStyle style) override;
    TPen Pen() const override;
    TPoint PenPos() const override;
    void MoveTo(std::int32_t x, std::int32_t y) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override;
    void SetPixel(std::int32_t x, std::int32_t y, TColor color) override;
    void FloodFill(std::int32_t x, std::int32_t y, TColor color, TFillStyle mode) override;
    void Refresh() override;

    // The name a pen style has in the log: "solid", "dash", "dot", ...
    static const char* StyleName(TPenStyle style);

private:
    TCanvas& inner_;
    std::ostream& out_;
};

} // namespace zk
