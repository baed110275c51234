// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A listener that records what Apply reports, for tests of the construction.
#include <map>
#include <string>
#include <vector>

#include "ApplyListener.h"

namespace zk::test {

class RecordingListener : public ApplyListener {
public:
    std::map<ResultItem, std::string> captions;
    std::map<ResultItem, bool> visible;
    std::vector<std::string> steps; // one entry per drawing step reported
    std::int32_t pointAx = -1;
    std::int32_t lastSample = -1;
    std::int64_t samples = 0;
    Extended bcInterceptY = 0;
    bool repainted = false;

    void SetCaption(ResultItem label, const std::string& text) override { captions[label] = text; }
    void SetVisible(ResultItem item, bool shown) override { visible[item] = shown; }
    void ClearAndDrawAxes() override { steps.push_back("axes"); }
    void PolarPassBegin(int s, std::int32_t ax) override {
        steps.push_back(s > 0 ? "lower" : "upper");
        pointAx = ax;
    }
    void PolarSample(int, std::int32_t i, Extended) override {
        lastSample = i;
        ++samples;
    }
    void Wedge() override { steps.push_back("wedge"); }
    void ShockPen() override { steps.push_back("pen3"); }
    void MarkC() override { steps.push_back("markC"); }
    void ConstructionLine(Extended bc) override {
        steps.push_back("construction");
        bcInterceptY = bc;
    }
    void ShockConstruction(Extended) override { steps.push_back("shock"); }
    void FixedLabels(std::int32_t) override { steps.push_back("letters"); }
    void DetachedShock() override { steps.push_back("detached"); }
    void Repaint() override {
        steps.push_back("repaint");
        repainted = true;
    }

    std::string Caption(ResultItem label) const {
        const auto it = captions.find(label);
        return it == captions.end() ? std::string("<unset>") : it->second;
    }
    bool Shown(ResultItem item) const {
        const auto it = visible.find(item);
        return it != visible.end() && it->second;
    }
    bool Hidden(ResultItem item) const {
        const auto it = visible.find(item);
        return it != visible.end() && !it->second;
    }
};

} // namespace zk::test
