// SPDX-License-Identifier: GPL-3.0-or-later
// The batch tool's --extras: the landmarks printed after the usual lines, "-" where there are
// none, and the layer drawn into the operations log and the pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BatchTool.h"

namespace {

struct Result {
    int status;
    std::string out;
};

Result Batch(std::vector<std::string> args) {
    args.insert(args.begin(), "zorkventa-batch");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    std::ostringstream out, err;
    const int status = zk::RunBatch(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str()};
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The case file and the outputs in a folder of the test's own.
std::filesystem::path Folder() {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zk-extras-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    return dir;
}

std::string Case(const std::filesystem::path& dir, double c1, int gamma100, int v1, int chi) {
    std::ofstream(dir / "case.psr", std::ios::binary) << c1 << "\r\n" << gamma100 << "\r\n" << v1 << "\r\n" << chi << "\r\n";
    return (dir / "case.psr").string();
}

} // namespace

// M1 = 2, γ = 1.4, χ = 20°: θmax 22.97°, the weak and strong shocks at 53.42° and 74.27° (NACA
// Report 1135), a* = sqrt(173 400) m/s by hand.  Without a landmark (the ray misses the polar, or
// no oblique shock at all) the line is "-", and the exit status stays the case's own.
TEST(BatchExtras, LandmarksFollowTheUsualLines) {
    const auto dir = Folder();
    const Result plain = Batch({"--decimal-separator", ",", Case(dir, 340, 140, 680, 20)});
    const Result r = Batch({"--decimal-separator", ",", "--extras", Case(dir, 340, 140, 680, 20)});
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(r.out.substr(0, plain.out.size()), plain.out);
    std::istringstream tail(r.out.substr(plain.out.size()));
    std::string key;
    double thetaMax, tx, ty, wx, wy, sx, sy, radius;
    tail >> key >> thetaMax;
    EXPECT_EQ(key, "theta_max:");
    tail >> key >> tx >> ty;
    EXPECT_EQ(key, "tangent_point:");
    tail >> key >> wx >> wy;
    EXPECT_EQ(key, "weak_point:");
    tail >> key >> sx >> sy;
    EXPECT_EQ(key, "strong_point:");
    tail >> key >> radius;
    EXPECT_EQ(key, "sonic_radius:");
    EXPECT_NEAR(thetaMax, 22.97, 0.005);
    EXPECT_NEAR(std::atan2(ty, tx) * 180 / M_PI, thetaMax, 1e-7);
    EXPECT_NEAR(std::atan2(wy, wx) * 180 / M_PI, 20, 1e-7);
    EXPECT_NEAR(std::atan2(sy, sx) * 180 / M_PI, 20, 1e-7);
    EXPECT_NEAR(std::atan2(680 - wx, wy) * 180 / M_PI, 53.42, 0.005);
    EXPECT_NEAR(std::atan2(680 - sx, sy) * 180 / M_PI, 74.27, 0.005);
    EXPECT_NE(r.out.find("\nsonic_radius: 416.41325627314029\n"), std::string::npos) << "%.17g, a decimal point";

    struct Row {
        double C1;
        int Gamma100, V1, Chi;
        const char* Expected;
    };
    const std::vector<Row> rows = {
        {340, 140, 680, 30, "tangent_point: 358.73019794215685 152.07639598589623\nweak_point: -\nstrong_point: -\n"},
        {0, 140, 680, 20, "theta_max: -\ntangent_point: -\nweak_point: -\nstrong_point: -\nsonic_radius: -\n"},
        {340, 100, 680, 20, "theta_max: -\ntangent_point: -\nweak_point: -\nstrong_point: -\nsonic_radius: -\n"},
        {340, 90, 680, 20, "theta_max: -\ntangent_point: -\nweak_point: -\nstrong_point: -\nsonic_radius: -\n"},
        {400, 140, 365, 20, "theta_max: -\ntangent_point: -\nweak_point: -\nstrong_point: -\nsonic_radius: -\n"},
    };
    for (const Row& row : rows) {
        const std::string c = Case(dir, row.C1, row.Gamma100, row.V1, row.Chi);
        const Result extras = Batch({"--decimal-separator", ".", "--extras", c});
        EXPECT_EQ(extras.status, Batch({"--decimal-separator", ".", c}).status) << row.C1 << ' ' << row.Gamma100;
        EXPECT_NE(extras.out.find(row.Expected), std::string::npos) << extras.out;
    }
    std::filesystem::remove_all(dir);
}

// The layer's operations follow the diagram's, in its own colours, and the pictures differ; it
// does not go with a sweep.
TEST(BatchExtras, LayerGoesIntoTheOperationsAndThePictures) {
    const auto dir = Folder();
    const std::string c = Case(dir, 340, 140, 680, 20);
    for (const char* name : {"plain", "layer"}) {
        std::vector<std::string> args = {"--ops", (dir / (std::string(name) + ".ops")).string(), "--png",
                                         (dir / (std::string(name) + ".png")).string(), "--scale", "2", c};
        if (std::string(name) == "layer")
            args.insert(args.begin(), "--extras");
        ASSERT_EQ(Batch(args).status, 0);
    }
    const std::string plain = ReadFile(dir / "plain.ops"), layer = ReadFile(dir / "layer.ops");
    ASSERT_GT(layer.size(), plain.size());
    EXPECT_EQ(layer.substr(0, plain.size()), plain);
    for (const char* colour : {" 800080 ", " 004B96 ", " 808000 "}) {
        EXPECT_NE(layer.find(colour, plain.size()), std::string::npos) << colour;
        EXPECT_EQ(plain.find(colour), std::string::npos) << colour;
    }
    EXPECT_NE(layer.find("скачок присоединён", plain.size()), std::string::npos);
    EXPECT_NE(ReadFile(dir / "plain.png"), ReadFile(dir / "layer.png"));
    EXPECT_EQ(Batch({"--extras", "--sweep", "10:20", c}).status, 2);
    std::filesystem::remove_all(dir);
}
