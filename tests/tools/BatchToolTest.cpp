// The batch tool end to end: worked examples as a teacher would run them, faults, bad files and
// the picture and operations outputs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
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

TEST_F(BatchTool, SweepRowsAreTheSingleCasesOwnOutput) {
    // Attached (weak and strong shock), beyond the exact theory's largest deflection while the
    // construction still finds C (23), detached (30), no wedge (0), and a free stream of 1 000 000 m/s.
    const struct {
        int v1, from, to;
    } sweeps[] = {{680, 0, 0}, {680, 19, 23}, {680, 30, 30}, {1000000, 44, 45}};
    for (const auto& s : sweeps) {
        const std::string file = Case("sweep.psr", Lines(340, 140, s.v1, 20));
        const Result sweep = Batch({"--sweep", std::to_string(s.from) + ":" + std::to_string(s.to), file});
        ASSERT_EQ(sweep.status, 0) << sweep.err;
        EXPECT_EQ(sweep.err, "");
        const auto rows = Rows(sweep.out);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(s.to - s.from + 2));
        EXPECT_EQ(rows[0], "chi_deg,phi_deg,p2_p1,rho1_rho2,v2_v1,t2_t1,detached,exact_weak_beta_deg,"
                           "exact_p2_p1_weak,exact_m2_weak,exact_strong_beta_deg");
        for (int chi = s.from; chi <= s.to; ++chi) {
            SCOPED_TRACE("V1 " + std::to_string(s.v1) + ", chi " + std::to_string(chi));
            const auto f = Fields(rows[static_cast<std::size_t>(chi - s.from + 1)]);
            ASSERT_EQ(f.size(), 11u);
            const Result single = Batch(
                {"--exact", "--decimal-separator", ".", Case("single.psr", Lines(340, 140, s.v1, chi))});
            ASSERT_EQ(single.status, 0);
            EXPECT_EQ(f[0], std::to_string(chi));
            const double phi = std::stod(Value(single.out, "shock_angle")) * 180 / 3.14159265358979323846;
            if (chi == 0) {
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
            EXPECT_EQ(f[7], Cell(Value(single.out, "exact_weak_beta_deg")));
            EXPECT_EQ(f[8], Cell(Value(single.out, "exact_p2_p1_weak")));
            EXPECT_EQ(f[9], Cell(Value(single.out, "exact_m2_weak")));
            EXPECT_EQ(f[10], Cell(Value(single.out, "exact_strong_beta_deg")));
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
