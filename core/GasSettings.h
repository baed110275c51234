// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the settings' fields become the gas of the flow state, and what the gas does to the
// velocity field: one arrow click is one speed of sound, and the lowest V1 is c1 + 15 m/s.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "Numbers.h"

namespace zk {

// The ratio of specific heats from the field that holds it times ten (14 gives 1.4).
inline double GammaFromField(std::int32_t gammaTimesTen) {
    return static_cast<double>(static_cast<Extended>(gammaTimesTen) / 10);
}

// A settings field as it was shown and the exact value it stood for: γ = 1.67 from a case shows
// as 17, c1 = 340.5 as 340.  Closing the settings with the field unchanged keeps the exact value;
// a field the student changed is taken as it reads.
struct ShownGasField {
    std::int32_t Field = 0;
    double Exact = 0;
};

inline double ClosedFieldValue(const ShownGasField& shown, std::int32_t field, double fromField) {
    return field == shown.Field ? shown.Exact : fromField;
}

// The velocity field's step, m/s: one Mach unit.
inline std::int32_t VelocityStep(double soundSpeed) { return Round32(soundSpeed); }

// The velocity field's lower limit after the settings closed with the c1 field at soundSpeedField.
inline std::int32_t VelocityLowerLimit(std::int32_t soundSpeedField) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{soundSpeedField} + 15, std::numeric_limits<std::int32_t>::max()));
}

} // namespace zk
