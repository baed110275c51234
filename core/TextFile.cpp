// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFile.h"

#include "Errors.h"
#include "Portable.h"

namespace zk {

namespace {

constexpr char kCtrlZ = 26;
constexpr std::size_t kRealTokenLimit = 64;    // characters
constexpr std::size_t kIntegerTokenLimit = 32; // characters

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

TextFileReader::TextFileReader(std::string bytes) : bytes_(std::move(bytes)) {
    // Ctrl-Z marks the end of a text file wherever it stands.
    const auto end = bytes_.find(kCtrlZ);
    if (end != std::string::npos)
        bytes_.resize(end);
}

std::string TextFileReader::Token(std::size_t limit) {
    while (pos_ < bytes_.size() && IsBlank(bytes_[pos_]))
        ++pos_;
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && !IsBlank(bytes_[pos_]) && pos_ - start < limit)
        ++pos_;
    return bytes_.substr(start, pos_ - start);
}

double TextFileReader::ReadReal() {
    const std::string token = Token(kRealTokenLimit);
    if (token.empty())
        return 0; // end of file
    double value = 0;
    if (!ParseReal(token, value))
        throw InOutError(106);
    return value;
}

std::int32_t TextFileReader::ReadInteger() {
    const std::string token = Token(kIntegerTokenLimit);
    if (token.empty())
        return 0;
    std::int32_t value = 0;
    if (!ParseInteger(token, value))
        throw InOutError(106);
    return value;
}

void TextFileReader::ReadLn() {
    while (pos_ < bytes_.size()) {
        const char c = bytes_[pos_++];
        if (c == '\n')
            return;
        if (c == '\r') {
            if (pos_ == bytes_.size())
                return;
            if (bytes_[pos_] == '\n') {
                ++pos_;
                return;
            }
            // a CR followed by anything else is an ordinary character
        }
    }
}

bool ParseReal(const std::string& token, double& value) {
    // [sign] digits [. digits] [(E|e) [sign] digits]
    std::size_t i = 0;
    const std::size_t n = token.size();
    if (i < n && (token[i] == '+' || token[i] == '-'))
        ++i;
    const std::size_t mantissa = i;
    while (i < n && IsDigit(token[i]))
        ++i;
    if (i == mantissa)
        return false;
    if (i < n && token[i] == '.') {
        ++i;
        const std::size_t fraction = i;
        while (i < n && IsDigit(token[i]))
            ++i;
        if (i == fraction)
            return false;
    }
    if (i < n && (token[i] == 'E' || token[i] == 'e')) {
        ++i;
        if (i < n && (token[i] == '+' || token[i] == '-'))
            ++i;
        const std::size_t exponent = i;
        while (i < n && IsDigit(token[i]))
            ++i;
        if (i == exponent)
            return false;
    }
    if (i != n)
        return false;
    const char* first = token.data() + (token[0] == '+' ? 1 : 0);
    // A number beyond the range of a double does not convert.
    return ParseDecimalDouble(first, token.data() + n, value);
}

bool ParseInteger(const std::string& token, std::int32_t& value) {
    std::size_t i = 0;
    const std::size_t n = token.size();
    bool negative = false;
    if (i < n && (token[i] == '+' || token[i] == '-'))
        negative = token[i++] == '-';
    int base = 10;
    if (i < n && token[i] == '$') {
        base = 16;
        ++i;
    } else if (i < n && (token[i] == 'x' || token[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && token[i] == '0' && (token[i + 1] == 'x' || token[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return false;
    std::int64_t magnitude = 0;
    for (; i < n; ++i) {
        const int digit = base == 16 ? HexDigit(token[i]) : (IsDigit(token[i]) ? token[i] - '0' : -1);
        if (digit < 0)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > 2147483648LL)
            return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > 2147483647LL || signedValue < -2147483648LL)
        return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

} // namespace zk
