#include "Solver.h"

namespace zk {

namespace {

// The polar's constants for one run: g = 2/(gamma + 1) and k = c1^2/V1 (m/s).  They are the same
// expressions the construction evaluates at every sample, computed on first use, so a fault in
// them is raised where the first sample would raise it.
class PolarConstants {
public:
    PolarConstants(const FlowState& state) : state_(state) {}
    Extended G() {
        if (!haveG_) {
            g_ = Div(2, static_cast<Extended>(state_.Gamma) + 1);
            haveG_ = true;
        }
        return g_;
    }
    Extended K() {
        if (!haveK_) {
            const Extended c1 = state_.SoundSpeed;
            k_ = Div(c1 * c1, state_.V1);
            haveK_ = true;
        }
        return k_;
    }

private:
    const FlowState& state_;
    Extended g_ = 0, k_ = 0;
    bool haveG_ = false, haveK_ = false;
};

// The polar ordinate at Vx = i (m/s).  The absolute value keeps it defined beyond B, where the
// diagram draws it dashed.
Extended PolarOrdinate(Extended g, Extended k, std::int32_t v1, std::int32_t i) {
    Extended m = static_cast<Extended>(v1) - i;
    if (g * k + m == 0)
        m = m + 1;
    return Sqrt(Abs(Div(m * m * ((v1 - k) * g - m), g * k + m)));
}

std::string Ratio3(Extended x, char separator) {
    return NumberText(RoundDecimals(static_cast<double>(x), -3), separator);
}

std::string Ratio1(Extended x, char separator) {
    return NumberText(RoundDecimals(static_cast<double>(x), -1), separator);
}

void SetRatiosVisible(ApplyListener& listener, bool visible, bool withImages) {
    listener.SetVisible(ResultItem::Label1, visible);
    listener.SetVisible(ResultItem::Label2, visible);
    listener.SetVisible(ResultItem::Label8, visible);
    listener.SetVisible(ResultItem::Label11, visible);
    if (withImages) {
        listener.SetVisible(ResultItem::Image2, visible);
        listener.SetVisible(ResultItem::Image3, visible);
        listener.SetVisible(ResultItem::Image4, visible);
        listener.SetVisible(ResultItem::Image5, visible);
    }
}

// Point A: the largest Vx whose test value (V1 - k) g - (V1 - i) is not above zero; 0 when no
// sample qualifies (a gas with gamma below 1 at a high speed).
std::int32_t FindPointAx(const FlowState& state, PolarConstants& constants) {
    std::int32_t pointAx = 0;
    const std::int32_t v1 = state.V1;
    for (std::int32_t i = 0; i <= v1; ++i) {
        const Extended g = constants.G();
        const Extended k = constants.K();
        const Extended m = static_cast<Extended>(v1) - i;
        if ((v1 - k) * g - m <= 0)
            pointAx = i;
    }
    return pointAx;
}

// The shock angle of the line from B through the wedge-ray point at Vx = PointCx: perpendicular
// to it, arctan(V1 / BcInterceptY).
Extended InterceptY(const FlowState& state, Extended tanWedge) {
    return Div(tanWedge * state.PointCx * state.V1, static_cast<Extended>(state.V1 - state.PointCx));
}

Extended ShockAngleFromIntercept(const FlowState& state, Extended bcInterceptY) {
    return ArcTan2(Div(Div(static_cast<Extended>(state.V1) * state.ScaleX, bcInterceptY), state.ScaleY), 1);
}

} // namespace

void ApplyLiteral(FlowState& state, const ApplyInputs& inputs, ApplyListener& listener) {
    const char sep = inputs.DecimalSeparator;

    // 1. Mach number, before the picture is cleared.
    const Extended mach = Div(inputs.Velocity, static_cast<Extended>(state.SoundSpeed));
    listener.SetCaption(ResultItem::Label6, Ratio3(mach, sep));

    // 2. Clear the picture and draw the axes.
    listener.ClearAndDrawAxes();

    // 3. Inputs into the flow state.
    state.WedgeAngle = static_cast<double>(static_cast<Extended>(inputs.WedgeDegrees) * Pi / 180);
    state.ShockAngle = 0;
    state.V1 = inputs.Velocity;
    state.ScaleY = static_cast<double>(Div(330, state.V1));
    state.ScaleX = static_cast<double>(Div(330, state.V1));
    state.PointCx = 0;

    PolarConstants constants(state);
    const Extended chi = state.WedgeAngle;
    const Extended tanChi = Div(Sin(chi), Cos(chi));

    // 4. Point A, where the polar leaves the Vx axis.
    const std::int32_t pointAx = FindPointAx(state, constants);

    // 5.
    state.ShockDetached = false;

    // 6. Sweep from A to a little beyond B, twice (lower then upper branch); C is the last sample
    //    within one diagram pixel of the wedge ray.
    const Extended v1 = state.V1;
    const std::int32_t sweepEnd = static_cast<std::int32_t>(
        Round(v1 + Div(100, Div(v1, static_cast<Extended>(state.SoundSpeed)))));
    for (int s : {+1, -1}) {
        listener.PolarPassBegin(s, pointAx);
        for (std::int64_t i = pointAx; i <= sweepEnd; ++i) {
            const auto vx = static_cast<std::int32_t>(i);
            const Extended p = PolarOrdinate(constants.G(), constants.K(), state.V1, vx);
            if (Abs(p * state.ScaleY - (tanChi * vx) * state.ScaleY) < 1 && vx < state.V1) {
                state.PointCx = vx;
                state.PointCy = static_cast<std::int32_t>(Round(p));
            }
            listener.PolarSample(s, vx, p);
        }
        listener.PolarPassEnd(s);
    }

    // 7, 8. The wedge and the pen of the shock construction.
    if (state.WedgeAngle != 0)
        listener.Wedge();
    listener.ShockPen();

    // 9. The shock angle from the line through B and C.
    const bool attached = state.WedgeAngle != 0 && state.PointCx != 0;
    if (attached) {
        listener.MarkC();
        const Extended bcInterceptY = InterceptY(state, tanChi);
        listener.ConstructionLine(bcInterceptY);
        state.ShockAngle = static_cast<double>(ShockAngleFromIntercept(state, bcInterceptY));
        listener.ShockConstruction(bcInterceptY);
    }

    // 10. Fixed letters and the free-stream arrow.
    listener.FixedLabels(pointAx);

    // 11. Results.
    const Extended gamma = state.Gamma;
    const Extended c1 = state.SoundSpeed;
    if (attached) {
        const Extended phi = state.ShockAngle;
        const Extended m = Div(v1, c1);
        const Extended normalMach = Sin(phi) * m;
        // Pressure ratio across the shock from its normal Mach number.
        const Extended pressure = 1 + Div(2 * gamma, gamma + 1) * (normalMach * normalMach - 1);
        const Extended density = Div((gamma - 1) * pressure + (gamma + 1), (gamma + 1) * pressure + (gamma - 1));
        const Extended cx = state.PointCx, cy = state.PointCy;
        const Extended speed = Div(Sqrt(cx * cx + cy * cy), v1);
        const Extended temperature = Checked(pressure * density);
        SetRatiosVisible(listener, true, true);
        listener.SetCaption(ResultItem::Label8, Ratio3(speed, sep));
        listener.SetCaption(ResultItem::Label1, Ratio3(density, sep));
        listener.SetCaption(ResultItem::Label2, Ratio3(pressure, sep));
        listener.SetCaption(ResultItem::Label11, Ratio3(temperature, sep));
    } else {
        SetRatiosVisible(listener, false, false);
    }
    listener.SetCaption(ResultItem::Label12, IntegerText(Round(c1)));
    listener.SetCaption(ResultItem::Label13, Ratio1(gamma, sep));
    const Extended chiMax = ArcSin(Div(1, gamma)) * 180 / Pi;
    listener.SetCaption(ResultItem::Label3, Ratio1(chiMax, sep));

    // 12. No C for a positive wedge: the detached shock.
    if (state.PointCx == 0 && state.WedgeAngle > 0) {
        Extended u = chi;
        Extended tanU = 0;
        do {
            u = u - OneDegree;
            tanU = Div(Sin(u), Cos(u));
            for (std::int64_t i = pointAx; i <= state.V1; ++i) {
                const auto vx = static_cast<std::int32_t>(i);
                const Extended g = constants.G();
                const Extended k = constants.K();
                if ((v1 - k) * g - (v1 - vx) >= 0) {
                    const Extended p = PolarOrdinate(g, k, state.V1, vx);
                    if (Abs(p * state.ScaleY - (tanU * vx) * state.ScaleY) < 1 && vx < state.V1) {
                        state.PointCx = vx;
                        state.PointCy = static_cast<std::int32_t>(Round(p));
                    }
                }
            }
        } while (state.PointCx <= 0 && u >= 0);

        if (state.PointCx == 0) {
            // Not even a wedge turned below the axis cuts the polar: there is no shock to draw.
            SetRatiosVisible(listener, false, true);
            listener.Repaint();
            return;
        }

        state.ShockDetached = true;
        const Extended bcInterceptY = InterceptY(state, tanU);
        state.ShockAngle = static_cast<double>(ShockAngleFromIntercept(state, bcInterceptY));
        // The angle between shock and wedge at the reduced wedge, weighted by how far the wedge
        // had to be turned back, laid onto the real wedge.
        state.ShockAngle =
            static_cast<double>(Exp((u - chi) * Pi) * (static_cast<Extended>(state.ShockAngle) - u) + chi);
        state.DetachedRadius = static_cast<std::int32_t>(Round(Div((chi - u) * 200, HalfPi - u)));
        double t = 0; // radians along the arc
        do {
            t = static_cast<double>(static_cast<Extended>(t) + OneTenth);
        } while (static_cast<Extended>(t) + static_cast<Extended>(state.ShockAngle) <= HalfPi);
        state.DetachedEndX = static_cast<std::int32_t>(Round(Cos(t) * state.DetachedRadius));
        state.DetachedEndY = static_cast<std::int32_t>(Round(Sin(t) * state.DetachedRadius));
        listener.DetachedShock();
        SetRatiosVisible(listener, false, true);
    }

    // 13.
    listener.Repaint();
}

void Apply(FlowState& state, const ApplyInputs& inputs, ApplyListener& listener) {
    ApplyLiteral(state, inputs, listener);
}

} // namespace zk
