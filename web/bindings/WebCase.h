// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's case as the web page holds it: the flow state, the result labels as Apply
// last left them, and the diagram's picture at the page's device scale.  The page keeps its own
// input fields and calls in here for everything it shows, so it shows what the desktop shows.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CaseLink.h"
#include "ConstructionRecord.h"
#include "DiagramPicture.h"
#include "FlowState.h"
#include "GasSettings.h"
#include "RasterCanvas.h"
#include "ResultFile.h"
#include "Solver.h"

namespace zk {

class WebCase {
  public:
    // As the main window is created: the default gas, the velocity field at 2 c1, Apply with the
    // wedge field's design value 20; the picture at device scale `scale`.
    explicit WebCase(std::int32_t scale);

    // Apply with the two input fields.  Returns the fault's message, empty when the run ended
    // normally; what was drawn and written before a fault stays.
    std::string Apply(std::int32_t wedgeDegrees, std::int32_t velocity);

    // The Mach label for a velocity field value, as a click into that field shows it; a fault
    // (c1 = 0) leaves the label and returns the message.
    std::string FollowVelocity(std::int32_t velocity);

    // A label's text with the given decimal separator, and whether it is shown.  A label that no
    // run wrote yet holds "0".
    std::string Caption(ResultItem item, char decimalSeparator) const;
    bool Visible(ResultItem item) const;

    // The settings closing with their fields: the gas of the flow state (before Apply).  A field
    // left as it was shown keeps the exact value it stands for (γ = 1.67 from a case stays 1.67).
    void SetGas(std::int32_t soundSpeedField, std::int32_t gammaTimesTenField);

    // Reads a result file's bytes; all four values are checked before anything changes, and a
    // bad file raises its error.  On success the gas and V1 are in the flow state and values
    // holds what the fields are to show; the caller sets them and runs Apply.
    ResultFileValues Open(const std::string& bytes);
    // The result file of the flow state.
    std::string Save() const { return FormatResultFile(flow_); }

    // Reads a case given in the page's address (the query, without "?"): the given values over
    // the flow state's, into the flow state as an opened file's; problems holds a sentence for
    // each parameter left out.  The caller sets the fields from values and runs Apply.
    struct OpenedLink {
        ResultFileValues Values;
        std::vector<std::string> Problems;
    };
    OpenedLink OpenLink(const std::string& query);
    // The address's query of the case Apply last ran.
    std::string LinkQuery() const { return CaseLinkQuery(flow_); }

    // Whether a fault ended the last Apply (not the start-up one, which solves).
    bool LastApplyFaulted() const { return lastApplyFaulted_; }

    const FlowState& Flow() const { return flow_; }
    // Changes whenever the flow state may have changed (Apply, the settings, an opened case), so
    // what is computed from the state can be kept until then.
    std::uint64_t Generation() const { return generation_; }
    // The last run of Apply step by step, also one that a fault ended.
    const ConstructionRecord& Construction() const { return construction_; }

    // The picture at device scale k: drawn again from its run when k is not its scale.
    void SetScale(std::int32_t scale);
    std::int32_t Scale() const { return canvas_->Scale(); }
    std::int32_t DeviceWidth() const { return canvas_->DeviceWidth(); }
    std::int32_t DeviceHeight() const { return canvas_->DeviceHeight(); }
    // The picture's device pixels as RGBA bytes, row by row, valid until the next call.
    const std::vector<std::uint8_t>& Rgba();
    // The picture drawn again at device scale k (the PNG export at 4), RGBA as above.
    const std::vector<std::uint8_t>& RgbaAtScale(std::int32_t scale);
    // The 609 x 449 picture as a BMP file.
    std::string Bmp() const;

  private:
    // The settings' fields as an opened case or the last close left them.
    ShownGasField shownSoundSpeed_{340, 340.0};
    ShownGasField shownGamma_{14, 1.4};
    class Window;
    friend class Window;

    FlowState flow_;
    ConstructionRecord construction_;
    std::unique_ptr<RasterCanvas> canvas_;
    std::map<ResultItem, std::string> captions_; // with "." as the separator
    std::map<ResultItem, bool> visible_;
    DiagramRun runningRun_; // what the running Apply started from
    DiagramRun pictureRun_; // the run that last cleared the picture
    std::vector<std::uint8_t> rgba_;
    bool lastApplyFaulted_ = false;
    std::uint64_t generation_ = 0;

    void Take(const ResultFileValues& values);

    std::unique_ptr<RasterCanvas> DrawPicture(std::int32_t scale) const;
    const std::vector<std::uint8_t>& ToRgba(const RasterCanvas& canvas);
};

} // namespace zk
