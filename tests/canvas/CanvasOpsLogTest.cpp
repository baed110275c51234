// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "CanvasOpsLog.h"
#include "CanvasTestSupport.h"

namespace zk {
namespace {

TEST(CanvasOpsLog, WritesOneLinePerDrawingOperation) {
    RasterCanvas inner(609, 449);
    std::ostringstream out;
    CanvasOpsLog log(inner, out);
    log.FloodFill(100, 100, clMedGray, TFillStyle::fsBorder);
    log.SetPenWidth(1);
    log.SetPenColor(clBlack);
    log.MoveTo(50, 220);
    log.LineTo(600, 220);
    log.SetPenColor(clGreen);
    log.SetPenStyle(TPenStyle::psDash);
    log.LineTo(554, 230);
    log.SetPenStyle(TPenStyle::psDot);
    log.SetPenWidth(3);
    log.LineTo(-5, 1000000);
    log.SetPenStyle(TPenStyle::psClear);
    log.LineTo(1, 2);
    log.SetPenStyle(TPenStyle::psSolid);
    log.SetPenColor(clWindowText);
    log.LineTo(3, 4);
    log.TextOut(405, 164, "20 град");
    log.SetPixel(423, 301, clRed);
    log.SetPenColor(clWhite);
    log.Ellipse(10, 20, 12, 22);
    log.FloodFill(5, 6, clBlue, TFillStyle::fsSurface);
    log.Refresh();
    EXPECT_EQ(out.str(), "FloodFill 100 100 A4A0A0 border\n"
                         "MoveTo 50 220\n"
                         "LineTo 600 220 000000 1 solid\n"
                         "LineTo 554 230 008000 1 dash\n"
                         "LineTo -5 1000000 008000 3 dot\n"
                         "LineTo 1 2 008000 3 clear\n"
                         "LineTo 3 4 000008 3 solid\n"
                         "TextOut 405 164 20 град\n"
                         "SetPixel 423 301 0000FF\n"
                         "Ellipse 10 20 12 22 FFFFFF 3\n"
                         "FloodFill 5 6 FF0000 surface\n");
}

TEST(CanvasOpsLog, ForwardsEverythingToTheInnerCanvas) {
    RasterCanvas direct(120, 80);
    RasterCanvas inner(120, 80);
    std::ostringstream out;
    CanvasOpsLog log(inner, out);
    for (TCanvas* c : {static_cast<TCanvas*>(&direct), static_cast<TCanvas*>(&log)}) {
        c->SetPenColor(clBlue);
        c->SetPenWidth(2);
        c->MoveTo(3, 4);
        c->LineTo(100, 70);
        c->SetPenStyle(TPenStyle::psDash);
        c->SetPenWidth(1);
        c->LineTo(10, 70);
        c->TextOut(20, 20, "Vy");
        c->SetPenWidth(3);
        c->Ellipse(50, 10, 52, 12);
        c->SetPixel(1, 1, clRed);
        c->FloodFill(60, 40, clMedGray, TFillStyle::fsBorder);
        c->SetPenColor(clRed);
        c->MoveTo(0, 79);
        c->LineTo(119, 0);
    }
    EXPECT_EQ(test::PixelsOf(inner), test::PixelsOf(direct));
    EXPECT_EQ(log.PenPos(), inner.PenPos());
    EXPECT_EQ(log.Pen().Color, clRed);
    EXPECT_EQ(log.Pen().Width, 3);
    EXPECT_EQ(log.Pen().Style, TPenStyle::psDash);
}

TEST(CanvasOpsLog, StyleNames) {
    const std::pair<TPenStyle, std::string> names[] = {{TPenStyle::psSolid, "solid"},
                                                       {TPenStyle::psDash, "dash"},
                                                       {TPenStyle::psDot, "dot"},
                                                       {TPenStyle::psDashDot, "dashdot"},
                                                       {TPenStyle::psDashDotDot, "dashdotdot"},
                                                       {TPenStyle::psClear, "clear"},
                                                       {TPenStyle::psInsideFrame, "insideframe"}};
    for (const auto& [style, name] : names) {
        EXPECT_EQ(CanvasOpsLog::StyleName(style), name);
    }
}

TEST(CanvasOpsLog, LineBreaksInTextStayOnOneLine) {
    RasterCanvas inner(50, 50);
    std::ostringstream out;
    CanvasOpsLog log(inner, out);
    log.TextOut(1, 2, "a\nb\rc");
    EXPECT_EQ(out.str(), "TextOut 1 2 a\\nb\\rc\n");
}

} // namespace
} // namespace zk
