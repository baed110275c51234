// SPDX-License-Identifier: GPL-3.0-or-later
// A case in a web address: which parameters count, which are left out and what the student is
// told, the fields' values as an opened result file sets them, and the address of a case that
// reads back as exactly that case.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "CaseLink.h"
#include "Numbers.h"

using namespace zk;

namespace {

struct Expected {
    std::optional<double> C1, Gamma;
    std::optional<int> V1;
    std::optional<double> Chi;
    std::vector<std::string> Problems; // a part of each sentence, in order
};

TEST(CaseLink, ReadsTheGivenParametersAndLeavesOutTheMalformed) {
    const std::string tooLong(100, '7');
    const struct {
        std::string Query;
        Expected Want;
    } rows[] = {
        {"c1=340&gamma=1.4&v1=680&chi=20", {340, 1.4, 680, 20, {}}},
        {"", {}},
        {"v1=1000&chi=10", {{}, {}, 1000, 10, {}}},
        {"chi=20.5&c1=340.5&gamma=1.67", {340.5, 1.67, {}, 20.5, {}}},
        {"V1=700&CHI=5", {{}, {}, 700, 5, {}}},
        {"utm_source=course&chi=5&&page=2", {{}, {}, {}, 5, {}}},
        {"c1=%33%34%30&chi=%2B20&v1=+700+", {340, {}, 700, 20, {}}},
        {"v1=-680&chi=-5", {{}, {}, -680, -5, {}}},
        {"v1=abc&chi=10", {{}, {}, {}, 10, {"v1 = «abc» не учтён: его значение — скорость потока V1"}}},
        {"v1=", {{}, {}, {}, {}, {"v1 пуст и не учтён"}}},
        {"v1", {{}, {}, {}, {}, {"v1 пуст и не учтён"}}},
        {"v1=680.5", {{}, {}, {}, {}, {"v1 = «680.5» не учтён: его значение — скорость потока V1 в м/с, целое число"}}},
        {"v1=3000000000", {{}, {}, {}, {}, {"v1 = «3000000000» слишком велик по модулю"}}},
        {"chi=NaN", {{}, {}, {}, {}, {"chi = «NaN» не учтён: его значение — половинный угол клина χ"}}},
        {"chi=Infinity&gamma=-inf", {{}, {}, {}, {}, {"gamma = «-inf» не учтён", "chi = «Infinity» не учтён"}}},
        {"chi=1e400", {{}, {}, {}, {}, {"chi = «1e400» не учтён"}}},
        {"chi=1e300", {{}, {}, {}, {}, {"chi = «1e300» слишком велик по модулю и не учтён"}}},
        {"gamma=1e18", {{}, {}, {}, {}, {"gamma = «1e18» слишком велик"}}},
        {"c1=1e18", {1e18, {}, {}, {}, {}}},
        {"v1=680&v1=700&chi=3", {{}, {}, {}, 3, {"v1 указан несколько раз и не учтён"}}},
        {"c1=x&gamma=&v1=700", {{}, {}, 700, {}, {"c1 = «x»", "gamma пуст"}}},
        {"chi=%FF", {{}, {}, {}, {}, {"chi = «\xEF\xBF\xBD» не учтён"}}},
        {"chi=20,5", {{}, {}, {}, {}, {"chi = «20,5» не учтён"}}},
        {"v1=" + tooLong, {{}, {}, {}, {}, {"v1 = «" + std::string(32, '7') + "…» слишком велик"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Query);
        const CaseLink link = ReadCaseLink(row.Query);
        EXPECT_EQ(link.SoundSpeed, row.Want.C1);
        EXPECT_EQ(link.Gamma, row.Want.Gamma);
        EXPECT_EQ(link.V1, row.Want.V1);
        EXPECT_EQ(link.WedgeDegrees, row.Want.Chi);
        // One sentence per parameter left out, in the order c1, gamma, v1, chi.
        ASSERT_EQ(link.Problems.size(), row.Want.Problems.size());
        for (std::size_t i = 0; i < link.Problems.size(); ++i) {
            const std::string& problem = link.Problems[i];
            EXPECT_EQ(problem.rfind("Параметр адреса ", 0), 0u) << problem;
            EXPECT_EQ(problem.back(), '.') << problem;
            EXPECT_NE(problem.find(row.Want.Problems[i]), std::string::npos) << problem;
        }
    }
}

TEST(CaseLink, FieldsAreSetAsByAnOpenedResultFile) {
    FlowState startUp;
    startUp.SoundSpeed = 340;
    startUp.Gamma = 1.4;
    startUp.V1 = 680;
    startUp.WedgeAngle = static_cast<double>(static_cast<Extended>(20) * Pi / 180);
    const struct {
        std::string Query;
        double C1, Gamma;
        int V1;
        double Chi;
        int ChiField, C1Field, GammaField;
    } rows[] = {
        {"", 340, 1.4, 680, 20, 20, 340, 14},
        {"v1=1000&chi=10", 340, 1.4, 1000, 10, 10, 340, 14},
        // The fields round ties to the even number: 20.5 -> 20, 21.5 -> 22, 340.5 -> 340.
        {"chi=20.5&c1=340.5", 340.5, 1.4, 680, 20.5, 20, 340, 14},
        {"chi=21.5&gamma=1.67", 340, 1.67, 680, 21.5, 22, 340, 17},
        {"chi=1e10&c1=-5", -5, 1.4, 680, 1e10, 2147483647, -5, 14},
        {"gamma=1.25", 340, 1.25, 680, 20, 20, 340, 12},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Query);
        const ResultFileValues v = CaseLinkValues(ReadCaseLink(row.Query), startUp);
        EXPECT_EQ(v.SoundSpeed, row.C1);
        EXPECT_EQ(v.Gamma, row.Gamma);
        EXPECT_EQ(v.V1, row.V1);
        EXPECT_EQ(v.WedgeDegrees, row.Chi);
        EXPECT_EQ(v.WedgeField, row.ChiField);
        EXPECT_EQ(v.SoundSpeedField, row.C1Field);
        EXPECT_EQ(v.GammaField, row.GammaField);
    }
}

// The address of a case gives back that case: the same doubles, the same whole numbers.
TEST(CaseLink, AddressReadsBackAsTheSameCase) {
    const struct {
        double C1, Gamma;
        int V1, Chi;
    } rows[] = {
        {340, 1.4, 680, 20},      {340.5, 1.67, 1000, 10}, {0.1 + 0.2, 1.0 / 3, 365, 0},
        {1e15, 1.4, 1000000, 180}, {2.5e-7, 1.4, 680, 20}, {-5, 0, -1, 45},         {std::nextafter(340.0, 400.0), 1.4, 2147483647, 1},
    };
    for (const auto& row : rows) {
        FlowState state;
        state.SoundSpeed = row.C1;
        state.Gamma = row.Gamma;
        state.V1 = row.V1;
        state.WedgeAngle = static_cast<double>(static_cast<Extended>(row.Chi) * Pi / 180);
        const std::string query = CaseLinkQuery(state);
        SCOPED_TRACE(query);
        EXPECT_EQ(query.find('+'), std::string::npos) << "a plus would read as a space";
        const CaseLink link = ReadCaseLink(query);
        EXPECT_TRUE(link.Problems.empty());
        EXPECT_EQ(link.SoundSpeed, row.C1);
        EXPECT_EQ(link.Gamma, row.Gamma);
        EXPECT_EQ(link.V1, row.V1);
        EXPECT_EQ(link.WedgeDegrees, row.Chi);
    }
    FlowState startUp;
    startUp.SoundSpeed = 340;
    startUp.Gamma = 1.4;
    startUp.V1 = 680;
    startUp.WedgeAngle = static_cast<double>(static_cast<Extended>(20) * Pi / 180);
    EXPECT_EQ(CaseLinkQuery(startUp), "c1=340&gamma=1.4&v1=680&chi=20") << "the shortest texts";
}

TEST(CaseLink, QuotedValuesAreValidUtf8) {
    const struct {
        std::string In, Out;
    } rows[] = {
        {"abc", "abc"},
        {"ёж", "ёж"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"\xFF", "\xEF\xBF\xBD"},
        {"a\xD0", "a\xEF\xBF\xBD"},
        {"\xC0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},         // an overlong zero
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // a surrogate
        {"\xF4\x90\x80\x80x", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx"}, // beyond U+10FFFF
    };
    for (const auto& row : rows)
        EXPECT_EQ(ValidUtf8(row.In), row.Out) << row.In;
}

} // namespace
