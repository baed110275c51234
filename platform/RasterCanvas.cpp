// SPDX-License-Identifier: GPL-3.0-or-later
#include "RasterCanvas.h"

#include <algorithm>
#include <limits>
#include <cmath>

#include "GlyphFont.h"

namespace zk {

namespace {

using Int128 = __int128;

constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kWhitePixel = 0xFFFFFFFFu;
constexpr std::uint32_t kSystemColourTag = 0x80u;

// The classic desktop scheme for the few system colours a canvas may meet; windows text is black.
TColor SystemColour(std::uint32_t index) {
    switch (index) {
    case 5:  // window background
    case 14: // highlighted text
        return clWhite;
    case 15: // button face
        return 0xC0C0C0;
    case 16: // button shadow
    case 17: // grey text
        return 0x808080;
    case 13: // highlight
        return 0x800000;
    default: // window text (8), button text (18), captions, menus and the rest
        return clBlack;
    }
}

// A colour as stored in the buffer, system colours looked up now.  A TColor is 0x00BBGGRR, which
// is the R, G, B, 255 layout's word without its opaque top byte.
std::uint32_t ToPixel(TColor c, PixelLayout layout) {
    if ((c >> 24) == kSystemColourTag) {
        c = SystemColour(c & 0xFFu);
    }
    if (layout == PixelLayout::Rgba8888) {
        return kOpaque | (c & 0xFFFFFFu);
    }
    const std::uint32_t r = c & 0xFFu;
    const std::uint32_t g = (c >> 8) & 0xFFu;
    const std::uint32_t b = (c >> 16) & 0xFFu;
    return kOpaque | (r << 16) | (g << 8) | b;
}

TColor ToTColor(std::uint32_t pixel, PixelLayout layout) {
    if (layout == PixelLayout::Rgba8888) {
        return pixel & 0xFFFFFFu;
    }
    const std::uint32_t r = (pixel >> 16) & 0xFFu;
    const std::uint32_t g = (pixel >> 8) & 0xFFu;
    const std::uint32_t b = pixel & 0xFFu;
    return r | (g << 8) | (b << 16);
}

// Division rounding towards minus and plus infinity; the divisor is positive.
Int128 FloorDiv(Int128 a, Int128 b) {
    Int128 q = a / b;
    if (a % b != 0 && a < 0) {
        --q;
    }
    return q;
}

Int128 CeilDiv(Int128 a, Int128 b) {
    Int128 q = a / b;
    if (a % b != 0 && a > 0) {
        ++q;
    }
    return q;
}

// On/off pattern of a styled one-pixel pen: bit i tells whether pixel i of a period is inked.
struct DashPattern {
    std::uint32_t Mask;
    std::uint32_t Period; // pixels
};

DashPattern PatternOf(TPenStyle style) {
    switch (style) {
    case TPenStyle::psDash:
        return {0x3Fu, 10}; // 6 on, 4 off
    case TPenStyle::psDot:
        return {0x3u, 4}; // 2 on, 2 off
    case TPenStyle::psDashDot:
        return {0x63Fu, 14}; // 6 on, 3 off, 2 on, 3 off
    case TPenStyle::psDashDotDot:
        return {0xC63Fu, 19}; // 6 on, 3 off, 2 on, 3 off, 2 on, 3 off
    default:
        return {1u, 1}; // solid
    }
}

// Steps of a one-pixel line along its major axis, t = 0 .. n - 1.  The minor offset of step t
// is m(t) = floor((2 t dm + n) / 2n): t dm / n rounded to nearest, halves away from the start.
// From the first step onwards num holds (2 t dm + n) mod 2n.
template <bool Styled>
void StepLine(std::uint32_t* pixels, std::ptrdiff_t index, std::int64_t count, std::int64_t num,
              std::int64_t twoN, std::int64_t twoDm, std::ptrdiff_t stepMajor, std::ptrdiff_t stepMinor,
              std::uint32_t pixel, DashPattern pattern, std::uint32_t phase, bool forward) {
    for (std::int64_t i = 0; i < count; ++i) {
        if constexpr (Styled) {
            if ((pattern.Mask >> phase) & 1u) {
                pixels[index] = pixel;
            }
            if (forward) {
                if (++phase == pattern.Period) {
                    phase = 0;
                }
            } else {
                phase = phase == 0 ? pattern.Period - 1 : phase - 1;
            }
        } else {
            pixels[index] = pixel;
        }
        index += stepMajor;
        num += twoDm;
        if (num >= twoN) {
            num -= twoN;
            index += stepMinor;
        }
    }
}

// The largest X with X^2 Q^2 <= P^2 (Q^2 - Y^2), starting from an estimate off by at most a little.
template <typename Wide>
std::int64_t SettleHalfSpan(std::int64_t p, std::int64_t q, std::int64_t y, std::int64_t x) {
    const Wide q2 = static_cast<Wide>(q) * q;
    const Wide rhs = static_cast<Wide>(p) * p * (q2 - static_cast<Wide>(y) * y);
    while (x >= 0 && static_cast<Wide>(x) * x * q2 > rhs) {
        --x;
    }
    while (static_cast<Wide>(x + 1) * (x + 1) * q2 <= rhs) {
        ++x;
    }
    return x;
}

// The largest X >= 0 of the given parity with X^2 Q^2 <= P^2 (Q^2 - Y^2), or -1 when there is
// none: the half-width, in doubled coordinates, of row Y of the digital ellipse with doubled
// semi-axes P and Q centred on the origin.
std::int64_t EllipseHalfSpan(std::int64_t p, std::int64_t q, std::int64_t y, std::int64_t parity) {
    if (p <= 0 || q <= 0 || y > q || y < -q) {
        return -1;
    }
    const double ratio = static_cast<double>(y) / static_cast<double>(q);
    const double estimate = static_cast<double>(p) * std::sqrt(std::max(0.0, 1.0 - ratio * ratio));
    std::int64_t x = static_cast<std::int64_t>(std::floor(estimate));
    // Settle points on or next to the curve exactly, in integers wide enough for the products.
    if (p < (std::int64_t{1} << 15) && q < (std::int64_t{1} << 15)) {
        x = SettleHalfSpan<std::int64_t>(p, q, y, x); // products below 2^60
    } else if (p < (std::int64_t{1} << 31) && q < (std::int64_t{1} << 31)) {
        x = SettleHalfSpan<Int128>(p, q, y, x); // products below 2^124
    }
    if (x < 0) {
        return -1;
    }
    if ((x & 1) != parity) {
        --x;
    }
    return x;
}

} // namespace

RasterCanvas::RasterCanvas(std::int32_t width, std::int32_t height, const FontSpec& font, std::int32_t scale,
                           PixelLayout layout)
    : width_(std::max(0, width)), height_(std::max(0, height)), scale_(std::clamp(scale, 1, kMaxScale)),
      deviceWidth_(width_ * scale_), deviceHeight_(height_ * scale_), layout_(layout),
      pixels_(static_cast<std::size_t>(deviceWidth_) * static_cast<std::size_t>(deviceHeight_), kWhitePixel),
      fontSpec_(font),
      font_(std::make_unique<GlyphFont>(font.Family, font.PixelHeight, font.Bold, font.Italic, font.File)),
      penPixel_(ToPixel(pen_.Color, layout_)) {
    if (scale_ > 1) {
        deviceFont_ = std::make_unique<GlyphFont>(font.Family, font.PixelHeight * scale_, font.Bold,
                                                  font.Italic, font.File);
    }
}

RasterCanvas::~RasterCanvas() = default;

TColor RasterCanvas::Pixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return clWhite;
    }
    return DevicePixel(x * scale_, y * scale_);
}

TColor RasterCanvas::DevicePixel(std::int32_t dx, std::int32_t dy) const {
    if (!InSurface(dx, dy)) {
        return clWhite;
    }
    return ToTColor(pixels_[static_cast<std::size_t>(dy) * static_cast<std::size_t>(deviceWidth_) + dx], layout_);
}

std::int32_t RasterCanvas::TextWidth(const std::string& text) const {
    return font_->TextWidth(text);
}

std::int32_t RasterCanvas::TextHeight() const {
    return font_->LineHeight();
}

void RasterCanvas::Clear(TColor color) {
    std::fill(pixels_.begin(), pixels_.end(), ToPixel(color, layout_));
}

void RasterCanvas::SetPenColor(TColor color) {
    pen_.Color = color;
    penPixel_ = ToPixel(color, layout_);
}

void RasterCanvas::SetPenWidth(std::int32_t width) {
    if (width >= 0) {
        pen_.Width = width;
    }
}

void RasterCanvas::SetPenStyle(TPenStyle style) {
    pen_.Style = style;
}

void RasterCanvas::MoveTo(std::int32_t x, std::int32_t y) {
    penPos_ = {x, y};
}

void RasterCanvas::LineTo(std::int32_t x, std::int32_t y) {
    const TPoint from = penPos_;
    const TPoint to{x, y};
    penPos_ = to;
    if (from == to || pen_.Style == TPenStyle::psClear) {
        return;
    }
    const bool solid = pen_.Style == TPenStyle::psSolid || pen_.Style == TPenStyle::psInsideFrame;
    if (scale_ > 1) {
        if (pen_.Width <= 1) {
            ScaledThinLine(from, to);
        } else {
            WideLine(from, to);
        }
        return;
    }
    if (pen_.Width <= 1 && solid && InSurface(from.X, from.Y) && InSurface(x, y)) {
        // The common case of a polyline of short segments on the surface: the same steps as
        // ThinLine, with no clipping and no pattern.
        const std::int32_t dx = x - from.X;
        const std::int32_t dy = y - from.Y;
        const std::int32_t adx = dx < 0 ? -dx : dx;
        const std::int32_t ady = dy < 0 ? -dy : dy;
        const std::ptrdiff_t stepX = dx < 0 ? -1 : 1;
        const std::ptrdiff_t stepY = dy < 0 ? -static_cast<std::ptrdiff_t>(deviceWidth_) : deviceWidth_;
        const bool xMajor = adx >= ady;
        const std::int32_t n = xMajor ? adx : ady;
        const std::int32_t twoN = 2 * n;
        const std::int32_t twoDm = 2 * (xMajor ? ady : adx);
        const std::ptrdiff_t stepMajor = xMajor ? stepX : stepY;
        const std::ptrdiff_t stepMinor = xMajor ? stepY : stepX;
        std::uint32_t* p = pixels_.data() + static_cast<std::ptrdiff_t>(from.Y) * deviceWidth_ + from.X;
        const std::uint32_t pixel = penPixel_;
        std::int32_t num = n;
        for (std::int32_t i = 0; i < n; ++i) {
            *p = pixel;
            p += stepMajor;
            num += twoDm;
            if (num >= twoN) {
                num -= twoN;
                p += stepMinor;
            }
        }
        return;
    }
    if (pen_.Width <= 1) {
        ThinLine(from, to);
    } else {
        WideLine(from, to);
    }
}

void RasterCanvas::ThinLine(TPoint from, TPoint to) {
    const std::int64_t x0 = from.X;
    const std::int64_t y0 = from.Y;
    const std::int64_t dx = static_cast<std::int64_t>(to.X) - x0;
    const std::int64_t dy = static_cast<std::int64_t>(to.Y) - y0;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    const bool xMajor = adx >= ady;
    const std::int64_t n = xMajor ? adx : ady; // pixels drawn: all but the end one
    const std::int64_t dm = xMajor ? ady : adx;
    const std::ptrdiff_t stepX = dx < 0 ? -1 : 1;
    const std::ptrdiff_t stepY = dy < 0 ? -static_cast<std::ptrdiff_t>(deviceWidth_) : deviceWidth_;

    const bool styled = pen_.Style != TPenStyle::psSolid && pen_.Style != TPenStyle::psInsideFrame;
    const DashPattern pattern = PatternOf(pen_.Style);

    std::int64_t first = 0;    // first step drawn
    std::int64_t last = n - 1; // last step drawn
    std::int64_t num = n;      // (2 first dm + n) mod 2n
    std::int64_t startX = x0;
    std::int64_t startY = y0;
    if (!(InSurface(x0, y0) && InSurface(to.X, to.Y))) {
        // Clip mathematically: find the steps whose pixels lie on the surface, so a line that
        // runs far outside costs no more than its visible part.
        const std::int64_t a0 = xMajor ? x0 : y0;
        const std::int64_t b0 = xMajor ? y0 : x0;
        const bool aUp = (xMajor ? dx : dy) >= 0;
        const bool bUp = (xMajor ? dy : dx) >= 0;
        const std::int64_t aLimit = xMajor ? deviceWidth_ : deviceHeight_;
        const std::int64_t bLimit = xMajor ? deviceHeight_ : deviceWidth_;
        Int128 lo = 0;
        Int128 hi = n - 1;
        if (aUp) {
            lo = std::max<Int128>(lo, -a0);
            hi = std::min<Int128>(hi, aLimit - 1 - a0);
        } else {
            lo = std::max<Int128>(lo, a0 - (aLimit - 1));
            hi = std::min<Int128>(hi, a0);
        }
        // The minor offset m(t) >= 0 grows with t; it must keep b on the surface.
        std::int64_t mLo = bUp ? -b0 : b0 - (bLimit - 1);
        const std::int64_t mHi = bUp ? bLimit - 1 - b0 : b0;
        mLo = std::max<std::int64_t>(mLo, 0);
        if (mHi < mLo || lo > hi) {
            return;
        }
        const Int128 twoN = static_cast<Int128>(2) * n;
        const Int128 twoDm = static_cast<Int128>(2) * dm;
        if (dm == 0) {
            if (mLo > 0) {
                return;
            }
        } else {
            lo = std::max(lo, CeilDiv(twoN * mLo - n, twoDm));
            hi = std::min(hi, FloorDiv(twoN * (static_cast<Int128>(mHi) + 1) - n - 1, twoDm));
        }
        if (lo > hi) {
            return;
        }
        first = static_cast<std::int64_t>(lo);
        last = static_cast<std::int64_t>(hi);
        const Int128 numerator = twoDm * first + n;
        const std::int64_t m0 = static_cast<std::int64_t>(numerator / twoN);
        num = static_cast<std::int64_t>(numerator % twoN);
        const std::int64_t a = aUp ? a0 + first : a0 - first;
        const std::int64_t b = bUp ? b0 + m0 : b0 - m0;
        startX = xMajor ? a : b;
        startY = xMajor ? b : a;
    }

    const std::ptrdiff_t index =
        static_cast<std::ptrdiff_t>(startY) * deviceWidth_ + static_cast<std::ptrdiff_t>(startX);
    const std::ptrdiff_t stepMajor = xMajor ? stepX : stepY;
    const std::ptrdiff_t stepMinor = xMajor ? stepY : stepX;
    const std::int64_t count = last - first + 1;
    if (styled) {
        // The dashes are laid on the surface's grid: a pixel is inked by its column (lines nearer
        // the horizontal) or its row (nearer the vertical), so a line drawn in many short pieces,
        // in any order, is inked exactly like the same pixels drawn at once.
        const std::int64_t major = xMajor ? startX : startY;
        const std::int64_t period = pattern.Period;
        const auto phase = static_cast<std::uint32_t>(((major % period) + period) % period);
        const bool forward = (xMajor ? dx : dy) >= 0;
        StepLine<true>(pixels_.data(), index, count, num, 2 * n, 2 * dm, stepMajor, stepMinor, penPixel_,
                       pattern, phase, forward);
    } else {
        StepLine<false>(pixels_.data(), index, count, num, 2 * n, 2 * dm, stepMajor, stepMinor, penPixel_,
                        pattern, 0, true);
    }
}

void RasterCanvas::ScaledThinLine(TPoint from, TPoint to) {
    // A one-pixel pen at device scale k: the band k device pixels thick, across the major axis,
    // about the ideal line through the centres of the two end pixels.  Along the major axis it
    // covers the start pixel's block and stops where the end pixel's block begins, as a
    // one-pixel line draws its start pixel and not its end one.  Worked in doubled device
    // coordinates, where the centre of logical pixel x is 2 k x + k - 1 and that of device
    // pixel a is 2 a, so every position is a whole number and the rounding is exact.
    const std::int64_t k = scale_;
    const std::int64_t dx = static_cast<std::int64_t>(to.X) - from.X;
    const std::int64_t dy = static_cast<std::int64_t>(to.Y) - from.Y;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const std::int64_t major0 = xMajor ? from.X : from.Y; // logical
    const std::int64_t major1 = xMajor ? to.X : to.Y;
    const std::int64_t minor0 = xMajor ? from.Y : from.X;
    const std::int64_t minor1 = xMajor ? to.Y : to.X;
    const std::int64_t majorLimit = xMajor ? deviceWidth_ : deviceHeight_;
    const std::int64_t minorLimit = xMajor ? deviceHeight_ : deviceWidth_;

    // The device rows (or columns) a along the major axis: the start block on, the end block off.
    std::int64_t aFirst = major1 > major0 ? k * major0 : k * major1 + k;
    std::int64_t aLast = major1 > major0 ? k * major1 - 1 : k * major0 + k - 1;
    aFirst = std::max<std::int64_t>(aFirst, 0);
    aLast = std::min<std::int64_t>(aLast, majorLimit - 1);
    if (aFirst > aLast) {
        return;
    }

    // The band's first minor pixel at device a is ceil((M(a) - k) / 2), with the ideal line's
    // doubled minor coordinate M(a) = B0 + (2 a - A0) DB / DA.  As one fraction over 2 |DA|:
    // num(a) = (B0 - k) |DA| + (2 a - A0) DB sign(DA).
    const Int128 a0 = 2 * k * major0 + k - 1;
    const Int128 b0 = 2 * k * minor0 + k - 1;
    Int128 da = 2 * k * (major1 - major0);
    Int128 db = 2 * k * (minor1 - minor0);
    if (da < 0) {
        da = -da;
        db = -db;
    }
    const Int128 den = 2 * da;
    const Int128 num = (b0 - k) * da + (2 * static_cast<Int128>(aFirst) - a0) * db;
    auto first = static_cast<std::int64_t>(CeilDiv(num, den));
    // first den - num, kept in 0 .. den - 1 as num grows by 2 DB per device step
    auto rest = static_cast<std::int64_t>(static_cast<Int128>(first) * den - num);
    const auto denominator = static_cast<std::int64_t>(den);
    const auto step = static_cast<std::int64_t>(2 * db); // |step| <= den: the major axis is the longer

    const bool styled = pen_.Style != TPenStyle::psSolid && pen_.Style != TPenStyle::psInsideFrame;
    const DashPattern pattern = PatternOf(pen_.Style);
    for (std::int64_t a = aFirst; a <= aLast; ++a) {
        // Dashes k times as long, laid on the logical grid as at scale 1 (a is on the surface,
        // so never negative).
        const bool inked =
            !styled || ((pattern.Mask >> static_cast<std::uint32_t>((a / k) % pattern.Period)) & 1u);
        if (inked && first < minorLimit && first + k > 0) {
            if (xMajor) {
                FillColumn(a, first, first + k - 1, penPixel_);
            } else {
                FillSpan(a, first, first + k - 1, penPixel_);
            }
        }
        if (step >= 0) {
            rest -= step;
            if (rest < 0) {
                rest += denominator;
                ++first;
            }
        } else {
            rest -= step;
            if (rest >= denominator) {
                rest -= denominator;
                --first;
            }
        }
    }
}

void RasterCanvas::FillColumn(std::int64_t x, std::int64_t y0, std::int64_t y1, std::uint32_t pixel) {
    if (x < 0 || x >= deviceWidth_) {
        return;
    }
    y0 = std::max<std::int64_t>(y0, 0);
    y1 = std::min<std::int64_t>(y1, deviceHeight_ - 1);
    for (std::int64_t y = y0; y <= y1; ++y) {
        pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(deviceWidth_) +
                static_cast<std::size_t>(x)] = pixel;
    }
}

void RasterCanvas::WideLine(TPoint from, TPoint to) {
    // The pen is a disc of the pen's width swept along the segment: a band of that width
    // centred on the ideal line, with round ends so that the chords of an arc join smoothly.
    // For an even width the ideal line runs along pixel corners, so the band covers whole
    // pixels on both sides of it.  Each surface row is cut with the band, the two end discs
    // and the slab between the ends; the union of the cuts is one span.
    // At a device scale k the band and the discs are k times as wide, about the device
    // position of the logical line: logical pixel x has its centre at device x k + (k - 1) / 2.
    const double k = scale_;
    const double r = static_cast<double>(pen_.Width) * k / 2;
    const double shift = (pen_.Width % 2 == 0 ? 0.5 : 0.0) * k + (k - 1) / 2;
    const double ax = from.X * k + shift;
    const double ay = from.Y * k + shift;
    const double bx = to.X * k + shift;
    const double by = to.Y * k + shift;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double rLength = r * std::sqrt(length2);
    const double r2 = r * r;
    constexpr double kFar = 1.0e30;

    if (std::max(ax, bx) + r < 0 || std::min(ax, bx) - r > deviceWidth_ - 1) {
        return;
    }
    const double top = std::max<double>(0, std::ceil(std::min(ay, by) - r));
    const double bottom = std::min<double>(deviceHeight_ - 1, std::floor(std::max(ay, by) + r));
    if (top > bottom) {
        return;
    }
    const auto rowFirst = static_cast<std::int64_t>(top);
    const auto rowLast = static_cast<std::int64_t>(bottom);
    for (std::int64_t row = rowFirst; row <= rowLast; ++row) {
        const double py = static_cast<double>(row);
        double lo = kFar;
        double hi = -kFar;
        const auto addDisc = [&](double cx, double cy) {
            const double ey = py - cy;
            const double rest = r2 - ey * ey;
            if (rest >= 0) {
                const double s = std::sqrt(rest);
                lo = std::min(lo, cx - s);
                hi = std::max(hi, cx + s);
            }
        };
        addDisc(ax, ay);
        addDisc(bx, by);

        // Band: |dx (py - ay) - dy (px - ax)| <= r |d|.
        double bandLo = -kFar;
        double bandHi = kFar;
        const double c = dx * (py - ay);
        if (dy == 0) {
            if (std::fabs(c) > rLength) {
                bandLo = kFar;
                bandHi = -kFar;
            }
        } else {
            const double u = ax + (c - rLength) / dy;
            const double v = ax + (c + rLength) / dy;
            bandLo = std::min(u, v);
            bandHi = std::max(u, v);
        }
        // Slab: 0 <= dx (px - ax) + dy (py - ay) <= |d|^2.
        double slabLo = -kFar;
        double slabHi = kFar;
        const double e = dy * (py - ay);
        if (dx == 0) {
            if (e < 0 || e > length2) {
                slabLo = kFar;
                slabHi = -kFar;
            }
        } else {
            const double u = ax - e / dx;
            const double v = ax + (length2 - e) / dx;
            slabLo = std::min(u, v);
            slabHi = std::max(u, v);
        }
        const double midLo = std::max(bandLo, slabLo);
        const double midHi = std::min(bandHi, slabHi);
        if (midLo <= midHi) {
            lo = std::min(lo, midLo);
            hi = std::max(hi, midHi);
        }
        if (lo > hi) {
            continue;
        }
        // Pixel centres lie on whole coordinates; cut to the surface before converting.
        const double left = std::max<double>(-1, std::ceil(lo));
        const double right = std::min<double>(deviceWidth_, std::floor(hi));
        if (left > right) {
            continue;
        }
        FillSpan(row, static_cast<std::int64_t>(left), static_cast<std::int64_t>(right), penPixel_);
    }
}

void RasterCanvas::FillSpan(std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pixel) {
    if (y < 0 || y >= deviceHeight_) {
        return;
    }
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, deviceWidth_ - 1);
    if (x0 > x1) {
        return;
    }
    std::uint32_t* row = pixels_.data() + static_cast<std::ptrdiff_t>(y) * deviceWidth_;
    std::fill(row + x0, row + x1 + 1, pixel);
}

void RasterCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const std::int64_t k = scale_;
    const std::int64_t left = k * std::min(x1, x2);
    const std::int64_t right = k * std::max(x1, x2); // excluded
    const std::int64_t top = k * std::min(y1, y2);
    const std::int64_t bottom = k * std::max(y1, y2); // excluded
    const std::int64_t w = right - left;
    const std::int64_t h = bottom - top;
    if (w == 0 || h == 0) {
        return; // an empty rectangle holds no ellipse
    }
    // Doubled coordinates relative to the centre of the covered pixels: X = 2x - (left + right - 1),
    // so that every half-pixel is a whole number.  The ideal outline has doubled semi-axes w - 1
    // and h - 1 through the centres of the outermost pixels.  The pen covers the digital ellipse
    // grown by half the pen's width outwards, less the interior of the one grown by
    // 1 - width / 2; at width 1 that is the one-pixel boundary of the filled ellipse, and at any
    // width the outline stays closed.  The interior it leaves takes the brush.
    // An even pen width would put the ends of both axes exactly on pixel centres, each of
    // which would then stick out as a lone pixel; half a pixel outwards, like the band of an
    // even-width line, avoids that.
    // At a device scale k the rectangle is the scaled one and the outline is grown k times as
    // far: outwards by k (width - 1 + shift) / 2 device pixels beyond the rectangle's edges and
    // k width device pixels thick, so that at k = 1 it is exactly the outline above.
    const bool outlined = pen_.Style != TPenStyle::psClear;
    const std::int64_t penWidth = outlined ? std::max<std::int64_t>(1, pen_.Width) : 1; // logical
    EllipseShape& shape = ellipseShape_;
    if (shape.W == w && shape.H == h && shape.PenWidth == penWidth && shape.Outlined == outlined) {
        DrawEllipseShape(left, top); // the runs of the last small ellipse, moved here
        return;
    }
    const std::int64_t evenShift = penWidth % 2 == 0 ? 1 : 0;
    const std::int64_t outerP = w + k * (penWidth - 1 + evenShift);
    const std::int64_t outerQ = h + k * (penWidth - 1 + evenShift);
    const std::int64_t innerP = w + 2 - k * (penWidth + 1 - evenShift);
    const std::int64_t innerQ = h + 2 - k * (penWidth + 1 - evenShift);
    const std::int64_t parityX = (w + 1) & 1;
    const std::int64_t centreX2 = left + right - 1;
    const std::int64_t centreY2 = top + bottom - 1;

    // The half-spans of each row depend only on the rectangle's size and the pen, so the shape of
    // the last small ellipse is kept: the particle window draws thousands of the same dot.
    const std::int64_t dFirst = static_cast<std::int64_t>(CeilDiv(h - 1 - outerQ, 2)); // rows from top
    const std::int64_t dLast = static_cast<std::int64_t>(FloorDiv(h - 1 + outerQ, 2));
    const bool small = dLast - dFirst < kEllipseShapeRows;
    const auto halfSpans = [&](std::int64_t yy) {
        const std::int64_t outer = EllipseHalfSpan(outerP, outerQ, yy, parityX);
        std::int64_t inner = -1; // half-span of the inside of the outline
        if (outer < 0) {
            return EllipseRow{outer, inner};
        }
        if (!outlined) {
            inner = outer;
        } else if (const std::int64_t here = EllipseHalfSpan(innerP, innerQ, yy, parityX); here >= 0) {
            inner = std::min({here - 2, EllipseHalfSpan(innerP, innerQ, yy - 2, parityX),
                              EllipseHalfSpan(innerP, innerQ, yy + 2, parityX)});
        }
        return EllipseRow{outer, inner};
    };
    // The runs of one row in doubled coordinates: the inside in the brush's white, the outline on
    // either side of it in the pen's colour.
    const auto rowRuns = [&](const EllipseRow& spans, const auto& run) {
        if (spans.Outer < 0) {
            return;
        }
        if (spans.Inner >= 0) {
            run(-spans.Inner, spans.Inner, false);
            if (outlined) {
                run(-spans.Outer, -spans.Inner - 2, true);
                run(spans.Inner + 2, spans.Outer, true);
            }
        } else {
            run(-spans.Outer, spans.Outer, true);
        }
    };
    if (small) {
        shape.W = w;
        shape.H = h;
        shape.PenWidth = penWidth;
        shape.Outlined = outlined;
        // Doubled coordinate xx lies at column left + (xx + w - 1) / 2: xx has the parity of
        // w + 1, so the division is exact and the runs move with the rectangle.
        shape.Spans.clear();
        shape.Top = shape.Left = std::numeric_limits<std::int64_t>::max();
        shape.Bottom = shape.Right = std::numeric_limits<std::int64_t>::min();
        for (std::int64_t d = dFirst; d <= dLast; ++d) {
            rowRuns(halfSpans(2 * d - (h - 1)), [&](std::int64_t from, std::int64_t to, bool pen) {
                const std::int64_t first = (from + w - 1) / 2;
                const std::int64_t last = (to + w - 1) / 2;
                if (first > last) {
                    return;
                }
                shape.Spans.push_back({static_cast<std::int32_t>(d), static_cast<std::int32_t>(first),
                                       static_cast<std::int32_t>(last), pen});
                shape.Top = std::min(shape.Top, d);
                shape.Bottom = std::max(shape.Bottom, d);
                shape.Left = std::min(shape.Left, first);
                shape.Right = std::max(shape.Right, last);
            });
        }
        DrawEllipseShape(left, top);
        return;
    }

    const std::int64_t rowFirst = std::max<std::int64_t>(0, top + dFirst);
    const std::int64_t rowLast = std::min<std::int64_t>(deviceHeight_ - 1, top + dLast);
    const auto toX = [&](std::int64_t xx) { return (xx + centreX2) / 2; };
    for (std::int64_t row = rowFirst; row <= rowLast; ++row) {
        rowRuns(halfSpans(2 * row - centreY2), [&](std::int64_t from, std::int64_t to, bool pen) {
            FillSpan(row, toX(from), toX(to), pen ? penPixel_ : kWhitePixel);
        });
    }
}

void RasterCanvas::DrawEllipseShape(std::int64_t left, std::int64_t top) {
    const EllipseShape& shape = ellipseShape_;
    if (shape.Spans.empty()) {
        return; // its box is empty too
    }
    if (top + shape.Top >= 0 && top + shape.Bottom < deviceHeight_ && left + shape.Left >= 0 &&
        left + shape.Right < deviceWidth_) {
        // Wholly on the surface: no run needs cutting.
        std::uint32_t* origin = pixels_.data() + static_cast<std::ptrdiff_t>(top) * deviceWidth_ + left;
        for (const EllipseShape::Span& span : shape.Spans) {
            std::uint32_t* row = origin + static_cast<std::ptrdiff_t>(span.Row) * deviceWidth_;
            const std::uint32_t pixel = span.Pen ? penPixel_ : kWhitePixel;
            for (std::int32_t x = span.First; x <= span.Last; ++x) {
                row[x] = pixel;
            }
        }
        return;
    }
    for (const EllipseShape::Span& span : shape.Spans) {
        FillSpan(top + span.Row, left + span.First, left + span.Last, span.Pen ? penPixel_ : kWhitePixel);
    }
}

void RasterCanvas::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    const std::int64_t width = font_->TextWidth(text);
    const std::int64_t height = font_->LineHeight();
    const std::int64_t end = static_cast<std::int64_t>(x) + width;
    penPos_ = {static_cast<std::int32_t>(std::clamp<std::int64_t>(end, INT32_MIN, INT32_MAX)), y};

    // The opaque box first, then the glyphs over it; at a device scale k the box is the scaled
    // logical box.
    const std::int64_t k = scale_;
    const std::int64_t boxTop = std::max<std::int64_t>(k * y, 0);
    const std::int64_t boxBottom =
        std::min<std::int64_t>(k * (static_cast<std::int64_t>(y) + height), deviceHeight_);
    if (width > 0) {
        for (std::int64_t row = boxTop; row < boxBottom; ++row) {
            FillSpan(row, k * x, k * end - 1, kWhitePixel);
        }
    }
    const GlyphFont& glyphs = deviceFont_ ? *deviceFont_ : *font_;
    if (!glyphs.HasFace()) {
        return;
    }
    const std::uint32_t ink = ToPixel(fontSpec_.Color, layout_);
    // Each glyph stands where its logical counterpart stands, on the logical baseline, so the
    // text keeps its box and its place whatever the hinting at the larger size does.
    const std::int64_t baseline = k * (static_cast<std::int64_t>(y) + font_->Ascent());
    std::int64_t logicalX = x;
    for (std::size_t pos = 0; pos < text.size() && k * logicalX < deviceWidth_;) {
        const char32_t codePoint = GlyphFont::NextCodePoint(text, pos);
        const GlyphFont::Glyph& g = glyphs.GlyphOf(codePoint);
        const std::int64_t gx = k * logicalX + g.Left;
        const std::int64_t gy = baseline - g.Top;
        logicalX += deviceFont_ ? font_->GlyphOf(codePoint).Advance : g.Advance;
        if (gx + g.Width <= 0 || gx >= deviceWidth_ || gy + g.Rows <= 0 || gy >= deviceHeight_) {
            continue;
        }
        for (std::int32_t r = 0; r < g.Rows; ++r) {
            const std::int64_t py = gy + r;
            if (py < 0 || py >= deviceHeight_) {
                continue;
            }
            const std::uint8_t* mask =
                g.Mask.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(g.Width);
            std::uint32_t* row = pixels_.data() + static_cast<std::ptrdiff_t>(py) * deviceWidth_;
            for (std::int32_t c = 0; c < g.Width; ++c) {
                const std::int64_t px = gx + c;
                if (mask[c] != 0 && px >= 0 && px < deviceWidth_) {
                    row[px] = ink;
                }
            }
        }
    }
}

void RasterCanvas::SetPixel(std::int32_t x, std::int32_t y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    const std::int64_t k = scale_;
    const std::uint32_t pixel = ToPixel(color, layout_);
    for (std::int64_t row = k * y; row < k * (y + 1); ++row) {
        FillSpan(row, k * x, k * (x + 1) - 1, pixel);
    }
}

void RasterCanvas::FloodFill(std::int32_t seedX, std::int32_t seedY, TColor color, TFillStyle mode) {
    if (seedX < 0 || seedY < 0 || seedX >= width_ || seedY >= height_) {
        return;
    }
    // The fill runs on device pixels from the top-left device pixel of the seed's block.
    const std::int32_t x = seedX * scale_;
    const std::int32_t y = seedY * scale_;
    // The colour is compared as given: a system colour is not looked up and so matches no pixel
    // (every stored pixel has an opaque top byte, so the target 0 never matches).
    const std::uint32_t target = (color >> 24) == 0 ? ToPixel(color, layout_) : 0;
    const bool border = mode == TFillStyle::fsBorder;
    const std::size_t w = static_cast<std::size_t>(deviceWidth_);
    if (border && std::find(pixels_.begin(), pixels_.end(), target) == pixels_.end()) {
        // No pixel of the border colour anywhere: every pixel is reached, as when the diagram
        // clears its picture before each redraw.
        std::fill(pixels_.begin(), pixels_.end(), kWhitePixel);
        return;
    }
    fillVisited_.assign(w * static_cast<std::size_t>(deviceHeight_), 0);
    fillStack_.clear();
    std::uint32_t* const pixels = pixels_.data();
    std::uint8_t* const visited = fillVisited_.data();
    // Whether a pixel belongs to the region and has not been taken yet.  The brush may well have
    // the region's colour, so taken pixels are told by their mark, not by their colour.
    const auto open = [&](std::int32_t px, std::size_t rowStart) {
        const std::size_t i = rowStart + static_cast<std::size_t>(px);
        return visited[i] == 0 && ((pixels[i] == target) != border);
    };
    const auto take = [&](std::int32_t px, std::size_t rowStart) {
        const std::size_t i = rowStart + static_cast<std::size_t>(px);
        visited[i] = 1;
        pixels[i] = kWhitePixel;
    };
    const auto push = [&](std::int32_t row, std::int32_t left, std::int32_t right, std::int32_t dy) {
        const std::int32_t next = row + dy;
        if (next >= 0 && next < deviceHeight_) {
            fillStack_.push_back({row, left, right, dy});
        }
    };
    if (!open(x, static_cast<std::size_t>(y) * w)) {
        return;
    }

    // Scanline fill: each popped run of a filled row leads to the open runs touching it in the
    // next row, which are filled whole and pushed in turn, both onwards and, where they stick
    // out beyond the run they came from, back.
    push(y, x, x, 1);
    push(y + 1, x, x, -1);
    while (!fillStack_.empty()) {
        const FillRun run = fillStack_.back();
        fillStack_.pop_back();
        const std::int32_t row = run.Y + run.Dy;
        const std::int32_t dy = run.Dy;
        const std::size_t rowStart = static_cast<std::size_t>(row) * w;
        std::int32_t px = run.Left;
        while (px >= 0 && open(px, rowStart)) {
            take(px, rowStart);
            --px;
        }
        std::int32_t left = px + 1;
        bool reached = px < run.Left; // the pixel next to the run's left end was open
        if (reached) {
            if (left < run.Left) {
                push(row, left, run.Left - 1, -dy); // it reaches out beyond the run on the left
            }
            px = run.Left + 1;
        } else {
            // The pixel next to the run's left end is closed: look for the first open one.
            for (++px; px <= run.Right && !open(px, rowStart); ++px) {
            }
            left = px;
        }
        while (reached || px <= run.Right) {
            reached = false;
            while (px < deviceWidth_ && open(px, rowStart)) {
                take(px, rowStart);
                ++px;
            }
            push(row, left, px - 1, dy);
            if (px > run.Right + 1) {
                push(row, run.Right + 1, px - 1, -dy); // it reaches out on the right
            }
            for (++px; px <= run.Right && !open(px, rowStart); ++px) {
            }
            left = px;
        }
    }
}

void RasterCanvas::Refresh() {
    // The pen, brush and font are applied afresh by every drawing call; nothing is held to release.
}

} // namespace zk
