// SPDX-License-Identifier: GPL-3.0-or-later
// The batch tool end to end: worked examples as a teacher would run them, faults, bad files and
// the picture and operations outputs.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
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
    // A wedge of 200 degrees becomes 180 and a speed of 100 m/s the field's lower limit 365 m/s:
    // M = 365/340 = 1.0735.  A wedge of 180 degrees stands across the flow, so C lies next to
    // B = (365, 0) on the axis and the shock is normal (phi = -pi/2).  The normal-shock relations
    // at M² = 1.15247, γ = 1.4 give P2/P1 = 1 + 2γ/(γ+1) (M² - 1) = 1.1779,
    // ρ1/ρ2 = ((γ-1) M² + 2) / ((γ+1) M²) = 0.8898 and T2/T1 = 1.1779 × 0.8898 = 1.0481.
    const Result r = Batch({"--decimal-separator", ".", Case("c.psr", Lines(340, 140, 100, 200))});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("mach: 1.074\np2_p1: 1.178\nrho1_rho2: 0.89\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("t2_t1: 1.048\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("point_c: 364 0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("shock_angle: -1.57079632679"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("shock_detached: false\n"), std::string::npos) << r.out;

    // A wedge below 0 becomes 0: no wedge, so C is the last sample near B, (679, 2) at
    // V1 = 680, there is no shock angle and the ratios are not shown.
    const Result negative = Batch({"--decimal-separator", ".", Case("n.psr", Lines(340, 140, 680, -5))});
    EXPECT_EQ(negative.status, 0);
    EXPECT_NE(negative.out.find("mach: 2\np2_p1: -\nrho1_rho2: -\nv2_v1: -\nt2_t1: -\n"), std::string::npos)
        << negative.out;
    EXPECT_NE(negative.out.find("point_c: 679 2\nshock_angle: 0\n"), std::string::npos) << negative.out;
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
    const std::string nowhere = (dir_ / "nowhere.psr").string();
    const Result missing = Batch({nowhere});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, nowhere + ": File not found\n");
    EXPECT_TRUE(missing.out.empty());
    const std::string commaFile = Case("comma.psr", "340,5\r\n140\r\n680\r\n20\r\n");
    const Result comma = Batch({commaFile});
    EXPECT_EQ(comma.status, 2);
    EXPECT_EQ(comma.err, commaFile + ": Invalid numeric input\n");
    const std::string realFile = Case("real.psr", "340\r\n140\r\n680.0\r\n20\r\n");
    const Result real = Batch({realFile});
    EXPECT_EQ(real.err, realFile + ": Invalid numeric input\n");
    EXPECT_EQ(Batch({}).status, 2);
    EXPECT_EQ(Batch({"--bogus", "x.psr"}).status, 2);
    EXPECT_EQ(Batch({"--decimal-separator", "ab", "x.psr"}).status, 2);
    const Result folder = Batch({dir_.string()});
    EXPECT_EQ(folder.status, 2);
}

// Every usage error names what is wrong on its first line, then shows the usage; nothing is
// printed on standard output and no case is solved.
TEST_F(BatchTool, UsageErrorsSayWhatIsWrongFirst) {
    const std::string file = Case("ok.psr", Lines(340, 140, 680, 20));
    const struct {
        std::vector<std::string> Args;
        std::string Said;
    } rows[] = {
        {{"--bogus", file}, "unknown option --bogus"},
        {{"-", file}, "unknown option -"},
        {{}, "no case file given"},
        {{file, "b.psr"}, "one case at a time: " + file + " and b.psr"},
        {{"--png", "p.png", "--scale", "9", file}, "--scale must be 1..8"},
        {{"--png", "p.png", "--scale", file}, "--scale must be 1..8"},
        {{"--png", "p.png", "--scale", "2", "--scale", "3", file}, "--scale is given twice"},
        {{"--scale", "2", file}, "--scale goes only with --png"},
        {{"--sweep", "0:10", "--exact", file}, "--sweep does not go with --exact"},
        {{"--bmp", "b.bmp", "--sweep", "0:10", file}, "--sweep does not go with --bmp"},
        {{"--sweep", "0:10", "--png", "p.png", file}, "--sweep does not go with --png"},
        {{"--sweep", "0:10", "--flight", "5", file}, "--sweep does not go with --flight"},
        {{"--sweep", "0:1", "--sweep", "2:3", file}, "--sweep is given twice"},
        {{"--sweep", "9:1", file}, "--sweep wants FROM:TO, whole degrees from 0 to 180 with FROM <= TO"},
        {{"--flight", "1000001", file}, "--flight needs a whole number of ticks up to 1000000"},
        // A million ticks are taken (the conflict with the sweep is what is left to report).
        {{"--flight", "1000000", "--sweep", "0:0", file}, "--sweep does not go with --flight"},
        {{"--flight", "-3", file}, "--flight needs a whole number of ticks up to 1000000"},
        {{file, "--flight"}, "--flight needs a whole number of ticks up to 1000000"},
        {{"--flight", "5", "--particles", "many", file}, "--particles needs a whole number of particles"},
        {{"--particles", "50", file}, "--particles goes only with --flight"},
        {{"--decimal-separator", "ab", file}, "--decimal-separator needs one character"},
        {{"--bmp", "", file}, "--bmp needs a file name"},
        {{file, "--ops"}, "--ops needs a file name"},
    };
    for (const auto& row : rows) {
        const Result r = Batch(row.Args);
        SCOPED_TRACE(row.Said);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "zorkventa-batch: " + row.Said);
        EXPECT_NE(r.err.find("\nusage: zorkventa-batch "), std::string::npos) << r.err;
    }
}

TEST_F(BatchTool, HelpAndVersionPrintAndSucceed) {
    const Result help = Batch({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("usage: zorkventa-batch ", 0), 0u) << help.out;
    // Every option the tool knows has a line of its own that explains it.
    for (const char* option : {"--decimal-separator C", "--bmp FILE", "--png FILE", "--scale K", "--ops FILE",
                               "--exact", "--flight TICKS", "--particles K", "--sweep FROM:TO", "--help",
                               "--version"})
        EXPECT_NE(help.out.find(std::string("\n  ") + option + "  "), std::string::npos) << option;
    EXPECT_EQ(Batch({"-h"}).out, help.out);
    EXPECT_EQ(Batch({"--exact", "--help", "--bogus"}).status, 0) << "what follows --help is not read";

    const Result version = Batch({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zorkventa-batch " ZK_VERSION "\n");
    EXPECT_EQ(version.err, "");
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

// --flight: the flight window's particles after a number of motion ticks, for the start-up case
// (C = (460, 166), shock angle 0.92027 rad, tan = 1.3139).  The generator starts from seed 0, so
// the ten particles start at x = Random(600) - 600 and y = Random(250): (-600, 7), (-84, 50),
// (-437, 167), (-409, 40), (-377, 106), (-551, 118), (-558, 210), (-565, 73), (-50, 91), (-136, 81).
// At the speed bar's position 50 a particle at V1 moves 5 pixels a tick.
namespace {

std::vector<std::string> ParticleLines(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("particle: ", 0) == 0)
            lines.push_back(line);
    return lines;
}

} // namespace

namespace {

// The value of one `key: value` line of the single-case output.
std::string Value(const std::string& out, const std::string& key) {
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(key + ": ", 0) == 0)
            return line.substr(key.size() + 2);
    ADD_FAILURE() << "no line " << key << " in\n" << out;
    return {};
}

std::vector<std::string> Fields(const std::string& row) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(row);
    while (std::getline(in, field, ','))
        fields.push_back(field);
    if (!row.empty() && row.back() == ',')
        fields.emplace_back();
    return fields;
}

std::vector<std::string> Rows(const std::string& out) {
    std::vector<std::string> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line))
        rows.push_back(line);
    return rows;
}

// The single case's text for a value the theory or the construction may not give, as the CSV has it.
std::string Cell(const std::string& single) {
    return single == "-" ? std::string() : single;
}

} // namespace

TEST_F(BatchTool, FlightPrintsTheParticlesAfterTheTicks) {
    const std::string start = Case("start.psr", Lines(340, 140, 680, 20));
    const Result plain = Batch({"--decimal-separator", ",", start});
    const Result r = Batch({"--decimal-separator", ",", "--flight", "120", "--particles", "10", start});
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.substr(0, plain.out.size()), plain.out) << "the solution's lines come first, unchanged";
    const std::string flight = r.out.substr(plain.out.size());
    ASSERT_EQ(flight.substr(0, 18), "flight_ticks: 120\n");
    const std::vector<std::string> particles = ParticleLines(flight);
    ASSERT_EQ(particles.size(), 10u);
    // From x = -600, 120 ticks of 5 pixels bring the first particle to the window's left edge,
    // where it becomes visible.
    EXPECT_EQ(particles[0], "particle: 0 0 7 680 0");
    // From x = -437 at 167 pixels: 163 after 120 ticks, still upstream of the shock.
    EXPECT_EQ(particles[2], "particle: 2 163 167 680 0");
    EXPECT_EQ(
        flight.size(), 18 +
                           [&] {
                               std::size_t n = 0;
                               for (const auto& line : particles)
                                   n += line.size() + 1;
                               return n;
                           }())
        << "nothing but the tick count and the table";
}

TEST_F(BatchTool, FlightParticleTurnsAtTheShockAndRespawnsWithTheNextHeight) {
    const std::string start = Case("start.psr", Lines(340, 140, 680, 20));
    const auto particlesAfter = [&](int ticks) {
        const Result r = Batch({"--flight", std::to_string(ticks), "--particles", "10", start});
        EXPECT_EQ(r.status, 0);
        return ParticleLines(r.out);
    };
    // Particle 1 from (-84, 50): after 63 ticks at x = 231, tan(phi) (231 - 197) = 44.7 < 50, still
    // upstream; after 64 ticks at x = 236, 1.3139 * 39 = 51.2 >= 50: it turns onto C's velocity.
    EXPECT_EQ(particlesAfter(63)[1], "particle: 1 231 50 680 0");
    EXPECT_EQ(particlesAfter(64)[1], "particle: 1 236 50 460 166");
    // One tick later it has moved 5 * 460/680 = 3.38235294117647 to the right and
    // 5 * 166/680 = 1.22058823529412 upwards, parallel to the wedge.
    EXPECT_EQ(particlesAfter(65)[1], "particle: 1 239.38235294117646 51.220588235294116 460 166");
    // Particle 8 from (-50, 91) turns at x = 270 after 64 ticks, stands at 270 + 97 * 3.382 = 598.09
    // after tick 161 and passes column 600 in tick 162.  It comes back at x = 0 with the generator's 21st
    // value, Random(250) = 174 (the 20 before it gave the start points), at the free-stream velocity.
    const std::vector<std::string> before = particlesAfter(161);
    EXPECT_EQ(before[8].rfind("particle: 8 598.0882", 0), 0u) << before[8];
    EXPECT_EQ(particlesAfter(162)[8], "particle: 8 0 174 680 0");
}

TEST_F(BatchTool, FlightParticleCountIsClampedAndRunsRepeatAlike) {
    const std::string start = Case("start.psr", Lines(340, 140, 680, 20));
    const struct {
        const char* given;
        std::size_t used;
        const char* said; // on standard error
    } rows[] = {{nullptr, 100, ""},
                {"3", 10, "zorkventa-batch: --particles 3 brought into 10..500: 10 particles\n"},
                {"0", 10, "zorkventa-batch: --particles 0 brought into 10..500: 10 particles\n"},
                {"10", 10, ""},
                {"500", 500, ""},
                {"501", 500, "zorkventa-batch: --particles 501 brought into 10..500: 500 particles\n"},
                {"100000", 500, "zorkventa-batch: --particles 100000 brought into 10..500: 500 particles\n"}};
    for (const auto& row : rows) {
        std::vector<std::string> args{"--flight", "1"};
        if (row.given)
            args.insert(args.end(), {"--particles", row.given});
        args.push_back(start);
        const Result r = Batch(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, row.said);
        const std::vector<std::string> particles = ParticleLines(r.out);
        ASSERT_EQ(particles.size(), row.used) << (row.given ? row.given : "default");
        // Every run starts the generator afresh: the first particle is always the same.
        EXPECT_EQ(particles[0], "particle: 0 -595 7 680 0");
        EXPECT_EQ(particles.back().rfind("particle: " + std::to_string(row.used - 1) + " ", 0), 0u);
    }
    const Result zero = Batch({"--flight", "0", "--particles", "10", start});
    EXPECT_EQ(ParticleLines(zero.out)[1], "particle: 1 -84 50 680 0") << "no tick: the start points";
}

TEST_F(BatchTool, FlightOptionsWithoutACountOrWithoutTheFlightAreUsageErrors) {
    const std::string start = Case("start.psr", Lines(340, 140, 680, 20));
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--flight", start},
                                               {"--flight", "-1", start},
                                               {"--flight", "ten", start},
                                               {"--flight", "1", "--particles", "1.5", start},
                                               {"--flight", "99999999999", start},
                                               {"--flight", "1000001", start},
                                               {start, "--flight"},
                                               {"--particles", "50", start}}) {
        const Result r = Batch(args);
        EXPECT_EQ(r.status, 2) << args[0] << ' ' << args[1];
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("--flight TICKS"), std::string::npos) << r.err;
    }
}

TEST_F(BatchTool, FlightOperationsFollowTheDiagramsInTheLog) {
    const std::string start = Case("start.psr", Lines(340, 140, 680, 20));
    const std::string diagramOps = (dir_ / "diagram.ops").string();
    const std::string flightOps = (dir_ / "flight.ops").string();
    ASSERT_EQ(Batch({"--ops", diagramOps, start}).status, 0);
    ASSERT_EQ(Batch({"--ops", flightOps, "--flight", "10", "--particles", "10", start}).status, 0);
    const auto read = [](const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    };
    const std::string diagram = read(diagramOps);
    const std::string all = read(flightOps);
    ASSERT_EQ(all.substr(0, diagram.size()), diagram);
    // In 10 ticks only particle 8, from (-50, 91), reaches the window, in the last tick, at x = 0:
    // it is drawn in black, at rows 250 - 91 above and 250 + 91 mirrored below the axis, as two
    // 2 x 2 ellipses with the 3-pixel pen.  Nothing is erased, as nothing was visible before.
    EXPECT_EQ(all.substr(diagram.size()), "Ellipse 0 159 2 157 000000 3\n"
                                          "Ellipse 0 341 2 343 000000 3\n");
}

// What the batch tool says when it cannot read its case or write its outputs: the program's own
// messages, on standard error, with nothing on standard output.  Each failure is one the system
// gives every user, the superuser included.
TEST_F(BatchTool, ReadAndWriteFailuresAreNamed) {
    const std::string good = Case("s.psr", Lines(340, 140, 680, 20));
    const struct {
        const char* What;
        std::vector<std::string> Args;
        int Status;
        std::string Err;
        bool Solved; // the solution's lines are printed before the output fails
    } rows[] = {
        {"a folder as the case", {dir_.string()}, 2, dir_.string() + ": File access denied\n", false},
        // Reading the process's own memory from address 0 fails with the system's read fault.
        {"a file that cannot be read", {"/proc/self/mem"}, 2, "/proc/self/mem: I/O error 30\n", false},
        {"a missing folder",
         {(dir_ / "none" / "s.psr").string()},
         2,
         (dir_ / "none" / "s.psr").string() + ": File not found\n",
         false},
        {"--bmp into a missing folder",
         {"--bmp", (dir_ / "none" / "p.bmp").string(), good},
         2,
         "Cannot create file " + (dir_ / "none" / "p.bmp").string() + "\n",
         true},
        {"--ops onto a folder",
         {"--ops", dir_.string(), good},
         2,
         "Cannot create file " + dir_.string() + "\n",
         true},
        // The full device takes the file but refuses every byte, as a full disk does.
        {"--ops onto a full disk", {"--ops", "/dev/full", good}, 2, "/dev/full: Stream write error\n", true},
        {"--bmp onto a full disk", {"--bmp", "/dev/full", good}, 2, "/dev/full: Stream write error\n", true},
        {"--png onto a full disk", {"--png", "/dev/full", good}, 2, "/dev/full: Stream write error\n", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.What);
        const Result r = Batch(row.Args);
        EXPECT_EQ(r.status, row.Status);
        EXPECT_EQ(r.err, row.Err);
        EXPECT_EQ(r.out.empty(), !row.Solved) << r.out;
    }
}

// Without --decimal-separator the numbers take the separator of the user's locale.  A Russian
// locale is compiled for the test from the system's locale sources, so the test needs no locale
// installed on the machine.
TEST_F(BatchTool, DefaultDecimalSeparatorComesFromTheLocale) {
    const std::filesystem::path locales = dir_ / "locales";
    std::filesystem::create_directories(locales);
    const std::string compile =
        "localedef -i ru_RU -f UTF-8 '" + (locales / "ru_RU.UTF-8").string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(compile.c_str()), 0) << "localedef (package locales) could not compile ru_RU";

    struct Environment {
        std::string Name;
        std::optional<std::string> Saved;
        explicit Environment(std::string name) : Name(std::move(name)) {
            if (const char* value = std::getenv(Name.c_str()))
                Saved = value;
        }
        ~Environment() {
            if (Saved)
                ::setenv(Name.c_str(), Saved->c_str(), 1);
            else
                ::unsetenv(Name.c_str());
        }
    };
    const Environment locpath("LOCPATH"), all("LC_ALL");
    const std::string start = Case("start.psr", Lines(340, 140, 680, 20));

    ::setenv("LOCPATH", locales.c_str(), 1);
    ::setenv("LC_ALL", "ru_RU.UTF-8", 1);
    const Result russian = Batch({start});
    const std::string head = "mach: 2\np2_p1: 2,788\nrho1_rho2: 0,496\nv2_v1: 0,719\nt2_t1: 1,382\n";
    EXPECT_EQ(russian.out.substr(0, head.size()), head);
    EXPECT_NE(russian.out.find("gamma: 1,4\nchi_max: 45,6\n"), std::string::npos) << russian.out;
    // The option wins over the locale.
    EXPECT_NE(Batch({"--decimal-separator", ".", start}).out.find("p2_p1: 2.788\n"), std::string::npos);

    ::setenv("LC_ALL", "C", 1);
    EXPECT_NE(Batch({start}).out.find("gamma: 1.4\nchi_max: 45.6\n"), std::string::npos);
    // The tool leaves the process's own locale as it found it: numbers elsewhere keep their ".".
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    EXPECT_STREQ(text, "1.5");
}

// The detached shock of χ = 30° at M = 2 (R = 21, EX = 17, EY = 12 pixels, tan φ = 1.4934,
// C = (382, 160)): behind it the flow runs parallel to the wedge at |V2| K, with
// |V2| = sqrt(382² + 160²) = 414.15 m/s and K = 1 - 21/200 = 0.895, that is vx = |V2| K cos 30° =
// 321.0082 m/s and vy = |V2| K sin 30° = 185.3342 m/s; below the arc's end (y <= 12) and in front of
// the tip, vy is scaled by (y / 12)².
TEST_F(BatchTool, FlightParticlesTurnBehindTheDetachedShock) {
    const std::string detached = Case("d.psr", Lines(340, 140, 680, 30));
    struct Values {
        double x, y, vx, vy;
    };
    const auto particle = [&](int ticks, std::size_t index) {
        const Result r = Batch({"--flight", std::to_string(ticks), "--particles", "10", detached});
        EXPECT_EQ(r.status, 0);
        Values v{};
        int i = -1;
        std::sscanf(ParticleLines(r.out).at(index).c_str(), "particle: %d %lf %lf %lf %lf", &i, &v.x, &v.y,
                    &v.vx, &v.vy);
        EXPECT_EQ(i, static_cast<int>(index));
        return v;
    };
    constexpr double kVx = 321.0081916010867, kVy = 185.3341658329624; // m/s
    constexpr double kTolerance = 1e-9;                                // m/s
    // Particle 1 from (-84, 50), above the arc's end: the straight part of the shock through
    // (183, 12) passes height 50 at x = 183 + 38 / 1.4934 = 208.4; at x = 206 the particle is still
    // in front of it, at x = 211 (tick 59) behind it.
    const Values before = particle(58, 1);
    EXPECT_EQ(before.x, 206);
    EXPECT_EQ(before.vx, 680);
    const Values behind = particle(59, 1);
    EXPECT_EQ(behind.x, 211);
    EXPECT_EQ(behind.y, 50);
    EXPECT_NEAR(behind.vx, kVx, kTolerance);
    EXPECT_NEAR(behind.vy, kVy, kTolerance);
    // Particle 0 from (-600, 7), below the arc's end: the chord from the vertex (179, 0) to the
    // arc's end (183, 12), y = 3 (x - 200) + 63, passes height 7 at x = 181.3, so the particle
    // turns at x = 185 (tick 157), with vy scaled by (7/12)²: 185.3342 × 49/144 = 63.0651 m/s.
    EXPECT_EQ(particle(156, 0).vx, 680);
    const Values low = particle(157, 0);
    EXPECT_EQ(low.x, 185);
    EXPECT_EQ(low.y, 7);
    EXPECT_NEAR(low.vx, kVx, kTolerance);
    EXPECT_NEAR(low.vy, kVy * 49 / 144, kTolerance);
}

// The exact columns of a sweep against oblique-shock theory solved for the test on its own: β from
// tan θ = 2 cot β (M1² sin²β − 1) / (M1² (γ + cos 2β) + 2) by bisection in 40-digit arithmetic, then
// p2/p1 = 1 + 2γ/(γ+1) (M1² sin²β − 1) and M2 = Mn2 / sin(β − θ) with
// Mn2² = (1 + (γ−1)/2 Mn1²) / (γ Mn1² − (γ−1)/2).  At M1 = 2 they agree with NACA Report 1135
// (χ = 20°: β 53.42°, 74.27°, p2/p1 2.843, M2 1.210).  The construction's ratios are checked
// against the normal-shock relations of its own φ: P = 1 + 2γ/(γ+1) ((M1 sin φ)² − 1),
// ρ1/ρ2 = ((γ−1) P + γ+1) / ((γ+1) P + γ−1), T2/T1 = P ρ1/ρ2; and each row's construction columns
// are what the single case prints for that wedge.
TEST_F(BatchTool, SweepRowsAgreeWithTheoryAndWithTheSingleCase) {
    struct Exact {
        int chi;
        const char *weakBeta, *weakP, *weakM2, *strongBeta; // "" where theory has no attached shock
    };
    const struct {
        int v1;
        std::vector<Exact> rows;
    } sweeps[] = {
        // No wedge, attached (weak and strong shock), beyond θmax = 22.97° while the construction
        // still finds C (23), detached (30), and a free stream of 1 000 000 m/s (M1 = 2941.18).
        {680, {{0, "30", "1", "2", "90"}}},
        {680,
         {{19, "51.5063", "2.6921", "1.2638", "75.6573"},
          {20, "53.4229", "2.8429", "1.2102", "74.2701"},
          {21, "55.6443", "3.0138", "1.1498", "72.5905"},
          {22, "58.4566", "3.2228", "1.076", "70.3316"},
          {23, "", "", "", ""}}},
        {680, {{30, "", "", "", ""}}},
        {1000000,
         {{44, "60.2687", "7610078.8868", "1.3492", "73.7313"},
          {45, "63.435", "8073824.5958", "1.1952", "71.565"}}},
    };
    constexpr double kGamma = 1.4, kPi = 3.14159265358979323846;
    for (const auto& s : sweeps) {
        const int from = s.rows.front().chi, to = s.rows.back().chi;
        const std::string file = Case("sweep.psr", Lines(340, 140, s.v1, 20));
        const Result sweep = Batch({"--sweep", std::to_string(from) + ":" + std::to_string(to), file});
        ASSERT_EQ(sweep.status, 0) << sweep.err;
        EXPECT_EQ(sweep.err, "");
        const auto rows = Rows(sweep.out);
        ASSERT_EQ(rows.size(), s.rows.size() + 1);
        EXPECT_EQ(rows[0], "chi_deg,phi_deg,p2_p1,rho1_rho2,v2_v1,t2_t1,detached,exact_weak_beta_deg,"
                           "exact_p2_p1_weak,exact_m2_weak,exact_strong_beta_deg");
        const double mach = s.v1 / 340.0;
        for (std::size_t n = 0; n < s.rows.size(); ++n) {
            const Exact& e = s.rows[n];
            SCOPED_TRACE("V1 " + std::to_string(s.v1) + ", chi " + std::to_string(e.chi));
            const auto f = Fields(rows[n + 1]);
            ASSERT_EQ(f.size(), 11u);
            EXPECT_EQ(f[0], std::to_string(e.chi));
            const auto near = [](const std::string& actual, const char* expected) {
                if (!*expected) {
                    EXPECT_EQ(actual, "");
                    return;
                }
                ASSERT_FALSE(actual.empty()) << expected;
                const double x = std::stod(expected);
                EXPECT_NEAR(std::stod(actual), x, 1.5e-4 + 1e-9 * std::abs(x)) << expected;
            };
            near(f[7], e.weakBeta);
            near(f[8], e.weakP);
            near(f[9], e.weakM2);
            near(f[10], e.strongBeta);

            if (!f[2].empty()) {
                const double phi = std::stod(f[1]) * kPi / 180;
                const double normal = mach * std::sin(phi);
                const double p = 1 + 2 * kGamma / (kGamma + 1) * (normal * normal - 1);
                const double rho = ((kGamma - 1) * p + kGamma + 1) / ((kGamma + 1) * p + kGamma - 1);
                // Three decimals shown; φ to four decimals moves P by its relative 2 cot φ δφ.
                const auto shown = [](const std::string& text, double value) {
                    EXPECT_NEAR(std::stod(text), value, 0.5e-3 + 3e-6 * std::abs(value)) << text;
                };
                shown(f[2], p);
                shown(f[3], rho);
                shown(f[5], p * rho);
            }

            const Result single =
                Batch({"--decimal-separator", ".", Case("single.psr", Lines(340, 140, s.v1, e.chi))});
            ASSERT_EQ(single.status, 0);
            const double phi = std::stod(Value(single.out, "shock_angle")) * 180 / kPi;
            if (e.chi == 0) {
                EXPECT_EQ(f[1], "") << "no wedge, no shock";
            } else {
                ASSERT_FALSE(f[1].empty());
                EXPECT_NEAR(std::stod(f[1]), phi, 0.5e-4) << "degrees to 4 decimals";
            }
            EXPECT_EQ(f[2], Cell(Value(single.out, "p2_p1")));
            EXPECT_EQ(f[3], Cell(Value(single.out, "rho1_rho2")));
            EXPECT_EQ(f[4], Cell(Value(single.out, "v2_v1")));
            EXPECT_EQ(f[5], Cell(Value(single.out, "t2_t1")));
            EXPECT_EQ(f[6], Value(single.out, "shock_detached") == "true" ? "1" : "0");
        }
    }
}

TEST_F(BatchTool, SweepWorkedExampleRows) {
    // The start-up gas and V1 = 680: chi = 20 is the worked example (phi = 52.73 degrees, the
    // ratios of the main window); at 30 the shock stands detached and only its angle is given.
    const Result r =
        Batch({"--decimal-separator", ",", "--sweep", "20:20", Case("a.psr", Lines(340, 140, 680, 30))});
    ASSERT_EQ(r.status, 0);
    const auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 2u);
    const auto f = Fields(rows[1]);
    ASSERT_EQ(f.size(), 11u);
    EXPECT_EQ(f[1].substr(0, 5), "52.72") << "a point, not the comma asked for the labels";
    EXPECT_EQ(f[2] + " " + f[3] + " " + f[4] + " " + f[5] + " " + f[6], "2.788 0.496 0.719 1.382 0");
    const Result d = Batch({"--sweep", "30:30", Case("d.psr", Lines(340, 140, 680, 20))});
    const auto g = Fields(Rows(d.out).at(1));
    ASSERT_EQ(g.size(), 11u);
    EXPECT_EQ(g[1].substr(0, 5), "56.19");
    EXPECT_EQ(g[2] + g[3] + g[4] + g[5], "");
    EXPECT_EQ(g[6], "1");
    EXPECT_EQ(g[7] + g[8] + g[9] + g[10], "") << "no attached shock in theory either";
}

TEST_F(BatchTool, SweepFaultsAndUsageErrors) {
    // A gas with gamma below 1 faults in every run: the rows stand, without construction values,
    // and the exit status says so.
    const Result faulted = Batch({"--sweep", "19:20", Case("g.psr", Lines(340, 50, 680, 20))});
    EXPECT_EQ(faulted.status, 1);
    EXPECT_EQ(faulted.err, "error: Invalid floating point operation\n");
    const auto rows = Rows(faulted.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].substr(0, 10), "19,,,,,,,,");

    const std::string file = Case("ok.psr", Lines(340, 140, 680, 20));
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--sweep", "20", file},
                                               {"--sweep", "20:", file},
                                               {"--sweep", ":20", file},
                                               {"--sweep", "21:20", file},
                                               {"--sweep", "0:181", file},
                                               {"--sweep", "-1:5", file},
                                               {"--sweep", "1.5:3", file},
                                               {"--sweep", "a:b", file},
                                               {"--sweep", "1:2:3", file},
                                               {"--sweep", "0:10", "--exact", file},
                                               {"--sweep", "0:10", "--bmp", "x.bmp", file},
                                               {"--ops", "x.ops", "--sweep", "0:10", file},
                                               {"--sweep", "1:2", "--sweep", "3:4", file},
                                               {file, "--sweep"}}) {
        const Result r = Batch(args);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_EQ(r.out, "") << args[1];
        EXPECT_NE(r.err.find("usage:"), std::string::npos) << args[1];
    }
    // An unreadable case is reported as for the single case.
    const Result missing = Batch({"--sweep", "0:1", (dir_ / "none.psr").string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
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
    // Printed at the screen's size: 96 pixels of the picture an inch, 3780 and 4 × 3780 a metre.
    EXPECT_EQ(one.dotsPerMeterX(), 3780);
    EXPECT_EQ(four.dotsPerMeterY(), 15118);

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

// The tool links no toolkit, so a run pays only for the solving, the fonts and its files.
TEST(BatchProgram, LoadsNoToolkit) {
    std::string libraries;
    if (std::FILE* pipe = ::popen("ldd '" ZK_BATCH_PROGRAM "' 2>&1", "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            libraries.append(buffer, n);
        ::pclose(pipe);
    }
    ASSERT_NE(libraries.find("libpng"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
}
