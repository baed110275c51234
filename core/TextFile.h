// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading numbers from an 8-bit text file held in memory, by the rules of the program's result
// files: blanks and line ends before a number are skipped, a token ends at the next blank, the
// decimal point is always ".", the end of the file reads as 0, and Ctrl-Z ends the file.
#include <cstdint>
#include <string>

namespace zk {

class TextFileReader {
public:
    explicit TextFileReader(std::string bytes);

    // A real number; 0 at the end of the file.  Text that does not convert raises
    // InOutError 106 ("Invalid numeric input").
    double ReadReal();
    // A 32-bit signed integer, decimal or hexadecimal after "$", "x" or "0x"; 0 at the end of the
    // file; InOutError 106 when the text does not convert or lies outside the 32-bit range.
    std::int32_t ReadInteger();
    // Skips the rest of the line: up to and including LF, CR LF, or a CR that ends the file.
    void ReadLn();
    bool AtEnd() const { return pos_ >= bytes_.size(); }
    // The line, counted from 1, on which the last number read began (or the file ended).
    int TokenLine() const;

private:
    std::string Token(std::size_t limit);

    std::string bytes_;
    std::size_t pos_ = 0;
    std::size_t tokenStart_ = 0;
};

// Converts a token as the reader does; false when it is not a number of that kind.
bool ParseReal(const std::string& token, double& value);
bool ParseInteger(const std::string& token, std::int32_t& value);

} // namespace zk
