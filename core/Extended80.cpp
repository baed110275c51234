// SPDX-License-Identifier: GPL-3.0-or-later
#include "Extended80.h"

#include <cmath>
#include <cstring>

namespace zk {

namespace {

using U128 = unsigned __int128;

constexpr int kBias = 16383;
constexpr int kMaxExponent = 0x7FFF;
constexpr std::uint64_t kTop = 0x8000000000000000ull;

// The 128-bit product of two 64-bit numbers, without a library call.
U128 Product(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    const std::uint64_t lo = (mid << 32) | (p00 & 0xFFFFFFFFu);
    const std::uint64_t hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
    return (static_cast<U128>(hi) << 64) | lo;
}

double ToDouble(U128 v) {
    return static_cast<double>(static_cast<std::uint64_t>(v >> 64)) * 18446744073709551616.0 +
           static_cast<double>(static_cast<std::uint64_t>(v));
}

// (u1 * 2^64 + u0) / v for v with its top bit set and u1 < v, in two steps of 32-bit digits
// (long division as in Knuth's algorithm D); the remainder goes to r.
std::uint64_t Divide(std::uint64_t u1, std::uint64_t u0, std::uint64_t v, std::uint64_t& r) {
    constexpr std::uint64_t b = 1ull << 32;
    const std::uint64_t vn1 = v >> 32, vn0 = v & 0xFFFFFFFFu;
    const std::uint64_t un1 = u0 >> 32, un0 = u0 & 0xFFFFFFFFu;
    std::uint64_t q1 = u1 / vn1;
    std::uint64_t rhat = u1 - q1 * vn1;
    while (q1 >= b || q1 * vn0 > b * rhat + un1) {
        --q1;
        rhat += vn1;
        if (rhat >= b)
            break;
    }
    const std::uint64_t un21 = u1 * b + un1 - q1 * v;
    std::uint64_t q0 = un21 / vn1;
    rhat = un21 - q0 * vn1;
    while (q0 >= b || q0 * vn0 > b * rhat + un0) {
        --q0;
        rhat += vn1;
        if (rhat >= b)
            break;
    }
    r = un21 * b + un0 - q0 * v;
    return q1 * b + q0;
}

struct Parts {
    bool Negative;
    int E; // biased exponent
    std::uint64_t Sig;
};

Parts Split(const Extended80& x) {
    return {x.SignBit(), x.SignExponent() & 0x7FFF, x.Significand()};
}

} // namespace

#if __LDBL_MANT_DIG__ != 113
Extended80::Extended80(long double v) {
#if __LDBL_MANT_DIG__ == 64
    unsigned char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    std::memcpy(&sig_, bytes, 8);
    std::memcpy(&se_, bytes + 8, 2);
#else
    *this = Extended80(static_cast<double>(v));
#endif
}
#endif

Extended80::operator double() const {
    const Parts p = Split(*this);
    const std::uint64_t sign = p.Negative ? 1ull << 63 : 0;
    double out;
    std::uint64_t bits;
    if (p.E == kMaxExponent) {
        bits = sign | 0x7FF0000000000000ull | (p.Sig == kTop ? 0 : 0x8000000000000ull | ((p.Sig << 1) >> 12));
    } else if (p.Sig == 0) {
        bits = sign;
    } else {
        int e = p.E - kBias; // the value is 1.f * 2^e
        // Bits to drop below the double's last place: 11, more for a subnormal result.
        const int drop = 11 + (e < -1022 ? -1022 - e : 0);
        std::uint64_t kept;
        bool up;
        if (drop >= 65) {
            kept = 0;
            up = false;
        } else {
            const U128 v = static_cast<U128>(p.Sig) << 64 >> drop; // kept bits above, the rest below
            kept = static_cast<std::uint64_t>(v >> 64);
            const auto rest = static_cast<std::uint64_t>(v); // exact: a shift by at most 64 loses nothing
            up = rest > kTop || (rest == kTop && (kept & 1) != 0);
        }
        if (up)
            ++kept;
        if (e < -1022) {
            // Subnormal, or the smallest normal when rounding carried into bit 52.
            bits = sign | kept;
        } else {
            if (kept == (1ull << 53)) {
                kept >>= 1;
                ++e;
            }
            if (e > 1023)
                bits = sign | 0x7FF0000000000000ull;
            else
                bits = sign | (static_cast<std::uint64_t>(e + 1023) << 52) | (kept & 0xFFFFFFFFFFFFFull);
        }
    }
    std::memcpy(&out, &bits, sizeof out);
    return out;
}

Extended80::operator long double() const {
#if __LDBL_MANT_DIG__ == 64
    long double v = 0;
    unsigned char bytes[sizeof v] = {};
    std::memcpy(bytes, &sig_, 8);
    std::memcpy(bytes + 8, &se_, 2);
    std::memcpy(&v, bytes, sizeof v);
    return v;
#elif __LDBL_MANT_DIG__ == 113
    const Parts p = Split(*this);
    U128 bits = static_cast<U128>(p.Negative ? 1 : 0) << 127;
    if (p.E == kMaxExponent) {
        bits |= static_cast<U128>(0x7FFF) << 112;
        if (p.Sig != kTop)
            bits |= static_cast<U128>(1) << 111;
    } else if (p.Sig != 0) {
        bits |= static_cast<U128>(p.E) << 112;
        bits |= static_cast<U128>(p.Sig & ~kTop) << 49;
    }
    long double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
#else
    return static_cast<double>(*this);
#endif
}

Extended80::operator long long() const {
    const Parts p = Split(*this);
    if (p.E == kMaxExponent)
        return INT64_MIN;
    if (p.Sig == 0 || p.E < kBias)
        return 0;
    const int e = p.E - kBias;
    if (e >= 63) {
        // Only -2^63 itself fits.
        return INT64_MIN;
    }
    const std::uint64_t magnitude = p.Sig >> (63 - e);
    return p.Negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
}

int Extended80::Compare(const Extended80& a, const Extended80& b) {
    if (a.IsNaN() || b.IsNaN())
        return 2;
    if (a.IsZero() && b.IsZero())
        return 0;
    if (a.SignBit() != b.SignBit())
        return a.SignBit() ? -1 : 1;
    const int ea = a.se_ & 0x7FFF, eb = b.se_ & 0x7FFF;
    int magnitude = 0;
    if (ea != eb)
        magnitude = ea < eb ? -1 : 1;
    else if (a.sig_ != b.sig_)
        magnitude = a.sig_ < b.sig_ ? -1 : 1;
    return a.SignBit() ? -magnitude : magnitude;
}

Extended80 Extended80::Add(const Extended80& a, const Extended80& bIn, bool subtract) {
    const Extended80 b = subtract ? -bIn : bIn;
    if (a.IsNaN() || b.IsNaN())
        return NaN();
    if (a.IsInf() || b.IsInf()) {
        if (a.IsInf() && b.IsInf() && a.SignBit() != b.SignBit())
            return NaN();
        return a.IsInf() ? a : b;
    }
    if (b.IsZero()) {
        if (a.IsZero())
            return FromBits(a.SignBit() && b.SignBit() ? 0x8000 : 0, 0);
        return a;
    }
    if (a.IsZero())
        return b;
    Parts x = Split(a), y = Split(b);
    if (x.E < y.E || (x.E == y.E && x.Sig < y.Sig)) {
        const Parts t = x;
        x = y;
        y = t;
    }
    const int d = x.E - y.E;
    const U128 big = static_cast<U128>(x.Sig) << 63; // top bit at 126: a sum cannot overflow
    U128 small = static_cast<U128>(y.Sig) << 63;
    if (d >= 128) {
        small = 1; // only its stickiness is left
    } else if (d > 0) {
        const bool sticky = (small << (128 - d)) != 0;
        small = (small >> d) | (sticky ? 1 : 0);
    }
    if (x.Negative == y.Negative)
        return Pack(x.Negative, x.E + 1, big + small);
    const U128 difference = big - small;
    if (difference == 0)
        return FromBits(0, 0);
    return Pack(x.Negative, x.E + 1, difference);
}

Extended80 Extended80::Mul(const Extended80& a, const Extended80& b) {
    const bool negative = a.SignBit() != b.SignBit();
    if (a.IsNaN() || b.IsNaN())
        return NaN();
    if (a.IsInf() || b.IsInf()) {
        if (a.IsZero() || b.IsZero())
            return NaN();
        return Infinity(negative);
    }
    if (a.IsZero() || b.IsZero())
        return FromBits(negative ? 0x8000 : 0, 0);
    const Parts x = Split(a), y = Split(b);
    return Pack(negative, x.E + y.E - kBias + 1, static_cast<U128>(x.Sig) * y.Sig);
}

Extended80 Extended80::Div(const Extended80& a, const Extended80& b) {
    const bool negative = a.SignBit() != b.SignBit();
    if (a.IsNaN() || b.IsNaN())
        return NaN();
    if (a.IsInf())
        return b.IsInf() ? NaN() : Infinity(negative);
    if (b.IsInf())
        return FromBits(negative ? 0x8000 : 0, 0);
    if (b.IsZero())
        return a.IsZero() ? NaN() : Infinity(negative);
    if (a.IsZero())
        return FromBits(negative ? 0x8000 : 0, 0);
    const Parts x = Split(a), y = Split(b);
    // Two steps of long division by the 64-bit divisor give 127 or 128 quotient bits.
    std::uint64_t r1 = 0, r2 = 0;
    std::uint64_t hi = Divide(x.Sig >> 1, x.Sig << 63, y.Sig, r1);
    std::uint64_t lo = Divide(r1, 0, y.Sig, r2);
    int e = x.E - y.E + kBias;
    if ((hi & kTop) == 0) {
        hi = (hi << 1) | (lo >> 63);
        lo <<= 1;
        --e;
    }
    return Round(negative, e, hi, lo, r2 != 0);
}

Extended80 Extended80::Sqrt(const Extended80& x) {
    if (x.IsNaN())
        return NaN();
    if (x.IsZero())
        return x;
    if (x.SignBit())
        return NaN();
    if (x.IsInf())
        return x;
    const Parts p = Split(x);
    // x = Sig * 2^k; M = Sig * 2^s with k - s even and M in [2^126, 2^128).
    const int k = p.E - kBias - 63;
    const int s = ((k - 63) % 2 == 0) ? 63 : 64;
    const U128 m = s == 63 ? (static_cast<U128>(p.Sig >> 1) << 64) | (p.Sig << 63) : static_cast<U128>(p.Sig) << 64;
    const double estimate = std::sqrt(std::ldexp(static_cast<double>(p.Sig), s));
    std::uint64_t r = estimate >= 18446744073709551615.0 ? ~0ull : static_cast<std::uint64_t>(estimate);
    if (r < kTop)
        r = kTop;
    // The double's root is off by some thousand units; one Newton step, its small correction
    // (m - r^2) / 2r reckoned in doubles, leaves a unit or two, settled by hand.
    const U128 square = Product(r, r);
    const double residual = square <= m ? ToDouble(m - square) : -ToDouble(square - m);
    const double correction = std::nearbyint(residual / (2.0 * static_cast<double>(r)));
    const double corrected = static_cast<double>(r) + correction;
    if (corrected >= 18446744073709551615.0)
        r = ~0ull;
    else if (corrected <= 9223372036854775808.0)
        r = kTop;
    else
        r = correction >= 0 ? r + static_cast<std::uint64_t>(correction) : r - static_cast<std::uint64_t>(-correction);
    while (Product(r, r) > m)
        --r;
    while (r != ~0ull && Product(r + 1, r + 1) <= m)
        ++r;
    const U128 remainder = m - Product(r, r);
    const int e = (k - s) / 2 + 63 + kBias; // r * 2^((k - s) / 2)
    if (remainder > r) {
        // Above the midpoint: round up (the square root is never exactly on it).
        if (r == ~0ull)
            return FromBits(static_cast<std::uint16_t>(e + 1), kTop);
        ++r;
    }
    return FromBits(static_cast<std::uint16_t>(e), r);
}

namespace {

enum class Direction { Nearest, Down, Up, Zero };

Extended80 ToInteger(const Extended80& x, Direction direction) {
    if (!x.IsFinite() || x.IsZero())
        return x;
    const bool negative = x.SignBit();
    const int e = (x.SignExponent() & 0x7FFF) - kBias;
    if (e >= 63)
        return x; // no fraction bits
    const std::uint64_t sig = x.Significand();
    std::uint64_t whole;
    bool fraction, half, aboveHalf;
    if (e < 0) {
        whole = 0;
        fraction = true;
        half = e == -1 && sig == kTop;
        aboveHalf = e == -1 && sig > kTop;
    } else {
        const int bits = 63 - e;
        whole = sig >> bits;
        const std::uint64_t rest = bits == 0 ? 0 : sig << (64 - bits);
        fraction = rest != 0;
        half = rest == kTop;
        aboveHalf = rest > kTop;
    }
    bool up = false; // away from zero
    switch (direction) {
    case Direction::Nearest: up = aboveHalf || (half && (whole & 1) != 0); break;
    case Direction::Down: up = negative && fraction; break;
    case Direction::Up: up = !negative && fraction; break;
    case Direction::Zero: break;
    }
    if (up)
        ++whole; // e < 63, so no overflow
    if (whole == 0)
        return Extended80::FromBits(negative ? 0x8000 : 0, 0);
    const Extended80 magnitude(static_cast<unsigned long long>(whole));
    return negative ? -magnitude : magnitude;
}

} // namespace

Extended80 Extended80::RoundToInteger(const Extended80& x) { return ToInteger(x, Direction::Nearest); }
Extended80 Extended80::Floor(const Extended80& x) { return ToInteger(x, Direction::Down); }
Extended80 Extended80::Ceil(const Extended80& x) { return ToInteger(x, Direction::Up); }
Extended80 Extended80::Trunc(const Extended80& x) { return ToInteger(x, Direction::Zero); }

Extended80 Extended80::Ldexp(const Extended80& x, int e) {
    if (!x.IsFinite() || x.IsZero())
        return x;
    const Parts p = Split(x);
    const long long biased = static_cast<long long>(p.E) + e;
    if (biased >= kMaxExponent)
        return Infinity(p.Negative);
    if (biased <= 0)
        return FromBits(p.Negative ? 0x8000 : 0, 0);
    return FromBits(static_cast<std::uint16_t>((p.Negative ? 0x8000 : 0) | biased), p.Sig);
}

} // namespace zk
