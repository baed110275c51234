// SPDX-License-Identifier: GPL-3.0-or-later
#include "Solver.h"

#include "PolarSweep.h"

namespace zk {

namespace {

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

// Where the line from B through the wedge-ray point at Vx = PointCx meets the Vy axis (m/s).
Extended InterceptY(const FlowState& state, Extended tanWedge) {
    return Div(tanWedge * state.PointCx * state.V1, static_cast<Extended>(state.V1 - state.PointCx));
}

// The shock stands perpendicular to that line: arctan(V1 / BcInterceptY), radians.
Extended ShockAngleFromIntercept(const FlowState& state, Extended bcInterceptY) {
    return ArcTan2(Div(Div(static_cast<Extended>(state.V1) * state.ScaleX, bcInterceptY), state.ScaleY), 1);
}

void Run(FlowState& state, const ApplyInputs& inputs, ApplyListener& listener, bool fast) {
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

    const Extended chi = state.WedgeAngle;
    const Extended tanChi = Div(Sin(chi), Cos(chi));

    // 4. Point A, where the polar leaves the Vx axis.
    PolarSweep sweep(state, fast);
    const std::int32_t pointAx = sweep.PointAx();

    // 5.
    state.ShockDetached = false;

    // 6. Sweep from A to a little beyond B, twice (lower then upper branch); C is the last sample
    //    within one diagram pixel of the wedge ray.
    const Extended v1 = state.V1;
    const std::int32_t sweepEnd = static_cast<std::int32_t>(
        Round(v1 + Div(100, Div(v1, static_cast<Extended>(state.SoundSpeed)))));
    for (int s : {+1, -1})
        sweep.Pass(s, pointAx, sweepEnd, tanChi, listener);

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
            sweep.ReducedWedgeSweep(pointAx, tanU);
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
        listener.ReducedWedge(u, state.ShockAngle);
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

} // namespace

void ApplyLiteral(FlowState& state, const ApplyInputs& inputs, ApplyListener& listener) {
    Run(state, inputs, listener, false);
}

void Apply(FlowState& state, const ApplyInputs& inputs, ApplyListener& listener) {
    Run(state, inputs, listener, true);
}

} // namespace zk
