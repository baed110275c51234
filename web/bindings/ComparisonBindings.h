// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The comparison with exact theory for the page: what the desktop's comparison window shows
// after the page's last Apply, as one JavaScript object, and the case's address.
#include <emscripten/val.h>

#include <string>

#include "LargestWedgeCache.h"
#include "WebCase.h"

namespace zk {

// {caseLine, summary, warning, landmarks, reading, rows, columns, cells, span: {row, column},
// hint, tsv, csv}: the texts with the page's decimal separator, the cells row by row, the TSV
// text for the clipboard and the CSV file's bytes (UTF-8 with its byte-order mark, CR LF) as the
// desktop writes them.  The largest attached wedge is searched again only for a new gas or V1.
emscripten::val ComparisonOf(const WebCase& webCase, LargestWedgeCache& cache, const std::string& separator);

// {wedge, velocity, soundSpeed, gammaTimesTen, problems: [...]} of the case in the address's
// query, or {error} (the case as it was).
emscripten::val OpenLinkOf(WebCase& webCase, const std::string& query);

} // namespace zk
