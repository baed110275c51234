// SPDX-License-Identifier: GPL-3.0-or-later
#include "ComparisonBindings.h"

#include "ComparisonText.h"
#include "ShockComparison.h"

namespace zk {

namespace {

using emscripten::val;

val Strings(const auto& texts) {
    val array = val::array();
    for (const auto& text : texts)
        array.call<void>("push", std::string(text));
    return array;
}

// The byte-order mark first: spreadsheets that open the file directly then read it as UTF-8.
val CsvBytes(const std::string& csv) {
    const std::string bytes = "\xEF\xBB\xBF" + csv;
    val array = val::global("Uint8Array").new_(bytes.size());
    array.call<void>("set", val(emscripten::typed_memory_view(bytes.size(),
                                                              reinterpret_cast<const std::uint8_t*>(bytes.data()))));
    return array;
}

ComparisonText TextOf(const WebCase& webCase, PageComparison& comparison, const std::string& separator) {
    const FlowState& flow = webCase.Flow();
    const ComparedCase& compared = comparison.Of(webCase);
    if (compared.ApplyFaulted)
        return ComparisonText::AfterFault(flow, separator);
    if (!compared.Comparison)
        return ComparisonText::Failed(flow, compared.Failure, separator);
    return ComparisonText::Compared(flow, *compared.Comparison, separator);
}

} // namespace

const ComparedCase& PageComparison::Of(const WebCase& webCase) {
    if (generation_ != webCase.Generation()) {
        compared_ = CompareCase(webCase.Flow(), webCase.LastApplyFaulted(), wedges_);
        generation_ = webCase.Generation();
    }
    return compared_;
}

val ComparisonOf(const WebCase& webCase, PageComparison& comparison, const std::string& separator) {
    const ComparisonText text = TextOf(webCase, comparison, separator);
    val out = val::object();
    out.set("caseLine", text.CaseLine());
    out.set("summary", text.Summary());
    out.set("warning", text.Warning());
    out.set("landmarks", text.Landmarks());
    out.set("reading", std::string(ComparisonText::ReadingNote()));
    out.set("hint", std::string(ComparisonText::LargestWedgeHint()));
    out.set("rows", Strings(ComparisonText::RowNames()));
    out.set("columns", Strings(ComparisonText::ColumnNames()));
    val cells = val::array();
    for (int row = 0; row < ComparisonText::kRows; ++row) {
        val line = val::array();
        for (int column = 0; column < ComparisonText::kColumns; ++column)
            line.call<void>("push", text.Cell(row, column));
        cells.call<void>("push", line);
    }
    out.set("cells", cells);
    val span = val::object();
    span.set("row", ComparisonText::kSpanRow);
    span.set("column", ComparisonText::kSpanColumn);
    out.set("span", span);
    out.set("tsv", text.TableText());
    out.set("csv", CsvBytes(text.TableCsv()));
    return out;
}

val OpenLinkOf(WebCase& webCase, const std::string& query) {
    val out = val::object();
    try {
        const WebCase::OpenedLink opened = webCase.OpenLink(query);
        out.set("wedge", opened.Values.WedgeField);
        out.set("velocity", opened.Values.V1);
        out.set("soundSpeed", opened.Values.SoundSpeedField);
        out.set("gammaTimesTen", opened.Values.GammaField);
        out.set("problems", Strings(opened.Problems));
    } catch (const std::exception& e) {
        out.set("error", std::string(e.what()));
    }
    return out;
}

} // namespace zk
