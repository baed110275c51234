// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The x87 80-bit extended type in software, for processors without it (WebAssembly): a sign, a
// 15-bit exponent and a 64-bit significand with its integer bit, laid out as the hardware stores
// it.  Addition, subtraction, multiplication, division, square root, rounding to integers and the
// conversions round to nearest with ties to even at 64 bits, as the hardware does with its
// precision control at 64 bits, so they give the hardware's bits.  Results below the normal range
// (2^-16382), which the program never comes near, are flushed to zero.  The elementary functions
// are evaluated in a wider type where the platform has one (binary128 long double) and rounded.
#include <cstdint>

namespace zk {

class Extended80 {
public:
    constexpr Extended80() = default; // +0
    constexpr Extended80(int v) { SetInteger(v < 0, Magnitude(v)); }
    constexpr Extended80(long v) { SetInteger(v < 0, Magnitude(v)); }
    constexpr Extended80(long long v) { SetInteger(v < 0, Magnitude(v)); }
    constexpr Extended80(unsigned v) { SetInteger(false, v); }
    constexpr Extended80(unsigned long v) { SetInteger(false, v); }
    constexpr Extended80(unsigned long long v) { SetInteger(false, v); }
    constexpr Extended80(double v) { SetDouble(__builtin_bit_cast(std::uint64_t, v)); }
    // Rounded to nearest when long double is wider.
#if __LDBL_MANT_DIG__ == 113
    constexpr Extended80(long double v) { SetQuad(__builtin_bit_cast(unsigned __int128, v)); }
#else
    Extended80(long double v);
#endif

    // The stored form: sign and biased exponent (bias 16383), and the significand.
    static constexpr Extended80 FromBits(std::uint16_t signExponent, std::uint64_t significand) {
        Extended80 x;
        x.se_ = signExponent;
        x.sig_ = significand;
        return x;
    }
    constexpr std::uint16_t SignExponent() const { return se_; }
    constexpr std::uint64_t Significand() const { return sig_; }

    explicit operator double() const;
    explicit operator long double() const; // exact where long double holds 64 significant bits
    explicit operator float() const { return static_cast<float>(static_cast<double>(*this)); }
    // Truncated towards zero; beyond the 64-bit range the hardware's integer indefinite.
    explicit operator long long() const;
    explicit operator long() const { return static_cast<long>(static_cast<long long>(*this)); }
    explicit operator int() const { return static_cast<int>(static_cast<long long>(*this)); }
    explicit operator unsigned() const { return static_cast<unsigned>(static_cast<long long>(*this)); }
    explicit operator bool() const { return !IsZero(); }

    bool IsNaN() const { return (se_ & 0x7FFF) == 0x7FFF && sig_ != kIntegerBit; }
    bool IsInf() const { return (se_ & 0x7FFF) == 0x7FFF && sig_ == kIntegerBit; }
    bool IsFinite() const { return (se_ & 0x7FFF) != 0x7FFF; }
    bool IsZero() const { return (se_ & 0x7FFF) == 0 && sig_ == 0; }
    bool SignBit() const { return (se_ & 0x8000) != 0; }

    Extended80 operator-() const { return FromBits(static_cast<std::uint16_t>(se_ ^ 0x8000), sig_); }
    Extended80 operator+() const { return *this; }
    friend Extended80 operator+(const Extended80& a, const Extended80& b) { return FastAdd(a, b, false); }
    friend Extended80 operator-(const Extended80& a, const Extended80& b) { return FastAdd(a, b, true); }
    friend Extended80 operator*(const Extended80& a, const Extended80& b) { return FastMul(a, b); }
    friend Extended80 operator/(const Extended80& a, const Extended80& b) { return Div(a, b); }
    Extended80& operator+=(const Extended80& b) { return *this = *this + b; }
    Extended80& operator-=(const Extended80& b) { return *this = *this - b; }
    Extended80& operator*=(const Extended80& b) { return *this = *this * b; }
    Extended80& operator/=(const Extended80& b) { return *this = *this / b; }

    friend bool operator==(const Extended80& a, const Extended80& b) {
        if (a.se_ == b.se_ && a.sig_ == b.sig_ && (a.se_ & 0x7FFF) != 0x7FFF)
            return true;
        return Compare(a, b) == 0;
    }
    friend bool operator!=(const Extended80& a, const Extended80& b) { return Compare(a, b) != 0; }
    friend bool operator<(const Extended80& a, const Extended80& b) { return FastCompare(a, b) == -1; }
    friend bool operator>(const Extended80& a, const Extended80& b) { return FastCompare(a, b) == 1; }
    friend bool operator<=(const Extended80& a, const Extended80& b) {
        const int c = FastCompare(a, b);
        return c == -1 || c == 0;
    }
    friend bool operator>=(const Extended80& a, const Extended80& b) {
        const int c = FastCompare(a, b);
        return c == 1 || c == 0;
    }

    static Extended80 Sqrt(const Extended80& x);
    // To an integer, ties to even (the default rounding mode's rint and nearbyint).
    static Extended80 RoundToInteger(const Extended80& x);
    static Extended80 Floor(const Extended80& x);
    static Extended80 Ceil(const Extended80& x);
    static Extended80 Trunc(const Extended80& x);
    static Extended80 Ldexp(const Extended80& x, int e);
    static Extended80 NaN() { return FromBits(0x7FFF, 0xC000000000000000ull); }
    static Extended80 Infinity(bool negative) { return FromBits(negative ? 0xFFFF : 0x7FFF, kIntegerBit); }

private:
    static constexpr std::uint64_t kIntegerBit = 0x8000000000000000ull;

    using U128 = unsigned __int128;
    static constexpr int LeadingZeros(U128 v) {
        const auto hi = static_cast<std::uint64_t>(v >> 64);
        if (hi != 0)
            return __builtin_clzll(hi);
        const auto lo = static_cast<std::uint64_t>(v);
        return lo != 0 ? 64 + __builtin_clzll(lo) : 128;
    }
    // The value v * 2^(e - 16383 - 127) (v nonzero) rounded to 64 significant bits; below the
    // normal range it is flushed to zero.
    static constexpr Extended80 Pack(bool negative, int e, U128 v) {
        const int shift = LeadingZeros(v);
        v <<= shift;
        e -= shift;
        std::uint64_t hi = static_cast<std::uint64_t>(v >> 64);
        const auto lo = static_cast<std::uint64_t>(v);
        if (lo > kIntegerBit || (lo == kIntegerBit && (hi & 1) != 0)) {
            if (++hi == 0) {
                hi = kIntegerBit;
                ++e;
            }
        }
        const std::uint16_t sign = negative ? 0x8000 : 0;
        if (e >= 0x7FFF)
            return FromBits(static_cast<std::uint16_t>(sign | 0x7FFF), kIntegerBit);
        if (e <= 0)
            return FromBits(sign, 0);
        return FromBits(static_cast<std::uint16_t>(sign | e), hi);
    }
    constexpr void SetDouble(std::uint64_t bits) {
        const std::uint16_t sign = (bits >> 63) != 0 ? 0x8000 : 0;
        const int e = static_cast<int>((bits >> 52) & 0x7FF);
        const std::uint64_t mantissa = bits & 0xFFFFFFFFFFFFFull;
        se_ = sign;
        sig_ = 0;
        if (e == 0x7FF) {
            se_ = static_cast<std::uint16_t>(sign | 0x7FFF);
            sig_ = mantissa == 0 ? kIntegerBit : kIntegerBit | 0x4000000000000000ull | (mantissa << 11);
        } else if (e == 0) {
            if (mantissa != 0) {
                const int shift = __builtin_clzll(mantissa);
                se_ = static_cast<std::uint16_t>(sign | (16383 - 1022 - (shift - 11)));
                sig_ = mantissa << shift;
            }
        } else {
            se_ = static_cast<std::uint16_t>(sign | (e - 1023 + 16383));
            sig_ = kIntegerBit | (mantissa << 11);
        }
    }
    constexpr void SetQuad(U128 bits) {
        const bool negative = (bits >> 127) != 0;
        const int e = static_cast<int>((bits >> 112) & 0x7FFF);
        const U128 mantissa = bits & ((static_cast<U128>(1) << 112) - 1);
        if (e == 0x7FFF)
            *this = mantissa == 0 ? FromBits(negative ? 0xFFFF : 0x7FFF, kIntegerBit)
                                  : FromBits(0x7FFF, 0xC000000000000000ull);
        else if (e == 0)
            *this = FromBits(negative ? 0x8000 : 0, 0); // zero, or far below anything the program holds
        else // 113 significant bits placed at the top of 128
            *this = Pack(negative, e, ((static_cast<U128>(1) << 112) | mantissa) << 15);
    }
    static constexpr unsigned long long Magnitude(long long v) {
        return v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    }
    constexpr void SetInteger(bool negative, unsigned long long v) {
        const std::uint16_t sign = negative ? 0x8000 : 0;
        if (v == 0) {
            se_ = sign;
            sig_ = 0;
            return;
        }
        const int shift = __builtin_clzll(v);
        se_ = static_cast<std::uint16_t>(sign | (16383 + 63 - shift));
        sig_ = v << shift;
    }
    // Rounds hi (with the bits below it in lo, and whether anything nonzero lies below lo) to
    // nearest, ties to even, at biased exponent e.
    static Extended80 Round(bool negative, int e, std::uint64_t hi, std::uint64_t lo, bool sticky) {
        const bool guard = (lo >> 63) != 0;
        if (guard && (sticky || (lo << 1) != 0 || (hi & 1) != 0)) {
            if (++hi == 0) {
                hi = kIntegerBit;
                ++e;
            }
        }
        const std::uint16_t sign = negative ? 0x8000 : 0;
        if (e >= 0x7FFF)
            return FromBits(static_cast<std::uint16_t>(sign | 0x7FFF), kIntegerBit);
        if (e <= 0)
            return FromBits(sign, 0);
        return FromBits(static_cast<std::uint16_t>(sign | e), hi);
    }
    // The operations on two normal numbers, the case that matters for speed, done here; zeros,
    // infinities and not-a-numbers go the general way.
    static Extended80 FastAdd(const Extended80& a, const Extended80& b, bool subtract) {
        int ea = a.se_ & 0x7FFF, eb = b.se_ & 0x7FFF;
        if (static_cast<unsigned>(ea - 1) >= 0x7FFE || static_cast<unsigned>(eb - 1) >= 0x7FFE)
            return Add(a, b, subtract);
        bool na = (a.se_ >> 15) != 0, nb = ((b.se_ >> 15) != 0) != subtract;
        std::uint64_t xa = a.sig_, xb = b.sig_;
        if (ea < eb || (ea == eb && xa < xb)) {
            const int te = ea;
            ea = eb;
            eb = te;
            const std::uint64_t tx = xa;
            xa = xb;
            xb = tx;
            const bool tn = na;
            na = nb;
            nb = tn;
        }
        const int d = ea - eb;
        std::uint64_t shi, slo;
        bool sticky = false;
        if (d == 0) {
            shi = xb;
            slo = 0;
        } else if (d < 64) {
            shi = xb >> d;
            slo = xb << (64 - d);
        } else if (d == 64) {
            shi = 0;
            slo = xb;
        } else if (d < 128) {
            shi = 0;
            slo = xb >> (d - 64);
            sticky = (xb << (128 - d)) != 0;
        } else {
            shi = 0;
            slo = 0;
            sticky = true;
        }
        std::uint64_t hi, lo;
        if (na == nb) {
            lo = slo;
            hi = xa + shi;
            if (hi < xa) { // carried out: one place to the right
                sticky = sticky || (lo & 1) != 0;
                lo = (lo >> 1) | (hi << 63);
                hi = (hi >> 1) | kIntegerBit;
                ++ea;
            }
            return Round(na, ea, hi, lo, sticky);
        }
        // Subtracting a sticky remainder too leaves a fraction of (0, 1) below lo, still sticky.
        const std::uint64_t t = slo + (sticky ? 1 : 0);
        lo = 0 - t;
        hi = xa - shi - (t != 0 ? 1 : 0);
        if (hi == 0 && lo == 0 && !sticky)
            return FromBits(0, 0);
        if ((hi & kIntegerBit) == 0) {
            const int shift = hi != 0 ? __builtin_clzll(hi) : 64 + __builtin_clzll(lo);
            if (shift >= 64) {
                hi = lo << (shift - 64);
                lo = 0;
            } else {
                hi = (hi << shift) | (lo >> (64 - shift));
                lo <<= shift;
            }
            ea -= shift;
        }
        return Round(na, ea, hi, lo, sticky);
    }
    static Extended80 FastMul(const Extended80& a, const Extended80& b) {
        const int ea = a.se_ & 0x7FFF, eb = b.se_ & 0x7FFF;
        if (static_cast<unsigned>(ea - 1) >= 0x7FFE || static_cast<unsigned>(eb - 1) >= 0x7FFE)
            return Mul(a, b);
        const std::uint64_t a0 = a.sig_ & 0xFFFFFFFFu, a1 = a.sig_ >> 32;
        const std::uint64_t b0 = b.sig_ & 0xFFFFFFFFu, b1 = b.sig_ >> 32;
        const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
        std::uint64_t lo = (mid << 32) | (p00 & 0xFFFFFFFFu);
        std::uint64_t hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
        int e = ea + eb - 16383;
        if ((hi & kIntegerBit) != 0) {
            ++e;
        } else {
            hi = (hi << 1) | (lo >> 63);
            lo <<= 1;
        }
        return Round(((a.se_ ^ b.se_) & 0x8000) != 0, e, hi, lo, false);
    }
    // Two normal numbers order by sign, then by exponent and significand together.
    static int FastCompare(const Extended80& a, const Extended80& b) {
        const int ea = a.se_ & 0x7FFF, eb = b.se_ & 0x7FFF;
        if (ea == 0x7FFF || eb == 0x7FFF)
            return Compare(a, b);
        // Zero is the only value with exponent 0 here; it orders as the smallest magnitude.
        const bool za = ea == 0, zb = eb == 0;
        if (za || zb) {
            if (za && zb)
                return 0;
            if (za)
                return (b.se_ & 0x8000) != 0 ? 1 : -1;
            return (a.se_ & 0x8000) != 0 ? -1 : 1;
        }
        const bool na = (a.se_ & 0x8000) != 0;
        if (na != ((b.se_ & 0x8000) != 0))
            return na ? -1 : 1;
        const int magnitude = ea != eb ? (ea < eb ? -1 : 1) : a.sig_ != b.sig_ ? (a.sig_ < b.sig_ ? -1 : 1) : 0;
        return na ? -magnitude : magnitude;
    }
    static Extended80 Add(const Extended80& a, const Extended80& b, bool subtract);
    static Extended80 Mul(const Extended80& a, const Extended80& b);
    static Extended80 Div(const Extended80& a, const Extended80& b);
    // -1, 0, 1, or 2 when unordered.
    static int Compare(const Extended80& a, const Extended80& b);

    std::uint64_t sig_ = 0;
    std::uint16_t se_ = 0;
};

} // namespace zk
