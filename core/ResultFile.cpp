// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultFile.h"

#include <algorithm>
#include <array>

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

ResultFileValues ReadResultFile(const std::string& bytes, ResultFilePlace* failed) {
    TextFileReader reader(bytes);
    ResultFileValues values;
    std::array<int, 4> lines{}; // the line of each value, for a value that fails only later
    int value = 0;
    try {
        const auto next = [&](auto read) {
            ++value;
            const auto number = read();
            lines[value - 1] = reader.TokenLine();
            reader.ReadLn();
            return number;
        };
        values.SoundSpeed = next([&] { return reader.ReadReal(); });
        values.Gamma = static_cast<double>(static_cast<Extended>(next([&] { return reader.ReadReal(); })) / 100);
        values.V1 = next([&] { return reader.ReadInteger(); });
        values.WedgeDegrees = next([&] { return reader.ReadReal(); });
        // The whole numbers the input fields will show; a value too large even for 64 bits is an
        // invalid operation, raised here before anything has changed.
        value = 4;
        values.WedgeField = ClampTo32(Round(values.WedgeDegrees));
        value = 1;
        values.SoundSpeedField = ClampTo32(Round(values.SoundSpeed));
        value = 2;
        values.GammaField = ClampTo32(Round(static_cast<Extended>(values.Gamma) * 10));
    } catch (...) {
        if (failed)
            *failed = {value, lines[value - 1] != 0 ? lines[value - 1] : reader.TokenLine()};
        throw;
    }
    return values;
}

} // namespace zk
