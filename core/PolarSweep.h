// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sweeps of the shock-polar construction: point A, the two drawn passes from A to a little
// beyond B that find point C, and the undrawn sweeps of the detached-shock search.
//
// Literally the construction examines every whole Vx.  The fast way examines only the samples
// that can matter and proves the rest: between the polar's special points (its ends A and B, its
// highest point, the pole of the formula) the ordinate is monotone, so a run of samples whose end
// values lie safely inside one pixel row all draw in that row, and a run whose bounds keep it
// farther than one pixel from the wedge ray cannot pass the intersection test.  Every sample that
// decides a result is evaluated with exactly the extended-precision expressions of the literal
// construction, so both give the same bits, labels and pixels.
#include <cstdint>
#include <optional>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ApplyListener.h"
#include "FlowState.h"
#include "Numbers.h"

namespace zk {

// Sweeps shorter than this many samples are examined sample by sample, which is quicker for them;
// tests set it to 0 to prove the shortcut on small cases too.
void SetShortSweepSamples(std::int64_t samples);

class PolarSweep {
public:
    // Sweeps of one run of Apply on state (its V1, scales and gas already stored); fast chooses
    // the proven shortcut where the polar's shape allows it.
    PolarSweep(FlowState& state, bool fast);

    // Point A: the largest Vx in 0..V1 whose sample lies on or left of the polar's end; 0 when none.
    std::int32_t PointAx();
    // One drawn pass (s = +1 lower, -1 upper branch) over pointAx..sweepEnd; sets C for the wedge
    // ray of slope tanWedge.
    void Pass(int s, std::int32_t pointAx, std::int32_t sweepEnd, Extended tanWedge, ApplyListener& listener);
    // The sample a drawn pass over pointAx..sweepEnd takes for C at the wedge ray of slope
    // tanWedge, found without drawing and without changing the flow state: the last sample within
    // one pixel of the ray, nothing when none is.  Asked for many wedges of one polar, the
    // sample-by-sample way evaluates each ordinate once.
    std::optional<std::int32_t> PointC(std::int32_t pointAx, std::int32_t sweepEnd, Extended tanWedge);
    // An undrawn sweep of the detached search at the reduced wedge of slope tanWedge: the samples
    // from pointAx to V1 on or right of the polar's end; sets C when one passes.
    void ReducedWedgeSweep(std::int32_t pointAx, Extended tanWedge);

    // The literal per-sample expressions.
    Extended G();                           // 2 / (gamma + 1)
    Extended K();                           // c1^2 / V1, m/s
    Extended Ordinate(std::int32_t i);      // the polar ordinate p at Vx = i, m/s
    bool RightOfA(std::int32_t i);          // (V1 - k) g - (V1 - i) >= 0
    bool Passes(std::int32_t i, Extended p, Extended tanWedge) const; // within one pixel of the ray

private:
    struct Range {
        std::int64_t First, Last; // samples, inclusive
        bool Exact;               // next to a special point: every sample is evaluated
    };

    bool UseShortcut();
    // The sample ranges of First..Last in order, split at the special points.
    std::vector<Range> Pieces(std::int64_t first, std::int64_t last);
    std::optional<std::int32_t> LastPassing(std::int64_t first, std::int64_t last, Extended tanWedge);
    std::optional<std::int32_t> LastPassingMonotone(std::int64_t first, std::int64_t last, Extended tanWedge);
    void SetC(std::int32_t i, Extended p);
    // Pixel row offset of an ordinate and pixel column of a sample, as the diagram draws them.
    Extended Row(Extended p) const;
    std::int64_t Column(std::int64_t i) const;
    void CollectSamples(std::int64_t first, std::int64_t last);
    // The ordinates at first and last, where the caller has them already, are passed along.
    void CollectMonotone(std::int64_t first, std::int64_t last, std::optional<Extended> pFirst = std::nullopt,
                         std::optional<Extended> pLast = std::nullopt);
    void Emit(std::int64_t i, Extended p, bool always);
    // The samples of a run that draws in one row where its column changes.
    void EmitColumns(std::int64_t first, std::int64_t last, Extended pFirst);
    Extended Slack(Extended pixels) const; // bound on the rounding of a pixel-scale value

    // Where the extended type is done in software (the web edition) every operation is dear:
    // the ordinates and the end-of-polar tests, which the detached-shock search asks for the same
    // samples at every reduced wedge, are remembered from its first sweep on.  The values are the
    // same either way.
    static constexpr bool kRemember = !std::is_floating_point_v<Extended>;
    Extended ComputeOrdinate(std::int32_t i);
    void EnsureConstants();
    // A sample's pixel row offset for the drawn passes' decisions: in doubles with a bound on how
    // far it lies from the extended value, or the extended value itself where no such bound holds.
    struct PixelBound {
        double Pixel = 0;
        double Error = 0;
        std::optional<Extended> Exact; // the ordinate, once it has been evaluated
    };
    PixelBound BoundPixel(std::int64_t i);
    Extended ExactOrdinate(std::int64_t i, PixelBound& bound);
    void CollectBounded(std::int64_t first, std::int64_t last, PixelBound bFirst, PixelBound bLast);
    double gkD_ = 0, aRightD_ = 0;
    bool ComputeRightOfA(std::int32_t i);
    std::unordered_map<std::int32_t, Extended> ordinates_;
    std::unordered_map<std::int32_t, bool> rightOfA_;
    bool remembering_ = false; // only the detached search asks again
    bool haveConstants_ = false;
    Extended gk_ = 0, aRight_ = 0;
    std::optional<std::pair<std::int32_t, std::int64_t>> firstRightOfA_; // from A, the first sample right of it

    FlowState& state_;
    bool fast_;
    Extended g_ = 0, k_ = 0;
    bool haveG_ = false, haveK_ = false;
    // The shortcut's view of the polar: a = (V1 - k) g and b = g k, and its special points.
    int shortcut_ = -1; // -1 undecided, 0 no, 1 yes
    Extended a_ = 0, b_ = 0;
    std::vector<std::pair<std::int64_t, std::int64_t>> exactZones_;
    // The samples the drawn passes report, computed by the first pass and replayed by the second.
    std::vector<std::pair<std::int32_t, Extended>> reported_;
    bool haveReported_ = false;
    std::int64_t lastColumn_ = 0;
    Extended lastRow_ = 0;
    bool haveLast_ = false;
    // PointC's ordinates of the samples pointAx..pointAx + size - 1, for a sweep it examines sample
    // by sample.
    std::vector<Extended> pointCOrdinates_;
    std::int64_t pointCOrdinatesFirst_ = 0;
};

} // namespace zk
