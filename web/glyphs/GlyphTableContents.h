// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the glyph table holds: the canvas's one font at the device scales the page and the batch
// tool use, and the characters the pictures write (digits, Latin and Cyrillic letters, signs).
#include <cstdint>
#include <vector>

namespace zk::glyphtable {

inline constexpr const char* kFamily = "MS Sans Serif";
inline constexpr std::int32_t kPixelHeight = 11;
inline constexpr std::int32_t kMaxScale = 8; // the batch tool's --scale, and k = ceil(devicePixelRatio)
// A private-use character no face of ours has: its glyph is the face's missing-character glyph.
inline constexpr char32_t kMissingProbe = 0xE000;

inline std::vector<char32_t> CodePoints() {
    std::vector<char32_t> points;
    for (char32_t c = 0x20; c <= 0x7E; ++c)
        points.push_back(c);
    points.push_back(0xB0); // degree sign
    points.push_back(0x401); // Ё
    for (char32_t c = 0x410; c <= 0x44F; ++c)
        points.push_back(c);
    points.push_back(0x451); // ё
    points.push_back(0x3C6); // φ
    points.push_back(0x3C7); // χ
    points.push_back(0x2013); // en dash
    points.push_back(0x2212); // minus sign
    points.push_back(0xFFFD); // the replacement of a malformed sequence
    points.push_back(kMissingProbe);
    return points;
}

} // namespace zk::glyphtable
