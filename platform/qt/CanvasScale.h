// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Between our canvas's device scale and the toolkit's device pixel ratio: the whole scale a
// canvas is drawn at for a screen or printer, and a canvas's pixels as an image of the toolkit
// that knows its own scale.
#include <QImage>

namespace zk {

class RasterCanvas;

// The device scale for a device pixel ratio: the next whole number at or above it (2 for 1.5;
// a ratio a hair above a whole number, as floating point leaves it, counts as that number),
// from 1 to the largest scale a canvas takes.
int CanvasScaleFor(double devicePixelRatio);

// The scale nearest to a ratio, for a printer whose dots per inch over 96 are far above the
// screen's ratios (6 for 600 dpi).
int NearestCanvasScale(double ratio);

// A copy of the canvas's device pixels whose device pixel ratio is the canvas's scale, so it is
// painted at the canvas's logical size.
QImage CanvasImage(const RasterCanvas& canvas);

} // namespace zk
