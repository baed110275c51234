// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The comparison with exact theory for the page: what the desktop's comparison window shows
// after the page's last Apply, as one JavaScript object, and the case's address.
#include <emscripten/val.h>

#include <cstdint>
#include <limits>
#include <string>

#include "LargestWedgeCache.h"
#include "ShockComparison.h"
#include "WebCase.h"

namespace zk {

// The comparison of the page's case with exact theory, made once for each state of the case and
// shared by the view's table and its charts.
class PageComparison {
  public:
    const ComparedCase& Of(const WebCase& webCase);

  private:
    LargestWedgeCache wedges_; // the largest attached wedge, searched again for a new gas or V1
    std::uint64_t generation_ = std::numeric_limits<std::uint64_t>::max();
    ComparedCase compared_;
};

// {caseLine, summary, warning, landmarks, reading, rows, columns, cells, span: {row, column},
// hint, tsv, csv}: the texts with the page's decimal separator, the cells row by row, the TSV
// text for the clipboard and the CSV file's bytes (UTF-8 with its byte-order mark, CR LF) as the
// desktop writes them.
emscripten::val ComparisonOf(const WebCase& webCase, PageComparison& comparison, const std::string& separator);

// {wedge, velocity, soundSpeed, gammaTimesTen, problems: [...]} of the case in the address's
// query, or {error} (the case as it was).
emscripten::val OpenLinkOf(WebCase& webCase, const std::string& query);

} // namespace zk
