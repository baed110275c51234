// The batch tool end to end: worked examples as a teacher would run them, faults, bad files and
// the picture and operations outputs.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "BatchTool.h"

using namespace zk;

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
    const int status = RunBatch(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

class BatchTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zk-batch-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Case(const std::string& name, const std::string& bytes) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::filesystem::path dir_;
};

std::string Lines(double c1, int gamma100, int v1, int chi) {
    std::ostringstream out;
    out << c1 << "\r\n" << gamma100 << "\r\n" << v1 << "\r\n" << chi << "\r\n";
    return out.str();
}

} // namespace

TEST_F(BatchTool, StartUpCaseTranscript) {
    const Result r = Batch({"--decimal-separator", ",", Case("start.psr", "340\r\n140\r\n680\r\n20\r\n")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "mach: 2\n"
                     "p2_p1: 2,788\n"
                     "rho1_rho2: 0,496\n"
                     "v2_v1: 0,719\n"
                     "t2_t1: 1,382\n"
                     "c1: 340\n"
                     "gamma: 1,4\n"
                     "chi_max: 45,6\n"
                     "point_a: 254\n"
                     "point_c: 460 166\n"
                     "shock_angle: 0.9202741519841291\n"
                     "shock_detached: false\n"
                     "detached: 0 0 0\n");
}

TEST_F(BatchTool, WorkedExamples) {
    const struct { int v1, chi; const char* expected; } rows[] = {
        {680, 30, "point_c: 382 160\nshock_angle: 0.98075"},
        {680, 180, "p2_p1: 4.5\nrho1_rho2: 0.375\nv2_v1: 0.999\nt2_t1: 1.687"},
        {1000, 10, "point_a: 262\npoint_c: 916 160"},
        {365, 20, "point_c: 347 5\nshock_angle: 0.78259"},
        {400, 90, "detached: 200 199 20"},
        {680, 0, "p2_p1: -\nrho1_rho2: -\nv2_v1: -\nt2_t1: -"},
    };
    for (const auto& row : rows) {
        const Result r = Batch({"--decimal-separator", ".", Case("case.psr", Lines(340, 140, row.v1, row.chi))});
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find(row.expected), std::string::npos) << r.out;
    }
    const Result detached = Batch({"--decimal-separator", ".", Case("d.psr", Lines(340, 140, 680, 30))});
    EXPECT_NE(detached.out.find("shock_detached: true\ndetached: 21 17 12\n"), std::string::npos);
}

TEST_F(BatchTool, OpeningClampsTheInputFields) {
    // A wedge of 200 degrees becomes 180; a speed of 100 m/s becomes the field's lower limit.
    const Result r = Batch({"--decimal-separator", ".", Case("c.psr", Lines(340, 140, 100, 200))});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("mach: 1.074\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("p2_p1: "), std::string::npos);
}

TEST_F(BatchTool, FaultsPrintWhatTheRunReached) {
    const Result gamma = Batch({"--decimal-separator", ".", Case("g.psr", Lines(340, 90, 680, 20))});
    EXPECT_EQ(gamma.status, 1);
    EXPECT_NE(gamma.out.find("gamma: 0.9\nchi_max: -\n"), std::string::npos) << gamma.out;
    EXPECT_NE(gamma.out.find("error: Invalid floating point operation\n"), std::string::npos);
    // An empty file: every value 0, and Apply divides by the zero speed of sound first.
    const Result empty = Batch({"--decimal-separator", ".", Case("e.psr", "")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.out.find("mach: -\n"), std::string::npos) << empty.out;
    EXPECT_NE(empty.out.find("error: Floating point division by zero\n"), std::string::npos);
}

TEST_F(BatchTool, UnreadableFilesAndUsageErrors) {
    const Result missing = Batch({(dir_ / "nowhere.psr").string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "File not found\n");
    EXPECT_TRUE(missing.out.empty());
    const Result comma = Batch({Case("comma.psr", "340,5\r\n140\r\n680\r\n20\r\n")});
    EXPECT_EQ(comma.status, 2);
    EXPECT_EQ(comma.err, "Invalid numeric input\n");
    const Result real = Batch({Case("real.psr", "340\r\n140\r\n680.0\r\n20\r\n")});
    EXPECT_EQ(real.err, "Invalid numeric input\n");
    EXPECT_EQ(Batch({}).status, 2);
    EXPECT_EQ(Batch({"--bogus", "x.psr"}).status, 2);
    EXPECT_EQ(Batch({"--decimal-separator", "ab", "x.psr"}).status, 2);
    const Result folder = Batch({dir_.string()});
    EXPECT_EQ(folder.status, 2);
}

TEST_F(BatchTool, WritesTheDiagramAndItsOperations) {
    const std::string bmp = (dir_ / "out.bmp").string();
    const std::string ops = (dir_ / "out.ops").string();
    const Result r = Batch({"--bmp", bmp, "--ops", ops, Case("s.psr", Lines(340, 140, 680, 20))});
    ASSERT_EQ(r.status, 0);
    std::ifstream file(bmp, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    const auto le32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
    };
    EXPECT_EQ(le32(18), 609u);
    EXPECT_EQ(le32(22), 449u);
    EXPECT_EQ(le32(2), bytes.size());
    std::ifstream log(ops);
    std::string first, second, third;
    std::getline(log, first);
    std::getline(log, second);
    std::getline(log, third);
    EXPECT_EQ(first, "FloodFill 100 100 A4A0A0 border");
    EXPECT_EQ(second, "MoveTo 50 220");
    EXPECT_EQ(third, "LineTo 600 220 000000 1 solid");
    // An output that cannot be written is reported, not ignored.
    const Result bad = Batch({"--bmp", (dir_ / "no" / "such" / "dir.bmp").string(), Case("t.psr", Lines(340, 140, 680, 20))});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("Cannot create file"), std::string::npos);
}

// --exact: the exact oblique-shock values after the construction's.  Reference for M1 = 2, γ = 1.4,
// χ = 20°: NACA Report 1135 (weak β 53.42°, strong β 74.27°, weak M2 1.2102, strong M2 0.7278,
// weak p2/p1 2.8429, weak p02/p01 0.8929, θmax 22.97°); the transcript's fourth decimals were
// checked against those once by eye.
TEST_F(BatchTool, ExactValuesFollowTheConstructionsOnes) {
    const std::string start = Case("start.psr", "340\r\n140\r\n680\r\n20\r\n");
    const Result plain = Batch({"--decimal-separator", ",", start});
    const Result r = Batch({"--exact", "--decimal-separator", ",", start});
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.out.substr(0, plain.out.size()), plain.out) << "the construction's lines stay as they were";
    EXPECT_EQ(r.out.substr(plain.out.size()), "exact_weak_beta_deg: 53,4229\n"
                                               "exact_strong_beta_deg: 74,2701\n"
                                               "exact_p2_p1_weak: 2,8429\n"
                                               "exact_p2_p1_strong: 4,157\n"
                                               "exact_rho1_rho2_weak: 0,4897\n"
                                               "exact_rho1_rho2_strong: 0,3915\n"
                                               "exact_v2_v1_weak: 0,714\n"
                                               "exact_v2_v1_strong: 0,4642\n"
                                               "exact_t2_t1_weak: 1,3922\n"
                                               "exact_t2_t1_strong: 1,6276\n"
                                               "exact_m2_weak: 1,2102\n"
                                               "exact_m2_strong: 0,7278\n"
                                               "exact_p02_p01_weak: 0,8929\n"
                                               "exact_p02_p01_strong: 0,7558\n"
                                               "exact_theta_max_deg: 22,9735\n"
                                               "exact_beta_at_theta_max_deg: 64,669\n"
                                               "exact_mach_angle_deg: 30\n"
                                               "exact_sonic_theta_deg: 22,706\n"
                                               "exact_sonic_beta_deg: 61,4854\n");
    EXPECT_EQ(plain.out.find("exact_"), std::string::npos) << "only on request";
}

TEST_F(BatchTool, ExactValuesWithoutAnAttachedShockOrWithoutAnAnswer) {
    // χ = 30° at M1 = 2: beyond θmax, so no shock values, but the landmarks of the theory.
    const Result detached = Batch({"--exact", "--decimal-separator", ".", Case("d.psr", Lines(340, 140, 680, 30))});
    EXPECT_EQ(detached.status, 0);
    for (const char* key : {"exact_weak_beta_deg: -\n", "exact_strong_beta_deg: -\n", "exact_m2_weak: -\n",
                            "exact_p02_p01_strong: -\n", "exact_theta_max_deg: 22.9735\n", "exact_mach_angle_deg: 30\n"})
        EXPECT_NE(detached.out.find(key), std::string::npos) << key << detached.out;
    EXPECT_EQ(detached.out.find("exact_error"), std::string::npos);

    // c1 = 900 m/s at V1 = 680 m/s: subsonic, the theory has no answer at all.
    const Result subsonic = Batch({"--exact", "--decimal-separator", ".", Case("s.psr", Lines(900, 140, 680, 10))});
    EXPECT_NE(subsonic.out.find("exact_theta_max_deg: -\nexact_beta_at_theta_max_deg: -\n"), std::string::npos)
        << subsonic.out;
    EXPECT_NE(subsonic.out.find(std::string("exact_error: ") + "Поток дозвуковой"), std::string::npos);

    // c1 = 0: Apply fails, and the exact lines say why they are empty too.
    const Result zero = Batch({"--exact", "--decimal-separator", ".", Case("z.psr", Lines(0, 140, 680, 20))});
    EXPECT_EQ(zero.status, 1);
    EXPECT_NE(zero.out.find("error: Floating point division by zero\nexact_weak_beta_deg: -\n"), std::string::npos)
        << zero.out;
    EXPECT_NE(zero.out.find("exact_error: Скорость звука c1 равна нулю"), std::string::npos);

    // γ = 1: no oblique shock in such a gas.
    const Result gamma = Batch({"--exact", "--decimal-separator", ".", Case("g.psr", Lines(340, 100, 680, 20))});
    EXPECT_NE(gamma.out.find("exact_error: Показатель адиабаты γ должен быть больше 1\n"), std::string::npos)
        << gamma.out;
}

TEST_F(BatchTool, ExactUsesTheClampedInputsAndTheUsageNamesIt) {
    // A wedge of 200 degrees opens as 180: far beyond any deflection.
    const Result r = Batch({"--exact", "--decimal-separator", ".", Case("c.psr", Lines(340, 140, 1020, 200))});
    EXPECT_NE(r.out.find("exact_weak_beta_deg: -\n"), std::string::npos) << r.out;
    // M1 = 3 (1020 / 340): θmax = 34.07° (NACA 1135 chart).
    EXPECT_NE(r.out.find("exact_theta_max_deg: 34.07"), std::string::npos) << r.out;
    const Result usage = Batch({"--bogus", "x.psr"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("--exact"), std::string::npos);
}

namespace {

// The diagram's colours other than white and the black of lines and letters.
const std::vector<QRgb> kConstructionColours = {qRgb(0, 0x80, 0), qRgb(0, 0, 0xFF), qRgb(0xFF, 0, 0)};

} // namespace

// --png: the diagram drawn again at K device pixels per pixel.  At K = 1 it is the BMP's picture
// pixel for pixel; at the default 4 it is 2436 x 1796 with every coloured pixel of the BMP found
// again in its block or next to it (the bands lie along the ideal lines, which may pass a device
// pixel or two beside the block the one-pixel line took), and drawn finer than blocks.
TEST_F(BatchTool, WritesTheDiagramAsAScaledPng) {
    const std::string bmp = (dir_ / "out.bmp").string();
    const std::string png1 = (dir_ / "one.png").string();
    const std::string png4 = (dir_ / "four.png").string();
    const std::string start = Case("s.psr", Lines(340, 140, 680, 20));
    ASSERT_EQ(Batch({"--bmp", bmp, "--png", png1, "--scale", "1", start}).status, 0);
    const Result r = Batch({"--png", png4, start});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Batch({start}).out) << "the transcript does not change";

    const QImage small = QImage(QString::fromStdString(bmp), "BMP").convertToFormat(QImage::Format_RGB32);
    const QImage one = QImage(QString::fromStdString(png1), "PNG").convertToFormat(QImage::Format_RGB32);
    const QImage four = QImage(QString::fromStdString(png4), "PNG").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(small.size(), QSize(609, 449));
    EXPECT_EQ(one, small);
    ASSERT_EQ(four.size(), QSize(2436, 1796));

    std::set<QRgb> coloursSmall, coloursFour;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            coloursSmall.insert(small.pixel(x, y));
    int mixedBlocks = 0;
    for (int y = 0; y < four.height(); ++y)
        for (int x = 0; x < four.width(); ++x)
            coloursFour.insert(four.pixel(x, y));
    for (int y = 0; y + 1 < four.height(); y += 2)
        for (int x = 0; x + 1 < four.width(); x += 2) {
            const QRgb a = four.pixel(x, y);
            mixedBlocks +=
                (four.pixel(x + 1, y) != a || four.pixel(x, y + 1) != a || four.pixel(x + 1, y + 1) != a);
        }
    EXPECT_EQ(coloursFour, coloursSmall) << "the same colours, nothing blended";
    EXPECT_GT(mixedBlocks, 1000) << "drawn at device resolution, not pixels blown up";

    int checked = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) {
            const QRgb c = small.pixel(x, y);
            if (std::find(kConstructionColours.begin(), kConstructionColours.end(), c) ==
                kConstructionColours.end())
                continue;
            bool found = false;
            for (int dy = 4 * y - 4; dy < 4 * y + 8 && !found; ++dy)
                for (int dx = 4 * x - 4; dx < 4 * x + 8 && !found; ++dx)
                    found = four.valid(dx, dy) && four.pixel(dx, dy) == c;
            EXPECT_TRUE(found) << x << "," << y;
            ++checked;
        }
    EXPECT_GT(checked, 1000);
    // The marker pixel of C (423, 301) is a red 4 x 4 block.
    for (int dy = 0; dy < 4; ++dy)
        for (int dx = 0; dx < 4; ++dx)
            EXPECT_EQ(four.pixel(4 * 423 + dx, 4 * 301 + dy), qRgb(0xFF, 0, 0));
}

TEST_F(BatchTool, PngScaleMustBeAWholeNumberFromOneToEight) {
    const std::string start = Case("s.psr", Lines(340, 140, 680, 20));
    const std::string png = (dir_ / "k.png").string();
    for (const std::string k : {"0", "9", "10", "-1", "x", "4.5", "", "+3"}) {
        const Result r = Batch({"--png", png, "--scale", k, start});
        EXPECT_EQ(r.status, 2) << k;
        EXPECT_NE(r.err.find("--png"), std::string::npos) << "the usage is shown";
        EXPECT_FALSE(std::filesystem::exists(png)) << k;
    }
    EXPECT_EQ(Batch({"--scale", "2", start}).status, 2) << "a scale without a picture";
    EXPECT_EQ(Batch({"--png", png, "--scale", "2", "--scale", "3", start}).status, 2);
    EXPECT_EQ(Batch({start, "--png"}).status, 2) << "no file name";

    ASSERT_EQ(Batch({"--scale", "8", "--png", png, start}).status, 0) << "in any order";
    EXPECT_EQ(QImage(QString::fromStdString(png), "PNG").size(), QSize(8 * 609, 8 * 449));
    ASSERT_EQ(Batch({"--png", png, "--scale", "2", start}).status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(png), "PNG").size(), QSize(2 * 609, 2 * 449));

    const Result bad = Batch({"--png", (dir_ / "no" / "such" / "dir.png").string(), start});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("Cannot create file"), std::string::npos);
}

// A case whose Apply faults: the PNG holds what the picture holds, like the BMP.  With γ = 0.9
// the run draws the diagram and faults at χmax = arcsin(1/γ); with c1 = 0 it faults at the Mach
// number, before clearing the picture, which keeps the start-up diagram.
TEST_F(BatchTool, PngOfAFaultedRunShowsWhatThePictureHolds) {
    const struct {
        const char* name;
        double c1;
        int gamma100;
    } rows[] = {{"gamma.psr", 340, 90}, {"zero.psr", 0, 140}};
    for (const auto& row : rows) {
        const std::string bmp = (dir_ / "f.bmp").string();
        const std::string png = (dir_ / "f.png").string();
        const Result r = Batch({"--bmp", bmp, "--png", png, "--scale", "1",
                                Case(row.name, Lines(row.c1, row.gamma100, 680, 30))});
        EXPECT_EQ(r.status, 1) << r.out;
        const QImage small = QImage(QString::fromStdString(bmp), "BMP").convertToFormat(QImage::Format_RGB32);
        const QImage one = QImage(QString::fromStdString(png), "PNG").convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(small.isNull());
        EXPECT_EQ(one, small) << row.name;
        EXPECT_NE(small.pixel(400, 220), qRgb(255, 255, 255)) << "the axis is drawn";
    }
}
