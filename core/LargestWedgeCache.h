// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Remembers the construction's largest attached wedge for the last gas and free stream.  The search
// tries up to 90 wedges on the polar (a millisecond or two), and its answer depends only on c1, γ
// and V1, so while the student changes only the wedge angle every refresh after the first takes it
// from here.
#include <cstdint>
#include <optional>

#include "FlowState.h"

namespace zk {

class LargestWedgeCache {
  public:
    // LargestAttachedWedge(gas, velocity), searched only when c1, γ or velocity differ from the last
    // search that succeeded.  Raises what the search raises, and then remembers nothing new.
    std::optional<std::int32_t> Find(const FlowState& gas, std::int32_t velocity);

    // How many searches were run: for tests of the cache itself.
    int Searches() const { return searches_; }

  private:
    bool valid_ = false;
    std::uint64_t soundSpeedBits_ = 0; // c1 and γ compared bit for bit: -0 and 0 are different gases
    std::uint64_t gammaBits_ = 0;      // to Apply only in the sign of a zero, and a NaN matches itself
    std::int32_t velocity_ = 0;
    std::optional<std::int32_t> largest_;
    int searches_ = 0;
};

} // namespace zk
