// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes Apply, with the polar diagram drawn on the software canvas, over every gas and input the
// program can meet.  The input bytes, little-endian, missing ones read as zero:
//   0..7   c1 (m/s) as a double      any finite value: a result file can give any real
//   8..15  gamma as a double         likewise
//   16..19 V1 (m/s) as an int32      the velocity field: anything typed, at most 1 000 000
//   20..23 chi (degrees) as an int32 the wedge field: anything typed, at most 180
//   24     decimal separator         even: ".", odd: ","
// A run either completes or ends with a floating-point error carrying one of the runtime's
// messages; no label or picture text shows a NaN or an infinity, and the flow state stays finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <set>
#include <string>

#include "FuzzChecks.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"

namespace {

using namespace zk;
using zk::fuzz::Fail;

constexpr std::int32_t kMaxVelocity = 1000000; // m/s, the velocity field's upper limit
constexpr std::int32_t kMaxWedge = 180;        // degrees, the wedge field's upper limit

// The picture of the main window, checking every text written on it.
class CheckingCanvas : public RasterCanvas {
public:
    CheckingCanvas() : RasterCanvas(PolarDiagram::kWidth, PolarDiagram::kHeight) {}
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override {
        fuzz::CheckShownText(text, "a text on the diagram");
        RasterCanvas::TextOut(x, y, text);
    }
};

// The main window's side of Apply: the diagram, and labels that must always be fit to show.
class CheckingWindow : public PolarDiagram {
public:
    using PolarDiagram::PolarDiagram;
    void SetCaption(ResultItem label, const std::string& text) override {
        fuzz::CheckShownText(text, "a result label");
        captions_.insert(label);
    }
    void Repaint() override { repainted_ = true; }

    bool Captioned(ResultItem label) const { return captions_.count(label) != 0; }
    bool Repainted() const { return repainted_; }

private:
    std::set<ResultItem> captions_;
    bool repainted_ = false;
};

template <typename T> T Take(const std::uint8_t* data, std::size_t size, std::size_t offset) {
    unsigned char bytes[sizeof(T)] = {};
    for (std::size_t k = 0; k < sizeof(T); ++k)
        if (offset + k < size)
            bytes[k] = data[offset + k];
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

// A value above a field's upper limit is folded into 0..limit, so every such input still tests
// something the field can hold.
std::int32_t AtMost(std::int32_t value, std::int32_t limit) {
    return value > limit ? value % (limit + 1) : value;
}

void CheckState(const FlowState& state) {
    fuzz::CheckFinite(state.SoundSpeed, "SoundSpeed");
    fuzz::CheckFinite(state.Gamma, "Gamma");
    fuzz::CheckFinite(state.ScaleX, "ScaleX");
    fuzz::CheckFinite(state.ScaleY, "ScaleY");
    fuzz::CheckFinite(state.WedgeAngle, "WedgeAngle");
    fuzz::CheckFinite(state.ShockAngle, "ShockAngle");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const double c1 = Take<double>(data, size, 0);
    const double gamma = Take<double>(data, size, 8);
    if (!std::isfinite(c1) || !std::isfinite(gamma))
        return 0; // no file, field or window can produce these
    ApplyInputs inputs;
    inputs.Velocity = AtMost(Take<std::int32_t>(data, size, 16), kMaxVelocity);
    inputs.WedgeDegrees = AtMost(Take<std::int32_t>(data, size, 20), kMaxWedge);
    inputs.DecimalSeparator = Take<std::uint8_t>(data, size, 24) % 2 == 0 ? '.' : ',';

    // One picture for the whole run, as the main window has; each case starts from a clean one.
    static CheckingCanvas canvas;
    canvas.Clear();
    canvas.SetPenColor(clBlack);
    canvas.SetPenWidth(1);
    canvas.SetPenStyle(TPenStyle::psSolid);

    FlowState state;
    state.SoundSpeed = c1;
    state.Gamma = gamma;
    CheckingWindow window(canvas, state);
    try {
        Apply(state, inputs, window);
    } catch (const FloatError& e) {
        fuzz::CheckFloatError(e);
        CheckState(state);
        return 0;
    } catch (const std::exception& e) {
        Fail(std::string("an error the user was never meant to see: ") + e.what());
    }
    CheckState(state);
    if (!window.Repainted())
        Fail("a completed run did not show its result");
    for (ResultItem label :
         {ResultItem::Label6, ResultItem::Label12, ResultItem::Label13, ResultItem::Label3})
        if (!window.Captioned(label))
            Fail("a completed run left a label of the gas unwritten");
    return 0;
}
