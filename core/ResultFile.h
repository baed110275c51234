// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result file: the four inputs of one case as four lines of whole decimal numbers ended by
// CR LF: c1 (m/s), gamma x 100, V1 (m/s) and the wedge half-angle (whole degrees).
#include <cstdint>
#include <string>

#include "FlowState.h"

namespace zk {

// Everything an opened file puts into the program, read and checked before anything changes.
struct ResultFileValues {
    double SoundSpeed = 0;          // m/s, as read
    double Gamma = 0;               // ratio of specific heats, the stored value / 100
    std::int32_t V1 = 0;            // m/s, as read
    double WedgeDegrees = 0;        // degrees, as read
    std::int32_t WedgeField = 0;    // Round(WedgeDegrees), brought into the 32-bit range
    std::int32_t SoundSpeedField = 0; // Round(SoundSpeed) for the settings window's c1 field
    std::int32_t GammaField = 0;      // Round(Gamma x 10) for the settings window's gamma field
};

// The file's bytes for the flow state: Round(c1), Round(gamma x 100), V1, Round(chi in degrees).
std::string FormatResultFile(const FlowState& state);

// Which of the four values a reading stopped at (1 c1, 2 γ × 100, 3 V1, 4 χ) and the line of
// the file, counted from 1, on which that value stands.
struct ResultFilePlace {
    int Value = 0;
    int Line = 0;
};

// Reads all four values of a result file.  A line that fails raises its error (InOutError 106
// for a number that does not convert, FloatError for a value too large to round), and failed,
// when given, then says which value and line it was; a file that ends early gives 0 for the
// missing values.
ResultFileValues ReadResultFile(const std::string& bytes, ResultFilePlace* failed = nullptr);

} // namespace zk
