// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic environment of the program: 80-bit extended intermediates, doubles when stored,
// checked operations that raise the runtime's messages at the failing operation, rounding to
// integers and decimals, number texts and the program's single pseudo-random generator.
#include <cstdint>
#include <string>

#include "Errors.h"
#if defined(__EMSCRIPTEN__)
#include "Extended80Math.h"
#endif

namespace zk {

#if defined(__EMSCRIPTEN__)
// WebAssembly has no 80-bit type: the same type in software, bit for bit the hardware's in every
// basic operation, with the constants below stored as their hardware values.
using Extended = Extended80;
inline constexpr Extended Pi = Extended::FromBits(0x4000, 0xC90FDAA22168C235ull);
inline constexpr Extended HalfPi = Extended::FromBits(0x3FFF, 0xC90FDAA22168C235ull);
inline constexpr Extended OneDegree = Extended::FromBits(0x3FF9, 0x8EFA351294E9C8AEull);
inline constexpr Extended OneTenth = Extended::FromBits(0x3FFB, 0xCCCCCCCCCCCCCCCDull);
#else
using Extended = long double; // 64-bit significand on x86-64
static_assert(sizeof(long double) >= 10 && __LDBL_MANT_DIG__ == 64, "the numbers need the 80-bit extended type");

// Literal constants as extended values.
inline constexpr Extended Pi = 3.1415926535897932385L;
inline constexpr Extended HalfPi = 1.5707963267948966193L;
inline constexpr Extended OneDegree = 0.017453292519943295769L; // one degree in radians
inline constexpr Extended OneTenth = 0.1L;                      // the extended value nearest to 1/10
#endif

// Checked arithmetic.  Each raises FloatError with the runtime's message instead of producing an
// infinity or a not-a-number that later code could see.
Extended Div(Extended a, Extended b);  // a / b; b = 0 raises division by zero (0/0 invalid)
Extended Checked(Extended x);          // infinity -> overflow, NaN -> invalid operation
Extended Sqrt(Extended x);             // x < 0 -> invalid operation
Extended Sin(Extended x);              // 0 for |x| >= 2^63, as the processor gives up there
Extended Cos(Extended x);
Extended Tan(Extended x);
Extended ArcTan(Extended x);
Extended ArcTan2(Extended y, Extended x);
Extended ArcSin(Extended x);           // ArcTan2(x, Sqrt(1 - x*x))
Extended Exp(Extended x);
inline Extended Abs(Extended x) { return x < 0 ? -x : x; }

// Round to the nearest integer, ties to even; outside the 64-bit range: invalid operation.
std::int64_t Round(Extended x);
// Round kept to its low 32 bits, as when the result is stored into a 32-bit integer.
inline std::int32_t Round32(Extended x) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(Round(x))); }

// Round x to d decimals (d = -3: thousandths) with the factor held as a double.
double RoundDecimals(double x, std::int8_t d);

// The general number format with 15 significant digits and the given decimal separator.
std::string NumberText(Extended x, char decimalSeparator);
// Plain decimal text of an integer.
std::string IntegerText(std::int64_t n);

// The program's single pseudo-random generator; the seed starts at 0 and is never reseeded.
extern std::uint32_t RandomSeed;
// An integer in 0 .. n - 1; advances RandomSeed.
std::int32_t Random(std::int32_t n);

} // namespace zk
