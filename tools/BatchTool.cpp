// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchTool.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "BmpWriter.h"
#include "CanvasOpsLog.h"
#include "DiagramPicture.h"
#include "Errors.h"
#include "ExtrasLayer.h"
#include "FlightModel.h"
#include "Numbers.h"
#include "PngWriter.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "ResultFile.h"
#include "ShockComparison.h"
#include "Solver.h"

namespace zk {

namespace {

constexpr const char* kUsage =
    "usage: zorkventa-batch [--decimal-separator C] [--bmp FILE] [--png FILE [--scale K]] [--ops FILE]\n"
    "                       [--exact] [--extras] [--flight TICKS [--particles K]] CASE.psr\n"
    "       zorkventa-batch --sweep FROM:TO CASE.psr\n"
    "       zorkventa-batch --help | --version\n"
    "Solves a saved case as the program opens it and prints the labels and the solution as\n"
    "\"key: value\" lines.\n"
    "  --decimal-separator C  the decimal separator of the printed values (default: the locale's)\n"
    "  --bmp FILE             write the diagram as the 609 x 449 BMP picture the window shows\n"
    "  --png FILE             write the diagram as a PNG picture drawn afresh at K times its size\n"
    "  --scale K              the PNG's scale, a whole number from 1 to 8 (default 4); only with --png\n"
    "  --ops FILE             write every drawing operation of the diagram (and of --flight) to FILE\n"
    "  --exact                also print exact oblique-shock theory for the same M1, gamma and wedge\n"
    "  --extras               draw exact theory's tangent, weak and strong points and sonic circle over\n"
    "                         the diagram and print them\n"
    "  --flight TICKS         run the flight window's particles TICKS (0..1000000) ticks; print them\n"
    "  --particles K          the particles of --flight (default 100; brought into 10..500)\n"
    "  --sweep FROM:TO        only a CSV table of every whole wedge angle FROM..TO (0..180 degrees)\n"
    "  --help                 print this text and exit\n"
    "  --version              print the version and exit";

constexpr const char* kProgram = "zorkventa-batch";

// The picture of the main window and the labels that Apply fills, as the main window holds them.
class BatchWindow : public PolarDiagram {
public:
    BatchWindow(TCanvas& canvas, const FlowState& state) : PolarDiagram(canvas, state) {}

    void SetCaption(ResultItem label, const std::string& text) override { captions_[label] = text; }
    void SetVisible(ResultItem item, bool visible) override { visible_[item] = visible; }
    void ClearAndDrawAxes() override {
        cleared_ = true;
        PolarDiagram::ClearAndDrawAxes();
    }
    void PolarPassBegin(int s, std::int32_t pointAx) override {
        pointAx_ = pointAx;
        PolarDiagram::PolarPassBegin(s, pointAx);
    }

    // Forget what the previous run wrote, keeping what is shown.
    void StartRun() {
        captions_.clear();
        pointAx_.reset();
    }

    std::string Text(ResultItem label) const {
        const auto caption = captions_.find(label);
        const auto visible = visible_.find(label);
        if (caption == captions_.end() || (visible != visible_.end() && !visible->second))
            return "-";
        return caption->second;
    }
    std::optional<std::int32_t> PointAx() const { return pointAx_; }
    // Whether the run got as far as clearing the picture and so drew the picture anew.
    bool Cleared() const { return cleared_; }

private:
    bool cleared_ = false;
    std::map<ResultItem, std::string> captions_;
    std::map<ResultItem, bool> visible_;
    std::optional<std::int32_t> pointAx_;
};

char LocaleDecimalSeparator() {
    std::setlocale(LC_ALL, "");
    const std::lconv* conventions = std::localeconv();
    const char separator =
        conventions && conventions->decimal_point && conventions->decimal_point[0] ? conventions->decimal_point[0] : '.';
    std::setlocale(LC_ALL, "C");
    return separator;
}

// The input/output error code of a failed open or read.
int OpenErrorCode(int error) {
    switch (error) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR: return 5;
    case EIO:
        return 30; // the system's read fault, as the program reports it
    default: return error;
    }
}

std::string ReadWholeFile(const std::string& path) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw InOutError(OpenErrorCode(errno));
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(file);
    const int error = errno;
    std::fclose(file);
    if (failed)
        throw InOutError(OpenErrorCode(error));
    return bytes;
}

void WriteFileOrThrow(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        throw AppError("Cannot create file " + path);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush())
        throw AppError(path + ": Stream write error");
}

void PrintResults(std::ostream& out, const BatchWindow& window, const FlowState& state) {
    out << "mach: " << window.Text(ResultItem::Label6) << '\n';
    out << "p2_p1: " << window.Text(ResultItem::Label2) << '\n';
    out << "rho1_rho2: " << window.Text(ResultItem::Label1) << '\n';
    out << "v2_v1: " << window.Text(ResultItem::Label8) << '\n';
    out << "t2_t1: " << window.Text(ResultItem::Label11) << '\n';
    out << "c1: " << window.Text(ResultItem::Label12) << '\n';
    out << "gamma: " << window.Text(ResultItem::Label13) << '\n';
    out << "chi_max: " << window.Text(ResultItem::Label3) << '\n';
    out << "point_a: " << (window.PointAx() ? std::to_string(*window.PointAx()) : std::string("-")) << '\n';
    out << "point_c: " << state.PointCx << ' ' << state.PointCy << '\n';
    char angle[64];
    std::snprintf(angle, sizeof angle, "%.17g", state.ShockAngle);
    out << "shock_angle: " << angle << '\n';
    out << "shock_detached: " << (state.ShockDetached ? "true" : "false") << '\n';
    out << "detached: " << state.DetachedRadius << ' ' << state.DetachedEndX << ' ' << state.DetachedEndY << '\n';
}

// The exact theory for the case as opened: keys ending in _deg are in degrees; a value the theory
// does not give (no attached shock, no supersonic stream) is "-".
void PrintExact(std::ostream& out, const ApplyInputs& inputs, const FlowState& state, char sep) {
    // The wedge angle in radians as Apply stores it.
    const double theta = static_cast<double>(static_cast<Extended>(inputs.WedgeDegrees) * Pi / 180);
    const ExactValues exact = ExactValuesFor(inputs.Velocity, state.SoundSpeed, state.Gamma, theta);
    const auto text = [&](std::optional<double> value, int decimals) {
        return value ? ComparisonNumberText(*value, decimals, sep) : std::string("-");
    };
    const auto degrees = [&](std::optional<double> radians) {
        return text(radians ? std::optional<double>(DegreesFromRadians(*radians)) : std::nullopt, 4);
    };
    const auto field = [&](const std::optional<ShockSolution>& s, double ShockSolution::*member) {
        return text(s ? std::optional<double>((*s).*member) : std::nullopt, 4);
    };
    const auto pair = [&](const char* key, double ShockSolution::*member) {
        out << "exact_" << key << "_weak: " << field(exact.Weak, member) << '\n';
        out << "exact_" << key << "_strong: " << field(exact.Strong, member) << '\n';
    };
    const auto landmark = [&](double radians) {
        return degrees(exact.Answered() ? std::optional<double>(radians) : std::nullopt);
    };
    out << "exact_weak_beta_deg: " << degrees(exact.Weak ? std::optional<double>(exact.Weak->Beta) : std::nullopt) << '\n';
    out << "exact_strong_beta_deg: " << degrees(exact.Strong ? std::optional<double>(exact.Strong->Beta) : std::nullopt)
        << '\n';
    pair("p2_p1", &ShockSolution::PressureRatio);
    pair("rho1_rho2", &ShockSolution::InverseDensityRatio);
    pair("v2_v1", &ShockSolution::SpeedRatio);
    pair("t2_t1", &ShockSolution::TemperatureRatio);
    pair("m2", &ShockSolution::M2);
    pair("p02_p01", &ShockSolution::TotalPressureRatio);
    out << "exact_theta_max_deg: " << landmark(exact.Theory.ThetaMax) << '\n';
    out << "exact_beta_at_theta_max_deg: " << landmark(exact.Theory.BetaAtThetaMax) << '\n';
    out << "exact_mach_angle_deg: " << landmark(exact.Theory.MachAngle) << '\n';
    out << "exact_sonic_theta_deg: " << landmark(exact.Theory.SonicTheta) << '\n';
    out << "exact_sonic_beta_deg: " << landmark(exact.Theory.SonicBeta) << '\n';
    if (!exact.Answered())
        out << "exact_error: " << exact.Problem << '\n';
}

// --extras: where exact theory puts its landmarks on the hodograph, in degrees and m/s, to full
// precision; "-" for what the free stream or the wedge does not give.
void PrintExtras(std::ostream& out, const ApplyInputs& inputs, const FlowState& state) {
    const double wedge = static_cast<double>(static_cast<Extended>(inputs.WedgeDegrees) * Pi / 180);
    const HodographLandmarks l = HodographLandmarksFor(inputs.Velocity, state.SoundSpeed, state.Gamma, wedge);
    const auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", value);
        return std::string(text);
    };
    const auto point = [&](const std::optional<HodographPoint>& p) {
        return p ? number(p->Vx) + ' ' + number(p->Vy) : std::string("-");
    };
    const bool ok = l.Answered();
    out << "theta_max: " << (ok ? number(DegreesFromRadians(l.ThetaMax)) : "-") << '\n';
    out << "tangent_point: " << point(ok ? std::optional<HodographPoint>(l.Tangent) : std::nullopt) << '\n';
    out << "weak_point: " << point(l.Weak) << '\n';
    out << "strong_point: " << point(l.Strong) << '\n';
    out << "sonic_radius: " << (ok ? number(l.SonicRadius) : "-") << '\n';
}

// --flight TICKS [--particles K]: what the flight window does when "Графически" opens it.
// A million ticks are more than an hour and a half of the window's animation; more would only
// keep the tool busy for hours.
constexpr std::int32_t kMaxFlightTicks = 1000000;
struct FlightRequest {
    bool Requested = false;
    std::int32_t Ticks = 0;       // motion ticks to run
    std::int32_t Particles = 100; // the settings field's default
    bool ParticlesGiven = false;  // --particles, which means nothing without --flight
};

// A whole decimal number in 0 .. 2^31 - 1, as an option's value.
bool ParseCount(const std::string& text, std::int32_t& value) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long long parsed = std::stoll(text);
    if (parsed > INT32_MAX)
        return false;
    value = static_cast<std::int32_t>(parsed);
    return true;
}

// The flight window opened on the solved flow: the snapshot, the particles started from the
// generator's first draws, and the motion ticks at the speed bar's initial position, drawn on a
// surface of the window's size.  Prints the ticks run and every particle in use.
int RunFlight(std::ostream& out, const FlightRequest& request, const FlowState& state, std::ostream* ops) {
    constexpr std::int32_t kScrollPosition = 50; // the speed bar's initial position
    RasterCanvas surface(FlightModel::kClientWidth, FlightModel::kClientHeight, FlightModel::WindowFont());
    std::optional<CanvasOpsLog> log;
    if (ops)
        log.emplace(surface, *ops);
    TCanvas& canvas = log ? static_cast<TCanvas&>(*log) : static_cast<TCanvas&>(surface);

    FlightModel model;
    model.FlightSpeed = 5.0; // as the window is created: the speed of position 50
    model.SetParticleCount(request.Particles);
    RandomSeed = 0; // the program's generator as it starts; nothing draws from it before
    model.TakeSnapshot(state);
    canvas.Refresh();
    model.StartParticles();

    std::int32_t ticks = 0;
    std::string error;
    try {
        for (; ticks < request.Ticks; ++ticks)
            model.MotionTick(canvas, kScrollPosition);
    } catch (const AppError& e) {
        error = e.what();
    }
    out << "flight_ticks: " << ticks << '\n';
    for (std::int32_t i = 0; i < model.ParticleCount(); ++i) {
        const Particle& p = model.Particles[i];
        char line[160];
        std::snprintf(line, sizeof line, "particle: %d %.17g %.17g %.17g %.17g", i, p.x, p.y, p.vx, p.vy);
        out << line << '\n';
    }
    if (!error.empty()) {
        out << "error: " << error << '\n';
        return 1;
    }
    return 0;
}

// --sweep FROM:TO: the wedge angles of a sweep, whole degrees within the wedge field's limits.
struct SweepRange {
    int From = 0, To = 0;
};

std::optional<SweepRange> ParseSweepRange(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const auto degrees = [](const std::string& part) -> std::optional<int> {
        if (part.empty() || part.size() > 3 ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        const int value = std::stoi(part);
        if (value > 180)
            return std::nullopt;
        return value;
    };
    const auto from = degrees(text.substr(0, colon)), to = degrees(text.substr(colon + 1));
    if (!from || !to || *from > *to)
        return std::nullopt;
    return SweepRange{*from, *to};
}

// The result labels of one run, without a picture.
class SweepLabels : public ApplyListener {
  public:
    void SetCaption(ResultItem label, const std::string& text) override { captions_[label] = text; }
    void SetVisible(ResultItem item, bool visible) override { visible_[item] = visible; }
    // The label's text if the run wrote it and left it shown; empty otherwise.
    std::string Shown(ResultItem label) const {
        const auto caption = captions_.find(label);
        const auto visible = visible_.find(label);
        if (caption == captions_.end() || (visible != visible_.end() && !visible->second))
            return {};
        return caption->second;
    }

  private:
    std::map<ResultItem, std::string> captions_;
    std::map<ResultItem, bool> visible_;
};

// One CSV row per whole degree: the case solved as the single case is (start-up, then the file's
// gas and V1) at that wedge angle, and the exact theory beside it.  Always "." as the decimal
// point and "," between fields, so a spreadsheet's CSV import reads it in any locale.
int RunSweep(const SweepRange& range, const ResultFileValues& values, std::ostream& out, std::ostream& err) {
    constexpr char kPoint = '.';
    out << "chi_deg,phi_deg,p2_p1,rho1_rho2,v2_v1,t2_t1,detached,"
           "exact_weak_beta_deg,exact_p2_p1_weak,exact_m2_weak,exact_strong_beta_deg\n";
    const auto number = [](std::optional<double> value, int decimals) {
        return value && std::isfinite(*value) ? ComparisonNumberText(*value, decimals, kPoint)
                                              : std::string();
    };
    std::string firstError;
    for (int chi = range.From; chi <= range.To; ++chi) {
        FlowState state;
        state.Gamma = 1.4;
        state.SoundSpeed = 340.0;
        SweepLabels startup;
        Apply(state, ApplyInputs{20, 680, kPoint}, startup);
        state.SoundSpeed = values.SoundSpeed;
        state.Gamma = values.Gamma;
        state.V1 = values.V1;
        const ApplyInputs inputs{chi, std::clamp(values.V1, 365, 1000000), kPoint};

        SweepLabels labels;
        bool faulted = false;
        try {
            Apply(state, inputs, labels);
        } catch (const AppError& e) {
            faulted = true;
            if (firstError.empty())
                firstError = e.what();
        }
        // No shock at all (no wedge, or not even a turned-back wedge cuts the polar): no angle.  A
        // run that faulted gives no construction values, not even the labels it wrote before.
        const bool hasShock = !faulted && (state.ShockAngle != 0 || state.ShockDetached);
        const auto label = [&](ResultItem item) { return faulted ? std::string() : labels.Shown(item); };
        out << chi << ',' << (hasShock ? number(DegreesFromRadians(state.ShockAngle), 4) : std::string())
            << ',' << label(ResultItem::Label2) << ',' << label(ResultItem::Label1) << ','
            << label(ResultItem::Label8) << ',' << label(ResultItem::Label11) << ','
            << (faulted               ? ""
                : state.ShockDetached ? "1"
                                      : "0")
            << ',';

        const double theta = static_cast<double>(static_cast<Extended>(chi) * Pi / 180);
        const ExactValues exact = ExactValuesFor(inputs.Velocity, state.SoundSpeed, state.Gamma, theta);
        const auto weak = [&](double ShockSolution::*member) {
            return exact.Weak ? std::optional<double>((*exact.Weak).*member) : std::nullopt;
        };
        const auto strongBeta =
            exact.Strong ? std::optional<double>(DegreesFromRadians(exact.Strong->Beta)) : std::nullopt;
        const auto weakBeta = weak(&ShockSolution::Beta);
        out << number(weakBeta ? std::optional<double>(DegreesFromRadians(*weakBeta)) : std::nullopt, 4)
            << ',' << number(weak(&ShockSolution::PressureRatio), 4) << ','
            << number(weak(&ShockSolution::M2), 4) << ',' << number(strongBeta, 4) << '\n';
    }
    if (!firstError.empty()) {
        err << "error: " << firstError << '\n';
        return 1;
    }
    return 0;
}

// What the command line asks for.
struct BatchOptions {
    bool Help = false, Version = false;
    std::optional<char> Separator;
    std::string BmpPath, PngPath, OpsPath, CasePath;
    std::optional<int> PngScale;
    bool WithExact = false;
    bool WithExtras = false;
    FlightRequest Flight;
    std::optional<SweepRange> Sweep;
};

// Reads the arguments into options; the text of the first usage error, empty when there is none.
// --help and --version end the reading: what follows them is not looked at.
std::string ParseArguments(int argc, char** argv, BatchOptions& o) {
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        const bool hasValue = a + 1 < argc;
        const auto value = [&]() -> std::string { return argv[++a]; };
        if (arg == "--help" || arg == "-h") {
            o.Help = true;
            return {};
        }
        if (arg == "--version") {
            o.Version = true;
            return {};
        }
        if (arg == "--flight") {
            std::int32_t ticks = 0;
            if (!hasValue || !ParseCount(value(), ticks) || ticks > kMaxFlightTicks)
                return "--flight needs a whole number of ticks up to " + std::to_string(kMaxFlightTicks);
            o.Flight.Requested = true;
            o.Flight.Ticks = ticks;
        } else if (arg == "--particles") {
            std::int32_t count = 0;
            if (!hasValue || !ParseCount(value(), count))
                return "--particles needs a whole number of particles";
            o.Flight.Particles = count;
            o.Flight.ParticlesGiven = true;
        } else if (arg == "--decimal-separator") {
            if (!hasValue || std::string(argv[a + 1]).size() != 1)
                return "--decimal-separator needs one character";
            o.Separator = value()[0];
        } else if (arg == "--bmp" || arg == "--png" || arg == "--ops") {
            if (!hasValue || std::string(argv[a + 1]).empty())
                return arg + " needs a file name";
            (arg == "--bmp" ? o.BmpPath : arg == "--png" ? o.PngPath : o.OpsPath) = value();
        } else if (arg == "--scale") {
            if (o.PngScale)
                return "--scale is given twice";
            // A whole number from 1 to 8: the device pixels per pixel of the picture.
            const std::string k = hasValue ? value() : std::string();
            if (k.size() != 1 || k[0] < '1' || k[0] > '8')
                return "--scale must be 1..8";
            o.PngScale = k[0] - '0';
        } else if (arg == "--exact") {
            o.WithExact = true;
        } else if (arg == "--extras") {
            o.WithExtras = true;
        } else if (arg == "--sweep") {
            if (o.Sweep)
                return "--sweep is given twice";
            if (hasValue)
                o.Sweep = ParseSweepRange(value());
            if (!o.Sweep)
                return "--sweep wants FROM:TO, whole degrees from 0 to 180 with FROM <= TO";
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option " + arg;
        } else if (!o.CasePath.empty()) {
            return "one case at a time: " + o.CasePath + " and " + arg;
        } else if (arg.empty()) {
            return "the case's file name is empty";
        } else {
            o.CasePath = arg;
        }
    }
    if (o.CasePath.empty())
        return "no case file given";
    if (o.PngScale && o.PngPath.empty())
        return "--scale goes only with --png";
    if (o.Flight.ParticlesGiven && !o.Flight.Requested)
        return "--particles goes only with --flight";
    // A sweep prints only its CSV: the options of the single case's output do not go with it.
    if (o.Sweep) {
        for (const auto& [given, name] : {std::pair{o.WithExact, "--exact"}, std::pair{o.WithExtras, "--extras"},
                                          std::pair{!o.BmpPath.empty(), "--bmp"},
                                          std::pair{!o.PngPath.empty(), "--png"}, std::pair{!o.OpsPath.empty(), "--ops"},
                                          std::pair{o.Flight.Requested, "--flight"}})
            if (given)
                return std::string("--sweep does not go with ") + name;
    }
    return {};
}

} // namespace

int RunBatch(int argc, char** argv, std::ostream& out, std::ostream& err) {
    BatchOptions options;
    if (const std::string problem = ParseArguments(argc, argv, options); !problem.empty()) {
        err << kProgram << ": " << problem << '\n' << kUsage << '\n';
        return 2;
    }
    if (options.Help) {
        out << kUsage << '\n';
        return 0;
    }
    if (options.Version) {
        out << kProgram << ' ' << ZK_VERSION << '\n';
        return 0;
    }
    const std::optional<char> separator = options.Separator;
    const std::string &bmpPath = options.BmpPath, &pngPath = options.PngPath, &opsPath = options.OpsPath,
                      &casePath = options.CasePath;
    const std::optional<int> pngScale = options.PngScale;
    const bool withExact = options.WithExact;
    const bool withExtras = options.WithExtras;
    FlightRequest flight = options.Flight;
    const std::optional<SweepRange> sweep = options.Sweep;
    if (flight.Requested) {
        const std::int32_t used = std::clamp(flight.Particles, kMinParticleCount, kParticleSlots);
        if (used != flight.Particles)
            err << kProgram << ": --particles " << flight.Particles << " brought into " << kMinParticleCount
                << ".." << kParticleSlots << ": " << used << " particles\n";
        flight.Particles = used;
    }
    const char sep = separator ? *separator : LocaleDecimalSeparator();

    ResultFileValues values;
    try {
        values = ReadResultFile(ReadWholeFile(casePath));
    } catch (const AppError& e) {
        err << casePath << ": " << e.what() << '\n';
        return 2;
    }
    if (sweep)
        return RunSweep(*sweep, values, out, err);

    // Start-up: the default gas and case, solved and drawn once.
    FlowState state;
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    BatchWindow startup(picture, state);
    state.Gamma = 1.4;
    state.SoundSpeed = 340.0;
    DiagramRun pictureRun{state, ApplyInputs{20, 680, sep}, picture.Pen()};
    Apply(state, pictureRun.Inputs, startup);
    if (withExtras)
        ExtrasLayer::Draw(picture, state, sep);

    // Opening the file: the gas as read, the two input fields clamped to their limits.
    state.SoundSpeed = values.SoundSpeed;
    state.Gamma = values.Gamma;
    state.V1 = values.V1;
    const ApplyInputs inputs{std::clamp(values.WedgeField, 0, 180), std::clamp(values.V1, 365, 1000000), sep};

    std::ostringstream ops;
    CanvasOpsLog log(picture, ops);
    TCanvas& target = opsPath.empty() ? static_cast<TCanvas&>(picture) : static_cast<TCanvas&>(log);
    BatchWindow window(target, state);
    const DiagramRun caseRun{state, inputs, picture.Pen()};
    int status = 0;
    std::string error;
    try {
        Apply(state, inputs, window);
    } catch (const AppError& e) {
        error = e.what();
        status = 1;
    }
    // The layer goes over the picture of a run that ended, as in the main window.
    if (withExtras && status == 0)
        ExtrasLayer::Draw(target, state, sep);
    PrintResults(out, window, state);
    if (status != 0)
        out << "error: " << error << '\n';
    if (withExact)
        PrintExact(out, inputs, state, sep);
    if (withExtras)
        PrintExtras(out, inputs, state);
    if (flight.Requested && RunFlight(out, flight, state, opsPath.empty() ? nullptr : &ops) != 0 &&
        status == 0)
        status = 1;
    // A run that faulted before clearing the picture left the start-up diagram in it.
    if (window.Cleared())
        pictureRun = caseRun;

    try {
        if (!bmpPath.empty())
            WriteFileOrThrow(bmpPath, EncodeBmp(picture));
        if (!pngPath.empty()) {
            RasterCanvas large(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, pngScale.value_or(4));
            const std::optional<FlowState> drawn = DiagramPicture::Redraw(large, pictureRun);
            if (withExtras && drawn)
                ExtrasLayer::Draw(large, *drawn, sep);
            const std::string png = EncodePng(large);
            if (png.empty())
                throw AppError(pngPath + ": Stream write error");
            WriteFileOrThrow(pngPath, png);
        }
        if (!opsPath.empty())
            WriteFileOrThrow(opsPath, ops.str());
    } catch (const AppError& e) {
        err << e.what() << '\n';
        return 2;
    }
    return status;
}

} // namespace zk
