// Fuzzes the result-file reader with arbitrary bytes.  A file either reads into finite values and
// input-field numbers that agree with them, or fails with "Invalid numeric input" or a
// floating-point error; a file written back from what was read reads as the same whole numbers.
#include <algorithm>
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

std::int32_t Clamped(std::int64_t n) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, INT32_MIN, INT32_MAX));
}

void CheckValues(const ResultFileValues& values) {
    fuzz::CheckFinite(values.SoundSpeed, "c1");
    fuzz::CheckFinite(values.Gamma, "gamma");
    fuzz::CheckFinite(values.WedgeDegrees, "wedge angle");
    if (values.WedgeField != Clamped(Round(values.WedgeDegrees)))
        Fail("the wedge field does not hold the rounded wedge angle");
    if (values.SoundSpeedField != Clamped(Round(values.SoundSpeed)))
        Fail("the c1 field does not hold the rounded c1");
    if (values.GammaField != Clamped(Round(static_cast<Extended>(values.Gamma) * 10)))
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
    if (again.SoundSpeed != static_cast<double>(Round(state.SoundSpeed)))
        Fail("c1 changed on saving and opening");
    if (again.V1 != state.V1)
        Fail("V1 changed on saving and opening");
    if (again.WedgeField != Clamped(Round(static_cast<Extended>(state.WedgeAngle) * 180 / Pi)))
        Fail("the wedge angle changed on saving and opening");
    const std::int64_t gamma100 = Round(static_cast<Extended>(state.Gamma) * 100);
    if (again.Gamma != static_cast<double>(static_cast<Extended>(static_cast<double>(gamma100)) / 100))
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
