// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlyphTable.h"

#include <algorithm>

namespace zk::glyphtable {

const Face* FindFace(const std::string& family, std::int32_t pixelHeight, bool bold, bool italic) {
    for (std::size_t i = 0; i < kFaceCount; ++i) {
        const Face& f = kFaces[i];
        if (f.PixelHeight == pixelHeight && f.Bold == bold && f.Italic == italic && family == f.Family)
            return &f;
    }
    return nullptr;
}

const Face* FindFamily(const std::string& family, bool bold, bool italic) {
    for (std::size_t i = 0; i < kFaceCount; ++i) {
        const Face& f = kFaces[i];
        if (f.Bold == bold && f.Italic == italic && family == f.Family)
            return &f;
    }
    return nullptr;
}

const Glyph& GlyphOf(const Face& face, char32_t codePoint) {
    const Glyph* end = face.Glyphs + face.GlyphCount;
    const Glyph* g = std::lower_bound(face.Glyphs, end, codePoint,
                                      [](const Glyph& a, char32_t c) { return a.CodePoint < c; });
    return g != end && g->CodePoint == codePoint ? *g : face.Glyphs[face.Missing];
}

} // namespace zk::glyphtable
