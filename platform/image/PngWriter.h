// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A canvas's device pixels as a PNG file image, encoded with libpng (no toolkit, no display), so
// the program and the batch tool write the same bytes for the same picture.
#include <string>

#include "RasterCanvas.h"

namespace zk {

// The PNG bytes of the canvas at its device resolution (8-bit RGB), with its pixels per metre set
// so that the picture prints at its logical size at 96 pixels per inch; empty when encoding fails.
std::string EncodePng(const RasterCanvas& canvas);

} // namespace zk
