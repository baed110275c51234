// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The <cmath> functions the program calls on its extended values, for the software extended type,
// so that the same expressions compile where that type stands in for the hardware's.  Square
// root and rounding are exact; the elementary functions are evaluated in long double (binary128
// where this is used) and rounded to 64 significant bits.
#include <cmath>

#include "Extended80.h"

namespace std {

inline bool isnan(const zk::Extended80& x) { return x.IsNaN(); }
inline bool isinf(const zk::Extended80& x) { return x.IsInf(); }
inline bool isfinite(const zk::Extended80& x) { return x.IsFinite(); }
inline bool signbit(const zk::Extended80& x) { return x.SignBit(); }
inline zk::Extended80 abs(const zk::Extended80& x) { return x.SignBit() ? -x : x; }
inline zk::Extended80 fabs(const zk::Extended80& x) { return x.SignBit() ? -x : x; }
inline zk::Extended80 sqrt(const zk::Extended80& x) { return zk::Extended80::Sqrt(x); }
inline zk::Extended80 rint(const zk::Extended80& x) { return zk::Extended80::RoundToInteger(x); }
inline zk::Extended80 nearbyint(const zk::Extended80& x) { return zk::Extended80::RoundToInteger(x); }
inline zk::Extended80 floor(const zk::Extended80& x) { return zk::Extended80::Floor(x); }
inline zk::Extended80 ceil(const zk::Extended80& x) { return zk::Extended80::Ceil(x); }
inline zk::Extended80 trunc(const zk::Extended80& x) { return zk::Extended80::Trunc(x); }
inline zk::Extended80 ldexp(const zk::Extended80& x, int e) { return zk::Extended80::Ldexp(x, e); }
inline zk::Extended80 sin(const zk::Extended80& x) { return zk::Extended80(std::sin(static_cast<long double>(x))); }
inline zk::Extended80 cos(const zk::Extended80& x) { return zk::Extended80(std::cos(static_cast<long double>(x))); }
inline zk::Extended80 tan(const zk::Extended80& x) { return zk::Extended80(std::tan(static_cast<long double>(x))); }
inline zk::Extended80 atan(const zk::Extended80& x) { return zk::Extended80(std::atan(static_cast<long double>(x))); }
inline zk::Extended80 atan2(const zk::Extended80& y, const zk::Extended80& x) {
    return zk::Extended80(std::atan2(static_cast<long double>(y), static_cast<long double>(x)));
}
inline zk::Extended80 exp2(const zk::Extended80& x) { return zk::Extended80(std::exp2(static_cast<long double>(x))); }
inline zk::Extended80 exp(const zk::Extended80& x) { return zk::Extended80(std::exp(static_cast<long double>(x))); }

} // namespace std
