#pragma once
// A canvas decorator that records every drawing operation it passes on, one line each:
//   FloodFill X Y COLOR border|surface / MoveTo X Y / LineTo X Y COLOR WIDTH STYLE /
//   TextOut X Y TEXT / SetPixel X Y COLOR
// COLOR is the TColor as six upper-case hexadecimal digits BBGGRR; STYLE is solid, dash or dot.
// Pen changes are not lines of their own: each LineTo carries the pen in force.
#include <ostream>

#include "TCanvas.h"

namespace zk {

class CanvasOpsLog : public TCanvas {
public:
    CanvasOpsLog(TCanvas& inner, std::ostream& out);
    // ... all TCanvas overrides, forwarding to inner and logging
};

} // namespace zk
