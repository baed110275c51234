// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlyphFont.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>
#include <utility>

#if defined(ZK_GLYPH_TABLE)
#include <cstring>

#include "GlyphTable.h"
#else
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#endif

namespace zk {

namespace {

constexpr std::int32_t kMinPixelHeight = 1;
constexpr std::int32_t kMaxPixelHeight = 1024;
constexpr char32_t kReplacement = 0xFFFD;

#if !defined(ZK_GLYPH_TABLE)
// Whole pixels from a 26.6 fixed-point value, rounded outwards from zero as font extents are.
std::int32_t CeilPixels(FT_Pos v) {
    return static_cast<std::int32_t>((v + 63) >> 6);
}
std::int32_t RoundPixels(FT_Pos v) {
    return static_cast<std::int32_t>((v + 32) >> 6);
}
#endif

} // namespace

GlyphFont::GlyphFont(const std::string& family, std::int32_t pixelHeight, bool bold, bool italic,
                     const std::string& fontFile)
    : pixelHeight_(std::clamp(pixelHeight, kMinPixelHeight, kMaxPixelHeight)),
      direct_(kDirectGlyphs, nullptr) {
    // Metrics of a face-less font: a sans-serif line of text, roughly.
    ascent_ = pixelHeight_;
    lineHeight_ = pixelHeight_ + std::max(1, (pixelHeight_ + 2) / 4);

#if defined(ZK_GLYPH_TABLE)
    // The glyphs rendered once by the desktop's FreeType path and compiled in; a font file named
    // by the caller cannot be opened here, and a face the table lacks has no glyphs.
    if (!fontFile.empty()) {
        return;
    }
    table_ = glyphtable::FindFace(family, pixelHeight_, bold, italic);
    if (table_ == nullptr) {
        return;
    }
    fileName_ = table_->FileName;
    ascent_ = table_->Ascent;
    lineHeight_ = table_->LineHeight;
#else
    int faceIndex = 0;
    std::string file = fontFile.empty() ? MatchFontFile(family, bold, italic, faceIndex) : fontFile;
    if (file.empty() || FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        return;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library_, file.c_str(), faceIndex, &face) != 0) {
        return;
    }
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 || FT_Set_Pixel_Sizes(face, 0, pixelHeight_) != 0) {
        FT_Done_Face(face);
        return;
    }
    face_ = face;
    fileName_ = std::move(file);
    const FT_Size_Metrics& m = face->size->metrics;
    ascent_ = std::max(1, CeilPixels(m.ascender));
    const std::int32_t descent = std::max(0, CeilPixels(-m.descender));
    lineHeight_ = ascent_ + descent;
#endif
}

GlyphFont::~GlyphFont() {
#if !defined(ZK_GLYPH_TABLE)
    if (face_ != nullptr) {
        FT_Done_Face(face_);
    }
    if (library_ != nullptr) {
        FT_Done_FreeType(library_);
    }
#endif
}

const GlyphFont::Glyph& GlyphFont::GlyphOf(char32_t codePoint) const {
    if (codePoint < kDirectGlyphs && direct_[codePoint] != nullptr) {
        return *direct_[codePoint];
    }
    auto it = glyphs_.find(codePoint);
    if (it == glyphs_.end()) {
        it = glyphs_.emplace(codePoint, Render(codePoint)).first;
    }
    if (codePoint < kDirectGlyphs) {
        direct_[codePoint] = &it->second; // elements of an unordered_map never move
    }
    return it->second;
}

std::int32_t GlyphFont::TextWidth(std::string_view utf8) const {
    std::int64_t width = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        width += GlyphOf(NextCodePoint(utf8, pos)).Advance;
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(width, INT32_MAX));
}

GlyphFont::Glyph GlyphFont::Render(char32_t codePoint) const {
    Glyph g;
    if (codePoint < 0x20 || codePoint == 0x7F) {
        return g; // control characters take no room and leave no ink
    }
#if defined(ZK_GLYPH_TABLE)
    if (table_ == nullptr) {
        g.Advance = std::max(1, (pixelHeight_ * 11 + 10) / 20);
        return g;
    }
    const glyphtable::Glyph& t = glyphtable::GlyphOf(*table_, codePoint);
    g.Left = t.Left;
    g.Top = t.Top;
    g.Width = t.Width;
    g.Rows = t.Rows;
    g.Advance = t.Advance;
    g.Mask.assign(static_cast<std::size_t>(g.Width) * static_cast<std::size_t>(g.Rows), 0);
    for (std::size_t bit = 0; bit < g.Mask.size(); ++bit) {
        const std::size_t at = t.Bits + bit;
        g.Mask[bit] = (glyphtable::kBits[at >> 3] >> (7 - (at & 7))) & 1;
    }
    return g;
#else
    if (face_ == nullptr) {
        g.Advance = std::max(1, (pixelHeight_ * 11 + 10) / 20);
        return g;
    }
    const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
    // Hinted for one-bit output and rendered one bit per pixel: no grey edges, no blending.
    if (FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
        g.Advance = std::max(1, (pixelHeight_ * 11 + 10) / 20);
        return g;
    }
    const FT_GlyphSlot slot = face_->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
        g.Advance = RoundPixels(slot->advance.x);
        return g;
    }
    const FT_Bitmap& bm = slot->bitmap;
    g.Left = slot->bitmap_left;
    g.Top = slot->bitmap_top;
    g.Advance = RoundPixels(slot->advance.x);
    g.Width = static_cast<std::int32_t>(bm.width);
    g.Rows = static_cast<std::int32_t>(bm.rows);
    g.Mask.assign(static_cast<std::size_t>(g.Width) * static_cast<std::size_t>(g.Rows), 0);
    for (std::int32_t r = 0; r < g.Rows; ++r) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(r) * bm.pitch;
        std::uint8_t* out = g.Mask.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(g.Width);
        for (std::int32_t c = 0; c < g.Width; ++c) {
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                out[c] = (row[c >> 3] >> (7 - (c & 7))) & 1;
            } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
                out[c] = row[c] >= 128 ? 1 : 0; // embedded grey bitmaps are cut at half coverage
            }
        }
    }
    return g;
#endif
}

char32_t GlyphFont::NextCodePoint(std::string_view utf8, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > utf8.size()) {
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not characters.
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return cp;
}

std::string GlyphFont::MatchFontFile(const std::string& family, bool bold, bool italic, int& faceIndex) {
#if defined(ZK_GLYPH_TABLE)
    // The file the table's face was rendered from, for a family and style the table carries.
    faceIndex = 0;
    const glyphtable::Face* face = glyphtable::FindFamily(family, bold, italic);
    return face != nullptr ? face->FileName : std::string();
#else
    static std::mutex mutex;
    static std::map<std::tuple<std::string, bool, bool>, std::pair<std::string, int>> answers;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto key = std::make_tuple(family, bold, italic);
    if (const auto it = answers.find(key); it != answers.end()) {
        faceIndex = it->second.second;
        return it->second.first;
    }

    std::string file;
    int index = 0;
    if (FcPattern* pattern = FcPatternCreate()) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        // The program writes Russian; among stand-ins prefer a face with Cyrillic letters.
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ru"));
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        if (FcConfigSubstitute(nullptr, pattern, FcMatchPattern)) {
            FcDefaultSubstitute(pattern);
            FcResult result = FcResultNoMatch;
            if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
                FcChar8* path = nullptr;
                if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
                    file = reinterpret_cast<const char*>(path);
                    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) {
                        index = 0;
                    }
                }
                FcPatternDestroy(match);
            }
        }
        FcPatternDestroy(pattern);
    }
    answers.emplace(key, std::make_pair(file, index));
    faceIndex = index;
    return file;
#endif
}

} // namespace zk
