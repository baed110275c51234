// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed pictures: their sizes, their two colours (the program draws without anti-aliasing),
// where their equals signs stand beside the labels and fields, and the theory picture's border
// and geometry.
#include "Pictures.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace zk::pictures {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;

struct PictureCase {
    const char* Name;
    QImage (*Draw)();
    int Width;
    int Height;
    bool Transparent;
};

// Test names and failure messages show the picture's name rather than its bytes.
void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.Name; }

const PictureCase Pictures[] = {
    {"TaskSketch", TaskSketch, 145, 65, false},
    {"VelocityDensityFormula", VelocityDensityFormula, 75, 50, false},
    {"PressureRatioFormula", PressureRatioFormula, 40, 50, false},
    {"SpeedRatioFormula", SpeedRatioFormula, 40, 50, false},
    {"TemperatureRatioFormula", TemperatureRatioFormula, 40, 50, false},
    {"SoundSpeedFormula", SoundSpeedFormula, 50, 50, false},
    {"GammaFormula", GammaFormula, 25, 25, false},
    {"ChiMaxFormula", ChiMaxFormula, 25, 25, true},
    {"ChiFormula", ChiFormula, 20, 20, true},
    {"VelocityFormula", VelocityFormula, 20, 20, false},
    {"GammaTimesTenFormula", GammaTimesTenFormula, 75, 50, false},
    {"TheoryPicture", TheoryPicture, 758, 527, false},
};

// Every pixel sorted into ink, background and anything else (grey, colour, half-transparent).
struct Census {
    int Ink = 0;
    int Background = 0;
    int Other = 0;
};

Census Count(const QImage& picture, bool transparent) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    Census census;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel == Black)
                ++census.Ink;
            else if (transparent ? qAlpha(pixel) == 0 : pixel == White)
                ++census.Background;
            else
                ++census.Other;
        }
    return census;
}

bool IsInk(const QImage& image, int x, int y) { return image.pixel(x, y) == Black; }

// The runs of ink rows in column x, as [first, last] pairs.
std::vector<std::pair<int, int>> InkRunsInColumn(const QImage& image, int x) {
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < image.height(); ++y) {
        if (!IsInk(image, x, y))
            continue;
        if (!runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else
            runs.push_back({y, y});
    }
    return runs;
}

int RightmostInkColumn(const QImage& image) {
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (IsInk(image, x, y))
                return x;
    return -1;
}

// The equals sign that ends a formula: its last column holds exactly two bars; returns the row
// halfway between them, or -1 when the column is not two bars.
double EqualsSignMiddle(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const auto runs = InkRunsInColumn(image, RightmostInkColumn(image));
    if (runs.size() != 2)
        return -1;
    return (runs[0].first + runs[1].second) / 2.0;
}

// The longest horizontal run of ink in the picture: its row and length.
std::pair<int, int> LongestInkRow(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    std::pair<int, int> best{-1, 0};
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = IsInk(image, x, y) ? run + 1 : 0;
            if (run > best.second)
                best = {y, run};
        }
    }
    return best;
}

class EveryPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(EveryPicture, HasTheSizeOfItsPlaceInTheWindow) {
    const QImage image = GetParam().Draw();
    EXPECT_EQ(image.width(), GetParam().Width);
    EXPECT_EQ(image.height(), GetParam().Height);
}

TEST_P(EveryPicture, HoldsOnlyBlackInkOnItsBackground) {
    // Aliased drawing: no grey edge pixels from lines or text, no half-transparent ones.
    const Census census = Count(GetParam().Draw(), GetParam().Transparent);
    EXPECT_EQ(census.Other, 0);
}

TEST_P(EveryPicture, IsMostlyBackgroundWithVisibleInk) {
    const QImage image = GetParam().Draw();
    const Census census = Count(image, GetParam().Transparent);
    const int area = image.width() * image.height();
    EXPECT_GE(census.Ink, area / 40) << "too little drawn to be read";
    EXPECT_GE(census.Background, area / 2);
}

TEST_P(EveryPicture, BackgroundIsWhiteOrSeeThroughAsPromised) {
    const QImage image = GetParam().Draw().convertToFormat(QImage::Format_ARGB32);
    const QRgb corner = image.pixel(image.width() - 1, image.height() - 1);
    if (GetParam().Transparent) {
        EXPECT_TRUE(GetParam().Draw().hasAlphaChannel());
        EXPECT_EQ(qAlpha(corner), 0);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    } else {
        EXPECT_EQ(corner, White);
        EXPECT_EQ(image.pixel(0, 0), White);
    }
}

TEST_P(EveryPicture, IsTheSameEveryTime) { EXPECT_EQ(GetParam().Draw(), GetParam().Draw()); }

INSTANTIATE_TEST_SUITE_P(Pictures, EveryPicture, ::testing::ValuesIn(Pictures),
                         [](const ::testing::TestParamInfo<PictureCase>& info) { return std::string(info.param.Name); });

TEST(FormulaPictures, InkStaysClearOfTheTopAndBottomRows) {
    // Ink in the outermost rows would mean a glyph cut off by the picture's edge.
    for (const PictureCase& c : Pictures) {
        if (std::string(c.Name) == "TaskSketch" || std::string(c.Name) == "TheoryPicture")
            continue;
        const QImage image = c.Draw().convertToFormat(QImage::Format_ARGB32);
        for (int x = 0; x < image.width(); ++x) {
            EXPECT_FALSE(IsInk(image, x, 0)) << c.Name << " column " << x;
            EXPECT_FALSE(IsInk(image, x, image.height() - 1)) << c.Name << " column " << x;
        }
    }
}

TEST(FormulaPictures, EqualsSignsStandLevelWithTheValuesBesideThem) {
    // Rows of the middle of the label's or field's digits next to each picture, from the window
    // layouts, within a pixel.
    const struct {
        const char* Name;
        QImage (*Draw)();
        double Row;
    } cases[] = {
        {"P2/P1 beside Label2", PressureRatioFormula, 25},
        {"v2/v1 beside Label8", SpeedRatioFormula, 25},
        {"T2/T1 beside Label11", TemperatureRatioFormula, 25},
        {"V2/V1 = rho1/rho2 beside Label1", VelocityDensityFormula, 27},
        {"C1 beside Label12 and cc1", SoundSpeedFormula, 17},
        {"gamma beside Label13", GammaFormula, 12},
        {"chi max beside Label3", ChiMaxFormula, 16},
        {"chi before the wedge field", ChiFormula, 11},
        {"v1 before the velocity field", VelocityFormula, 11},
        {"gamma x 10 before cG1", GammaTimesTenFormula, 27},
    };
    for (const auto& c : cases) {
        const double middle = EqualsSignMiddle(c.Draw());
        EXPECT_NE(middle, -1) << c.Name << ": the formula does not end in an equals sign";
        EXPECT_NEAR(middle, c.Row, 1.0) << c.Name;
    }
}

TEST(FormulaPictures, FractionBarsLieOnTheEqualsSignRow) {
    const struct {
        const char* Name;
        QImage (*Draw)();
        int MinimumBar;
    } cases[] = {
        {"P2/P1", PressureRatioFormula, 14},
        {"v2/v1", SpeedRatioFormula, 12},
        {"T2/T1", TemperatureRatioFormula, 14},
        {"V2/V1 = rho1/rho2", VelocityDensityFormula, 14},
    };
    for (const auto& c : cases) {
        const QImage image = c.Draw();
        const auto [row, length] = LongestInkRow(image);
        EXPECT_GE(length, c.MinimumBar) << c.Name;
        EXPECT_NEAR(row, EqualsSignMiddle(image), 1.0) << c.Name;
    }
}

TEST(FormulaPictures, SoundSpeedStaysLegibleShrunkToThirtyThreePixels) {
    // The main window shows the 50 x 50 picture in 33 x 33.  Strokes of one pixel would drop out
    // of a nearest-neighbour shrink; the picture's survive, the equals sign with both bars.
    const QImage full = SoundSpeedFormula();
    const QImage shrunk = full.scaled(33, 33, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const double expected = Count(full, false).Ink * (33.0 * 33.0) / (50.0 * 50.0);
    EXPECT_GE(Count(shrunk, false).Ink, 0.8 * expected);
    EXPECT_NE(EqualsSignMiddle(shrunk), -1);
}

TEST(TheoryPicture, IsTwentyFourBitsPerPixel) {
    const QImage image = TheoryPicture();
    EXPECT_EQ(image.format(), QImage::Format_RGB888);
    EXPECT_EQ(image.depth(), 24);
}

TEST(TheoryPicture, LeavesTheColumnsAndRowsTheWindowHidesBlank) {
    // The window shows the picture from column 1 and cuts off its last three columns and last
    // two rows; nothing of the figure may be lost there.
    const QImage image = TheoryPicture().convertToFormat(QImage::Format_ARGB32);
    std::vector<int> columns = {0};
    for (int x = image.width() - 3; x < image.width(); ++x)
        columns.push_back(x);
    for (const int x : columns)
        for (int y = 0; y < image.height(); ++y)
            ASSERT_EQ(image.pixel(x, y), White) << "column " << x << " row " << y;
    for (int y = image.height() - 2; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), White) << "column " << x << " row " << y;
}

// The geometry the theory picture draws, checked against gas dynamics it must agree with.
class TheoryGeometry : public ::testing::Test {
protected:
    const TheoryFigure f = TheoryFigureGeometry();
    static constexpr double Tolerance = 1e-9; // relative to υ1 = 1; the formulas are closed-form
};

TEST_F(TheoryGeometry, PolarEndsAtAAndBAndIsZeroOutsideThem) {
    EXPECT_NEAR(ShockPolarOrdinate(f, f.PointAx), 0.0, Tolerance);
    EXPECT_NEAR(ShockPolarOrdinate(f, 1.0), 0.0, Tolerance);
    EXPECT_EQ(ShockPolarOrdinate(f, f.PointAx - 0.01), 0.0);
    EXPECT_EQ(ShockPolarOrdinate(f, 1.01), 0.0);
    EXPECT_EQ(ShockPolarOrdinate(f, -5.0), 0.0);
    EXPECT_GT(ShockPolarOrdinate(f, (f.PointAx + 1.0) / 2), 0.1);
}

TEST_F(TheoryGeometry, AIsInsideTheCriticalCircleAndBOutside) {
    // Prandtl: behind a normal shock υ2 = c*²/υ1 < c* < υ1 for a supersonic stream.
    EXPECT_GT(f.Mach, 1.0);
    EXPECT_LT(f.PointAx, f.CriticalSpeed);
    EXPECT_GT(1.0, f.CriticalSpeed);
    // The figure's gas: γ = 1.4 and M = 2.5.  Energy gives c*² = 2/(γ+1)·c1² + (γ-1)/(γ+1)·υ1²,
    // with υ1 = 1 and c1 = 1/M = 0.4 worked by hand: 2/2.4 · 0.16 + 0.4/2.4 = 2/15 + 1/6 = 0.3, so
    // c* = √0.3 = 0.547723 and A = c*²/υ1 = 0.3.
    ASSERT_EQ(f.Gamma, 1.4);
    ASSERT_EQ(f.Mach, 2.5);
    EXPECT_NEAR(f.CriticalSpeed, 0.5477225575051661, Tolerance);
    EXPECT_NEAR(f.PointAx, 0.3, Tolerance);
}

TEST_F(TheoryGeometry, WedgeAngleIsThatOfTheObliqueShockTheory) {
    // A shock front at 52° in a stream of M = 2.5, γ = 1.4 turns the flow by 25.98° (the θ-β-M
    // relation tan θ = 2 cot β (M² sin² β - 1) / (M² (γ + cos 2β) + 2); NACA Report 1135, chart 2,
    // reads about 26°).  The figure's vector υ2 must stand at that angle.
    EXPECT_NEAR(f.ShockAngle * 180 / Pi, 52.0, 1e-12);
    EXPECT_NEAR(f.WedgeAngle * 180 / Pi, 25.9805, 1e-4);
}

TEST_F(TheoryGeometry, ObliqueShocksOfEveryAngleLandOnThePolar) {
    // The Rankine-Hugoniot jump of an oblique shock (tangential velocity kept, normal velocity
    // divided by the density ratio) must give points of the strophoid for every shock angle
    // between the Mach angle and 90°: two independent descriptions of the same curve.
    const double g = f.Gamma;
    const double mu = std::asin(1.0 / f.Mach);
    for (int i = 1; i < 20; ++i) {
        const double phi = mu + (Pi / 2 - mu) * i / 20.0;
        const double mn2 = f.Mach * f.Mach * std::sin(phi) * std::sin(phi);
        const double density = (g + 1.0) * mn2 / ((g - 1.0) * mn2 + 2.0);
        const double vt = std::cos(phi);
        const double vn = std::sin(phi) / density;
        const double x = vt * std::cos(phi) + vn * std::sin(phi);
        const double y = vt * std::sin(phi) - vn * std::cos(phi);
        EXPECT_NEAR(ShockPolarOrdinate(f, x), y, Tolerance) << "phi = " << phi * 180 / Pi;
    }
}

TEST_F(TheoryGeometry, CIsOnTheUpperBranchBelowTheTangent) {
    EXPECT_NEAR(ShockPolarOrdinate(f, f.C.x()), f.C.y(), Tolerance);
    EXPECT_GT(f.C.y(), 0.0);
    EXPECT_NEAR(std::atan2(f.C.y(), f.C.x()), f.WedgeAngle, Tolerance);
    EXPECT_GT(f.WedgeAngle, 0.0);
    EXPECT_LT(f.WedgeAngle, f.MaxWedgeAngle);
    // The attached (weak) shock: C lies between K and B.
    EXPECT_GT(f.C.x(), f.K.x());
}

TEST_F(TheoryGeometry, KIsWhereTheTangentFromTheOriginTouches) {
    EXPECT_NEAR(ShockPolarOrdinate(f, f.K.x()), f.K.y(), Tolerance);
    EXPECT_NEAR(std::atan2(f.K.y(), f.K.x()), f.MaxWedgeAngle, Tolerance);
    // The slope of the branch at K equals the slope of the ray 0K (central difference).
    const double h = 1e-6;
    const double slope = (ShockPolarOrdinate(f, f.K.x() + h) - ShockPolarOrdinate(f, f.K.x() - h)) / (2 * h);
    EXPECT_NEAR(slope, f.K.y() / f.K.x(), 1e-5);
    // No point of the branch lies above the tangent.
    for (int i = 0; i <= 1000; ++i) {
        const double u = f.PointAx + (1.0 - f.PointAx) * i / 1000.0;
        EXPECT_LE(std::atan2(ShockPolarOrdinate(f, u), u), f.MaxWedgeAngle + 1e-12);
    }
}

TEST_F(TheoryGeometry, BCDIsThePerpendicularFromBOnTheFront) {
    const QPointF front(std::cos(f.ShockAngle), std::sin(f.ShockAngle));
    const QPointF b(1.0, 0.0);
    // D on the front, BD normal to it, C on BD between B and D.
    EXPECT_NEAR(f.D.x() * front.y() - f.D.y() * front.x(), 0.0, Tolerance);
    EXPECT_NEAR(QPointF::dotProduct(b - f.D, front), 0.0, Tolerance);
    const QPointF dc = f.C - f.D;
    const QPointF db = b - f.D;
    EXPECT_NEAR(dc.x() * db.y() - dc.y() * db.x(), 0.0, Tolerance);
    EXPECT_GT(QPointF::dotProduct(dc, db), 0.0);
    EXPECT_LT(std::hypot(dc.x(), dc.y()), std::hypot(db.x(), db.y()));
}

TEST_F(TheoryGeometry, BetaAtCEqualsTheShockAngle) {
    // The note φ = β: the angle at C between the vertical and CB.
    const double beta = std::atan2(1.0 - f.C.x(), f.C.y());
    EXPECT_NEAR(beta, f.ShockAngle, Tolerance);
}

TEST_F(TheoryGeometry, NormalComponentsObeyPrandtlsRelation) {
    // For an oblique shock υ1n·υ2n = c*² − (γ−1)/(γ+1)·υt², with the lengths as drawn:
    // υ1n = DB, υ2n = DC, υt = 0D.
    const QPointF b(1.0, 0.0);
    const double v1n = std::hypot((b - f.D).x(), (b - f.D).y());
    const double v2n = std::hypot((f.C - f.D).x(), (f.C - f.D).y());
    const double vt = std::hypot(f.D.x(), f.D.y());
    EXPECT_NEAR(v1n * v2n,
                f.CriticalSpeed * f.CriticalSpeed - (f.Gamma - 1.0) / (f.Gamma + 1.0) * vt * vt, Tolerance);
}

} // namespace
} // namespace zk::pictures
