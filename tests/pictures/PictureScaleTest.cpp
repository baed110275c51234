// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed pictures at a device scale: k times the size with device pixel ratio k, still two
// colours, and the same figure as at scale 1, only finer.
#include <QImage>
#include <gtest/gtest.h>
#include <ostream>
#include <set>
#include <string>
#include <utility>

#include "Pictures.h"

namespace zk::pictures {
namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;

struct ScaledCase {
    const char* Name;
    QImage (*Draw)();
    bool Transparent;
};

void PrintTo(const ScaledCase& c, std::ostream* os) {
    *os << c.Name;
}

const ScaledCase Cases[] = {
    {"TaskSketch", TaskSketch, false},
    {"VelocityDensityFormula", VelocityDensityFormula, false},
    {"PressureRatioFormula", PressureRatioFormula, false},
    {"SoundSpeedFormula", SoundSpeedFormula, false},
    {"GammaFormula", GammaFormula, false},
    {"ChiMaxFormula", ChiMaxFormula, true},
    {"ChiFormula", ChiFormula, true},
    {"VelocityFormula", VelocityFormula, false},
    {"GammaTimesTenFormula", GammaTimesTenFormula, false},
    {"TheoryPicture", TheoryPicture, false},
};

bool Ink(const QImage& image, int x, int y) {
    return image.pixel(x, y) == Black;
}

class ScaledPicture : public ::testing::TestWithParam<ScaledCase> {};

TEST_P(ScaledPicture, IsTheSameFigureDrawnFiner) {
    const QImage one = GetParam().Draw().convertToFormat(QImage::Format_ARGB32);
    QImage two;
    {
        const PictureScale scale(2);
        two = GetParam().Draw();
    }
    EXPECT_EQ(GetParam().Draw().convertToFormat(QImage::Format_ARGB32), one)
        << "scale 1 again after the scope";
    ASSERT_EQ(two.size(), one.size() * 2);
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    EXPECT_EQ(two.deviceIndependentSize().toSize(), one.size());
    two = two.convertToFormat(QImage::Format_ARGB32);

    int inkOne = 0, inkTwo = 0, other = 0, mixed = 0, strayInk = 0, inkBlocks = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            inkOne += Ink(one, x, y);
            int here = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const QRgb p = two.pixel(2 * x + dx, 2 * y + dy);
                    const bool ink = p == Black;
                    here += ink;
                    other += !ink && (GetParam().Transparent ? qAlpha(p) != 0 : p != White);
                }
            inkTwo += here;
            mixed += here != 0 && here != 4;
            // Ink at scale 2 lies on or next to ink at scale 1, but for a few blocks where the
            // toolkit rounds a curve or a dash to the other side of a pixel.
            if (here != 0) {
                ++inkBlocks;
                bool near = false;
                for (int ny = y - 1; ny <= y + 1 && !near; ++ny)
                    for (int nx = x - 1; nx <= x + 1 && !near; ++nx)
                        near = one.valid(nx, ny) && Ink(one, nx, ny);
                strayInk += !near;
            }
        }
    EXPECT_EQ(other, 0) << "black ink on the background only, no grey";
    EXPECT_GT(mixed, 0) << "finer than blown-up pixels";
    EXPECT_LE(strayInk, inkBlocks / 50) << "of " << inkBlocks;
    // Four device pixels to a pixel: the ink grows about fourfold (strokes of fonts and pens are
    // thinner relative to their size at the larger size, so between 2 and 5 times).
    EXPECT_GE(inkTwo, 2 * inkOne);
    EXPECT_LE(inkTwo, 5 * inkOne);

    // No stroke is lost: ink at scale 1 with no ink near it at scale 2 comes alone or in pairs,
    // where a dash of the theory picture's circle starts elsewhere, never in a run such as a bar
    // of "=" that fell outside its place.
    std::set<std::pair<int, int>> lost;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            bool near = !Ink(one, x, y);
            for (int dy = 2 * y - 2; dy < 2 * y + 4 && !near; ++dy)
                for (int dx = 2 * x - 2; dx < 2 * x + 4 && !near; ++dx)
                    near = two.valid(dx, dy) && two.pixel(dx, dy) == Black;
            if (!near)
                lost.insert({x, y});
        }
    int inRuns = 0;
    for (const auto& [x, y] : lost) {
        int around = 0;
        for (int ny = y - 1; ny <= y + 1; ++ny)
            for (int nx = x - 1; nx <= x + 1; ++nx)
                around += static_cast<int>(lost.count({nx, ny}));
        inRuns += around >= 3;
    }
    EXPECT_EQ(inRuns, 0) << "of " << lost.size() << " pixels without ink near them";
}

INSTANTIATE_TEST_SUITE_P(Pictures, ScaledPicture, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<ScaledCase>& info) {
                             return std::string(info.param.Name);
                         });

TEST(PictureScale, SourceDrawsAtTheAskedScale) {
    const auto source = AtScale(GammaFormula);
    EXPECT_EQ(source(3).size(), QSize(75, 75));
    EXPECT_EQ(source(3).devicePixelRatio(), 3.0);
    EXPECT_EQ(source(1).convertToFormat(QImage::Format_ARGB32),
              GammaFormula().convertToFormat(QImage::Format_ARGB32));
}

} // namespace
} // namespace zk::pictures
