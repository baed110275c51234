// SPDX-License-Identifier: GPL-3.0-or-later
// The charts' scenes: picking rules, number texts, the case kept between refreshes, and where the
// marks of a case stand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "ApplyListener.h"
#include "ChartScene.h"
#include "ShockCharts.h"
#include "Solver.h"

namespace {

using zk::ChartItem;

TEST(ChartPickTest, WedgeAngleIsTheNearestWholeDegreeInsideTheAxisAndTheField) {
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        double Theta, Limit;
        int Low, High, Expected;
    } cases[] = {
        {12.3, 50, 0, 180, 12},  {12.5, 50, 0, 180, 13}, {-3, 50, 0, 180, 0},  {60, 50, 0, 180, 50},
        {kNan, 50, 1, 180, 1},   {10, kInf, 0, 180, 0},  {10, -5, 0, 180, 0},  {30, 50, 5, 20, 20},
        {2, 50, 5, 20, 5},       {30, 50, 7, 7, 30},     {49.6, 49.6, 0, 180, 50},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zk::WedgeAngleFor(c.Theta, c.Limit, c.Low, c.High), c.Expected)
            << c.Theta << " on an axis to " << c.Limit << " in [" << c.Low << ", " << c.High << "]";
}

TEST(ChartTextTest, NumbersFollowTheSeparatorAndLargePressuresReadAsPowersOfTen) {
    struct Case {
        double Value;
        int Digits;
        const char* Separator;
        const char* Expected;
    } cases[] = {
        {1.5, 2, ",", "1,5"},          {4.5, 4, ".", "4.5"},          {22.974, 2, ",", "22,97"},
        {123456, 3, ".", "1.23·10⁵"},   {999960, 3, ",", "1·10⁶"},     {-2.5e7, 3, ",", "-2,5·10⁷"},
        {99999, 2, ".", "99999"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zk::ChartPressureText(c.Value, c.Digits, c.Separator), c.Expected) << c.Value;
}

TEST(ChartTextTest, ContinuingSentenceStartsInLowerCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"Показатель адиабаты γ должен быть больше 1", "показатель адиабаты γ должен быть больше 1."},
        {"Ёмкость.", "ёмкость."}, {"Mach number", "mach number."}, {"уже строчная", "уже строчная."},
        {"", "."}, {"1 вместо 2", "1 вместо 2."},
    };
    for (const auto& [message, expected] : cases)
        EXPECT_EQ(zk::ChartContinuing(message), expected);
}

zk::ShockComparison ComparisonFor(double gamma, int v1, int chi) {
    zk::FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = gamma;
    zk::ApplyListener quiet;
    zk::Apply(state, zk::ApplyInputs{chi, v1, '.'}, quiet);
    return zk::CompareWithExactTheory(state);
}

TEST(ChartCaseMakerTest, KeepsTheFamilyPerGammaAndSaysWhyThereIsNone) {
    zk::ChartCaseMaker maker;
    const zk::ShockComparison air = ComparisonFor(1.4, 680, 20);
    const zk::ChartCase first = maker.Make(&air, 1.4, 20, "");
    ASSERT_TRUE(first.Family && first.Current);
    const zk::ChartCase again = maker.Make(&air, 1.4, 21, "");
    EXPECT_EQ(again.Family, first.Family) << "the same γ keeps its family";
    EXPECT_EQ(again.Current, first.Current) << "the same M1 keeps its curve";

    const zk::ShockComparison none = ComparisonFor(1.0, 680, 20);
    const zk::ChartCase flat = maker.Make(&none, 1.0, 20, "");
    EXPECT_FALSE(flat.Family);
    EXPECT_EQ(flat.FamilyProblem.rfind("Кривых θ–β–M нет: ", 0), 0u) << flat.FamilyProblem;
    EXPECT_NE(flat.FamilyProblem.find("γ"), std::string::npos);

    const zk::ChartCase faulted = maker.Make(nullptr, 1.4, 20, "Последний расчёт прерван ошибкой.");
    EXPECT_FALSE(faulted.Family || faulted.Current);
    EXPECT_EQ(faulted.FamilyProblem, "Последний расчёт прерван ошибкой.");
    const zk::ChartScene family = zk::FamilyScene(faulted, zk::EstimatedTextMetrics(), ".");
    EXPECT_EQ(family.Notice, faulted.FamilyProblem);
    EXPECT_EQ(zk::PressureScene(faulted, zk::EstimatedTextMetrics(), ".").Notice, faulted.FamilyProblem);
}

// Every coordinate of a scene is a number: no NaN reaches a painter.
void ExpectFinite(const zk::ChartScene& scene) {
    for (const auto* layer : {&scene.Background, &scene.Marks})
        for (const ChartItem& item : *layer) {
            for (const zk::ChartPoint& p : item.Points)
                EXPECT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y)) << scene.Name << " " << item.Text;
            EXPECT_TRUE(std::isfinite(item.Box.X + item.Box.Y + item.Box.W + item.Box.H)) << scene.Name;
        }
}

const ChartItem* FindText(const std::vector<ChartItem>& items, const std::string& prefix) {
    for (const ChartItem& item : items)
        if (item.Type == ChartItem::Kind::Text && item.Text.rfind(prefix, 0) == 0)
            return &item;
    return nullptr;
}

TEST(ChartSceneTest, MarksStandWhereTheCaseAndTheAxesPutThem) {
    struct Case {
        double Gamma;
        int V1, Chi;
        bool WedgeOnAxis;
    } cases[] = {{1.4, 680, 20, true}, {1.4, 680, 30, true}, {1.4, 680, 100, false},
                 {1.4, 100000, 10, true}, {1.67, 5000, 40, true}, {1.4, 200, 10, true}};
    const zk::EstimatedTextMetrics metrics;
    for (const Case& c : cases) {
        SCOPED_TRACE("γ " + std::to_string(c.Gamma) + " V1 " + std::to_string(c.V1) + " χ " + std::to_string(c.Chi));
        zk::ChartCaseMaker maker;
        const zk::ShockComparison comparison = ComparisonFor(c.Gamma, c.V1, c.Chi);
        const zk::ChartCase chartCase = maker.Make(&comparison, c.Gamma, c.Chi, "");
        for (const zk::ChartScene& scene : {zk::ThetaBetaScene(comparison, c.Chi, metrics, ","),
                                            zk::FamilyScene(chartCase, metrics, ","),
                                            zk::PressureScene(chartCase, metrics, ",")}) {
            SCOPED_TRACE(scene.Name);
            ExpectFinite(scene);
            // Picking inverts the axis.
            for (double theta : {0.0, 7.5, scene.ThetaLimit})
                EXPECT_NEAR(zk::ChartThetaAt(scene, zk::ChartXOf(scene, theta)), theta, 1e-9);
            EXPECT_EQ(zk::ChartAngleAt(scene, scene.Width + 50.0, 0, 180), std::lround(scene.ThetaLimit));
            if (!scene.Notice.empty() && scene.Name != "family")
                continue; // no curve: axes and the sentence only (the family keeps the wedge)
            const ChartItem* wedge = FindText(scene.Marks, "χ = ");
            ASSERT_NE(wedge, nullptr);
            EXPECT_NE(wedge->Text.find(std::to_string(c.Chi)), std::string::npos) << wedge->Text;
            // A wedge beyond a chart's axis is named at its end (the polar's axis ends past θmax).
            const bool onAxis = c.Chi <= scene.ThetaLimit;
            if (!c.WedgeOnAxis) {
                EXPECT_FALSE(onAxis);
            }
            EXPECT_EQ(wedge->Text.find("→") != std::string::npos, !onAxis) << wedge->Text;
            if (!onAxis) {
                EXPECT_EQ(wedge->HAlign, zk::ChartHAlign::Right);
                EXPECT_DOUBLE_EQ(wedge->Points[0].X, scene.Name == "theta-beta" ? scene.Plot.X + scene.Plot.W
                                                                                : scene.Plot.Right());
            } else {
                // The dotted line stands on the wedge's column.
                bool found = false;
                for (const ChartItem& item : scene.Marks)
                    if (item.Type == ChartItem::Kind::Line && item.Pen == zk::ChartPen::Dot)
                        found = found || item.Points[0].X == std::lround(zk::ChartXOf(scene, c.Chi));
                EXPECT_TRUE(found);
            }
        }
    }
}

TEST(ChartSceneTest, JsonNamesEveryItemAndEscapesTexts) {
    zk::ChartScene scene;
    scene.Name = "x\"y";
    ChartItem text;
    text.Type = ChartItem::Kind::Text;
    text.Points = {{1.5, 2}};
    text.Text = "a\\b\n";
    scene.Marks.push_back(text);
    const std::string json = zk::ChartSceneJson(scene);
    EXPECT_NE(json.find("\"name\":\"x\\\"y\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"text\":\"a\\\\b\\n\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"points\":[[1.5,2]]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"background\":[]"), std::string::npos) << json;
}

// Written through the cache, a scene is the same text as written alone, whether its background
// is the one written last time for its name, another one, or one seen two scenes before.
TEST(ChartSceneTest, CachedJsonEqualsTheSceneWrittenAlone) {
    const auto scene = [](const char* name, double curveY, double markX) {
        zk::ChartScene s;
        s.Name = name;
        ChartItem curve;
        curve.Type = ChartItem::Kind::Polyline;
        curve.Points = {{0, curveY}, {10.25, curveY / 3}, {20, 1.0 / 7}};
        s.Background.push_back(curve);
        ChartItem mark;
        mark.Type = ChartItem::Kind::Ellipse;
        mark.Points = {{markX, 4}};
        s.Marks.push_back(mark);
        return s;
    };
    const zk::ChartScene sequence[] = {
        scene("family", 1, 2),   scene("family", 1, 3),   scene("pressure", 1, 3), scene("family", 2, 3),
        scene("family", 1, 3),   scene("pressure", 1, 5), scene("family", 1, 5),   zk::ChartScene{},
    };
    zk::ChartJsonCache cache;
    for (std::size_t i = 0; i < std::size(sequence); ++i)
        EXPECT_EQ(cache.Json(sequence[i]), zk::ChartSceneJson(sequence[i])) << "scene " << i;
}

// The numbers of a scene are written as the shortest text that reads back as the same double:
// the page paints exactly what the library computed.
TEST(ChartSceneTest, JsonNumbersAreTheShortestThatReadBackTheSame) {
    struct NumberCase {
        double Value;
        const char* Text; // nullptr: any text that reads back the same
    };
    const NumberCase cases[] = {
        {2, "2"},        {-17, "-17"},        {1.5, "1.5"},        {0.1, "0.1"},      {-0.25, "-0.25"},
        {1.0 / 3, nullptr}, {2.0 / 3 * 100, nullptr}, {1e-7, nullptr}, {123456.789, "123456.789"},
        {1e20, nullptr},  {-4.94e-324, nullptr}, {1.7976931348623157e308, nullptr},
    };
    for (const NumberCase& c : cases) {
        zk::ChartScene scene;
        ChartItem text;
        text.Type = ChartItem::Kind::Text;
        text.Points = {{c.Value, 0}};
        scene.Marks.push_back(text);
        const std::string json = zk::ChartSceneJson(scene);
        const std::string key = "\"points\":[[";
        const std::size_t at = json.find(key);
        ASSERT_NE(at, std::string::npos) << json;
        const std::string written = json.substr(at + key.size(), json.find(',', at + key.size()) - at - key.size());
        EXPECT_EQ(std::strtod(written.c_str(), nullptr), c.Value) << written;
        if (c.Text) {
            EXPECT_EQ(written, c.Text);
        }
        EXPECT_LE(written.size(), 24u) << written;
    }
    // What is not a number is written as null, never as text JSON cannot read.
    zk::ChartScene scene;
    ChartItem text;
    text.Type = ChartItem::Kind::Text;
    text.Points = {{std::nan(""), HUGE_VAL}};
    scene.Marks.push_back(text);
    EXPECT_NE(zk::ChartSceneJson(scene).find("\"points\":[[null,null]]"), std::string::npos);
}

} // namespace
