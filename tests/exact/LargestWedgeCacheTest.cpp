// SPDX-License-Identifier: GPL-3.0-or-later
// The cache of the construction's largest attached wedge: it answers as the search does, searches
// again whenever c1, γ or V1 change, and remembers nothing of a search that failed.
#include <gtest/gtest.h>

#include "Errors.h"
#include "LargestWedgeCache.h"
#include "ShockComparison.h"
#include "Solver.h"

namespace {

zk::FlowState Gas(double c1, double gamma) {
    zk::FlowState gas;
    gas.SoundSpeed = c1;
    gas.Gamma = gamma;
    return gas;
}

TEST(LargestWedgeCache, AnswersAsTheSearchAndSearchesOncePerGasAndVelocity) {
    zk::LargestWedgeCache cache;
    const zk::FlowState air = Gas(340, 1.4);
    EXPECT_EQ(cache.Find(air, 680), zk::LargestAttachedWedge(air, 680));
    EXPECT_EQ(cache.Find(air, 680), std::optional<std::int32_t>(23));
    EXPECT_EQ(cache.Searches(), 1) << "the same gas and V1 again: no second search";

    // The solution in the state (wedge, C, φ) is no part of the key: only the gas and V1 are.
    zk::FlowState solved = air;
    zk::ApplyListener quiet;
    zk::Apply(solved, zk::ApplyInputs{30, 680, '.'}, quiet);
    EXPECT_EQ(cache.Find(solved, 680), std::optional<std::int32_t>(23));
    EXPECT_EQ(cache.Searches(), 1);

    const struct {
        double c1, gamma;
        int v1;
    } changes[] = {{340, 1.4, 1020}, {340, 1.3, 1020}, {300, 1.3, 1020}, {340, 1.4, 680}};
    int searches = 1;
    for (const auto& k : changes) {
        SCOPED_TRACE(testing::Message() << k.c1 << " " << k.gamma << " " << k.v1);
        const zk::FlowState gas = Gas(k.c1, k.gamma);
        EXPECT_EQ(cache.Find(gas, k.v1), zk::LargestAttachedWedge(gas, k.v1));
        EXPECT_EQ(cache.Searches(), ++searches);
    }
}

TEST(LargestWedgeCache, FailedSearchIsNotRemembered) {
    zk::LargestWedgeCache cache;
    EXPECT_EQ(cache.Find(Gas(340, 1.4), 680), std::optional<std::int32_t>(23));
    EXPECT_THROW(cache.Find(Gas(0, 1.4), 680), zk::FloatError);
    EXPECT_THROW(cache.Find(Gas(0, 1.4), 680), zk::FloatError) << "searched and failed again";
    EXPECT_EQ(cache.Searches(), 3);
    // A subsonic stream has no attached wedge at all, and that answer is kept like any other.
    EXPECT_FALSE(cache.Find(Gas(900, 1.4), 680).has_value());
    EXPECT_FALSE(cache.Find(Gas(900, 1.4), 680).has_value());
    EXPECT_EQ(cache.Searches(), 4);
}

TEST(LargestWedgeCache, ComparisonWithTheCacheEqualsTheOneWithout) {
    zk::LargestWedgeCache cache;
    zk::FlowState state = Gas(340, 1.4);
    zk::ApplyListener quiet;
    for (int chi : {0, 10, 20, 23, 30, 90, 180}) {
        SCOPED_TRACE(chi);
        zk::Apply(state, zk::ApplyInputs{chi, 680, '.'}, quiet);
        const zk::ShockComparison cached = zk::CompareWithExactTheory(state, cache);
        const zk::ShockComparison fresh = zk::CompareWithExactTheory(state);
        EXPECT_EQ(cached.LargestAttached, fresh.LargestAttached);
        ASSERT_EQ(cached.Rows.size(), fresh.Rows.size());
        for (std::size_t i = 0; i < cached.Rows.size(); ++i) {
            EXPECT_EQ(cached.Rows[i].Construction, fresh.Rows[i].Construction);
            EXPECT_EQ(cached.Rows[i].Weak, fresh.Rows[i].Weak);
        }
    }
    EXPECT_EQ(cache.Searches(), 1);
}

} // namespace
