// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a student can do about an error: a sentence in Russian, shown under the runtime's own
// message, that names the input which made the case undefined (or the line of a case file that
// could not be read) and what to change.  Shared by every front end; the texts are UTF-8.
#include <cstdint>
#include <string>

#include "ResultFile.h"

namespace zk {

// Why Apply could not solve the gas c1 (m/s), γ and the velocity field's V1 (m/s), or "" when
// none of these inputs explains it.  Numbers are written with decimalSeparator.
std::string ApplyAdvice(double soundSpeed, double gamma, std::int32_t velocity, char decimalSeparator);

// The case file fileName could not be read at place: its line and what that line must hold.
std::string ResultFileAdvice(const std::string& fileName, const ResultFilePlace& place);

// The case file fileName could not be opened for reading: the input/output code says why.
std::string ResultFileOpenAdvice(const std::string& fileName, int inOutCode);

} // namespace zk
