// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultFile.h"

#include <algorithm>

#include "Numbers.h"
#include "TextFile.h"

namespace zk {

namespace {

std::int32_t ClampTo32(std::int64_t n) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, INT32_MIN, INT32_MAX));
}

} // namespace

std::string FormatResultFile(const FlowState& state) {
    std::string text;
    const auto line = [&text](std::int64_t n) { text += IntegerText(n) + "\r\n"; };
    line(Round(state.SoundSpeed));
    line(Round(static_cast<Extended>(state.Gamma) * 100));
    line(state.V1);
    line(Round(static_cast<Extended>(state.WedgeAngle) * 180 / Pi));
    return text;
}

ResultFileValues ReadResultFile(const std::string& bytes) {
    TextFileReader reader(bytes);
    ResultFileValues values;
    values.SoundSpeed = reader.ReadReal();
    reader.ReadLn();
    values.Gamma = static_cast<double>(static_cast<Extended>(reader.ReadReal()) / 100);
    reader.ReadLn();
    values.V1 = reader.ReadInteger();
    reader.ReadLn();
    values.WedgeDegrees = reader.ReadReal();
    reader.ReadLn();
    // The whole numbers the input fields will show; a value too large even for 64 bits is an
    // invalid operation, raised here before anything has changed.
    values.WedgeField = ClampTo32(Round(values.WedgeDegrees));
    values.SoundSpeedField = ClampTo32(Round(values.SoundSpeed));
    values.GammaField = ClampTo32(Round(static_cast<Extended>(values.Gamma) * 10));
    return values;
}

} // namespace zk
