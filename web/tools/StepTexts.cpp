// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what the desktop's "Построение по шагам" says for a case, as JSON, for the page's tests
// to hold the web edition's steps against:
//   zk_step_texts V1 CHI [SEPARATOR]   ->   {"count": 14, "titles": [...], "captions": [...]}
// The case is solved as the main window solves it: the start-up case first (c1 = 340 m/s,
// γ = 1.4, V1 = 680 m/s, χ = 20°), then the given one on the same picture; the steps are those
// of the last run.  A run that a fault ended still prints its steps, the fault's text in "error".
#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "ConstructionCaptions.h"
#include "ConstructionRecord.h"
#include "Errors.h"
#include "PolarDiagram.h"
#include "RasterCanvas.h"
#include "Solver.h"
#include "StepRecordingDiagram.h"

namespace {

// Captions are written with this stand-in for the decimal separator, as the desktop window does.
constexpr char kSeparatorMark = '\x01';

std::string Json(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
            out += code;
        } else {
            out += c;
        }
    }
    return out + '"';
}

bool ParseInt(const char* text, int& value) {
    const std::string_view s(text);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc{} && end == s.data() + s.size();
}

} // namespace

int main(int argc, char** argv) {
    int v1 = 0, chi = 0;
    if (argc < 3 || argc > 4 || !ParseInt(argv[1], v1) || !ParseInt(argv[2], chi) ||
        (argc == 4 && std::string_view(argv[3]).size() != 1)) {
        std::cerr << "usage: zk_step_texts V1 CHI [SEPARATOR]\n";
        return 2;
    }
    const char separator = argc == 4 ? argv[3][0] : '.';

    zk::RasterCanvas canvas(zk::PolarDiagram::kWidth, zk::PolarDiagram::kHeight);
    zk::FlowState state;
    state.SoundSpeed = 340;
    state.Gamma = 1.4;
    zk::ConstructionRecord record;
    std::string fault;
    try {
        zk::StepRecordingDiagram startup(record, canvas, state);
        zk::Apply(state, {20, 680, '.'}, startup);
    } catch (const zk::AppError&) {
        // The start-up case solves; a fault here would show in the case's own run below.
    }
    try {
        zk::StepRecordingDiagram diagram(record, canvas, state);
        zk::Apply(state, {chi, v1, '.'}, diagram);
    } catch (const zk::AppError& error) {
        fault = error.what();
    }

    std::string titles, captions;
    for (std::size_t i = 0; i < record.Steps().size(); ++i) {
        std::string caption = zk::StepCaption(record, i, kSeparatorMark);
        for (char& c : caption)
            if (c == kSeparatorMark)
                c = separator;
        titles += (i ? ", " : "") + Json(zk::StepTitle(record.Steps()[i].Step));
        captions += (i ? ", " : "") + Json(caption);
    }
    std::cout << "{\"count\": " << record.Steps().size() << ", \"titles\": [" << titles << "], \"captions\": ["
              << captions << "], \"error\": " << Json(fault) << "}\n";
    return 0;
}
