// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz targets hold every input to: the only failures are the program's own errors with
// the messages the user knows, and nothing the program shows or keeps is a NaN or an infinity.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Errors.h"

namespace zk::fuzz {

// Reports a broken promise and stops, so the fuzzer keeps the input that broke it.
[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}

inline bool IsFloatMessage(std::string_view message) {
    return message == kDivisionByZero || message == kInvalidOperation || message == kOverflow;
}

// A floating-point error must carry one of the runtime's three messages.
inline void CheckFloatError(const FloatError& error) {
    if (!IsFloatMessage(error.what()))
        Fail(std::string("floating-point error with an unknown message: ") + error.what());
}

inline void CheckFinite(double value, const char* name) {
    if (!std::isfinite(value))
        Fail(std::string(name) + " is not finite");
}

// A text the user sees: never empty, never a NaN or an infinity spelled out.
inline void CheckShownText(const std::string& text, const char* where) {
    if (text.empty())
        Fail(std::string(where) + " is empty");
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos)
        Fail(std::string(where) + " shows \"" + text + "\"");
}

} // namespace zk::fuzz
