// SPDX-License-Identifier: GPL-3.0-or-later
// The software extended type against the hardware's: every basic operation on the same operands
// must give the same bits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "Extended80.h"
#include "Numbers.h"

namespace {

using zk::Extended80;

struct Bits {
    std::uint16_t SignExponent;
    std::uint64_t Significand;
    bool operator==(const Bits&) const = default;
};

Bits Of(long double v) {
    unsigned char b[sizeof v] = {};
    std::memcpy(b, &v, sizeof v);
    Bits r{};
    std::memcpy(&r.Significand, b, 8);
    std::memcpy(&r.SignExponent, b + 8, 2);
    if ((r.SignExponent & 0x7FFF) == 0x7FFF && r.Significand != 0x8000000000000000ull)
        return {0x7FFF, 0}; // every NaN alike
    return r;
}

Bits Of(const Extended80& x) {
    if (x.IsNaN())
        return {0x7FFF, 0};
    return {x.SignExponent(), x.Significand()};
}

// Operands spread over many binades, with the neighbours of special values.
std::vector<long double> Operands() {
    std::vector<long double> v = {0.0L, -0.0L, 1.0L, -1.0L, 0.5L, 3.0L, 0.1L, 1e-30L, 1e30L, 340.0L, 1.4L,
                                  1e6L, 9223372036854775807.0L, std::numeric_limits<long double>::infinity(),
                                  -std::numeric_limits<long double>::infinity(),
                                  std::numeric_limits<long double>::quiet_NaN(), zk::Pi, zk::OneTenth};
    std::mt19937_64 random(20);
    for (int i = 0; i < 600; ++i) {
        const auto sig = random() | 0x8000000000000000ull;
        const int exponent = static_cast<int>(random() % 200) - 100;
        long double x = std::ldexp(static_cast<long double>(sig), exponent - 63);
        if (i % 3 == 0)
            x = std::ldexp(static_cast<long double>(random() % 2000000), static_cast<int>(random() % 5) - 2);
        v.push_back(random() % 2 ? -x : x);
        if (i % 10 == 0) // a neighbour, for cancellation down to the last bit
            v.push_back(std::nextafter(x, i % 20 == 0 ? 1e4000L : -1e4000L));
    }
    return v;
}

TEST(Extended80, ArithmeticGivesTheHardwaresBits) {
    const std::vector<long double> operands = Operands();
    int checked = 0;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        for (std::size_t j = i % 7; j < operands.size(); j += 7) {
            const long double a = operands[i], b = operands[j];
            const Extended80 x(a), y(b);
            ASSERT_EQ(Of(x + y), Of(a + b)) << a << " + " << b;
            ASSERT_EQ(Of(x - y), Of(a - b)) << a << " - " << b;
            ASSERT_EQ(Of(x * y), Of(a * b)) << a << " * " << b;
            ASSERT_EQ(Of(x / y), Of(a / b)) << a << " / " << b;
            ASSERT_EQ(x < y, a < b);
            ASSERT_EQ(x == y, a == b);
            ASSERT_EQ(x >= y, a >= b);
            ++checked;
        }
    }
    EXPECT_GT(checked, 50000);
}

TEST(Extended80, RoundingAndConversionsGiveTheHardwaresResults) {
    std::vector<long double> operands = Operands();
    for (long double t : {0.5L, 1.5L, 2.5L, -2.5L, -0.5L, 0.49999999999999999L, 4503599627370496.5L,
                          9007199254740993.0L, 1e-320L, 2.2250738585072014e-308L, 1.7976931348623157e308L,
                          1.7976931348623158e308L, 1e-310L})
        operands.push_back(t);
    for (const long double a : operands) {
        const Extended80 x(a);
        EXPECT_EQ(Of(Extended80::Sqrt(x)), Of(std::sqrt(a))) << a;
        EXPECT_EQ(Of(Extended80::RoundToInteger(x)), Of(std::rint(a))) << a;
        EXPECT_EQ(Of(Extended80::Floor(x)), Of(std::floor(a))) << a;
        EXPECT_EQ(Of(Extended80::Ceil(x)), Of(std::ceil(a))) << a;
        const double d = static_cast<double>(a);
        const double e = static_cast<double>(x);
        EXPECT_EQ(std::memcmp(&d, &e, sizeof d) == 0 || (std::isnan(d) && std::isnan(e)), true) << a;
        EXPECT_EQ(Of(Extended80(d)), Of(static_cast<long double>(d))) << d;
        if (std::isfinite(a) && std::fabs(a) < 9.2e18L) {
            EXPECT_EQ(static_cast<long long>(x), static_cast<long long>(a)) << a;
        }
    }
}

TEST(Extended80, IntegersAndStoredConstantsConvertExactly) {
    const struct {
        long double Hardware;
        Extended80 Software;
    } constants[] = {
        {3.1415926535897932385L, Extended80::FromBits(0x4000, 0xC90FDAA22168C235ull)},
        {1.5707963267948966193L, Extended80::FromBits(0x3FFF, 0xC90FDAA22168C235ull)},
        {0.017453292519943295769L, Extended80::FromBits(0x3FF9, 0x8EFA351294E9C8AEull)},
        {0.1L, Extended80::FromBits(0x3FFB, 0xCCCCCCCCCCCCCCCDull)},
        {1.4426950408889634074L, Extended80::FromBits(0x3FFF, 0xB8AA3B295C17F0BCull)},
        {9223372036854775808.0L, Extended80::FromBits(0x403E, 0x8000000000000000ull)},
    };
    for (const auto& c : constants)
        EXPECT_EQ(Of(c.Software), Of(c.Hardware));
    for (long long n : {0LL, 1LL, -1LL, 232LL, 1000000LL, -2147483648LL, 9200000000000000000LL,
                        static_cast<long long>(INT64_MIN), static_cast<long long>(INT64_MAX)})
        EXPECT_EQ(Of(Extended80(n)), Of(static_cast<long double>(n))) << n;
}

} // namespace
