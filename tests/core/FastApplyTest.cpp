// SPDX-License-Identifier: GPL-3.0-or-later
// The fast Apply against the literal construction: the same flow state to the bit, the same
// labels, and the same polyline of the polar (the points the pen visits, consecutive repeats
// dropped, which is what decides the pixels of a one-pixel line).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>

#include "PolarSweep.h"
#include "Solver.h"

using namespace zk;

namespace {

// Everything Apply reports, reduced to what decides the picture and the labels.
class Transcript : public ApplyListener {
public:
    explicit Transcript(const FlowState& state) : state_(state) {}

    std::ostringstream text;

    void SetCaption(ResultItem label, const std::string& caption) override {
        text << "caption " << static_cast<int>(label) << ' ' << caption << '\n';
    }
    void SetVisible(ResultItem item, bool visible) override {
        text << "visible " << static_cast<int>(item) << ' ' << visible << '\n';
    }
    void ClearAndDrawAxes() override { text << "axes\n"; }
    void PolarPassBegin(int s, std::int32_t pointAx) override {
        text << "pass " << s << " A " << pointAx << '\n';
        haveLast_ = false;
        pending_.clear();
        pendingSide_ = 0;
    }
    void PolarSample(int s, std::int32_t i, Extended p) override {
        const std::int64_t x = Round(static_cast<Extended>(i) * state_.ScaleX + 200);
        const std::int64_t y = 220 + s * Round(p * state_.ScaleY);
        const bool dashed = i > state_.V1;
        if (haveLast_ && x == lastX_ && y == lastY_ && dashed == lastDashed_)
            return;
        // Within a run of points all above or all below the picture the segments draw nothing:
        // only the run's first point (the pen comes in to it) and its last (where the pen comes to
        // stand) decide the pixels.
        const int side = y < 0 ? -1 : (y >= 449 ? +1 : 0);
        if (side != 0 && side == pendingSide_ && dashed == lastDashed_) {
            pending_ = Point(x, y, dashed);
        } else {
            text << pending_ << Point(x, y, dashed);
            pending_.clear();
        }
        pendingSide_ = side;
        lastX_ = x;
        lastY_ = y;
        lastDashed_ = dashed;
        haveLast_ = true;
    }
    void PolarPassEnd(int) override {
        text << pending_ << "end pass\n";
        pending_.clear();
        pendingSide_ = 0;
    }
    void Wedge() override { text << "wedge\n"; }
    void MarkC() override { text << "markC " << state_.PointCx << '\n'; }
    void ConstructionLine(Extended bc) override { text << "construction " << Bits(bc) << '\n'; }
    void ShockConstruction(Extended bc) override { text << "shock " << Bits(bc) << '\n'; }
    void FixedLabels(std::int32_t pointAx) override { text << "letters " << pointAx << '\n'; }
    void DetachedShock() override { text << "detached\n"; }
    void Repaint() override { text << "repaint\n"; }

private:
    static std::string Point(std::int64_t x, std::int64_t y, bool dashed) {
        return std::to_string(x) + ',' + std::to_string(y) + (dashed ? " dash\n" : "\n");
    }
    static std::string Bits(Extended x) {
        unsigned char bytes[sizeof(Extended)] = {};
        std::memcpy(bytes, &x, 10);
        std::ostringstream out;
        for (int b = 0; b < 10; ++b)
            out << static_cast<int>(bytes[b]) << '.';
        return out.str();
    }

    const FlowState& state_;
    std::int64_t lastX_ = 0, lastY_ = 0;
    bool lastDashed_ = false;
    bool haveLast_ = false;
    std::string pending_;
    int pendingSide_ = 0;
};

std::string StateText(const FlowState& s) {
    std::ostringstream out;
    out.precision(17);
    out << s.SoundSpeed << ' ' << s.Gamma << ' ' << s.ScaleX << ' ' << s.ScaleY << ' ' << s.WedgeAngle << ' '
        << s.ShockAngle << ' ' << s.PointCx << ' ' << s.PointCy << ' ' << s.V1 << ' ' << s.DetachedEndX << ' '
        << s.DetachedEndY << ' ' << s.DetachedRadius << ' ' << s.ShockDetached;
    return out.str();
}

struct Case {
    double c1, gamma;
    int v1, chi;
};

std::string Run(const Case& c, bool fast, FlowState& state) {
    state.SoundSpeed = c.c1;
    state.Gamma = c.gamma;
    Transcript transcript(state);
    try {
        if (fast)
            Apply(state, {c.chi, c.v1, ','}, transcript);
        else
            ApplyLiteral(state, {c.chi, c.v1, ','}, transcript);
    } catch (const FloatError& e) {
        transcript.text << "error " << e.what() << '\n';
    }
    return transcript.text.str() + StateText(state);
}

void ExpectSame(const Case& c) {
    SetShortSweepSamples(0); // the shortcut everywhere, also where the program would not take it
    FlowState literal, fast; // both start from the same earlier state
    literal.PointCy = fast.PointCy = 17;
    const std::string expected = Run(c, false, literal);
    const std::string actual = Run(c, true, fast);
    SetShortSweepSamples(2048);
    if (actual == expected)
        return;
    // Report the first line that differs, not two transcripts of perhaps millions of lines.
    std::istringstream a(actual), e(expected);
    std::string lineA, lineE;
    int line = 1;
    while (std::getline(a, lineA) && std::getline(e, lineE) && lineA == lineE)
        ++line;
    FAIL() << "c1 " << c.c1 << " gamma " << c.gamma << " V1 " << c.v1 << " chi " << c.chi << ": line " << line
           << " fast '" << lineA << "' literal '" << lineE << "'";
}

// The angle (whole degrees) at which the construction stops finding C for this case.
int DetachmentAngle(double c1, double gamma, int v1) {
    int lo = 0, hi = 90;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        FlowState state;
        state.SoundSpeed = c1;
        state.Gamma = gamma;
        ApplyListener quiet;
        Apply(state, {mid, v1, '.'}, quiet);
        if (state.ShockDetached)
            hi = mid - 1;
        else
            lo = mid;
    }
    return lo;
}

} // namespace

TEST(FastApply, WorkedExamplesMatchTheLiteralConstruction) {
    const Case cases[] = {{340, 1.4, 680, 20},  {340, 1.4, 1000, 10}, {340, 1.4, 680, 30}, {340, 1.4, 680, 0},
                          {340, 1.4, 680, 180}, {340, 1.4, 365, 20},  {340, 1.4, 400, 90}, {340, 1.4, 680, -5},
                          {0, 1.4, 680, 20},    {-15, 1.4, 0, 20},    {340, 0.9, 680, 20}, {340, 0, 680, 20},
                          {20, 1.0, 365, 1},    {340, -1, 680, 20},   {340, 0.5, 2000, 20}};
    for (const Case& c : cases)
        ExpectSame(c);
}

TEST(FastApply, LargeSpeedsAtTypicalAngles) {
    for (int chi : {0, 1, 10, 20, 30, 40, 45, 90, 135, 179, 180})
        ExpectSame({340, 1.4, 200000, chi});
}

TEST(FastApply, RandomGasesSpeedsAndAngles) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int n = 0; n < 8500; ++n) {
        Case c;
        c.c1 = std::round(20 + unit(random) * 1500);
        if (unit(random) < 0.2)
            c.c1 += unit(random); // a sound speed from a result file need not be whole
        c.gamma = std::round((1.0 + unit(random) * 2.0) * 10) / 10;
        if (unit(random) < 0.1)
            c.gamma = std::round(unit(random) * 100) / 10; // anything the settings allow
        // Wedges far beyond detachment make the literal search sweep once per degree: keep their
        // speeds lower so the reference stays quick.
        c.chi = static_cast<int>(unit(random) < 0.7 ? unit(random) * 61 : 61 + unit(random) * 120);
        const double top = c.chi > 60 ? 3000.0 : 30000.0;
        const double bottom = std::log(c.c1 + 15);
        c.v1 = static_cast<int>(std::exp(bottom + unit(random) * std::max(0.0, std::log(top) - bottom)));
        ExpectSame(c);
    }
}

TEST(FastApply, AnglesNearDetachment) {
    // Where the wedge ray just touches the polar, long runs of samples lie near the one-pixel
    // tolerance and the reduced-wedge search goes down one degree at a time.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int n = 0; n < 400; ++n) {
        const double c1 = std::round(100 + unit(random) * 900);
        const double gamma = std::round((1.1 + unit(random) * 1.5) * 10) / 10;
        const int v1 = static_cast<int>((c1 + 15) * (1 + unit(random) * 20));
        const int chi = DetachmentAngle(c1, gamma, v1);
        for (int d = -1; d <= 2; ++d)
            ExpectSame({c1, gamma, v1, chi + d});
    }
}

TEST(FastApply, HighSpeedsUpToTheFieldLimit) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int n = 0; n < 12; ++n) {
        const int v1 = static_cast<int>(100000 + unit(random) * 900000);
        const double gamma = std::round((1.1 + unit(random) * 1.5) * 10) / 10;
        const int chi = DetachmentAngle(340, gamma, v1);
        ExpectSame({340, gamma, v1, chi});     // the last attached angle
        ExpectSame({340, gamma, v1, chi + 1}); // the first detached one: one reduced sweep
        ExpectSame({340, gamma, v1, static_cast<int>(unit(random) * chi)});
    }
    ExpectSame({340, 1.4, 1000000, 20});
}

TEST(FastApply, UnusualGasesMatchTheLiteralConstruction) {
    // Subsonic streams, negative sound speeds, gamma at or below -1 and sound speeds from a
    // result file far beyond the stream: the polar takes other shapes, the proof still holds.
    const Case cases[] = {{2000, 1.4, 1500, 20},  {2000, 1.4, 1500, 0},  {-500, 1.4, 800, 20}, {-500, 1.4, 800, 60},
                          {340, -3, 5000, 20},    {340, -3, 5000, 0},    {340, -1, 5000, 20}, {1e7, 1.4, 365, 20},
                          {1e7, 1.4, 365, 0},     {340.25, 10, 9000, 30}, {15, 1.4, 600000, 3}, {340, 1.0, 50000, 10},
                          {-340, -0.5, 4000, 70}, {1e-3, 1.4, 3000, 20}};
    for (const Case& c : cases)
        ExpectSame(c);
}

TEST(FastApply, AbsurdInputsFinishWithoutNaN) {
    // Each of these would sweep billions of samples one by one; the fast Apply must finish and
    // show either numbers or one of the runtime's messages.
    const Case cases[] = {{-2e9, 1.4, -5, 20}, {1e12, 1.4, 1000000, 90}, {1e15, 0.5, 1000000, 180},
                          {340, 1e12, 1000000, 45}, {1e-300, 1.4, 1000000, 20}, {340, -1e6, 1000000, 10}};
    for (const Case& c : cases) {
        FlowState state;
        state.SoundSpeed = c.c1;
        state.Gamma = c.gamma;
        Transcript transcript(state);
        try {
            Apply(state, {c.chi, c.v1, '.'}, transcript);
        } catch (const FloatError&) {
        }
        const std::string text = transcript.text.str();
        EXPECT_EQ(text.find("NAN"), std::string::npos) << c.c1;
        EXPECT_EQ(text.find("INF"), std::string::npos) << c.c1;
        EXPECT_FALSE(std::isnan(state.ShockAngle));
    }
}
