// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngWriter.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <vector>

namespace zk {

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// libpng reports through longjmp; the message itself is of no use to the caller, who reports a
// failed encoding as a failed write.
void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// The encoder's state, destroyed on every way out.
struct Encoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~Encoder() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

// Everything that touches libpng, in a function of its own with no objects to destroy, so the
// longjmp of an error leaves nothing behind: the rows and the output belong to the caller.
bool Encode(Encoder& e, const RasterCanvas& canvas, std::vector<png_byte>& row, std::string& out) {
    const auto width = static_cast<png_uint_32>(canvas.DeviceWidth());
    const auto height = static_cast<png_uint_32>(canvas.DeviceHeight());
    if (setjmp(png_jmpbuf(e.png)))
        return false;
    png_set_write_fn(e.png, &out, AppendBytes, NoFlush);
    png_set_IHDR(e.png, e.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // 96 logical pixels per inch, k device pixels each: the picture keeps the size of the screen's.
    const auto dotsPerMetre = static_cast<png_uint_32>(std::lround(96.0 * canvas.Scale() / 0.0254));
    png_set_pHYs(e.png, e.info, dotsPerMetre, dotsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(e.png, e.info);
    const std::uint32_t* pixels = canvas.Bits();
    const PixelLayout layout = canvas.Layout();
    for (png_uint_32 y = 0; y < height; ++y) {
        const std::uint32_t* source = pixels + static_cast<std::size_t>(y) * width;
        for (png_uint_32 x = 0; x < width; ++x) {
            const std::uint32_t argb = RasterCanvas::Rgb32Of(source[x], layout); // 0xFFRRGGBB
            row[3 * x] = static_cast<png_byte>(argb >> 16);
            row[3 * x + 1] = static_cast<png_byte>(argb >> 8);
            row[3 * x + 2] = static_cast<png_byte>(argb);
        }
        png_write_row(e.png, row.data());
    }
    png_write_end(e.png, nullptr);
    return true;
}

} // namespace

std::string EncodePng(const RasterCanvas& canvas) {
    if (canvas.DeviceWidth() <= 0 || canvas.DeviceHeight() <= 0)
        return {};
    Encoder e;
    e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, IgnoreWarning);
    if (!e.png)
        return {};
    e.info = png_create_info_struct(e.png);
    if (!e.info)
        return {};
    std::vector<png_byte> row(static_cast<std::size_t>(canvas.DeviceWidth()) * 3);
    std::string out;
    if (!Encode(e, canvas, row, out))
        return {};
    return out;
}

} // namespace zk
