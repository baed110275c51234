// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers the canvas tests share: counting and comparing pixels.
#include <cstdint>
#include <vector>

#include "RasterCanvas.h"

namespace zk::test {

inline std::vector<std::uint32_t> PixelsOf(const RasterCanvas& c) {
    return {c.Bits(), c.Bits() + static_cast<std::size_t>(c.Width()) * static_cast<std::size_t>(c.Height())};
}

inline int CountColour(const RasterCanvas& c, TColor colour) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            n += c.Pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

inline int CountNotWhite(const RasterCanvas& c) {
    return c.Width() * c.Height() - CountColour(c, clWhite);
}

// A deterministic pseudo-random sequence, so failures can be replayed.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    // A whole number in [lo, hi].
    std::int32_t Next(std::int32_t lo, std::int32_t hi) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
        return static_cast<std::int32_t>(lo + static_cast<std::int64_t>((state_ >> 33) % span));
    }

private:
    std::uint64_t state_;
};

} // namespace zk::test
