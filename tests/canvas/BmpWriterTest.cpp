// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "BmpWriter.h"
#include "CanvasTestSupport.h"
#include "PngWriter.h"

namespace zk {
namespace {

std::uint32_t U32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint32_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}

// A canvas kept in the HTML canvas's byte order writes the same BMP and PNG files as the usual one.
TEST(EncodeBmp, BothPixelLayoutsWriteTheSameFiles) {
    for (const std::int32_t scale : {1, 2}) {
        RasterCanvas rgb32(40, 30, FontSpec{}, scale);
        RasterCanvas rgba(40, 30, FontSpec{}, scale, PixelLayout::Rgba8888);
        for (RasterCanvas* c : {&rgb32, &rgba}) {
            c->SetPenColor(clRed);
            c->SetPenWidth(3);
            c->MoveTo(2, 2);
            c->LineTo(35, 20);
            c->SetPenColor(clBlue);
            c->Ellipse(5, 10, 25, 28);
            c->SetPixel(39, 0, clGreen);
        }
        const std::string bmp = EncodeBmp(rgb32);
        EXPECT_EQ(EncodeBmp(rgba), bmp) << "scale " << scale;
        EXPECT_EQ(EncodePng(rgba), EncodePng(rgb32)) << "scale " << scale;
        // The red line is red in the file: B, G, R of a pixel on it.
        const std::size_t stride = (std::size_t(40 * scale) * 3 + 3) / 4 * 4;
        const std::size_t row = std::size_t(30 * scale - 1 - 2 * scale); // rows are stored bottom up
        const std::size_t at = 54 + row * stride + std::size_t(2 * scale) * 3;
        EXPECT_EQ(static_cast<unsigned char>(bmp[at + 2]), 0xFF) << "scale " << scale;
        EXPECT_EQ(static_cast<unsigned char>(bmp[at]), 0x00) << "scale " << scale;
    }
}

TEST(EncodeBmp, HeaderOfTheDiagramPicture) {
    RasterCanvas c(609, 449);
    const std::string bmp = EncodeBmp(c);
    const std::uint32_t stride = 1828; // 609 x 3 = 1827 bytes, padded to a multiple of 4
    ASSERT_EQ(bmp.size(), 54u + stride * 449u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(U32(bmp, 2), bmp.size()); // file size
    EXPECT_EQ(U32(bmp, 6), 0u);         // reserved
    EXPECT_EQ(U32(bmp, 10), 54u);       // offset of the pixels
    EXPECT_EQ(U32(bmp, 14), 40u);       // info header size
    EXPECT_EQ(static_cast<std::int32_t>(U32(bmp, 18)), 609);
    EXPECT_EQ(static_cast<std::int32_t>(U32(bmp, 22)), 449); // positive: rows bottom-up
    EXPECT_EQ(U16(bmp, 26), 1u);                             // planes
    EXPECT_EQ(U16(bmp, 28), 24u);                            // bits per pixel
    EXPECT_EQ(U32(bmp, 30), 0u);                             // no compression
    EXPECT_EQ(U32(bmp, 34), stride * 449u);
    EXPECT_GT(U32(bmp, 38), 0u); // pixels per metre
    EXPECT_EQ(U32(bmp, 46), 0u);
}

// Decoding the file again gives back every pixel of the canvas, and the row padding is zero.
TEST(EncodeBmp, PixelsRoundTrip) {
    for (const auto& [w, h] : {std::pair{609, 449}, {1, 1}, {2, 3}, {3, 2}, {4, 4}, {5, 7}}) {
        RasterCanvas c(w, h);
        test::Lcg random(static_cast<std::uint32_t>(w * 31 + h));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (random.Next(0, 3) == 0) {
                    c.SetPixel(x, y, static_cast<TColor>(random.Next(0, 0xFFFFFF)));
                }
            }
        }
        c.SetPixel(0, 0, clRed);
        c.SetPixel(w - 1, h - 1, clBlue);
        const std::string bmp = EncodeBmp(c);
        const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
        ASSERT_EQ(bmp.size(), 54 + stride * static_cast<std::size_t>(h));
        for (int y = 0; y < h; ++y) {
            const std::size_t row = 54 + stride * static_cast<std::size_t>(h - 1 - y);
            for (int x = 0; x < w; ++x) {
                const std::size_t at = row + static_cast<std::size_t>(x) * 3;
                const TColor blue = static_cast<unsigned char>(bmp[at]);
                const TColor green = static_cast<unsigned char>(bmp[at + 1]);
                const TColor red = static_cast<unsigned char>(bmp[at + 2]);
                ASSERT_EQ(red | green << 8 | blue << 16, c.Pixel(x, y))
                    << w << "x" << h << " at " << x << ", " << y;
            }
            for (std::size_t pad = static_cast<std::size_t>(w) * 3; pad < stride; ++pad) {
                ASSERT_EQ(bmp[row + pad], '\0');
            }
        }
    }
}

TEST(EncodeBmp, EmptyCanvasGivesAHeaderOnly) {
    RasterCanvas c(0, 0);
    const std::string bmp = EncodeBmp(c);
    EXPECT_EQ(bmp.size(), 54u);
    EXPECT_EQ(U32(bmp, 2), 54u);
}

} // namespace
} // namespace zk
