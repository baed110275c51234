#include "BatchTool.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
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
#include "PngWriter.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "ResultFile.h"
#include "ShockComparison.h"
#include "Solver.h"

namespace zk {

namespace {

constexpr const char* kUsage =
    "usage: zorkventa-batch [--decimal-separator C] [--bmp FILE] [--png FILE [--scale K]] [--ops FILE] "
    "[--exact]\n"
    "                       CASE.psr\n"
    "  --png    write the diagram as a PNG picture drawn at K times its size (K from 1 to 8, default 4)\n"
    "  --exact  also print the exact oblique-shock values (weak and strong shock, maximum deflection,\n"
    "           Mach angle, sonic point) for the same M1 = V1/c1, gamma and wedge angle";

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
        throw AppError("Stream write error");
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

} // namespace

int RunBatch(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::optional<char> separator;
    std::string bmpPath, pngPath, opsPath, casePath;
    std::optional<int> pngScale;
    bool withExact = false;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        const bool hasValue = a + 1 < argc;
        if (arg == "--decimal-separator" && hasValue && std::string(argv[a + 1]).size() == 1) {
            separator = argv[++a][0];
        } else if (arg == "--bmp" && hasValue) {
            bmpPath = argv[++a];
        } else if (arg == "--png" && hasValue) {
            pngPath = argv[++a];
        } else if (arg == "--scale" && hasValue && !pngScale) {
            // A whole number from 1 to 8: the device pixels per pixel of the picture.
            const std::string k = argv[++a];
            if (k.size() != 1 || k[0] < '1' || k[0] > '8') {
                err << kUsage << '\n';
                return 2;
            }
            pngScale = k[0] - '0';
        } else if (arg == "--ops" && hasValue) {
            opsPath = argv[++a];
        } else if (arg == "--exact") {
            withExact = true;
        } else if (!arg.empty() && arg[0] != '-' && casePath.empty()) {
            casePath = arg;
        } else {
            err << kUsage << '\n';
            return 2;
        }
    }
    if (casePath.empty() || (pngScale && pngPath.empty())) {
        err << kUsage << '\n';
        return 2;
    }
    const char sep = separator ? *separator : LocaleDecimalSeparator();

    ResultFileValues values;
    try {
        values = ReadResultFile(ReadWholeFile(casePath));
    } catch (const AppError& e) {
        err << e.what() << '\n';
        return 2;
    }

    // Start-up: the default gas and case, solved and drawn once.
    FlowState state;
    RasterCanvas picture(PolarDiagram::kWidth, PolarDiagram::kHeight);
    BatchWindow startup(picture, state);
    state.Gamma = 1.4;
    state.SoundSpeed = 340.0;
    DiagramRun pictureRun{state, ApplyInputs{20, 680, sep}, picture.Pen()};
    Apply(state, pictureRun.Inputs, startup);

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
    PrintResults(out, window, state);
    if (status != 0)
        out << "error: " << error << '\n';
    if (withExact)
        PrintExact(out, inputs, state, sep);
    // A run that faulted before clearing the picture left the start-up diagram in it.
    if (window.Cleared())
        pictureRun = caseRun;

    try {
        if (!bmpPath.empty())
            WriteFileOrThrow(bmpPath, EncodeBmp(picture));
        if (!pngPath.empty()) {
            RasterCanvas large(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, pngScale.value_or(4));
            DiagramPicture::Redraw(large, pictureRun);
            const std::string png = EncodePng(large);
            if (png.empty())
                throw AppError("Stream write error");
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
