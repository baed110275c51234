// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseLink.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Errors.h"
#include "Numbers.h"
#include "Portable.h"
#include "TextFile.h"

namespace zk {

namespace {

enum class Name { SoundSpeed, Gamma, V1, Wedge, Count };

struct Parameter {
    const char* Name;  // in the address, lower case
    const char* Holds; // what its value is, continuing "его значение — "
};

constexpr Parameter kParameters[] = {
    {"c1", "скорость звука c1 в м/с, число, например 340"},
    {"gamma", "показатель адиабаты γ (сам γ, а не γ × 10), число, например 1.4"},
    {"v1", "скорость потока V1 в м/с, целое число, например 680"},
    {"chi", "половинный угол клина χ в градусах, число, например 20"},
};

constexpr std::size_t kShownValueBytes = 32; // of a value quoted in a sentence

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A component of a query as the browser sent it: "+" is a space, %XX a byte; a "%" that starts
// no escape stands for itself.
std::string Decoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && space(text[first]))
        ++first;
    while (last > first && space(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// A value as a sentence quotes it: valid UTF-8, and a long one cut short.
std::string Quoted(const std::string& value) {
    std::string shown = ValidUtf8(value);
    if (shown.size() > kShownValueBytes) {
        std::size_t cut = kShownValueBytes;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut; // not inside a letter
        shown = shown.substr(0, cut) + "…";
    }
    return "«" + shown + "»";
}

// The sentence that leaves a parameter out: its name, its value when it is to be seen, why.
std::string LeftOut(const Parameter& p, const std::string* value, const char* reason) {
    std::string text = std::string("Параметр адреса ") + p.Name;
    if (value)
        text += " = " + Quoted(*value);
    if (reason)
        text += std::string(" ") + reason + " и";
    return text + " не учтён: его значение — " + p.Holds + ".";
}

// The field a real value goes into takes it rounded; a value beyond the 64-bit range cannot be.
bool Roundable(double value) {
    try {
        (void)Round(value);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

std::int32_t ClampTo32(std::int64_t n) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, INT32_MIN, INT32_MAX));
}

std::int32_t WholeDegrees(double radians) { return ClampTo32(Round(static_cast<Extended>(radians) * 180 / Pi)); }

// The text of a double with a decimal point, whatever the C library's locale writes for it.
std::string Printed(const char* format, int precision, double value) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, format, precision, value);
    std::string text = buffer;
    for (char& c : text)
        if (!(c >= '0' && c <= '9') && c != '-' && c != '+' && c != 'e')
            c = '.';
    return text;
}

bool ReadsBackAs(const std::string& text, double value) {
    std::string plain = text; // ParseDecimalDouble takes no "+"
    plain.erase(std::remove(plain.begin(), plain.end(), '+'), plain.end());
    double back = 0;
    return ParseDecimalDouble(plain.data(), plain.data() + plain.size(), back) && back == value;
}

// The shortest text that reads back as exactly this double: plain decimals where a student
// would write them so (340, 1.4, 340.5), an exponent only for the very large and very small.
std::string ExactText(double value) {
    if (value == 0 || (std::abs(value) >= 1e-4 && std::abs(value) < 1e15)) {
        for (int decimals = 0; decimals <= 20; ++decimals) {
            const std::string text = Printed("%.*f", decimals, value);
            if (ReadsBackAs(text, value))
                return text == "-0" ? std::string("0") : text;
        }
    }
    for (int precision = 1; precision < 17; ++precision) {
        const std::string text = Printed("%.*g", precision, value);
        if (ReadsBackAs(text, value))
            return text;
    }
    return Printed("%.*g", 17, value);
}

// "+" in a query is a space: the exponent's sign is escaped.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '+' ? std::string("%2B") : std::string(1, c);
    return out;
}

} // namespace

std::string ValidUtf8(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t lowest = 0;
        if (b < 0x80) {
            length = 1;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
            lowest = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            lowest = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            lowest = 0x10000;
        }
        bool valid = length > 0 && i + length <= text.size();
        char32_t code = length == 1 ? b : (b & (0x7F >> length));
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3F);
        }
        // No overlong forms, no surrogates, nothing beyond U+10FFFF.
        valid = valid && code >= lowest && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        if (valid) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

CaseLink ReadCaseLink(std::string_view query) {
    CaseLink link;
    constexpr std::size_t kCount = static_cast<std::size_t>(Name::Count);
    std::vector<std::string> values[kCount];
    std::size_t from = 0;
    while (from <= query.size()) {
        std::size_t end = query.find('&', from);
        if (end == std::string_view::npos)
            end = query.size();
        const std::string_view pair = query.substr(from, end - from);
        from = end + 1;
        if (pair.empty())
            continue;
        const std::size_t equals = pair.find('=');
        const std::string name = Lower(Decoded(pair.substr(0, equals)));
        const std::string value = equals == std::string_view::npos ? std::string() : Decoded(pair.substr(equals + 1));
        for (std::size_t k = 0; k < kCount; ++k)
            if (name == kParameters[k].Name)
                values[k].push_back(value);
    }

    for (std::size_t k = 0; k < kCount; ++k) {
        const Parameter& p = kParameters[k];
        if (values[k].empty())
            continue;
        if (values[k].size() > 1) {
            link.Problems.push_back(LeftOut(p, nullptr, "указан несколько раз"));
            continue;
        }
        const std::string value = Trimmed(values[k].front());
        if (value.empty()) {
            link.Problems.push_back(LeftOut(p, nullptr, "пуст"));
            continue;
        }
        const std::string* given = &values[k].front();
        constexpr const char* kTooLarge = "слишком велик по модулю";
        double real = 0;
        const bool isReal = ParseReal(value, real);
        if (static_cast<Name>(k) == Name::V1) {
            std::int32_t whole = 0;
            if (ParseInteger(value, whole))
                link.V1 = whole;
            else if (isReal && std::abs(real) >= 2147483648.0 && std::floor(real) == real)
                link.Problems.push_back(LeftOut(p, given, kTooLarge));
            else
                link.Problems.push_back(LeftOut(p, given, nullptr));
            continue;
        }
        if (!isReal) {
            link.Problems.push_back(LeftOut(p, given, nullptr));
            continue;
        }
        // The field shows the value rounded (γ times ten): a value it cannot hold is no case.
        const double field = static_cast<Name>(k) == Name::Gamma ? real * 10 : real;
        if (!Roundable(field)) {
            link.Problems.push_back(LeftOut(p, given, kTooLarge));
            continue;
        }
        switch (static_cast<Name>(k)) {
        case Name::SoundSpeed:
            link.SoundSpeed = real;
            break;
        case Name::Gamma:
            link.Gamma = real;
            break;
        default:
            link.WedgeDegrees = real;
            break;
        }
    }
    return link;
}

ResultFileValues CaseLinkValues(const CaseLink& link, const FlowState& current) {
    ResultFileValues values;
    values.SoundSpeed = link.SoundSpeed.value_or(current.SoundSpeed);
    values.Gamma = link.Gamma.value_or(current.Gamma);
    values.V1 = link.V1.value_or(current.V1);
    values.WedgeDegrees = link.WedgeDegrees ? *link.WedgeDegrees : WholeDegrees(current.WedgeAngle);
    // The fields' whole numbers, as ReadResultFile makes them.
    values.WedgeField = ClampTo32(Round(values.WedgeDegrees));
    values.SoundSpeedField = ClampTo32(Round(values.SoundSpeed));
    values.GammaField = ClampTo32(Round(static_cast<Extended>(values.Gamma) * 10));
    return values;
}

std::string CaseLinkQuery(const FlowState& state) {
    std::string query;
    const auto add = [&query](const char* name, const std::string& value) {
        if (!query.empty())
            query += '&';
        query += name;
        query += '=';
        query += Escaped(value);
    };
    if (std::isfinite(state.SoundSpeed))
        add("c1", ExactText(state.SoundSpeed));
    if (std::isfinite(state.Gamma))
        add("gamma", ExactText(state.Gamma));
    add("v1", IntegerText(state.V1));
    if (std::isfinite(state.WedgeAngle) && Roundable(static_cast<double>(state.WedgeAngle * 180 / Pi)))
        add("chi", IntegerText(WholeDegrees(state.WedgeAngle)));
    return query;
}

} // namespace zk
