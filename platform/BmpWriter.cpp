// SPDX-License-Identifier: GPL-3.0-or-later
#include "BmpWriter.h"

#include <cstdint>

namespace zk {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;   // bytes
constexpr std::uint32_t kInfoHeaderSize = 40;   // bytes
constexpr std::uint32_t kPixelsPerMetre = 3780; // 96 pixels per inch

void PutU16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFFu));
    out.push_back(static_cast<char>((v >> 8) & 0xFFu));
}

void PutU32(std::string& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFFu);
    PutU16(out, v >> 16);
}

} // namespace

std::string EncodeBmp(const RasterCanvas& canvas) {
    // The device pixels: a canvas drawn at a device scale is written at its full resolution.
    const auto width = static_cast<std::uint32_t>(canvas.DeviceWidth());
    const auto height = static_cast<std::uint32_t>(canvas.DeviceHeight());
    const std::uint32_t stride = (width * 3 + 3) & ~3u; // rows are padded to whole 32-bit words
    const std::uint32_t imageSize = stride * height;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::string out;
    out.reserve(offset + imageSize);
    // File header.
    out += "BM";
    PutU32(out, offset + imageSize);
    PutU32(out, 0); // reserved
    PutU32(out, offset);
    // Info header: 24 bits per pixel, no compression, rows stored bottom-up.
    PutU32(out, kInfoHeaderSize);
    PutU32(out, width);
    PutU32(out, height);
    PutU16(out, 1);  // planes
    PutU16(out, 24); // bits per pixel
    PutU32(out, 0);  // no compression
    PutU32(out, imageSize);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, 0); // colours used: all
    PutU32(out, 0); // important colours: all

    const std::uint32_t* bits = canvas.Bits();
    const PixelLayout layout = canvas.Layout();
    for (std::uint32_t row = height; row-- > 0;) {
        const std::uint32_t* line = bits + static_cast<std::size_t>(row) * width;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t p = RasterCanvas::Rgb32Of(line[x], layout);
            out.push_back(static_cast<char>(p & 0xFFu));         // blue
            out.push_back(static_cast<char>((p >> 8) & 0xFFu));  // green
            out.push_back(static_cast<char>((p >> 16) & 0xFFu)); // red
        }
        out.append(stride - width * 3, '\0');
    }
    return out;
}

} // namespace zk
