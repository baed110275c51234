// SPDX-License-Identifier: GPL-3.0-or-later
// zk_glyph_table: renders the glyphs of GlyphTableContents.h with the canvas's FreeType path and
// writes them as the C++ source of the web edition's glyph table.
//   zk_glyph_table FILE          write the table to FILE
//   zk_glyph_table --check FILE  exit status 1, naming the first difference, when FILE is not
//                                what this machine's fonts render
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "GlyphFont.h"
#include "GlyphTableContents.h"

namespace {

using zk::GlyphFont;
namespace table = zk::glyphtable;

std::string Table() {
    std::vector<char32_t> points = table::CodePoints();
    std::sort(points.begin(), points.end());
    const auto missing = static_cast<std::size_t>(std::find(points.begin(), points.end(), table::kMissingProbe) -
                                                  points.begin());
    std::ostringstream faces, glyphs, bits;
    std::vector<bool> stream;
    for (std::int32_t k = 1; k <= table::kMaxScale; ++k) {
        const GlyphFont font(table::kFamily, table::kPixelHeight * k, false, false);
        if (!font.HasFace())
            throw std::runtime_error(std::string("no font file for ") + table::kFamily);
        const std::string file = font.FileName().substr(font.FileName().find_last_of('/') + 1);
        glyphs << "const Glyph kGlyphs" << k << "[] = {\n";
        for (char32_t c : points) {
            const GlyphFont::Glyph& g = font.GlyphOf(c);
            glyphs << "    {0x" << std::hex << static_cast<std::uint32_t>(c) << std::dec << ", " << g.Left << ", "
                   << g.Top << ", " << g.Width << ", " << g.Rows << ", " << g.Advance << ", " << stream.size()
                   << "},\n";
            for (std::uint8_t m : g.Mask)
                stream.push_back(m != 0);
            while (stream.size() % 8 != 0) // each mask starts on a byte
                stream.push_back(false);
        }
        glyphs << "};\n\n";
        faces << "    {\"" << table::kFamily << "\", " << font.PixelHeight() << ", false, false, " << font.Ascent()
              << ", " << font.LineHeight() << ", \"" << file << "\", kGlyphs" << k << ", " << points.size() << ", "
              << missing << "},\n";
    }
    bits << "const std::uint8_t kBits[] = {";
    for (std::size_t i = 0; i < stream.size(); i += 8) {
        unsigned byte = 0;
        for (std::size_t b = 0; b < 8; ++b)
            byte = byte << 1 | (stream[i + b] ? 1u : 0u);
        bits << (i % 160 == 0 ? "\n    " : " ") << byte << ',';
    }
    bits << "\n};\n";

    std::ostringstream out;
    out << "// SPDX-License-Identifier: GPL-3.0-or-later\n"
           "// Written by zk_glyph_table from the desktop's fonts; do not edit.  Regenerate with\n"
           "//   build/zk_glyph_table web/glyphs/GlyphTableData.cpp\n"
           "#include \"GlyphTable.h\"\n\n"
           "namespace zk::glyphtable {\n\nnamespace {\n\n"
        << glyphs.str() << "} // namespace\n\n"
        << bits.str() << "\nconst Face kFaces[] = {\n"
        << faces.str() << "};\n\nconst std::size_t kFaceCount = " << table::kMaxScale
        << ";\n\n} // namespace zk::glyphtable\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::cerr << "usage: zk_glyph_table [--check] FILE\n";
        return 2;
    }
    const std::string path = argv[argc - 1];
    std::string text;
    try {
        text = Table();
    } catch (const std::exception& e) {
        std::cerr << "zk_glyph_table: " << e.what() << '\n';
        return 2;
    }
    if (!check) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << text;
        return file.flush() ? 0 : 2;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream stored;
    stored << file.rdbuf();
    const std::string old = stored.str();
    if (old == text)
        return 0;
    std::size_t at = 0;
    while (at < old.size() && at < text.size() && old[at] == text[at])
        ++at;
    const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n') + 1;
    std::cerr << path << " differs from what FreeType renders on this machine, from line " << line
              << "; regenerate it with zk_glyph_table " << path << '\n';
    return 1;
}
