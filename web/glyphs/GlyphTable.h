// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The canvas's glyphs for a build without FreeType: every character the program's pictures can
// write, in every size the canvas asks for, rendered once by the desktop's FreeType path
// (zk_glyph_table writes GlyphTableData.cpp; a test fails when the two disagree).
#include <cstddef>
#include <cstdint>
#include <string>

namespace zk::glyphtable {

struct Glyph {
    char32_t CodePoint;
    std::int16_t Left, Top, Width, Rows, Advance;
    std::uint32_t Bits; // first bit of the mask in kBits, row by row, most significant bit first
};

struct Face {
    const char* Family;
    std::int32_t PixelHeight;
    bool Bold, Italic;
    std::int32_t Ascent, LineHeight;
    const char* FileName; // the font file's name, without its folder
    const Glyph* Glyphs;  // by code point, ascending
    std::uint32_t GlyphCount;
    std::uint32_t Missing; // index of the glyph shown for a character the face lacks
};

extern const Face kFaces[];
extern const std::size_t kFaceCount;
extern const std::uint8_t kBits[];

// The face of that family, size and style; null when the table has none.
const Face* FindFace(const std::string& family, std::int32_t pixelHeight, bool bold, bool italic);
// Any size of that family and style; null when the table has none.
const Face* FindFamily(const std::string& family, bool bold, bool italic);
// The glyph of a code point, or the face's missing-character glyph.
const Glyph& GlyphOf(const Face& face, char32_t codePoint);

} // namespace zk::glyphtable
