// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The guide "Как читать диаграмму" and the text of "О программе", written once for both the desktop
// program and the web page: HTML fragments in UTF-8, for a student who sees the program for the
// first time.
#include <string>

namespace zk {

// The desktop guide also explains the flight window, the comparison and the menu keys; the page's
// guide tells its own keys.
enum class GuideEdition { Desktop, Web };

// Where the guide's pictures are found: the start-up diagram, the theory picture and, in the
// desktop's guide, the extra constructions over an attached and a detached case.
struct GuidePictures {
    std::string Diagram;
    std::string Theory;
    std::string ExtrasAttached = {};
    std::string ExtrasDetached = {};
};

std::string GuideHtml(GuideEdition edition, const GuidePictures& pictures);

// The program's name, its version, what it does and its licence.
std::string AboutHtml(const std::string& version);

} // namespace zk
