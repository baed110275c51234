// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison's texts as both front ends show them: sentences that continue another, the
// separator of the shown numbers (also one longer than a byte), the table's tab-separated and CSV
// forms holding the same fields, and no number of a case that was not compared.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ApplyListener.h"
#include "ComparisonText.h"
#include "LargestWedgeCache.h"
#include "Solver.h"

using namespace zk;

namespace {

// The flow state after Apply; a run that faults leaves what it had set.
FlowState Solved(int chi, int v1, double c1 = 340, double gamma = 1.4, bool* faulted = nullptr) {
    FlowState state;
    state.SoundSpeed = c1;
    state.Gamma = gamma;
    ApplyListener quiet;
    try {
        Apply(state, {chi, v1, '.'}, quiet);
        if (faulted)
            *faulted = false;
    } catch (const AppError&) {
        if (faulted)
            *faulted = true;
    }
    return state;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, from)) {
        parts.push_back(text.substr(from, at - from));
        from = at + separator.size();
    }
    parts.push_back(text.substr(from));
    return parts;
}

// The fields of CSV text as a spreadsheet reads them: quoted fields may hold commas, doubled
// quotes and line ends.
std::vector<std::vector<std::string>> ReadCsv(const std::string& csv) {
    std::vector<std::vector<std::string>> lines(1);
    std::string field;
    bool quoted = false;
    bool any = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            lines.back().push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') {
            lines.back().push_back(field);
            field.clear();
            lines.emplace_back();
            ++i;
        } else {
            field += c;
        }
        any = true;
    }
    EXPECT_FALSE(quoted) << "a quote left open";
    if (!field.empty() || (any && !lines.back().empty()))
        lines.back().push_back(field);
    if (lines.back().empty())
        lines.pop_back(); // after the last line's CR LF
    return lines;
}

std::vector<std::vector<std::string>> ReadTsv(const std::string& tsv) {
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> rows = Split(tsv, "\n");
    EXPECT_EQ(rows.back(), "") << "every line ends with a line feed";
    rows.pop_back();
    for (const std::string& row : rows)
        lines.push_back(Split(row, "\t"));
    return lines;
}

// A decimal point between digits: a number not written with the shown separator.
bool HasPointInNumber(const std::string& text) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = 1; i + 1 < text.size(); ++i)
        if (text[i] == '.' && digit(text[i - 1]) && digit(text[i + 1]))
            return true;
    return false;
}

TEST(ComparisonText, MessagesBecomeSentencesThatContinueAnother) {
    const struct {
        const char* Message;
        const char* Sentence;
        const char* Continuing;
    } rows[] = {
        {"Поток дозвуковой", "Поток дозвуковой.", "поток дозвуковой."},
        {"Ёмкость исчерпана.", "Ёмкость исчерпана.", "ёмкость исчерпана."},
        {"Скорость звука c1 равна нулю", "Скорость звука c1 равна нулю.", "скорость звука c1 равна нулю."},
        {"Division by zero", "Division by zero.", "division by zero."},
        {"Γ too small", "Γ too small.", "γ too small."},
        {"Élan", "Élan.", "élan."},
        {"θmax unknown", "θmax unknown.", "θmax unknown."},
        {"1 > 0", "1 > 0.", "1 > 0."},
        {"", ".", "."},
        {"\xD0", "\xD0.", "\xD0."}, // a broken letter stays as it was
    };
    for (const auto& row : rows) {
        EXPECT_EQ(MessageSentence(row.Message), row.Sentence) << row.Message;
        EXPECT_EQ(ContinuingSentence(row.Message), row.Continuing) << row.Message;
    }
}

// Every shown text of a table of cases: the separator in every number, none of the other, and
// the tab-separated and CSV tables holding the same fields.
TEST(ComparisonText, BothTablesHoldTheShownFields) {
    const struct {
        int Chi, V1;
        double C1, Gamma;
        const char* What;
    } cases[] = {
        {20, 680, 340, 1.4, "the start-up case"},
        {30, 680, 340, 1.4, "detached"},
        {0, 680, 340, 1.4, "no wedge"},
        {23, 680, 340, 1.4, "beyond θmax, still attached on the construction"},
        {10, 680, 900, 1.4, "subsonic"},
        {20, 680, 340, 1.0, "γ = 1: no oblique shocks"},
        {45, 100000, 340, 1.67, "hypersonic"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const FlowState flow = Solved(c.Chi, c.V1, c.C1, c.Gamma);
        LargestWedgeCache cache;
        const ShockComparison comparison = CompareWithExactTheory(flow, cache);
        for (const std::string separator : {".", ",", "\u066b"}) {
            const ComparisonText text = ComparisonText::Compared(flow, comparison, separator);
            const auto tsv = ReadTsv(text.TableText());
            const auto csv = ReadCsv(text.TableCsv());
            ASSERT_EQ(tsv.size(), 3u + ComparisonText::kRows);
            ASSERT_EQ(csv.size(), tsv.size());
            EXPECT_EQ(tsv[1], std::vector<std::string>{""}) << "an empty line after the case";
            EXPECT_EQ(tsv[0].size(), 10u) << "five names, five numbers";
            for (std::size_t line = 2; line < tsv.size(); ++line)
                EXPECT_EQ(tsv[line].size(), 1u + ComparisonText::kColumns) << line;
            for (std::size_t line = 0; line < tsv.size(); ++line) {
                ASSERT_EQ(csv[line].size(), tsv[line].size()) << line;
                for (std::size_t field = 0; field < tsv[line].size(); ++field) {
                    // The CSV's numbers have a decimal point: written with the shown separator
                    // they are the tab-separated fields.
                    std::string fromCsv = csv[line][field];
                    const bool number = line == 0 ? field % 2 == 1 : line >= 3 && field >= 1;
                    if (number)
                        for (std::size_t at = fromCsv.find('.'); at != std::string::npos;
                             at = fromCsv.find('.', at + separator.size()))
                            fromCsv.replace(at, 1, separator);
                    EXPECT_EQ(fromCsv, tsv[line][field]) << line << " " << field;
                }
            }
            for (int row = 0; row < ComparisonText::kRows; ++row) {
                EXPECT_EQ(tsv[3 + row][0], ComparisonText::RowNames()[row]);
                for (int column = 0; column < ComparisonText::kColumns; ++column) {
                    const std::string& field = tsv[3 + row][1 + column];
                    // The cell shows what the table's text holds; a dash for an empty field.
                    EXPECT_EQ(text.Cell(row, column), field.empty() ? ComparisonText::kDash : field);
                    if (separator != ".") {
                        EXPECT_EQ(field.find('.'), std::string::npos) << field;
                    }
                    EXPECT_EQ(field.find("nan"), std::string::npos);
                    EXPECT_EQ(field.find("inf"), std::string::npos);
                }
            }
            for (const std::string& shown : {text.CaseLine(), text.Summary(), text.Landmarks()})
                EXPECT_EQ(shown.find("nan"), std::string::npos) << shown;
            EXPECT_EQ(text.Summary().find(" = "), std::string::npos) << "a formula stays on one line";
            if (separator != ".") {
                EXPECT_FALSE(HasPointInNumber(text.Landmarks())) << text.Landmarks();
                EXPECT_FALSE(HasPointInNumber(text.Summary())) << text.Summary();
            }
            if (c.Gamma == 1.4) {
                EXPECT_NE(text.CaseLine().find("γ = 1" + separator + "4"), std::string::npos) << text.CaseLine();
            }
        }
    }
}

TEST(ComparisonText, CsvQuotesTheNamesThatHoldCommas) {
    const FlowState flow = Solved(20, 680);
    const ComparisonText text = ComparisonText::Compared(flow, CompareWithExactTheory(flow), ",");
    const std::vector<std::string> lines = Split(text.TableCsv(), "\r\n");
    ASSERT_EQ(lines.size(), 3u + ComparisonText::kRows + 1);
    EXPECT_EQ(lines[2], ",Построение,Слабый скачок,Сильный скачок,Разность,\"Разность, %\"");
    EXPECT_EQ(lines[3].rfind("\"Угол скачка, °\",", 0), 0u) << lines[3];
    EXPECT_EQ(lines[10].rfind("\"Наибольший χ, °\",", 0), 0u) << lines[10];
    EXPECT_EQ(lines.back(), "") << "the last line ends with CR LF as well";
    EXPECT_EQ(text.TableCsv().find('\n'), text.TableCsv().find("\r\n") + 1) << "no bare line feed";
}

// What is shown when there is nothing to compare: no number of any earlier case.
TEST(ComparisonText, FaultAndFailureShowNoNumbers) {
    bool faulted = false;
    const FlowState noSound = Solved(20, 680, 0, 1.4, &faulted);
    ASSERT_TRUE(faulted) << "c1 = 0 stops Apply";
    const FlowState solved = Solved(20, 680);
    const struct {
        ComparisonText Text;
        const char* Summary;
        const char* What;
    } rows[] = {
        {ComparisonText::AfterFault(noSound, "."), "Последний расчёт прерван ошибкой", "faulted Apply"},
        {ComparisonText::Failed(solved, "bad_alloc", ","), "Сравнение не удалось: bad_alloc.", "failure"},
        {ComparisonText::Failed(solved, "", ","), "Сравнение не удалось.", "failure without a message"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.What);
        EXPECT_EQ(row.Text.Summary().rfind(row.Summary, 0), 0u) << row.Text.Summary();
        EXPECT_TRUE(row.Text.Warning());
        EXPECT_EQ(row.Text.Landmarks(), "");
        for (int r = 0; r < ComparisonText::kRows; ++r)
            for (int column = 0; column < ComparisonText::kColumns; ++column)
                EXPECT_EQ(row.Text.Cell(r, column), ComparisonText::kDash) << r << " " << column;
        const auto tsv = ReadTsv(row.Text.TableText());
        ASSERT_EQ(tsv.size(), 3u + ComparisonText::kRows);
        for (std::size_t line = 3; line < tsv.size(); ++line)
            for (std::size_t field = 1; field < tsv[line].size(); ++field)
                EXPECT_EQ(tsv[line][field], "") << line << " " << field;
    }
    // Without c1 the Mach number is not defined: said in words, an empty field in the table.
    const ComparisonText fault = ComparisonText::AfterFault(noSound, ".");
    EXPECT_NE(fault.CaseLine().find("M₁ не определено"), std::string::npos) << fault.CaseLine();
    EXPECT_EQ(ReadTsv(fault.TableText())[0][1], "");
    // The failed comparison still names its case.
    EXPECT_NE(ComparisonText::Failed(solved, "x", ",").CaseLine().find("γ = 1,4"), std::string::npos);
}

TEST(ComparisonText, CellsOutsideTheTableAreEmpty) {
    const FlowState flow = Solved(20, 680);
    const ComparisonText text = ComparisonText::Compared(flow, CompareWithExactTheory(flow), ".");
    for (const auto& [row, column] : std::vector<std::pair<int, int>>{
             {-1, 0}, {0, -1}, {ComparisonText::kRows, 0}, {0, ComparisonText::kColumns}})
        EXPECT_EQ(text.Cell(row, column), "") << row << " " << column;
    EXPECT_NE(text.Cell(0, 0), "");
}

} // namespace
