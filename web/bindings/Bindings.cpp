// SPDX-License-Identifier: GPL-3.0-or-later
// The web page's window onto the program: the case of the main window (WebCase), the texts of the
// guide and of "О программе", as JavaScript objects.  Faults come back as the runtime's message
// in a field `error`, never as a JavaScript exception, so the page reports them and goes on.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <exception>
#include <string>

#include "ComparisonBindings.h"
#include "Errors.h"
#include "GasSettings.h"
#include "GuideText.h"
#include "ChartBindings.h"
#include "StepsBindings.h"
#include "WebCase.h"

#ifndef ZK_VERSION
#error "ZK_VERSION names the program's version"
#endif

namespace zk {
namespace {

using emscripten::val;

// Bytes that live in the module's memory as a view; the page copies them before its next call.
val View(const std::vector<std::uint8_t>& bytes) {
    return val(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

// A copy of a byte string as a Uint8Array of its own.
val BytesOf(const std::string& bytes) {
    val array = val::global("Uint8Array").new_(bytes.size());
    array.call<void>("set", val(emscripten::typed_memory_view(bytes.size(),
                                                              reinterpret_cast<const std::uint8_t*>(bytes.data()))));
    return array;
}

// The result of a call that may fault: {error: message} or the filled object.
template <typename Fill> val Guarded(Fill fill) {
    val result = val::object();
    try {
        fill(result);
    } catch (const std::exception& error) {
        result.set("error", std::string(error.what()));
    }
    return result;
}

// The page's case with the calls the page makes.  Labels are named by the page's element ids.
class PageCase {
  public:
    explicit PageCase(int scale) : case_(scale) {}

    val Apply(int wedgeDegrees, int velocity) {
        return Guarded([&](val& result) {
            const std::string fault = case_.Apply(wedgeDegrees, velocity);
            if (!fault.empty())
                result.set("error", fault);
        });
    }

    val FollowVelocity(int velocity) {
        return Guarded([&](val& result) {
            const std::string fault = case_.FollowVelocity(velocity);
            if (!fault.empty())
                result.set("error", fault);
        });
    }

    // {mach: {text, shown}, ...} for every label, and {p2p1: shown, ...} for the formula pictures.
    val Labels(const std::string& decimalSeparator) const {
        const char sep = decimalSeparator.size() == 1 ? decimalSeparator[0] : '.';
        val labels = val::object();
        const auto label = [&](const char* id, ResultItem item) {
            val entry = val::object();
            entry.set("text", case_.Caption(item, sep));
            entry.set("shown", case_.Visible(item));
            labels.set(id, entry);
        };
        label("mach", ResultItem::Label6);
        label("chimax", ResultItem::Label3);
        label("p2p1", ResultItem::Label2);
        label("rho1rho2", ResultItem::Label1);
        label("v2v1", ResultItem::Label8);
        label("t2t1", ResultItem::Label11);
        label("c1", ResultItem::Label12);
        label("gamma", ResultItem::Label13);
        val formulas = val::object();
        formulas.set("p2p1", case_.Visible(ResultItem::Image3));
        formulas.set("v2v1", case_.Visible(ResultItem::Image4));
        formulas.set("t2t1", case_.Visible(ResultItem::Image5));
        formulas.set("rho1rho2", case_.Visible(ResultItem::Image2));
        labels.set("formulas", formulas);
        return labels;
    }

    void SetGas(int soundSpeedField, int gammaTimesTenField) { case_.SetGas(soundSpeedField, gammaTimesTenField); }
    int VelocityStep() const { return zk::VelocityStep(case_.Flow().SoundSpeed); }

    // The fields an opened file sets, or {error}.
    val Open(const std::string& bytes) {
        return Guarded([&](val& result) {
            const ResultFileValues values = case_.Open(bytes);
            result.set("wedge", values.WedgeField);
            result.set("velocity", values.V1);
            result.set("soundSpeed", values.SoundSpeedField);
            result.set("gammaTimesTen", values.GammaField);
        });
    }
    val Save() const { return BytesOf(case_.Save()); }

    void SetScale(int scale) { case_.SetScale(scale); }
    int Scale() const { return case_.Scale(); }
    int DeviceWidth() const { return case_.DeviceWidth(); }
    int DeviceHeight() const { return case_.DeviceHeight(); }
    val Pixels() { return View(case_.Rgba()); }
    val PixelsAtScale(int scale) {
        return Guarded([&](val& result) {
            result.set("data", View(case_.RgbaAtScale(scale)));
            result.set("width", PolarDiagram::kWidth * std::clamp(scale, 1, RasterCanvas::kMaxScale));
            result.set("height", PolarDiagram::kHeight * std::clamp(scale, 1, RasterCanvas::kMaxScale));
        });
    }
    val Bmp() const { return BytesOf(case_.Bmp()); }
    // The comparison charts' scenes, JSON (see ChartBindings.h).
    // They are drawn from the comparison the table shows, made once per state of the case.
    std::string ChartScenes(const std::string& separator, val measure) {
        return charts_.Scenes(case_.Flow(), comparison_.Of(case_), separator, measure);
    }

    // What the flight view takes its snapshot of, by the flow state's own names.
    val Flow() const {
        const FlowState& flow = case_.Flow();
        val state = val::object();
        state.set("PointCx", flow.PointCx);
        state.set("PointCy", flow.PointCy);
        state.set("V1", flow.V1);
        state.set("WedgeAngle", flow.WedgeAngle);
        state.set("ShockAngle", flow.ShockAngle);
        state.set("ShockDetached", flow.ShockDetached);
        state.set("DetachedRadius", flow.DetachedRadius);
        state.set("DetachedEndX", flow.DetachedEndX);
        state.set("DetachedEndY", flow.DetachedEndY);
        return state;
    }
    val Comparison(const std::string& separator) { return ComparisonOf(case_, comparison_, separator); }
    val OpenLink(const std::string& query) { return OpenLinkOf(case_, query); }
    std::string LinkQuery() const { return case_.LinkQuery(); }

    // "Построение по шагам" (StepsBindings.cpp).
    val Steps(const std::string& decimalSeparator) const {
        return StepTexts(case_, decimalSeparator.size() == 1 ? decimalSeparator[0] : '.');
    }
    val StepPixels(int index) {
        return Guarded([&](val& result) { result = StepPicture(case_, index, stepRgba_); });
    }

  private:
    WebCase case_;
    PageComparison comparison_;
    PageCharts charts_;
    std::vector<std::uint8_t> stepRgba_;
};

std::string WebGuideHtml(const std::string& diagram, const std::string& theory) {
    return GuideHtml(GuideEdition::Web, {diagram, theory});
}
std::string WebAboutHtml() { return AboutHtml(ZK_VERSION); }
int WebVelocityLowerLimit(int soundSpeedField) { return VelocityLowerLimit(soundSpeedField); }

} // namespace
} // namespace zk

EMSCRIPTEN_BINDINGS(zorkventa) {
    using namespace emscripten;
    using zk::PageCase;
    class_<PageCase>("Case")
        .constructor<int>()
        .function("apply", &PageCase::Apply)
        .function("followVelocity", &PageCase::FollowVelocity)
        .function("labels", &PageCase::Labels)
        .function("setGas", &PageCase::SetGas)
        .function("velocityStep", &PageCase::VelocityStep)
        .function("open", &PageCase::Open)
        .function("save", &PageCase::Save)
        .function("setScale", &PageCase::SetScale)
        .function("scale", &PageCase::Scale)
        .function("deviceWidth", &PageCase::DeviceWidth)
        .function("deviceHeight", &PageCase::DeviceHeight)
        .function("pixels", &PageCase::Pixels)
        .function("pixelsAtScale", &PageCase::PixelsAtScale)
        .function("bmp", &PageCase::Bmp)
        .function("flow", &PageCase::Flow)
        .function("comparison", &PageCase::Comparison)
        .function("openLink", &PageCase::OpenLink)
        .function("linkQuery", &PageCase::LinkQuery)
        .function("chartScenes", &PageCase::ChartScenes)
        .function("steps", &PageCase::Steps)
        .function("stepPixels", &PageCase::StepPixels);
    function("guideHtml", &zk::WebGuideHtml);
    function("aboutHtml", &zk::WebAboutHtml);
    function("velocityLowerLimit", &zk::WebVelocityLowerLimit);
    constant("version", std::string(ZK_VERSION));
}
