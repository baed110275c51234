// SPDX-License-Identifier: GPL-3.0-or-later
#include "PolarSweep.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace zk {

namespace {

// Samples evaluated one by one below this run length; where the extended type is software, each
// sample is dear enough that splitting further pays.
constexpr std::int64_t kLeaf = std::is_floating_point_v<Extended> ? 16 : 4;
constexpr std::int64_t kZone = 2;  // samples on each side of a special point evaluated one by one
// Rows of the polar farther than this from the axis lie outside the 449-pixel picture in both
// branches.
constexpr Extended kOffPicture = 232;
// Rows near the end of the 64-bit range, where the diagram's rounding faults.
constexpr Extended kRowLimit = 9200000000000000000LL;
// Below this many samples a sweep is quicker examined sample by sample.
std::int64_t shortSweep = 2048;

} // namespace

void SetShortSweepSamples(std::int64_t samples) { shortSweep = samples; }

PolarSweep::PolarSweep(FlowState& state, bool fast) : state_(state), fast_(fast) {}

Extended PolarSweep::G() {
    if (!haveG_) {
        g_ = Div(2, static_cast<Extended>(state_.Gamma) + 1);
        haveG_ = true;
    }
    return g_;
}

Extended PolarSweep::K() {
    if (!haveK_) {
        const Extended c1 = state_.SoundSpeed;
        k_ = Div(c1 * c1, state_.V1);
        haveK_ = true;
    }
    return k_;
}

Extended PolarSweep::Ordinate(std::int32_t i) {
    if (kRemember && remembering_) {
        const auto known = ordinates_.find(i);
        if (known != ordinates_.end())
            return known->second;
        return ordinates_.emplace(i, ComputeOrdinate(i)).first->second;
    }
    return ComputeOrdinate(i);
}

bool PolarSweep::RightOfA(std::int32_t i) {
    if (kRemember && remembering_) {
        const auto known = rightOfA_.find(i);
        if (known != rightOfA_.end())
            return known->second;
        return rightOfA_.emplace(i, ComputeRightOfA(i)).first->second;
    }
    return ComputeRightOfA(i);
}

Extended PolarSweep::ComputeOrdinate(std::int32_t i) {
    const Extended g = G(), k = K();
    const std::int32_t v1 = state_.V1;
    if constexpr (kRemember) {
        EnsureConstants();
        Extended m = static_cast<Extended>(v1) - i;
        if (gk_ + m == 0)
            m = m + 1;
        return Sqrt(Abs(Div(m * m * (aRight_ - m), gk_ + m)));
    }
    Extended m = static_cast<Extended>(v1) - i;
    if (g * k + m == 0)
        m = m + 1;
    return Sqrt(Abs(Div(m * m * ((v1 - k) * g - m), g * k + m)));
}

void PolarSweep::EnsureConstants() {
    // g k and (V1 - k) g do not depend on the sample: the same values, reckoned once.
    if (!haveConstants_) {
        const Extended g = G(), k = K();
        gk_ = g * k;
        aRight_ = (state_.V1 - k) * g;
        gkD_ = static_cast<double>(gk_);
        aRightD_ = static_cast<double>(aRight_);
        haveConstants_ = true;
    }
}

PolarSweep::PixelBound PolarSweep::BoundPixel(std::int64_t i) {
    EnsureConstants();
    // The ordinate's formula in doubles.  With u = 2^-53, the constants a = (V1 - k) g and b = g k
    // are off by u of their size, so a - m is off by about (|a| / |a - m| + 1) u of its own, and
    // b + m likewise; the products, the quotient and the root add a few u, and the root halves
    // the rest.  The bound taken is about four times that.  Near point A and the pole, where the
    // differences cancel, and near the sample where b + m vanishes, the extended value is used.
    const double m = static_cast<double>(state_.V1) - static_cast<double>(i);
    const double am = aRightD_ - m, bm = gkD_ + m;
    const double ca = std::abs(aRightD_) / std::abs(am), cb = std::abs(gkD_) / std::abs(bm);
    if (std::abs(bm) >= 2 && ca < 1e6 && cb < 1e6) {
        const double pixel = std::sqrt(std::abs(m * m * am / bm)) * state_.ScaleY;
        if (std::isfinite(pixel))
            return {pixel, std::abs(pixel) * (ca + cb + 10) * 2.3e-16, std::nullopt};
    }
    const Extended p = Ordinate(static_cast<std::int32_t>(i));
    return {static_cast<double>(p) * state_.ScaleY, 0, p};
}

Extended PolarSweep::ExactOrdinate(std::int64_t i, PixelBound& bound) {
    if (!bound.Exact)
        bound.Exact = Ordinate(static_cast<std::int32_t>(i));
    return *bound.Exact;
}

void PolarSweep::CollectBounded(std::int64_t first, std::int64_t last, PixelBound bFirst, PixelBound bLast) {
    // The decisions cost little here, and each sample evaluated one by one is dear: split down to
    // single samples.
    if (last - first < 1) {
        for (std::int64_t i = first; i <= last; ++i) {
            const Extended p = i == first   ? ExactOrdinate(i, bFirst)
                               : i == last ? ExactOrdinate(i, bLast)
                                           : Ordinate(static_cast<std::int32_t>(i));
            Emit(i, p, false);
        }
        return;
    }
    // The same decisions as on the extended values, each widened by the bounds of the ends, so
    // that it passes only where it passes there too; where it fails, the run is split, which
    // reports the same samples.
    const double d0 = bFirst.Pixel, d1 = bLast.Pixel;
    const double slack = 2e-9 + (std::abs(d0) + std::abs(d1)) * 4e-15 + bFirst.Error + bLast.Error;
    const double low = std::min(d0, d1) - slack;
    const double high = std::max(d0, d1) + slack;
    const bool inRange = high < 9.2e18 && low > -9.2e18;
    if (inRange && (low > 232 || high < -232)) {
        Emit(first, ExactOrdinate(first, bFirst), false);
        Emit(last, ExactOrdinate(last, bLast), false);
        return;
    }
    const double row = std::nearbyint(d0);
    if (!inRange || !(row - 0.5 < low && high < row + 0.5)) {
        const std::int64_t split = first + (last - first) / 2;
        CollectBounded(first, split, std::move(bFirst), BoundPixel(split));
        CollectBounded(split + 1, last, BoundPixel(split + 1), std::move(bLast));
        return;
    }
    EmitColumns(first, last, ExactOrdinate(first, bFirst));
}

bool PolarSweep::ComputeRightOfA(std::int32_t i) {
    const Extended g = G(), k = K();
    const std::int32_t v1 = state_.V1;
    return (v1 - k) * g - (static_cast<Extended>(v1) - i) >= 0;
}

bool PolarSweep::Passes(std::int32_t i, Extended p, Extended tanWedge) const {
    return Abs(p * state_.ScaleY - (tanWedge * i) * state_.ScaleY) < 1 && i < state_.V1;
}

void PolarSweep::SetC(std::int32_t i, Extended p) {
    state_.PointCx = i;
    state_.PointCy = static_cast<std::int32_t>(Round(p));
}

Extended PolarSweep::Row(Extended p) const {
    // Rounded as the diagram rounds it, but without raising: a row the diagram cannot round is
    // reported to it, and the diagram raises the fault in its place.
    return std::rint(p * state_.ScaleY);
}

std::int64_t PolarSweep::Column(std::int64_t i) const {
    if constexpr (kRemember) {
        // In doubles the column is off the extended one by a few units of 2^-52 of its size; where
        // that cannot reach the half-way point between two columns, the nearest column is the same.
        const double product = static_cast<double>(i) * state_.ScaleX;
        const double column = product + 200;
        if (std::abs(column) < 1e9 && std::abs(product) < 1e9) {
            const double margin = 1e-12 * (std::abs(product) + std::abs(column) + 1);
            const double below = std::floor(column);
            const double fraction = column - below;
            if (std::abs(fraction - 0.5) > margin)
                return static_cast<std::int64_t>(fraction < 0.5 ? below : below + 1);
        }
    }
    return Round(static_cast<Extended>(i) * state_.ScaleX + 200);
}

Extended PolarSweep::Slack(Extended pixels) const {
    // Each extended operation is off by at most 2^-64 of its result; a few dozen of them, and a
    // generous margin, stay far below this.
    return 1e-9L + Abs(pixels) * 1e-15L;
}

// ---- point A ----

std::int32_t PolarSweep::PointAx() {
    const std::int32_t v1 = state_.V1;
    if (v1 < 0)
        return 0; // no sample at all
    const auto leftOfA = [&](std::int32_t i) {
        const Extended g = G(), k = K();
        return (v1 - k) * g - (static_cast<Extended>(v1) - i) <= 0;
    };
    if (!fast_) {
        std::int32_t pointAx = 0;
        for (std::int64_t i = 0; i <= v1; ++i)
            if (leftOfA(static_cast<std::int32_t>(i)))
                pointAx = static_cast<std::int32_t>(i);
        return pointAx;
    }
    // The test value grows with i (a fixed number minus a shrinking whole number, each rounding
    // monotone), so the samples that satisfy it form a prefix: find its end by bisection.
    if (!leftOfA(0))
        return 0;
    std::int64_t lo = 0, hi = v1; // leftOfA(lo) holds
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo + 1) / 2;
        if (leftOfA(static_cast<std::int32_t>(mid)))
            lo = mid;
        else
            hi = mid - 1;
    }
    return static_cast<std::int32_t>(lo);
}

// ---- the shortcut's view of the polar ----

bool PolarSweep::UseShortcut() {
    if (shortcut_ >= 0)
        return shortcut_ == 1;
    shortcut_ = 0;
    if (!fast_ || state_.V1 == 0 || !std::isfinite(state_.ScaleX) || !std::isfinite(state_.ScaleY) ||
        state_.ScaleX == 0 || state_.ScaleY == 0)
        return false;
    const Extended g = G(), k = K();
    a_ = (state_.V1 - k) * g;
    b_ = g * k;
    if (!std::isfinite(a_) || !std::isfinite(b_))
        return false;
    // With m = V1 - i the squared ordinate is f(m) = m^2 (a - m) / (b + m), and
    // f'(m) = m (2ab + (a - 3b) m - 2 m^2) / (b + m)^2.  The ordinate sqrt|f| is therefore monotone
    // between its zeros m = a (point A) and m = 0 (point B), the real roots of the quadratic (the
    // top of the polar, and one beyond B) and the pole m = -b.
    std::vector<Extended> specials = {a_, 0, -b_};
    const Extended q = a_ - 3 * b_;
    const Extended discriminant = q * q + 16 * a_ * b_;
    if (std::isfinite(discriminant) && discriminant >= 0) {
        const Extended root = std::sqrt(discriminant);
        specials.push_back((q + root) / 4);
        specials.push_back((q - root) / 4);
    } else if (!std::isfinite(discriminant)) {
        return false;
    }
    for (Extended m : specials) {
        const Extended i = state_.V1 - m;
        if (!(std::abs(i) < 1e10L))
            continue; // beyond every sample
        exactZones_.emplace_back(static_cast<std::int64_t>(std::floor(i)) - kZone,
                                 static_cast<std::int64_t>(std::ceil(i)) + kZone);
    }
    std::sort(exactZones_.begin(), exactZones_.end());
    shortcut_ = 1;
    return true;
}

std::vector<PolarSweep::Range> PolarSweep::Pieces(std::int64_t first, std::int64_t last) {
    std::vector<Range> pieces;
    std::int64_t next = first;
    for (const auto& [zoneFirst, zoneLast] : exactZones_) {
        if (zoneLast < next)
            continue;
        if (zoneFirst > last)
            break;
        if (zoneFirst > next)
            pieces.push_back({next, zoneFirst - 1, false});
        const std::int64_t end = std::min(zoneLast, last);
        pieces.push_back({std::max(zoneFirst, next), end, true});
        next = end + 1;
    }
    if (next <= last)
        pieces.push_back({next, last, false});
    return pieces;
}

// ---- point C ----

std::optional<std::int32_t> PolarSweep::LastPassing(std::int64_t first, std::int64_t last, Extended tanWedge) {
    last = std::min<std::int64_t>(last, static_cast<std::int64_t>(state_.V1) - 1); // B never counts
    if (first > last)
        return std::nullopt;
    std::vector<Range> pieces = Pieces(first, last);
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        if (piece->Exact) {
            for (std::int64_t i = piece->Last; i >= piece->First; --i) {
                const auto vx = static_cast<std::int32_t>(i);
                if (Passes(vx, Ordinate(vx), tanWedge))
                    return vx;
            }
        } else if (auto found = LastPassingMonotone(piece->First, piece->Last, tanWedge)) {
            return found;
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> PolarSweep::LastPassingMonotone(std::int64_t first, std::int64_t last,
                                                            Extended tanWedge) {
    if (last - first < kLeaf) {
        for (std::int64_t i = last; i >= first; --i) {
            const auto vx = static_cast<std::int32_t>(i);
            if (Passes(vx, Ordinate(vx), tanWedge))
                return vx;
        }
        return std::nullopt;
    }
    // The ordinate is monotone here, so its pixel values lie between those at the ends; the ray's
    // lie between its own end values.  If even the closest of them are a pixel or more apart, no
    // sample in between can pass.
    if constexpr (kRemember) {
        // First in doubles, with a bound on how far they can be from the extended test below; only
        // where that bound leaves the answer open is the test made in extended precision.
        const PixelBound b0 = BoundPixel(first), b1 = BoundPixel(last);
        const double q0 = b0.Pixel, q1 = b1.Pixel;
        const double tanD = static_cast<double>(tanWedge), scaleD = state_.ScaleY;
        const double s0 = (tanD * static_cast<double>(first)) * scaleD;
        const double s1 = (tanD * static_cast<double>(last)) * scaleD;
        const auto slack = [](double v) { return 1e-9 + std::abs(v) * 1e-15; };
        const double size = std::abs(q0) + std::abs(q1) + std::abs(s0) + std::abs(s1);
        const double above = std::max(q0, q1) + slack(q0) + slack(q1) - (std::min(s0, s1) - slack(s0) - slack(s1));
        const double below = std::min(q0, q1) - slack(q0) - slack(q1) - (std::max(s0, s1) + slack(s0) + slack(s1));
        const double error = b0.Error + b1.Error + size * 1e-14 + 1e-12;
        if (size < 1e15 && std::isfinite(above) && std::isfinite(below)) {
            if (above + error <= -1 || below - error >= 1)
                return std::nullopt;
            if (above - error > -1 && below + error < 1) {
                const std::int64_t mid = first + (last - first) / 2;
                if (auto found = LastPassingMonotone(mid + 1, last, tanWedge))
                    return found;
                return LastPassingMonotone(first, mid, tanWedge);
            }
        }
    }
    const Extended scale = state_.ScaleY;
    const Extended p0 = Ordinate(static_cast<std::int32_t>(first)) * scale;
    const Extended p1 = Ordinate(static_cast<std::int32_t>(last)) * scale;
    const Extended r0 = (tanWedge * first) * scale;
    const Extended r1 = (tanWedge * last) * scale;
    const Extended pLow = std::min(p0, p1) - Slack(p0) - Slack(p1);
    const Extended pHigh = std::max(p0, p1) + Slack(p0) + Slack(p1);
    const Extended rLow = std::min(r0, r1) - Slack(r0) - Slack(r1);
    const Extended rHigh = std::max(r0, r1) + Slack(r0) + Slack(r1);
    if (pHigh - rLow <= -1 || pLow - rHigh >= 1)
        return std::nullopt;
    const std::int64_t mid = first + (last - first) / 2;
    if (auto found = LastPassingMonotone(mid + 1, last, tanWedge))
        return found;
    return LastPassingMonotone(first, mid, tanWedge);
}

// ---- the drawn passes ----

void PolarSweep::Emit(std::int64_t i, Extended p, bool always) {
    const std::int64_t column = Column(i);
    const Extended row = Row(p);
    if (always || !haveLast_ || column != lastColumn_ || row != lastRow_ || !(Abs(row) < kRowLimit))
        reported_.emplace_back(static_cast<std::int32_t>(i), p);
    lastColumn_ = column;
    lastRow_ = row;
    haveLast_ = true;
}

void PolarSweep::CollectSamples(std::int64_t first, std::int64_t last) {
    for (const Range& piece : Pieces(first, last)) {
        if (piece.Exact) {
            for (std::int64_t i = piece.First; i <= piece.Last; ++i)
                Emit(i, Ordinate(static_cast<std::int32_t>(i)), true);
        } else if constexpr (kRemember) {
            if (piece.Last - piece.First < kLeaf)
                CollectMonotone(piece.First, piece.Last);
            else
                CollectBounded(piece.First, piece.Last, BoundPixel(piece.First), BoundPixel(piece.Last));
        } else {
            CollectMonotone(piece.First, piece.Last);
        }
    }
}

void PolarSweep::EmitColumns(std::int64_t first, std::int64_t last, Extended pFirst) {
    // Only the columns change, and the samples where they change are found by bisection (the
    // column moves one way with i).
    Emit(first, pFirst, false);
    const std::int64_t firstColumn = Column(first);
    const std::int64_t lastColumn = Column(last);
    const std::int64_t step = lastColumn >= firstColumn ? 1 : -1;
    std::int64_t from = first;
    for (std::int64_t column = firstColumn + step; step * (lastColumn - column) >= 0; column += step) {
        std::int64_t lo = from + 1, hi = last; // first sample past the column boundary
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            if (step * (Column(mid) - column) >= 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        column = Column(lo);
        Emit(lo, Ordinate(static_cast<std::int32_t>(lo)), false);
        from = lo;
    }
}

void PolarSweep::CollectMonotone(std::int64_t first, std::int64_t last, std::optional<Extended> knownFirst,
                                 std::optional<Extended> knownLast) {
    if (last - first < kLeaf) {
        for (std::int64_t i = first; i <= last; ++i)
            Emit(i, Ordinate(static_cast<std::int32_t>(i)), false);
        return;
    }
    const Extended scale = state_.ScaleY;
    const Extended pFirst = knownFirst ? *knownFirst : Ordinate(static_cast<std::int32_t>(first));
    const Extended pLast = knownLast ? *knownLast : Ordinate(static_cast<std::int32_t>(last));
    const std::int64_t split = first + (last - first) / 2;
    if constexpr (kRemember) {
        // The bounds in doubles, widened by more than their own rounding, so that each test
        // below passes only where it passes in extended precision too; where one fails that
        // would pass there, the run is split, which reports the same samples.
        const double d0 = static_cast<double>(pFirst) * state_.ScaleY;
        const double d1 = static_cast<double>(pLast) * state_.ScaleY;
        const double slack = 2e-9 + (std::abs(d0) + std::abs(d1)) * 4e-15;
        const double low = std::min(d0, d1) - slack;
        const double high = std::max(d0, d1) + slack;
        const bool inRange = high < 9.2e18 && low > -9.2e18;
        if (inRange && (low > 232 || high < -232)) {
            Emit(first, pFirst, false);
            Emit(last, pLast, false);
            return;
        }
        const double row = std::nearbyint(d0);
        if (!inRange || !(row - 0.5 < low && high < row + 0.5)) {
            CollectMonotone(first, split, pFirst);
            CollectMonotone(split + 1, last, std::nullopt, pLast);
            return;
        }
        EmitColumns(first, last, pFirst);
        return;
    }
    const Extended v0 = pFirst * scale;
    const Extended v1 = pLast * scale;
    const Extended low = std::min(v0, v1) - Slack(v0) - Slack(v1);
    const Extended high = std::max(v0, v1) + Slack(v0) + Slack(v1);
    if (!(high < kRowLimit) || !(low > -kRowLimit)) {
        // Rows this far out may be beyond what the diagram can round: look sample by sample
        // where that starts, so the fault comes where it would come drawing every sample.
        CollectMonotone(first, split, pFirst);
        CollectMonotone(split + 1, last, std::nullopt, pLast);
        return;
    }
    if (low > kOffPicture || high < -kOffPicture) {
        // The whole run lies above or below the picture in both branches: the pen comes in to its
        // first sample, and the segments from there on draw nothing; only where they end matters.
        Emit(first, pFirst, false);
        Emit(last, pLast, false);
        return;
    }
    const Extended row = std::rint(v0);
    if (row - 0.5L < low && high < row + 0.5L) {
        // Every sample of the run draws in this row.
        EmitColumns(first, last, pFirst);
        return;
    }
    CollectMonotone(first, split, pFirst);
    CollectMonotone(split + 1, last, std::nullopt, pLast);
}

void PolarSweep::Pass(int s, std::int32_t pointAx, std::int32_t sweepEnd, Extended tanWedge,
                      ApplyListener& listener) {
    listener.PolarPassBegin(s, pointAx);
    if (static_cast<std::int64_t>(sweepEnd) - pointAx < shortSweep || !UseShortcut()) {
        for (std::int64_t i = pointAx; i <= sweepEnd; ++i) {
            const auto vx = static_cast<std::int32_t>(i);
            const Extended p = Ordinate(vx);
            if (Passes(vx, p, tanWedge))
                SetC(vx, p);
            listener.PolarSample(s, vx, p);
        }
        listener.PolarPassEnd(s);
        return;
    }
    if (!haveReported_) {
        // C is the same in both passes: the last passing sample.
        if (auto c = LastPassing(pointAx, sweepEnd, tanWedge))
            SetC(*c, Ordinate(*c));
        CollectSamples(pointAx, sweepEnd);
        haveReported_ = true;
    }
    // The samples left out draw to the point the pen already stands on, which draws nothing.
    for (const auto& [i, p] : reported_)
        listener.PolarSample(s, i, p);
    listener.PolarPassEnd(s);
}

std::optional<std::int32_t> PolarSweep::PointC(std::int32_t pointAx, std::int32_t sweepEnd, Extended tanWedge) {
    const std::int64_t first = pointAx, last = sweepEnd;
    if (last - first >= shortSweep && UseShortcut())
        return LastPassing(first, last, tanWedge);
    if (last < first)
        return std::nullopt;
    // Kept for at most this many samples: beyond that (a gas the shortcut cannot take) each
    // wedge evaluates them anew rather than holding megabytes.
    constexpr std::int64_t kKeptOrdinates = 1 << 16;
    const std::int64_t count = last - first + 1;
    if (count <= kKeptOrdinates &&
        (pointCOrdinatesFirst_ != first || static_cast<std::int64_t>(pointCOrdinates_.size()) != count)) {
        pointCOrdinates_.clear();
        for (std::int64_t i = first; i <= last; ++i)
            pointCOrdinates_.push_back(Ordinate(static_cast<std::int32_t>(i)));
        pointCOrdinatesFirst_ = first;
    }
    const bool kept = count <= kKeptOrdinates;
    for (std::int64_t i = last; i >= first; --i) {
        const auto vx = static_cast<std::int32_t>(i);
        if (Passes(vx, kept ? pointCOrdinates_[static_cast<std::size_t>(i - first)] : Ordinate(vx), tanWedge))
            return vx;
    }
    return std::nullopt;
}

void PolarSweep::ReducedWedgeSweep(std::int32_t pointAx, Extended tanWedge) {
    remembering_ = true; // the same samples come again at the next reduced wedge
    const std::int32_t v1 = state_.V1;
    const auto literal = [&](std::int64_t from) {
        for (std::int64_t i = from; i <= v1; ++i) {
            const auto vx = static_cast<std::int32_t>(i);
            if (RightOfA(vx)) {
                const Extended p = Ordinate(vx);
                if (Passes(vx, p, tanWedge))
                    SetC(vx, p);
            }
        }
    };
    if (static_cast<std::int64_t>(v1) - pointAx < shortSweep || !fast_) {
        literal(pointAx);
        return;
    }
    // The samples right of A form a suffix (the test value grows with i): find where it starts,
    // once for every reduced wedge of the run.
    if (!RightOfA(v1))
        return;
    if (!firstRightOfA_ || firstRightOfA_->first != pointAx) {
        std::int64_t lo = pointAx, hi = v1;
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            if (RightOfA(static_cast<std::int32_t>(mid)))
                hi = mid;
            else
                lo = mid + 1;
        }
        firstRightOfA_.emplace(pointAx, lo);
    }
    const std::int64_t lo = firstRightOfA_->second;
    if (!UseShortcut()) {
        literal(lo);
        return;
    }
    if (auto c = LastPassing(lo, v1, tanWedge))
        SetC(*c, Ordinate(*c));
}

} // namespace zk
