// SPDX-License-Identifier: GPL-3.0-or-later
// The batch tool's --extras: the landmarks of exact theory printed after the usual lines, and
// the layer drawn into the picture and its operations log.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BatchTool.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result Batch(std::vector<std::string> args) {
    args.insert(args.begin(), "zorkventa-batch");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    std::ostringstream out, err;
    const int status = zk::RunBatch(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

std::string Lines(double c1, int gamma100, int v1, int chi) {
    std::ostringstream out;
    out << c1 << "\r\n" << gamma100 << "\r\n" << v1 << "\r\n" << chi << "\r\n";
    return out.str();
}

// The value of "key: value" in a transcript; empty when the key is missing.
std::string Value(const std::string& out, const std::string& key) {
    const std::size_t at = out.find("\n" + key + ": ");
    if (at == std::string::npos)
        return {};
    const std::size_t from = at + key.size() + 3;
    return out.substr(from, out.find('\n', from) - from);
}

std::vector<double> Numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<double> out;
    for (double x; in >> x;)
        out.push_back(x);
    return out;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class BatchExtras : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zk-extras-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Case(const std::string& bytes) {
        const auto path = dir_ / "case.psr";
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::filesystem::path dir_;
};

const char* const kKeys[] = {"theta_max", "tangent_point", "weak_point", "strong_point", "sonic_radius"};

} // namespace

// M1 = 2, γ = 1.4, χ = 20°: θmax 22.97° (NACA Report 1135); a* = sqrt(173 400) m/s from the energy
// equation; the weak and strong points turn the flow through 20°, and the line from B to each is
// perpendicular to the shock of 53.42° and 74.27° (NACA Report 1135).
TEST_F(BatchExtras, LandmarksFollowTheUsualLines) {
    const std::string c = Case(Lines(340, 140, 680, 20));
    const Result plain = Batch({"--decimal-separator", ",", c});
    const Result r = Batch({"--decimal-separator", ",", "--extras", c});
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(r.out.substr(0, plain.out.size()), plain.out);
    std::string tail = r.out.substr(plain.out.size());
    for (const char* key : kKeys) {
        ASSERT_EQ(tail.rfind(std::string(key) + ": ", 0), 0u) << tail;
        tail = tail.substr(tail.find('\n') + 1);
    }
    EXPECT_EQ(tail, "");

    const double thetaMax = std::stod(Value(r.out, "theta_max"));
    EXPECT_NEAR(thetaMax, 22.97, 0.005);
    const std::vector<double> t = Numbers(Value(r.out, "tangent_point"));
    ASSERT_EQ(t.size(), 2u);
    EXPECT_NEAR(std::atan2(t[1], t[0]) * 180 / M_PI, thetaMax, 1e-7);
    const std::vector<double> weak = Numbers(Value(r.out, "weak_point"));
    const std::vector<double> strong = Numbers(Value(r.out, "strong_point"));
    ASSERT_EQ(weak.size(), 2u);
    ASSERT_EQ(strong.size(), 2u);
    for (const auto& [p, beta] : {std::pair{weak, 53.42}, std::pair{strong, 74.27}}) {
        EXPECT_NEAR(std::atan2(p[1], p[0]) * 180 / M_PI, 20, 1e-7);
        EXPECT_NEAR(std::atan2(680 - p[0], p[1]) * 180 / M_PI, beta, 0.005);
    }
    EXPECT_NEAR(std::stod(Value(r.out, "sonic_radius")), std::sqrt(173400.0), 1e-9);
    // Full precision (the correctly rounded square root), with a decimal point whatever the labels take.
    EXPECT_EQ(Value(r.out, "sonic_radius"), "416.41325627314029");
}

TEST_F(BatchExtras, DashesWhereTheRayMissesOrThereIsNoShock) {
    struct Row {
        const char* Name;
        double C1;
        int Gamma100, V1, Chi;
        bool Landmarks; // theta_max, tangent_point and sonic_radius given
    };
    const std::vector<Row> rows = {
        {"detached", 340, 140, 680, 30, true},     {"no wedge", 340, 140, 680, 0, true},
        {"c1 zero", 0, 140, 680, 20, false},       {"c1 negative", -10, 140, 680, 20, false},
        {"gamma one", 340, 100, 680, 20, false},   {"gamma below one", 340, 90, 680, 20, false},
        {"V1 below c1", 400, 140, 365, 20, false}, {"V1 equal to c1", 365, 140, 365, 20, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const std::string c = Case(Lines(row.C1, row.Gamma100, row.V1, row.Chi));
        const Result plain = Batch({"--decimal-separator", ".", c});
        const Result r = Batch({"--decimal-separator", ".", "--extras", c});
        EXPECT_EQ(r.status, plain.status);
        EXPECT_EQ(Value(r.out, "weak_point"), "-");
        EXPECT_EQ(Value(r.out, "strong_point"), "-");
        for (const char* key : {"theta_max", "tangent_point", "sonic_radius"})
            EXPECT_EQ(Value(r.out, key) == "-", !row.Landmarks) << key << ": " << Value(r.out, key);
    }
}

// The layer is drawn after the diagram's own operations, in its own colours, and the pictures
// show it; without --extras nothing of it is there.
TEST_F(BatchExtras, LayerGoesIntoTheOperationsAndThePictures) {
    const std::string c = Case(Lines(340, 140, 680, 20));
    const auto run = [&](const std::string& name, bool extras) {
        std::vector<std::string> args = {"--ops", (dir_ / (name + ".ops")).string(), "--bmp",
                                         (dir_ / (name + ".bmp")).string(), "--png",
                                         (dir_ / (name + ".png")).string(), "--scale", "2"};
        if (extras)
            args.push_back("--extras");
        args.push_back(c);
        return Batch(args);
    };
    ASSERT_EQ(run("plain", false).status, 0);
    ASSERT_EQ(run("layer", true).status, 0);
    const std::string plainOps = ReadFile(dir_ / "plain.ops"), layerOps = ReadFile(dir_ / "layer.ops");
    ASSERT_GT(layerOps.size(), plainOps.size());
    EXPECT_EQ(layerOps.substr(0, plainOps.size()), plainOps);
    const std::string added = layerOps.substr(plainOps.size());
    for (const char* colour : {" 800080 ", " 004B96 ", " 808000 "})
        EXPECT_NE(added.find(colour), std::string::npos) << colour;
    EXPECT_NE(added.find("скачок присоединён"), std::string::npos);
    for (const char* colour : {"800080", "004B96", "808000"})
        EXPECT_EQ(plainOps.find(colour), std::string::npos) << colour;
    EXPECT_NE(ReadFile(dir_ / "plain.bmp"), ReadFile(dir_ / "layer.bmp"));
    EXPECT_NE(ReadFile(dir_ / "plain.png"), ReadFile(dir_ / "layer.png"));

    const Result sweep = Batch({"--extras", "--sweep", "10:20", c});
    EXPECT_EQ(sweep.status, 2);
    EXPECT_NE(sweep.err.find("--extras"), std::string::npos) << "the usage names the option";
}
