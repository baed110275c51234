// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CanvasTestSupport.h"
#include "GlyphFont.h"

namespace zk {
namespace {

using test::CountColour;
using test::CountNotWhite;

// Black pixels inside the box [x, x + w) x [y, y + h).
int InkIn(const RasterCanvas& c, int x, int y, int w, int h) {
    int n = 0;
    for (int py = y; py < y + h; ++py) {
        for (int px = x; px < x + w; ++px) {
            n += c.Pixel(px, py) == clBlack ? 1 : 0;
        }
    }
    return n;
}

TEST(TextOut, MovesPenBlanksBoxAndInksGlyphs) {
    RasterCanvas c(609, 449);
    // Lines crossing where the label goes: the free-stream arrow and a shock line.
    c.SetPenColor(clRed);
    c.SetPenWidth(3);
    c.MoveTo(50, 205);
    c.LineTo(300, 205);
    c.SetPenWidth(1);
    c.MoveTo(150, 190);
    c.LineTo(150, 230);
    const int w = c.TextWidth("V1");
    const int h = c.TextHeight();
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    c.TextOut(140, 200, "V1");
    EXPECT_EQ(c.PenPos(), (TPoint{140 + w, 200}));
    int red = 0;
    for (int y = 200; y < 200 + h; ++y) {
        for (int x = 140; x < 140 + w; ++x) {
            const TColor p = c.Pixel(x, y);
            EXPECT_TRUE(p == clWhite || p == clBlack) << x << ", " << y; // aliased: no grey
            red += p == clRed ? 1 : 0;
        }
    }
    EXPECT_EQ(red, 0);
    EXPECT_GT(InkIn(c, 140, 200, w, h), 10);
    // The lines outside the box stay.
    EXPECT_EQ(c.Pixel(139, 205), clRed);
    EXPECT_EQ(c.Pixel(140 + w, 205), clRed);
    EXPECT_EQ(c.Pixel(150, 199), clRed);
    EXPECT_EQ(c.Pixel(150, 200 + h), clRed);
}

TEST(TextOut, TextOfAboutElevenPixels) {
    RasterCanvas c(200, 50);
    EXPECT_GE(c.TextHeight(), 11);
    EXPECT_LE(c.TextHeight(), 16);
    c.TextOut(10, 10, "H");
    int top = 50, bottom = -1;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (c.Pixel(x, y) == clBlack) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    // A capital letter stands about three quarters of the em high, on the baseline.
    EXPECT_GE(bottom - top + 1, 7);
    EXPECT_LE(bottom - top + 1, 10);
    EXPECT_LT(bottom, 10 + c.TextHeight());
}

TEST(TextOut, CyrillicLettersAreDrawn) {
    const std::string word = "град";
    RasterCanvas c(200, 40);
    c.TextOut(5, 5, "20 " + word);
    const int w = c.TextWidth("20 " + word);
    EXPECT_EQ(c.PenPos().X, 5 + w);
    const int digits = c.TextWidth("20 ");
    EXPECT_GT(InkIn(c, 5 + digits, 5, w - digits, c.TextHeight()), 20);
    // Each Cyrillic letter has a glyph of its own, not the one of a missing character.
    RasterCanvas missing(40, 40);
    missing.TextOut(0, 0, "\xEF\xBF\xBD"); // U+FFFD
    for (const std::string letter : {"г", "р", "а", "д", "Ж", "ё"}) {
        RasterCanvas one(40, 40);
        one.TextOut(0, 0, letter);
        EXPECT_GT(CountColour(one, clBlack), 3) << letter;
        EXPECT_NE(test::PixelsOf(one), test::PixelsOf(missing)) << letter;
    }
}

TEST(TextOut, WidthIsTheSumOfTheLetters) {
    RasterCanvas c(10, 10);
    const std::string text = "fi= 53 град";
    int sum = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        GlyphFont::NextCodePoint(text, pos);
        sum += c.TextWidth(text.substr(start, pos - start));
    }
    EXPECT_EQ(c.TextWidth(text), sum);
    EXPECT_EQ(c.TextWidth(""), 0);
    EXPECT_GT(c.TextWidth("Vy"), c.TextWidth("V"));
}

TEST(TextOut, EmptyTextDrawsNothingAndKeepsPosition) {
    RasterCanvas c(50, 50);
    c.MoveTo(1, 2);
    c.TextOut(20, 30, "");
    EXPECT_EQ(c.PenPos(), (TPoint{20, 30}));
    EXPECT_EQ(CountNotWhite(c), 0);
}

TEST(TextOut, RepeatedTextHitsTheSamePixels) {
    RasterCanvas once(120, 30);
    RasterCanvas twice(120, 30);
    once.TextOut(3, 4, "fi= 53 град");
    twice.TextOut(3, 4, "fi= 53 град");
    twice.TextOut(3, 4, "fi= 53 град");
    EXPECT_EQ(test::PixelsOf(once), test::PixelsOf(twice));
}

TEST(TextOut, PartlyOrWhollyOffTheSurface) {
    RasterCanvas c(100, 60);
    c.TextOut(-7, -5, "Vy");
    EXPECT_EQ(c.PenPos(), (TPoint{-7 + c.TextWidth("Vy"), -5}));
    c.TextOut(90, 55, "Vx");
    c.TextOut(1000000, 20, "O");
    c.TextOut(INT32_MAX - 2, INT32_MIN, "D");
    EXPECT_EQ(c.PenPos(), (TPoint{INT32_MAX, INT32_MIN}));
    c.TextOut(INT32_MIN, 10, "A");
    EXPECT_EQ(c.PenPos().X, INT32_MIN + c.TextWidth("A"));
    EXPECT_GT(CountNotWhite(c), 0);
}

TEST(TextOut, MalformedUtf8IsDrawnAsReplacementCharacters) {
    RasterCanvas c(200, 30);
    const std::string bad = "A\xFF\xC3(\xE2\x82";
    c.TextOut(0, 0, bad);
    EXPECT_GT(c.PenPos().X, c.TextWidth("A("));
}

TEST(TextOut, GlyphsTakeTheFontColour) {
    FontSpec font;
    font.Color = clBlue;
    RasterCanvas c(60, 30, font);
    c.TextOut(2, 2, "Vx");
    EXPECT_GT(CountColour(c, clBlue), 5);
    EXPECT_EQ(CountColour(c, clBlack), 0);
}

TEST(TextOut, WithoutAnyFontTheBoxIsStillBlanked) {
    FontSpec font;
    font.File = "/nonexistent/no-such-font.ttf";
    RasterCanvas c(100, 40, font);
    c.Clear(clRed);
    c.TextOut(10, 10, "V1");
    const int w = c.TextWidth("V1");
    const int h = c.TextHeight();
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    EXPECT_EQ(c.PenPos(), (TPoint{10 + w, 10}));
    EXPECT_EQ(CountColour(c, clWhite), w * h);
    EXPECT_EQ(c.Pixel(10, 10), clWhite);
    EXPECT_EQ(c.Pixel(10 + w - 1, 10 + h - 1), clWhite);
    EXPECT_EQ(c.Pixel(10 + w, 10), clRed);
}

TEST(GlyphFont, FindsStandInsForTheProgramsFonts) {
    for (const char* family : {"MS Sans Serif", "Times New Roman"}) {
        GlyphFont font(family, 11, false, false);
        EXPECT_TRUE(font.HasFace()) << family;
        EXPECT_FALSE(font.FileName().empty()) << family;
        EXPECT_GT(font.Ascent(), 0);
        EXPECT_GT(font.LineHeight(), font.Ascent());
    }
    GlyphFont bold("MS Sans Serif", 11, true, false);
    GlyphFont regular("MS Sans Serif", 11, false, false);
    EXPECT_NE(bold.FileName(), regular.FileName());
}

TEST(GlyphFont, SizeIsKeptWithinSaneBounds) {
    GlyphFont none("MS Sans Serif", 0, false, false);
    EXPECT_EQ(none.PixelHeight(), 1);
    GlyphFont negative("MS Sans Serif", -11, false, false);
    EXPECT_EQ(negative.PixelHeight(), 1);
    GlyphFont huge("MS Sans Serif", 1000000, false, false);
    EXPECT_EQ(huge.PixelHeight(), 1024);
    GlyphFont twice("MS Sans Serif", 22, false, false);
    GlyphFont once("MS Sans Serif", 11, false, false);
    EXPECT_GT(twice.TextWidth("Vx"), once.TextWidth("Vx"));
}

TEST(GlyphFont, DecodesUtf8) {
    struct Case {
        std::string Text;
        std::vector<char32_t> CodePoints;
    };
    const Case cases[] = {
        {"Vy", {U'V', U'y'}},
        {"град", {0x433, 0x440, 0x430, 0x434}},
        {"\xE2\x82\xAC", {0x20AC}},      // three bytes
        {"\xF0\x9F\x98\x80", {0x1F600}}, // four bytes
        {"\xFF"
         "A",
         {0xFFFD, U'A'}}, // not a lead byte
        {"\xD0"
         "A",
         {0xFFFD, U'A'}},                                       // lead byte without its continuation
        {"\xC0\xAF", {0xFFFD, 0xFFFD}},                         // overlong '/'
        {"\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},             // a surrogate
        {"\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}}, // beyond Unicode
        {"\xE2\x82", {0xFFFD, 0xFFFD}},                         // cut short
    };
    for (const Case& k : cases) {
        std::vector<char32_t> decoded;
        for (std::size_t pos = 0; pos < k.Text.size();) {
            decoded.push_back(GlyphFont::NextCodePoint(k.Text, pos));
        }
        EXPECT_EQ(decoded, k.CodePoints) << k.Text;
    }
}

} // namespace
} // namespace zk
