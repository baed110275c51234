// SPDX-License-Identifier: GPL-3.0-or-later
#include "LargestWedgeCache.h"

#include "Portable.h"
#include "ShockComparison.h"

namespace zk {

std::optional<std::int32_t> LargestWedgeCache::Find(const FlowState& gas, std::int32_t velocity) {
    const auto soundSpeed = BitCast<std::uint64_t>(gas.SoundSpeed);
    const auto gamma = BitCast<std::uint64_t>(gas.Gamma);
    if (valid_ && soundSpeed == soundSpeedBits_ && gamma == gammaBits_ && velocity == velocity_)
        return largest_;
    ++searches_;
    valid_ = false;
    largest_ = LargestAttachedWedge(gas, velocity);
    soundSpeedBits_ = soundSpeed;
    gammaBits_ = gamma;
    velocity_ = velocity;
    valid_ = true;
    return largest_;
}

} // namespace zk
