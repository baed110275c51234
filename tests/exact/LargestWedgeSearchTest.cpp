// SPDX-License-Identifier: GPL-3.0-or-later
// The search for the construction's largest attached wedge on one polar gives what running Apply
// for every wedge gives: the same wedge, or the same fault, for gases and free streams across the
// whole range of the fields and for files that hold what no field allows.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "Errors.h"
#include "ShockComparison.h"

namespace {

struct Outcome {
    std::optional<std::int32_t> Wedge;
    std::string Fault;
    bool operator==(const Outcome&) const = default;
};

template <class Search> Outcome Run(Search search) {
    try {
        return {search(), {}};
    } catch (const zk::AppError& e) {
        return {std::nullopt, e.what()};
    }
}

void ExpectSameAsApply(double c1, double gamma, std::int32_t v1) {
    zk::FlowState gas;
    gas.SoundSpeed = c1;
    gas.Gamma = gamma;
    const Outcome fast = Run([&] { return zk::LargestAttachedWedge(gas, v1); });
    const Outcome byApply = Run([&] { return zk::LargestAttachedWedgeByApply(gas, v1); });
    EXPECT_EQ(fast.Wedge, byApply.Wedge) << "c1 " << c1 << ", γ " << gamma << ", V1 " << v1;
    EXPECT_EQ(fast.Fault, byApply.Fault) << "c1 " << c1 << ", γ " << gamma << ", V1 " << v1;
}

TEST(LargestWedgeSearch, ChosenGasesAndStreams) {
    const struct {
        double c1, gamma;
        std::vector<std::int32_t> v1;
    } rows[] = {
        // Air from just above c1 to the field's top; 2000..2100 m/s straddle the length from which
        // a sweep takes the shortcut instead of every sample.
        {340, 1.4, {355, 365, 400, 680, 1000, 2000, 2050, 2100, 3000, 10000, 123457, 999999, 1000000}},
        {340, 1.1, {365, 680, 5000, 1000000}},
        {340, 1.67, {365, 500, 680, 20000, 1000000}},
        {300, 1.3, {315, 1000, 77777}},
        {20, 1.4, {35, 365, 1000000}}, // M1 up to 50 000
        {340, 3.0, {680, 1000000}},    // χmax = arcsin(1/3) = 19.5°
        {340, 1.0, {680, 1000000}},    // the limit of no oblique shock
        {340, 0.9, {680}},             // arcsin of more than 1: Apply faults
        {340, 0.5, {680}},
        {340, 0.0, {680}},
        {340, -1.0, {680}}, // 2 / (γ + 1) divides by zero
        {0, 1.4, {680}},    // the Mach number divides by zero
        {-340, 1.4, {680}},
        {340.5, 1.4, {680}},     // a file's fractional c1
        {340, 1.4, {0, 1, 100}}, // a V1 below c1: no supersonic stream
    };
    for (const auto& row : rows)
        for (const std::int32_t v1 : row.v1)
            ExpectSameAsApply(row.c1, row.gamma, v1);
}

TEST(LargestWedgeSearch, RandomGasesAndStreams) {
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> soundSpeed(100, 1000), gammaTimes100(101, 300);
    std::uniform_real_distribution<double> logSpeed(0, 1);
    for (int n = 0; n < 25; ++n) {
        const double c1 = soundSpeed(random);
        const double gamma = gammaTimes100(random) / 100.0;
        // V1 from c1 + 15 to 10^6, spread evenly over its logarithm.
        const double low = std::log(c1 + 15), high = std::log(1e6);
        const auto v1 = static_cast<std::int32_t>(std::exp(low + (high - low) * logSpeed(random)));
        ExpectSameAsApply(c1, gamma, v1);
    }
}

} // namespace
