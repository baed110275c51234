// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The errors the program raises.  Each carries exactly the runtime message the user sees in the
// error box; only the window layer turns them into a box.
#include <stdexcept>
#include <string>

namespace zk {

// Base of every error the program itself raises.
class AppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An arithmetic fault: division by zero, invalid operation or overflow of the extended range.
class FloatError : public AppError {
public:
    using AppError::AppError;
};

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kOverflow = "Floating point overflow";

// An input/output error of a text file, carrying its numeric code.
class InOutError : public AppError {
public:
    explicit InOutError(int code);
    int Code() const { return code_; }

private:
    int code_;
};

// The message for an input/output error code ("Invalid numeric input" for 106, ...).
std::string InOutMessage(int code);

} // namespace zk
