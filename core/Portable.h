// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small stand-ins for library facilities that not every standard library we build with has:
// reinterpreting an object's bits, and reading a decimal number into a double.  Where the
// library has the facility, the stand-in is that facility.
#include <cstring>
#include <type_traits>

namespace zk {

// The bits of from read as a To of the same size (std::bit_cast).
template <class To, class From>
To BitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
                  std::is_trivially_copyable_v<From>);
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

// Reads the whole of first..last (digits, an optional point and fraction, an optional exponent;
// no sign other than a leading minus) as the nearest double, as std::from_chars reads it; false
// when the text is not entirely such a number or its value lies beyond the range of a double.
bool ParseDecimalDouble(const char* first, const char* last, double& value);

} // namespace zk
