// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zk {

std::uint32_t RandomSeed = 0;

namespace {

[[noreturn]] void RaiseFloat(const char* message) { throw FloatError(message); }

#if defined(__EMSCRIPTEN__)
constexpr Extended kTwoTo63 = Extended::FromBits(0x403E, 0x8000000000000000ull);
const Extended kLog2E = Extended::FromBits(0x3FFF, 0xB8AA3B295C17F0BCull); // the hardware's value of the literal below
#else
constexpr Extended kTwoTo63 = 9223372036854775808.0L;
constexpr Extended kLog2E = 1.4426950408889634074L;
#endif

} // namespace

Extended Checked(Extended x) {
    if (std::isnan(x))
        RaiseFloat(kInvalidOperation);
    if (std::isinf(x))
        RaiseFloat(kOverflow);
    return x;
}

Extended Div(Extended a, Extended b) {
    if (b == 0) {
        if (a == 0 || std::isnan(a))
            RaiseFloat(kInvalidOperation);
        RaiseFloat(kDivisionByZero);
    }
    return Checked(a / b);
}

Extended Sqrt(Extended x) {
    if (x < 0 || std::isnan(x))
        RaiseFloat(kInvalidOperation);
    return std::sqrt(x);
}

Extended Sin(Extended x) {
    if (!(Abs(Checked(x)) < kTwoTo63))
        return 0; // beyond the processor's argument reduction
    return std::sin(x);
}

Extended Cos(Extended x) {
    if (!(Abs(Checked(x)) < kTwoTo63))
        return 0;
    return std::cos(x);
}

Extended Tan(Extended x) {
    if (!(Abs(Checked(x)) < kTwoTo63))
        return 0;
    return Checked(std::tan(x));
}

Extended ArcTan(Extended x) { return std::atan2(Checked(x), 1.0L); }

Extended ArcTan2(Extended y, Extended x) { return std::atan2(Checked(y), Checked(x)); }

Extended ArcSin(Extended x) { return ArcTan2(x, Sqrt(1 - x * x)); }

Extended Exp(Extended x) {
    // 2^(x log2 e) as a whole power of two times 2 to the remaining fraction.
    const Extended power = Checked(x) * kLog2E;
    const Extended whole = std::nearbyint(power);
    const Extended fraction = power - whole;
    if (whole > 20000)
        RaiseFloat(kOverflow);
    if (whole < -20000)
        return 0;
    return Checked(std::ldexp(std::exp2(fraction), static_cast<int>(whole)));
}

std::int64_t Round(Extended x) {
    const Extended rounded = std::rint(Checked(x)); // ties to even under the default mode
    if (!(rounded >= -kTwoTo63 && rounded < kTwoTo63))
        RaiseFloat(kInvalidOperation);
    return static_cast<std::int64_t>(rounded);
}

double RoundDecimals(double x, std::int8_t d) {
    Extended power = 1;
    Extended base = 10;
    for (unsigned e = static_cast<unsigned>(d < 0 ? -d : d); e != 0; e >>= 1) {
        if (e & 1u)
            power *= base;
        base *= base;
    }
    const double factor = static_cast<double>(d < 0 ? 1 / power : power);
    const std::int64_t n = Round(Div(static_cast<Extended>(x), factor));
    return static_cast<double>(static_cast<Extended>(n) * factor);
}

std::string NumberText(Extended x, char decimalSeparator) {
    if (std::isnan(x))
        return "NAN";
    if (std::isinf(x))
        return x < 0 ? "-INF" : "INF";
    if (x == 0)
        return "0";
    const bool negative = x < 0;
    // 18 significant digits d1..d18 and the exponent E with |x| = 0.d1d2...d18 * 10^E.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", static_cast<long double>(Abs(x)));
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    int exponent = std::atoi(p + 1) + 1;

    // Round the digit string to 15 digits.
    const bool roundUp = digits[15] >= '5';
    digits.resize(15);
    if (roundUp) {
        int k = 14;
        while (k >= 0 && digits[k] == '9')
            digits[k--] = '0';
        if (k < 0) {
            digits.assign(1, '1');
            ++exponent;
        } else {
            ++digits[k];
        }
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent > 15 || exponent < -3) {
        text += digits[0];
        if (digits.size() > 1) {
            text += decimalSeparator;
            text += digits.substr(1);
        }
        text += 'E';
        text += std::to_string(exponent - 1);
    } else if (exponent <= 0) {
        text += '0';
        text += decimalSeparator;
        text += std::string(static_cast<std::size_t>(-exponent), '0');
        text += digits;
    } else {
        const auto e = static_cast<std::size_t>(exponent);
        if (digits.size() <= e) {
            text += digits;
            text += std::string(e - digits.size(), '0');
        } else {
            text += digits.substr(0, e);
            text += decimalSeparator;
            text += digits.substr(e);
        }
    }
    return text;
}

std::string IntegerText(std::int64_t n) { return std::to_string(n); }

std::int32_t Random(std::int32_t n) {
    RandomSeed = RandomSeed * 134775813u + 1u;
    const std::uint64_t product = static_cast<std::uint64_t>(RandomSeed) * static_cast<std::uint32_t>(n);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(product >> 32));
}

} // namespace zk
