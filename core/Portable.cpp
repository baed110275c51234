// SPDX-License-Identifier: GPL-3.0-or-later
#include "Portable.h"

#include <cmath>
#include <string>

#if defined(__EMSCRIPTEN__)
#include <cerrno>
#include <cstdlib>
#else
#include <charconv>
#endif

namespace zk {

bool ParseDecimalDouble(const char* first, const char* last, double& value) {
#if defined(__EMSCRIPTEN__)
    // This standard library reads no double with std::from_chars.  strtod rounds to nearest as
    // from_chars does; a value too large for a double, or a nonzero one that comes out as zero,
    // is out of range there too.  Only the characters of a plain decimal number are let through,
    // so strtod's own extras (hexadecimal, "inf", leading blanks) never come into play.
    if (first == last)
        return false;
    for (const char* p = first; p != last; ++p) {
        const char c = *p;
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-'))
            return false;
    }
    if (*first == '+')
        return false;
    const std::string text(first, last);
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size())
        return false;
    if (std::isinf(parsed))
        return false;
    if (parsed == 0) {
        // Zero only when every digit of the significand is zero.
        for (const char* p = first; p != last && *p != 'e' && *p != 'E'; ++p)
            if (*p >= '1' && *p <= '9')
                return false;
    }
    value = parsed;
    return true;
#else
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last;
#endif
}

} // namespace zk
