// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebCase.h"

#include <algorithm>
#include <cstring>

#include "BmpWriter.h"
#include "Errors.h"
#include "GasSettings.h"
#include "Numbers.h"
#include "PolarDiagram.h"
#include "StepRecordingDiagram.h"

namespace zk {

// The diagram and the labels of the main window while Apply runs, recorded step by step as the
// desktop's main diagram records its runs.
class WebCase::Window : public StepRecordingDiagram {
  public:
    explicit Window(WebCase& owner)
        : StepRecordingDiagram(owner.construction_, *owner.canvas_, owner.flow_), owner_(owner) {}

    void SetCaption(ResultItem label, const std::string& text) override {
        owner_.captions_[label] = text;
        StepRecordingDiagram::SetCaption(label, text);
    }
    void SetVisible(ResultItem item, bool visible) override {
        owner_.visible_[item] = visible;
        StepRecordingDiagram::SetVisible(item, visible);
    }
    void ClearAndDrawAxes() override {
        owner_.pictureRun_ = owner_.runningRun_;
        StepRecordingDiagram::ClearAndDrawAxes();
    }

  private:
    WebCase& owner_;
};

WebCase::WebCase(std::int32_t scale)
    : canvas_(std::make_unique<RasterCanvas>(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, scale)) {
    flow_.Gamma = 1.4;
    flow_.SoundSpeed = 340.0;
    pictureRun_ = DiagramRun{flow_, ApplyInputs{}, canvas_->Pen()};
    const std::string fault = Apply(20, static_cast<std::int32_t>(Round(2.0L * flow_.SoundSpeed)));
    (void)fault; // the default case solves
}

std::string WebCase::Apply(std::int32_t wedgeDegrees, std::int32_t velocity) {
    ApplyInputs inputs;
    inputs.WedgeDegrees = wedgeDegrees;
    inputs.Velocity = velocity;
    inputs.DecimalSeparator = '.'; // the captions take the page's separator when shown
    runningRun_ = DiagramRun{flow_, inputs, canvas_->Pen()};
    ++generation_;
    Window window(*this);
    lastApplyFaulted_ = true; // until the run ends normally
    try {
        zk::Apply(flow_, inputs, window);
    } catch (const AppError& error) {
        return error.what();
    }
    lastApplyFaulted_ = false;
    return {};
}

std::string WebCase::FollowVelocity(std::int32_t velocity) {
    try {
        const Extended mach = Div(velocity, flow_.SoundSpeed);
        captions_[ResultItem::Label6] = NumberText(RoundDecimals(static_cast<double>(mach), -3), '.');
    } catch (const AppError& error) {
        return error.what();
    }
    return {};
}

std::string WebCase::Caption(ResultItem item, char decimalSeparator) const {
    const auto found = captions_.find(item);
    std::string text = found == captions_.end() ? std::string("0") : found->second;
    for (char& c : text)
        if (c == '.')
            c = decimalSeparator;
    return text;
}

bool WebCase::Visible(ResultItem item) const {
    const auto found = visible_.find(item);
    return found == visible_.end() || found->second;
}

void WebCase::SetGas(std::int32_t soundSpeedField, std::int32_t gammaTimesTenField) {
    ++generation_;
    flow_.SoundSpeed = ClosedFieldValue(shownSoundSpeed_, soundSpeedField, soundSpeedField);
    flow_.Gamma = ClosedFieldValue(shownGamma_, gammaTimesTenField, GammaFromField(gammaTimesTenField));
    shownSoundSpeed_ = {soundSpeedField, flow_.SoundSpeed};
    shownGamma_ = {gammaTimesTenField, flow_.Gamma};
}

ResultFileValues WebCase::Open(const std::string& bytes) {
    const ResultFileValues values = ReadResultFile(bytes);
    Take(values);
    return values;
}

WebCase::OpenedLink WebCase::OpenLink(const std::string& query) {
    CaseLink link = ReadCaseLink(query);
    const ResultFileValues values = CaseLinkValues(link, flow_);
    Take(values);
    return {values, std::move(link.Problems)};
}

void WebCase::Take(const ResultFileValues& values) {
    ++generation_;
    flow_.SoundSpeed = values.SoundSpeed;
    flow_.Gamma = values.Gamma;
    flow_.V1 = values.V1;
    shownSoundSpeed_ = {values.SoundSpeedField, values.SoundSpeed};
    shownGamma_ = {values.GammaField, values.Gamma};
}

std::unique_ptr<RasterCanvas> WebCase::DrawPicture(std::int32_t scale) const {
    auto canvas = std::make_unique<RasterCanvas>(PolarDiagram::kWidth, PolarDiagram::kHeight, FontSpec{}, scale);
    DiagramPicture::Redraw(*canvas, pictureRun_);
    // The next run starts with the pen the picture's own run left.
    canvas->SetPenColor(canvas_->Pen().Color);
    canvas->SetPenWidth(canvas_->Pen().Width);
    canvas->SetPenStyle(canvas_->Pen().Style);
    canvas->MoveTo(canvas_->PenPos().X, canvas_->PenPos().Y);
    return canvas;
}

void WebCase::SetScale(std::int32_t scale) {
    scale = std::clamp(scale, 1, RasterCanvas::kMaxScale);
    if (scale != canvas_->Scale())
        canvas_ = DrawPicture(scale);
}

const std::vector<std::uint8_t>& WebCase::ToRgba(const RasterCanvas& canvas) {
    const std::size_t n = std::size_t(canvas.DeviceWidth()) * std::size_t(canvas.DeviceHeight());
    rgba_.resize(n * 4);
    const std::uint32_t* bits = canvas.Bits();
    for (std::size_t i = 0; i < n; ++i) {
        // 0xFFRRGGBB becomes the bytes R, G, B, 255: one little-endian word 0xFFBBGGRR.
        const std::uint32_t p = bits[i];
        const std::uint32_t word = 0xFF000000u | ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
        std::memcpy(&rgba_[4 * i], &word, 4);
    }
    return rgba_;
}

const std::vector<std::uint8_t>& WebCase::Rgba() { return ToRgba(*canvas_); }

const std::vector<std::uint8_t>& WebCase::RgbaAtScale(std::int32_t scale) {
    return ToRgba(*DrawPicture(std::clamp(scale, 1, RasterCanvas::kMaxScale)));
}

std::string WebCase::Bmp() const {
    // The bitmap is the picture's own 609 x 449 pixels, whatever the page's scale.
    return canvas_->Scale() == 1 ? EncodeBmp(*canvas_) : EncodeBmp(*DrawPicture(1));
}

} // namespace zk
