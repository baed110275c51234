// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One face of one size, found by family name and rendered aliased (one bit per pixel), with the
// rendered glyphs kept so that writing the same letters again costs only the copy of their pixels.
// When no font file can be found or opened the font still answers with plausible metrics and
// empty glyphs, so text keeps its place and its opaque box.  The web edition has no FreeType: its
// glyphs come from a table rendered once by this class's FreeType path (web/glyphs/).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace zk {

namespace glyphtable {
struct Face;
}

class GlyphFont {
public:
    // One rendered character: Mask holds Width x Rows bytes, 1 where the glyph is inked.
    struct Glyph {
        std::int32_t Left = 0;    // pixels from the pen to the bitmap's left edge
        std::int32_t Top = 0;     // pixels from the baseline up to the bitmap's top row
        std::int32_t Width = 0;   // pixels
        std::int32_t Rows = 0;    // pixels
        std::int32_t Advance = 0; // pixels the pen moves on
        std::vector<std::uint8_t> Mask;
    };

    // A face of the given family asked of fontconfig, or the face in fontFile when that is not
    // empty; pixelHeight is the em size in pixels.
    GlyphFont(const std::string& family, std::int32_t pixelHeight, bool bold, bool italic,
              const std::string& fontFile = {});
    ~GlyphFont();
    GlyphFont(const GlyphFont&) = delete;
    GlyphFont& operator=(const GlyphFont&) = delete;

    // True when a font file was found and opened.
    bool HasFace() const { return face_ != nullptr || table_ != nullptr; }
    // The file the face was loaded from; empty without a face.
    const std::string& FileName() const { return fileName_; }
    std::int32_t PixelHeight() const { return pixelHeight_; }
    // Pixels from the top of a line down to the baseline.
    std::int32_t Ascent() const { return ascent_; }
    // Pixels from the top of one line to the top of the next.
    std::int32_t LineHeight() const { return lineHeight_; }

    // The rendered glyph of a Unicode code point, rendered on first use and kept.
    const Glyph& GlyphOf(char32_t codePoint) const;
    // Sum of the advances of the characters of a UTF-8 text, in pixels.
    std::int32_t TextWidth(std::string_view utf8) const;

    // The next code point of a UTF-8 text from byte position pos, which it moves past the
    // character; a malformed sequence yields U+FFFD and skips one byte.
    static char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);
    // The font file fontconfig offers for a family and style, and its face index within the file;
    // an empty name when there is none.  Answers are remembered for the life of the process.
    static std::string MatchFontFile(const std::string& family, bool bold, bool italic, int& faceIndex);

private:
    Glyph Render(char32_t codePoint) const;

    std::int32_t pixelHeight_;
    std::int32_t ascent_ = 0;
    std::int32_t lineHeight_ = 0;
    std::string fileName_;
    [[maybe_unused]] FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
    const glyphtable::Face* table_ = nullptr; // the compiled-in glyphs, where FreeType is not at hand
    mutable std::unordered_map<char32_t, Glyph> glyphs_;
    // Latin and Cyrillic letters are looked up by index, without hashing.
    static constexpr char32_t kDirectGlyphs = 0x500;
    mutable std::vector<const Glyph*> direct_;
};

} // namespace zk
