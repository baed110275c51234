// SPDX-License-Identifier: GPL-3.0-or-later
#include "ComparisonText.h"

#include "ExactShock.h"
#include "Numbers.h"

namespace zk {

namespace {

constexpr std::array<const char*, ComparisonText::kRows> kRowNames = {
    "Угол скачка, °", "P₂/P₁", "ρ₁/ρ₂", "υ₂/υ₁", "T₂/T₁", "M₂", "p₀₂/p₀₁", "Наибольший χ, °",
};

constexpr std::array<const char*, ComparisonText::kColumns> kColumnNames = {
    "Построение", "Слабый скачок", "Сильный скачок", "Разность", "Разность, %",
};

enum Column { ConstructionColumn, WeakColumn, StrongColumn, DifferenceColumn, PercentColumn };

// The case in the first line of the table's text: names, then the numbers' decimals.
constexpr std::array<const char*, 5> kCaseNames = {"M₁", "γ", "χ, °", "V₁, м/с", "c₁, м/с"};

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A field of the CSV file, quoted when it holds a separator, a quote or a line end.
std::string CsvField(const std::string& field) {
    if (field.find_first_of(",\"\n\r") == std::string::npos)
        return field;
    std::string quoted = field;
    ReplaceAll(quoted, "\"", "\"\"");
    return '"' + quoted + '"';
}

// The code point of the UTF-8 sequence at the start of text and its length in bytes; 0 bytes for
// no valid sequence of two bytes (all the letters there are a case of lie within two bytes).
struct Leading {
    char32_t Code = 0;
    std::size_t Bytes = 0;
};

Leading LeadingLetter(std::string_view text) {
    if (text.empty())
        return {};
    const auto b0 = static_cast<unsigned char>(text[0]);
    if (b0 < 0x80)
        return {b0, 1};
    if (text.size() >= 2 && (b0 & 0xE0) == 0xC0) {
        const auto b1 = static_cast<unsigned char>(text[1]);
        if ((b1 & 0xC0) == 0x80 && b0 >= 0xC2)
            return {char32_t((b0 & 0x1F) << 6 | (b1 & 0x3F)), 2};
    }
    return {};
}

char32_t LowerCase(char32_t c) {
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) // Latin-1 capitals, not the multiplication sign
        return c + 0x20;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) // Greek capitals
        return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) // Cyrillic А..Я
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) // Cyrillic Ѐ..Џ, with Ё
        return c + 0x50;
    return c;
}

std::string Utf8(char32_t c) {
    if (c < 0x80)
        return std::string(1, static_cast<char>(c));
    return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
}

} // namespace

std::string MessageSentence(const std::string& message) {
    // The error messages of the exact relations carry no full stop of their own.
    if (!message.empty() && message.back() == '.')
        return message;
    return message + '.';
}

std::string ContinuingSentence(const std::string& message) {
    std::string text = MessageSentence(message);
    const Leading first = LeadingLetter(text);
    if (first.Bytes == 0)
        return text;
    return Utf8(LowerCase(first.Code)) + text.substr(first.Bytes);
}

const std::array<const char*, ComparisonText::kRows>& ComparisonText::RowNames() { return kRowNames; }
const std::array<const char*, ComparisonText::kColumns>& ComparisonText::ColumnNames() { return kColumnNames; }

const char* ComparisonText::LargestWedgeHint() {
    return "Наибольший целый угол клина, при котором построение находит присоединённый скачок, "
           "и наибольший угол поворота потока θmax точной теории";
}

const char* ComparisonText::ReadingNote() {
    return "Разность — построение минус слабый скачок, который и находит построение. "
           "Наибольший χ — последний целый угол клина с присоединённым скачком "
           "на построении, рядом θmax точной теории.";
}

ComparisonText::ComparisonText(std::string_view separator)
    : separator_(separator.empty() ? std::string(".") : std::string(separator)) {}

ComparisonText ComparisonText::Compared(const FlowState& flow, const ShockComparison& comparison,
                                        std::string_view separator) {
    ComparisonText text(separator);
    text.SetCase(flow);
    text.Fill(flow, comparison);
    return text;
}

ComparisonText ComparisonText::AfterFault(const FlowState& flow, std::string_view separator) {
    ComparisonText text(separator);
    text.SetCase(flow);
    text.SetSummary("Последний расчёт прерван ошибкой: сравнивать нечего. Исправьте данные "
                    "и нажмите «Применить».",
                    true);
    return text;
}

ComparisonText ComparisonText::Failed(const FlowState& flow, const std::string& problem,
                                      std::string_view separator) {
    ComparisonText text(separator);
    try {
        text.SetCase(flow);
    } catch (...) {
        // The case line itself failed: the failure is told without it.
        text.caseLine_.clear();
        text.caseValues_ = {};
    }
    text.SetSummary(problem.empty() ? std::string("Сравнение не удалось.")
                                    : "Сравнение не удалось: " + MessageSentence(problem),
                    true);
    return text;
}

std::string ComparisonText::Shown(const std::string& number) const {
    std::string shown = number;
    ReplaceAll(shown, ".", separator_);
    return shown;
}

// A number as the table shows it: rounded to `decimals`, no trailing zeros.
std::string ComparisonText::Number(double value, int decimals) const {
    return Shown(ComparisonNumberText(value, decimals, '.'));
}

std::string ComparisonText::Degrees(double degrees) const { return Number(degrees, 2) + "°"; }

void ComparisonText::SetCase(const FlowState& flow) {
    const double wedgeDegrees = DegreesFromRadians(flow.WedgeAngle);
    const std::string mach =
        flow.SoundSpeed == 0 ? std::string("не определено") : "= " + Number(flow.V1 / flow.SoundSpeed, 3);
    caseLine_ = "M₁ " + mach + "     γ = " + Number(flow.Gamma, 2) + "     χ = " + Degrees(wedgeDegrees) +
                "     V₁ = " + std::to_string(flow.V1) + " м/с     c₁ = " + Number(flow.SoundSpeed, 2) + " м/с";
    caseValues_ = {flow.SoundSpeed == 0 ? std::string() : ComparisonNumberText(flow.V1 / flow.SoundSpeed, 3, '.'),
                   ComparisonNumberText(flow.Gamma, 2, '.'), ComparisonNumberText(wedgeDegrees, 2, '.'),
                   std::to_string(flow.V1), ComparisonNumberText(flow.SoundSpeed, 2, '.')};
}

void ComparisonText::SetSummary(const std::string& text, bool warning) {
    summary_ = text;
    ReplaceAll(summary_, " = ", "\u00a0=\u00a0");
    warning_ = warning;
}

std::string ComparisonText::Cell(int row, int column) const {
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
        return {};
    const std::string& cell = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    return cell.empty() ? std::string(kDash) : Shown(cell);
}

void ComparisonText::Fill(const FlowState& flow, const ShockComparison& comparison) {
    const auto set = [this](std::size_t row, int column, const std::optional<double>& value, int decimals) {
        cells_[row][static_cast<std::size_t>(column)] =
            value ? ComparisonNumberText(*value, decimals, '.') : std::string();
    };
    for (std::size_t row = 0; row < cells_.size() && row < comparison.Rows.size(); ++row) {
        const ComparisonRow& r = comparison.Rows[row];
        const int decimals = r.InDegrees ? 2 : 4;
        set(row, ConstructionColumn, r.Construction, decimals);
        set(row, WeakColumn, r.Weak, decimals);
        set(row, StrongColumn, r.Strong, decimals);
        set(row, DifferenceColumn, r.Difference(), decimals);
        set(row, PercentColumn, r.RelativeDifference(), 2);
    }

    const ExactValues& exact = comparison.Exact;
    if (exact.Answered()) {
        const ExactShockTheory& t = exact.Theory;
        const auto degrees = [this](double radians) { return Degrees(DegreesFromRadians(radians)); };
        landmarks_ = "Угол Маха μ = " + degrees(t.MachAngle) + "\nНаибольший угол поворота потока θmax = " +
                     degrees(t.ThetaMax) + " при β = " + degrees(t.BetaAtThetaMax) +
                     "\nЗвуковая точка (M₂ = 1): θ = " + degrees(t.SonicTheta) + "; β = " + degrees(t.SonicBeta);
    } else {
        landmarks_ = "Угол Маха, наибольший угол поворота и звуковая точка не определены.";
    }
    const bool agree = comparison.Construction.Attached && exact.Weak.has_value() && flow.WedgeAngle != 0 &&
                       !comparison.ConstructionBelowMachAngle();
    SetSummary(Summary(flow, comparison), !agree && flow.WedgeAngle != 0);
}

std::string ComparisonText::Summary(const FlowState& flow, const ShockComparison& comparison) const {
    const ExactValues& exact = comparison.Exact;
    const ConstructionValues& c = comparison.Construction;
    const std::string chi = Degrees(DegreesFromRadians(flow.WedgeAngle));
    const auto degrees = [this](double radians) { return Degrees(DegreesFromRadians(radians)); };
    if (!comparison.ConstructionProblem.empty())
        return "Значения построения не получены: " + MessageSentence(comparison.ConstructionProblem);
    if (!exact.Answered())
        return "Точная теория не даёт ответа: " + ContinuingSentence(exact.Problem);
    const std::string thetaMax = degrees(exact.Theory.ThetaMax);
    if (flow.WedgeAngle == 0)
        return "При χ = 0° клин не поворачивает поток: слабый скачок вырождается в волну Маха (β = μ = " +
               degrees(exact.Theory.MachAngle) + "), сильный — в прямой скачок (β = 90°).";
    if (comparison.BeyondMaximumDeflection()) {
        if (c.Attached)
            return "При χ = " + chi +
                   " построение ещё находит скачок, но по точной теории присоединённого скачка нет: χ больше "
                   "наибольшего угла поворота потока θmax = " +
                   thetaMax + ".";
        return "При χ = " + chi +
               " присоединённого скачка нет: угол клина больше наибольшего угла поворота потока θmax = " +
               thetaMax + " — скачок отсоединяется.";
    }
    if (!c.Attached)
        return "При χ = " + chi +
               " построение не находит присоединённого скачка, хотя по точной теории он есть (θmax = " + thetaMax +
               ").";
    const ComparisonRow& angle = comparison.Rows.front();
    if (comparison.ConstructionBelowMachAngle())
        return "При χ = " + chi + " разрешение построения в один пиксель опускает φ = " +
               Degrees(*angle.Construction) + " ниже угла Маха μ = " + degrees(exact.Theory.MachAngle) +
               ": это не скачок уплотнения, давление за ним падает (P₂/P₁ = " + Number(c.PressureRatio, 3) +
               " < 1).";
    return "Построение даёт слабый скачок: φ = " + Degrees(*angle.Construction) + " против β = " +
           Degrees(*angle.Weak) + " по точной теории, разность " + Degrees(*angle.Difference()) + ".";
}

std::vector<std::vector<std::string>> ComparisonText::Fields(bool shown) const {
    const auto number = [this, shown](const std::string& text) { return shown ? Shown(text) : text; };
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> first;
    for (std::size_t i = 0; i < caseValues_.size(); ++i) {
        first.push_back(kCaseNames[i]);
        first.push_back(number(caseValues_[i]));
    }
    lines.push_back(first);
    lines.emplace_back();
    std::vector<std::string> header = {std::string()};
    header.insert(header.end(), kColumnNames.begin(), kColumnNames.end());
    lines.push_back(header);
    for (std::size_t row = 0; row < cells_.size(); ++row) {
        std::vector<std::string> fields = {kRowNames[row]};
        for (const std::string& cell : cells_[row])
            fields.push_back(number(cell));
        lines.push_back(fields);
    }
    return lines;
}

std::string ComparisonText::TableText() const {
    std::string text;
    for (const std::vector<std::string>& fields : Fields(true)) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i)
                text += '\t';
            text += fields[i];
        }
        text += '\n';
    }
    return text;
}

std::string ComparisonText::TableCsv() const {
    std::string text;
    for (const std::vector<std::string>& fields : Fields(false)) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i)
                text += ',';
            text += CsvField(fields[i]);
        }
        text += "\r\n";
    }
    return text;
}

} // namespace zk
