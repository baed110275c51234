// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the result-file reader with arbitrary bytes.  A file either reads into finite values and
// input-field numbers that agree with them, or fails with "Invalid numeric input" or a
// floating-point error; a file written back from what was read reads as the same whole numbers.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "FuzzChecks.h"
#include "Numbers.h"
#include "ResultFile.h"

namespace {

using namespace zk;
using zk::fuzz::Fail;

// The whole number nearest to x, the even one of two equally near, as the C library rounds in its
// default mode: a second opinion on the program's own Round, brought into the 32-bit range of a
// field.
std::int32_t NearestField(long double x) {
    return static_cast<std::int32_t>(std::clamp(std::nearbyintl(x), static_cast<long double>(INT32_MIN),
                                                static_cast<long double>(INT32_MAX)));
}

void CheckValues(const ResultFileValues& values) {
    fuzz::CheckFinite(values.SoundSpeed, "c1");
    fuzz::CheckFinite(values.Gamma, "gamma");
    fuzz::CheckFinite(values.WedgeDegrees, "wedge angle");
    if (values.WedgeField != NearestField(values.WedgeDegrees))
        Fail("the wedge field does not hold the rounded wedge angle");
    if (values.SoundSpeedField != NearestField(values.SoundSpeed))
        Fail("the c1 field does not hold the rounded c1");
    // gamma x 10 is exact in 64 bits of significand.
    if (values.GammaField != NearestField(static_cast<long double>(values.Gamma) * 10))
        Fail("the gamma field does not hold the rounded gamma x 10");
}

// Saving the case the file describes and opening the saved file again.
void CheckRoundTrip(const ResultFileValues& values) {
    FlowState state;
    state.SoundSpeed = values.SoundSpeed;
    state.Gamma = values.Gamma;
    state.V1 = values.V1;
    state.WedgeAngle = static_cast<double>(static_cast<Extended>(values.WedgeField) * Pi / 180);
    std::string saved;
    try {
        saved = FormatResultFile(state);
    } catch (const FloatError& e) {
        fuzz::CheckFloatError(e); // a gas too large to round cannot be saved
        return;
    }
    ResultFileValues again;
    try {
        again = ReadResultFile(saved);
    } catch (const std::exception& e) {
        Fail(std::string("a saved file does not open again: ") + e.what());
    }
    if (again.SoundSpeed != static_cast<double>(std::nearbyintl(state.SoundSpeed)))
        Fail("c1 changed on saving and opening");
    if (again.V1 != state.V1)
        Fail("V1 changed on saving and opening");
    // An angle that came from the field is stored as a double: for every 32-bit field value its
    // error (2^31 degrees x 2^-53) is far below the half degree that would change the field.
    if (again.WedgeField != values.WedgeField)
        Fail("the wedge angle changed on saving and opening");
    // Line 2 holds gamma x 100 rounded; gamma reads back as that number over 100, to the double.
    const long double gamma100 = std::nearbyintl(static_cast<long double>(state.Gamma) * 100);
    const long double back = static_cast<long double>(again.Gamma) * 100;
    if (std::fabs(back - gamma100) > std::fabs(gamma100) * 0x1p-51L)
        Fail("gamma changed on saving and opening");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ResultFileValues values;
    try {
        values = ReadResultFile(bytes);
    } catch (const InOutError& e) {
        if (e.Code() != 106 || std::string(e.what()) != "Invalid numeric input")
            Fail(std::string("unexpected input/output error: ") + e.what());
        return 0;
    } catch (const FloatError& e) {
        fuzz::CheckFloatError(e);
        return 0;
    } catch (const std::exception& e) {
        Fail(std::string("an error the user was never meant to see: ") + e.what());
    }
    CheckValues(values);
    CheckRoundTrip(values);
    return 0;
}
