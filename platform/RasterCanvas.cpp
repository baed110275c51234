#include "RasterCanvas.h"

#include <algorithm>
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

// A colour as stored in the buffer (0xFFRRGGBB), system colours looked up now.
std::uint32_t ToPixel(TColor c) {
    if ((c >> 24) == kSystemColourTag) {
        c = SystemColour(c & 0xFFu);
    }
    const std::uint32_t r = c & 0xFFu;
    const std::uint32_t g = (c >> 8) & 0xFFu;
    const std::uint32_t b = (c >> 16) & 0xFFu;
    return kOpaque | (r << 16) | (g << 8) | b;
}

TColor ToTColor(std::uint32_t pixel) {
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

RasterCanvas::RasterCanvas(std::int32_t width, std::int32_t height, const FontSpec& font)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kWhitePixel),
      fontSpec_(font),
      font_(std::make_unique<GlyphFont>(font.Family, font.PixelHeight, font.Bold, font.Italic, font.File)),
      penPixel_(ToPixel(pen_.Color)) {}

RasterCanvas::~RasterCanvas() = default;

TColor RasterCanvas::Pixel(std::int32_t x, std::int32_t y) const {
    if (!InSurface(x, y)) {
        return clWhite;
    }
    return ToTColor(pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x]);
}

std::int32_t RasterCanvas::TextWidth(const std::string& text) const {
    return font_->TextWidth(text);
}

std::int32_t RasterCanvas::TextHeight() const {
    return font_->LineHeight();
}

void RasterCanvas::Clear(TColor color) {
    std::fill(pixels_.begin(), pixels_.end(), ToPixel(color));
}

void RasterCanvas::SetPenColor(TColor color) {
    pen_.Color = color;
    penPixel_ = ToPixel(color);
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
    if (pen_.Width <= 1 && solid && InSurface(from.X, from.Y) && InSurface(x, y)) {
        // The common case of a polyline of short segments on the surface: the same steps as
        // ThinLine, with no clipping and no pattern.
        const std::int32_t dx = x - from.X;
        const std::int32_t dy = y - from.Y;
        const std::int32_t adx = dx < 0 ? -dx : dx;
        const std::int32_t ady = dy < 0 ? -dy : dy;
        const std::ptrdiff_t stepX = dx < 0 ? -1 : 1;
        const std::ptrdiff_t stepY = dy < 0 ? -static_cast<std::ptrdiff_t>(width_) : width_;
        const bool xMajor = adx >= ady;
        const std::int32_t n = xMajor ? adx : ady;
        const std::int32_t twoN = 2 * n;
        const std::int32_t twoDm = 2 * (xMajor ? ady : adx);
        const std::ptrdiff_t stepMajor = xMajor ? stepX : stepY;
        const std::ptrdiff_t stepMinor = xMajor ? stepY : stepX;
        std::uint32_t* p = pixels_.data() + static_cast<std::ptrdiff_t>(from.Y) * width_ + from.X;
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
    const std::ptrdiff_t stepY = dy < 0 ? -static_cast<std::ptrdiff_t>(width_) : width_;

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
        const std::int64_t aLimit = xMajor ? width_ : height_;
        const std::int64_t bLimit = xMajor ? height_ : width_;
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
        static_cast<std::ptrdiff_t>(startY) * width_ + static_cast<std::ptrdiff_t>(startX);
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

void RasterCanvas::WideLine(TPoint from, TPoint to) {
    // The pen is a disc of the pen's width swept along the segment: a band of that width
    // centred on the ideal line, with round ends so that the chords of an arc join smoothly.
    // For an even width the ideal line runs along pixel corners, so the band covers whole
    // pixels on both sides of it.  Each surface row is cut with the band, the two end discs
    // and the slab between the ends; the union of the cuts is one span.
    const double r = static_cast<double>(pen_.Width) / 2;
    const double shift = pen_.Width % 2 == 0 ? 0.5 : 0.0;
    const double ax = from.X + shift;
    const double ay = from.Y + shift;
    const double bx = to.X + shift;
    const double by = to.Y + shift;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double rLength = r * std::sqrt(length2);
    const double r2 = r * r;
    constexpr double kFar = 1.0e30;

    if (std::max(ax, bx) + r < 0 || std::min(ax, bx) - r > width_ - 1) {
        return;
    }
    const double top = std::max<double>(0, std::ceil(std::min(ay, by) - r));
    const double bottom = std::min<double>(height_ - 1, std::floor(std::max(ay, by) + r));
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
        const double right = std::min<double>(width_, std::floor(hi));
        if (left > right) {
            continue;
        }
        FillSpan(row, static_cast<std::int64_t>(left), static_cast<std::int64_t>(right), penPixel_);
    }
}

void RasterCanvas::FillSpan(std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pixel) {
    if (y < 0 || y >= height_) {
        return;
    }
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, width_ - 1);
    if (x0 > x1) {
        return;
    }
    std::uint32_t* row = pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_;
    std::fill(row + x0, row + x1 + 1, pixel);
}

void RasterCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const std::int64_t left = std::min(x1, x2);
    const std::int64_t right = std::max(x1, x2); // excluded
    const std::int64_t top = std::min(y1, y2);
    const std::int64_t bottom = std::max(y1, y2); // excluded
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
    const bool outlined = pen_.Style != TPenStyle::psClear;
    const std::int64_t penWidth = outlined ? std::max<std::int64_t>(1, pen_.Width) : 1;
    const std::int64_t evenShift = penWidth % 2 == 0 ? 1 : 0;
    const std::int64_t outerP = w - 1 + penWidth + evenShift;
    const std::int64_t outerQ = h - 1 + penWidth + evenShift;
    const std::int64_t innerP = w + 1 - penWidth + evenShift;
    const std::int64_t innerQ = h + 1 - penWidth + evenShift;
    const std::int64_t parityX = (w + 1) & 1;
    const std::int64_t centreX2 = left + right - 1;
    const std::int64_t centreY2 = top + bottom - 1;

    const std::int64_t rowFirst =
        std::max<std::int64_t>(0, static_cast<std::int64_t>(CeilDiv(centreY2 - outerQ, 2)));
    const std::int64_t rowLast =
        std::min<std::int64_t>(height_ - 1, static_cast<std::int64_t>(FloorDiv(centreY2 + outerQ, 2)));
    const auto toX = [&](std::int64_t xx) { return (xx + centreX2) / 2; };
    for (std::int64_t row = rowFirst; row <= rowLast; ++row) {
        const std::int64_t yy = 2 * row - centreY2;
        const std::int64_t outer = EllipseHalfSpan(outerP, outerQ, yy, parityX);
        if (outer < 0) {
            continue;
        }
        std::int64_t inner = -1; // half-span of the inside of the outline
        if (!outlined) {
            inner = outer;
        } else if (const std::int64_t here = EllipseHalfSpan(innerP, innerQ, yy, parityX); here >= 0) {
            inner = std::min({here - 2, EllipseHalfSpan(innerP, innerQ, yy - 2, parityX),
                              EllipseHalfSpan(innerP, innerQ, yy + 2, parityX)});
        }
        if (inner >= 0) {
            FillSpan(row, toX(-inner), toX(inner), kWhitePixel);
            if (outlined) {
                FillSpan(row, toX(-outer), toX(-inner - 2), penPixel_);
                FillSpan(row, toX(inner + 2), toX(outer), penPixel_);
            }
        } else {
            FillSpan(row, toX(-outer), toX(outer), penPixel_);
        }
    }
}

void RasterCanvas::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    const std::int64_t width = font_->TextWidth(text);
    const std::int64_t height = font_->LineHeight();
    const std::int64_t end = static_cast<std::int64_t>(x) + width;
    penPos_ = {static_cast<std::int32_t>(std::clamp<std::int64_t>(end, INT32_MIN, INT32_MAX)), y};

    // The opaque box first, then the glyphs over it.
    const std::int64_t boxTop = std::max<std::int64_t>(y, 0);
    const std::int64_t boxBottom = std::min<std::int64_t>(static_cast<std::int64_t>(y) + height, height_);
    if (width > 0) {
        for (std::int64_t row = boxTop; row < boxBottom; ++row) {
            FillSpan(row, x, end - 1, kWhitePixel);
        }
    }
    if (!font_->HasFace()) {
        return;
    }
    const std::uint32_t ink = ToPixel(fontSpec_.Color);
    const std::int64_t baseline = static_cast<std::int64_t>(y) + font_->Ascent();
    std::int64_t penX = x;
    for (std::size_t pos = 0; pos < text.size() && penX < width_;) {
        const GlyphFont::Glyph& g = font_->GlyphOf(GlyphFont::NextCodePoint(text, pos));
        const std::int64_t gx = penX + g.Left;
        const std::int64_t gy = baseline - g.Top;
        penX += g.Advance;
        if (gx + g.Width <= 0 || gx >= width_ || gy + g.Rows <= 0 || gy >= height_) {
            continue;
        }
        for (std::int32_t r = 0; r < g.Rows; ++r) {
            const std::int64_t py = gy + r;
            if (py < 0 || py >= height_) {
                continue;
            }
            const std::uint8_t* mask =
                g.Mask.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(g.Width);
            std::uint32_t* row = pixels_.data() + static_cast<std::ptrdiff_t>(py) * width_;
            for (std::int32_t c = 0; c < g.Width; ++c) {
                const std::int64_t px = gx + c;
                if (mask[c] != 0 && px >= 0 && px < width_) {
                    row[px] = ink;
                }
            }
        }
    }
}

void RasterCanvas::SetPixel(std::int32_t x, std::int32_t y, TColor color) {
    if (InSurface(x, y)) {
        pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x] = ToPixel(color);
    }
}

void RasterCanvas::FloodFill(std::int32_t x, std::int32_t y, TColor color, TFillStyle mode) {
    if (!InSurface(x, y)) {
        return;
    }
    // The colour is compared as given: a system colour is not looked up and so matches no pixel
    // (every stored pixel has an opaque top byte, so the target 0 never matches).
    const std::uint32_t target = (color >> 24) == 0 ? ToPixel(color) : 0;
    const bool border = mode == TFillStyle::fsBorder;
    const std::size_t w = static_cast<std::size_t>(width_);
    if (border && std::find(pixels_.begin(), pixels_.end(), target) == pixels_.end()) {
        // No pixel of the border colour anywhere: every pixel is reached, as when the diagram
        // clears its picture before each redraw.
        std::fill(pixels_.begin(), pixels_.end(), kWhitePixel);
        return;
    }
    fillVisited_.assign(w * static_cast<std::size_t>(height_), 0);
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
        if (next >= 0 && next < height_) {
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
            while (px < width_ && open(px, rowStart)) {
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
