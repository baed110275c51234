// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the comparison with exact theory says in words and numbers: the case line, the summary
// sentence and whether it warns, the table's cells, the landmarks of the exact theory, and the
// table as tab-separated text (for the clipboard) and as CSV (for a file).  Both front ends show
// these texts as they stand.  UTF-8 text; the decimal separator of the shown numbers is a
// parameter (it may be longer than one byte), the CSV always has a decimal point.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "FlowState.h"
#include "ShockComparison.h"

namespace zk {

class ComparisonText {
  public:
    // The table's rows (the comparison's quantities, in its order) and columns.
    static constexpr int kRows = 8;
    static constexpr int kColumns = 5;
    // The last row, the largest wedge against θmax: θmax is where the weak and the strong branch
    // meet, so its weak and strong cells show one value across both columns.
    static constexpr int kSpanRow = kRows - 1;
    static constexpr int kSpanColumn = 1;

    static const std::array<const char*, kRows>& RowNames();
    static const std::array<const char*, kColumns>& ColumnNames();
    // What the last row's header explains when asked.
    static const char* LargestWedgeHint();
    // How to read the table.
    static const char* ReadingNote();
    // The shown text of an absent value.
    static constexpr const char* kDash = "—";

    // The texts for the solution in the flow state, compared.
    static ComparisonText Compared(const FlowState& flow, const ShockComparison& comparison,
                                   std::string_view separator);
    // After an Apply that a fault ended: nothing to compare, the table empty.
    static ComparisonText AfterFault(const FlowState& flow, std::string_view separator);
    // The comparison itself failed with `problem` (a message of the program's runtime).
    static ComparisonText Failed(const FlowState& flow, const std::string& problem, std::string_view separator);

    // The case compared: M1, γ, χ, V1 and c1.
    const std::string& CaseLine() const { return caseLine_; }
    // The agreement in one sentence, or why a side has no answer; a formula such as
    // "θmax = 22.97°" has no-break spaces around its sign, so it is not broken across lines.
    const std::string& Summary() const { return summary_; }
    // The summary tells of a disagreement or a fault: shown in the warning colour.
    bool Warning() const { return warning_; }
    // The Mach angle, the maximum deflection and the sonic point, in three lines; empty when
    // nothing was compared.
    const std::string& Landmarks() const { return landmarks_; }
    // A cell as shown: the number with the separator, a dash where the value is absent.
    std::string Cell(int row, int column) const;

    // The case in the first line, an empty line, the column headers and one line per row, each
    // line ended by "\n", fields separated by tabs, numbers with the separator; an absent value
    // is an empty field.
    std::string TableText() const;
    // The same fields comma-separated with a decimal point, a field holding a comma, a quote or a
    // line end quoted, each line ended by CR LF.
    std::string TableCsv() const;

  private:
    explicit ComparisonText(std::string_view separator);
    std::string Shown(const std::string& number) const;
    std::string Number(double value, int decimals) const;
    std::string Degrees(double degrees) const;
    void SetCase(const FlowState& flow);
    void Fill(const FlowState& flow, const ShockComparison& comparison);
    void SetSummary(const std::string& text, bool warning);
    std::string Summary(const FlowState& flow, const ShockComparison& comparison) const;
    std::vector<std::vector<std::string>> Fields(bool shown) const;

    std::string separator_;
    std::string caseLine_;
    std::string summary_;
    bool warning_ = false;
    std::string landmarks_;
    // The numbers with a decimal point, empty where a value is absent.
    std::array<std::array<std::string, kColumns>, kRows> cells_;
    std::array<std::string, 5> caseValues_;
};

// A message of the program's runtime as a sentence: with a full stop at its end.
std::string MessageSentence(const std::string& message);
// The same sentence continuing another: its first letter in lower case (Latin, Greek, Cyrillic).
std::string ContinuingSentence(const std::string& message);

} // namespace zk
