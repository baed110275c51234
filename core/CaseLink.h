// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A case given in a web address, as a teacher puts it into a course page:
// ?c1=340&gamma=1.4&v1=680&chi=20, any subset.  The values are read as a result file's values are
// (c1, γ and χ as real numbers, V1 as a whole number) and become the fields' values the same way;
// γ is written as itself, not times 100.  A parameter that is no such number, is empty, is too
// large for its field or is given more than once is left out with a sentence saying why; the
// others still count.  Parameters of other names belong to the page around and are passed over.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FlowState.h"
#include "ResultFile.h"

namespace zk {

struct CaseLink {
    std::optional<double> SoundSpeed;     // m/s
    std::optional<double> Gamma;          // ratio of specific heats
    std::optional<std::int32_t> V1;       // m/s
    std::optional<double> WedgeDegrees;   // degrees
    std::vector<std::string> Problems;    // one Russian sentence per parameter left out
};

// Reads the query of an address (what follows "?", without it; "+" and %XX escapes decoded).
CaseLink ReadCaseLink(std::string_view query);

// What the link's case puts into the program, as ReadResultFile gives it for a file: the link's
// values over those of `current` (the case shown before), with the fields' values.
ResultFileValues CaseLinkValues(const CaseLink& link, const FlowState& current);

// The query of the case that Apply last ran in `state`: c1 and γ as exactly as a double reads
// back, V1 and the wedge in whole degrees (as the result file writes it).
std::string CaseLinkQuery(const FlowState& state);

// A text as valid UTF-8: every byte that starts no valid sequence becomes U+FFFD.
std::string ValidUtf8(std::string_view text);

} // namespace zk
