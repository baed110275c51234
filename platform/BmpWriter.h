// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a canvas as an uncompressed Windows bitmap file with a standard header.
#include <string>

#include "RasterCanvas.h"

namespace zk {

// The complete BMP file of the canvas (24 bits per pixel, bottom-up rows).
std::string EncodeBmp(const RasterCanvas& canvas);

} // namespace zk
