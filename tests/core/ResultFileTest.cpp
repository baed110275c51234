// SPDX-License-Identifier: GPL-3.0-or-later
// Reading numbers from text files and the four-line result file.
#include <gtest/gtest.h>

#include <numbers>

#include "Errors.h"
#include "ResultFile.h"
#include "TextFile.h"

using namespace zk;

namespace {

int IoCode(const std::string& bytes) {
    try {
        ReadResultFile(bytes);
    } catch (const InOutError& e) {
        return e.Code();
    }
    return 0;
}

} // namespace

TEST(TextFileReader, SkipsBlanksAndLineEndsBeforeANumber) {
    TextFileReader reader(" \t\r\n\r\n  42.5\r\n-7\r\n");
    EXPECT_EQ(reader.ReadReal(), 42.5);
    reader.ReadLn();
    EXPECT_EQ(reader.ReadInteger(), -7);
    reader.ReadLn();
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadReal(), 0); // end of file reads as 0
    EXPECT_EQ(reader.ReadInteger(), 0);
}

TEST(TextFileReader, RealsUseThePointWhateverTheLocale) {
    const struct { const char* text; bool ok; double value; } rows[] = {
        {"1.5", true, 1.5},   {"15E-1", true, 1.5}, {"15e-1", true, 1.5}, {"-2", true, -2},
        {"+3.25", true, 3.25}, {"1,5", false, 0},   {"1.", false, 0},     {".5", false, 0},
        {"1e", false, 0},     {"abc", false, 0},    {"1.5x", false, 0},   {"1e400", false, 0},
    };
    for (const auto& row : rows) {
        double value = 0;
        EXPECT_EQ(ParseReal(row.text, value), row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(value, row.value) << row.text;
        }
    }
}

TEST(TextFileReader, IntegersAreDecimalOrHexadecimal) {
    const struct { const char* text; bool ok; std::int32_t value; } rows[] = {
        {"680", true, 680},         {"-15", true, -15},          {"$1F", true, 31},
        {"x10", true, 16},          {"X10", true, 16},           {"0x10", true, 16},
        {"0XfF", true, 255},        {"2147483647", true, INT32_MAX}, {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},   {"680.0", false, 0},         {"$", false, 0},
        {"12a", false, 0},          {"$FFFFFFFF", false, 0},     {"99999999999999999999", false, 0},
    };
    for (const auto& row : rows) {
        std::int32_t value = 0;
        EXPECT_EQ(ParseInteger(row.text, value), row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(value, row.value) << row.text;
        }
    }
}

TEST(TextFileReader, LineEndsAndCtrlZ) {
    // A CR followed by anything but LF is no line end.
    TextFileReader lone("1 2\r3\r\n4");
    EXPECT_EQ(lone.ReadInteger(), 1);
    lone.ReadLn();
    EXPECT_EQ(lone.ReadInteger(), 4);
    // Ctrl-Z ends the file wherever it stands.
    TextFileReader ctrlZ("340\r\n1\x1A" "40\r\n680\r\n");
    EXPECT_EQ(ctrlZ.ReadReal(), 340);
    ctrlZ.ReadLn();
    EXPECT_EQ(ctrlZ.ReadReal(), 1);
    ctrlZ.ReadLn();
    EXPECT_EQ(ctrlZ.ReadInteger(), 0);
    // A token longer than its limit is cut; the rest of the line is skipped.
    TextFileReader longToken(std::string(40, '1') + "\r\n5");
    EXPECT_THROW(longToken.ReadInteger(), InOutError);
}

TEST(ResultFile, StartUpStateIsWrittenAsFourLines) {
    FlowState state;
    state.SoundSpeed = 340.0;
    state.Gamma = 1.4;
    state.V1 = 680;
    state.WedgeAngle = static_cast<double>(20 * 3.1415926535897932385L / 180);
    EXPECT_EQ(FormatResultFile(state), "340\r\n140\r\n680\r\n20\r\n");
    state.SoundSpeed = -12.5; // ties to even
    state.Gamma = 1.3;
    state.V1 = -3;
    state.WedgeAngle = 0;
    EXPECT_EQ(FormatResultFile(state), "-12\r\n130\r\n-3\r\n0\r\n");
}

TEST(ResultFile, EveryWholeDegreeAndGammaSurvivesTheRoundTrip) {
    for (int degrees = 0; degrees <= 180; ++degrees) {
        FlowState state;
        state.SoundSpeed = 340;
        state.Gamma = static_cast<double>(degrees % 100 / 10.0L);
        state.V1 = 1000;
        state.WedgeAngle = static_cast<double>(degrees * 3.1415926535897932385L / 180);
        const ResultFileValues read = ReadResultFile(FormatResultFile(state));
        EXPECT_EQ(read.WedgeField, degrees);
        EXPECT_EQ(read.GammaField, degrees % 100);
    }
}

TEST(ResultFile, ReadsTheStartUpCase) {
    const ResultFileValues v = ReadResultFile("340\r\n140\r\n680\r\n20\r\n");
    EXPECT_EQ(v.SoundSpeed, 340);
    EXPECT_EQ(v.Gamma, 1.4);
    EXPECT_EQ(v.V1, 680);
    EXPECT_EQ(v.WedgeField, 20);
    EXPECT_EQ(v.SoundSpeedField, 340);
    EXPECT_EQ(v.GammaField, 14);
}

TEST(ResultFile, EdgeCasesOfReading) {
    // Several numbers on one line: only the first counts.
    const ResultFileValues oneLine = ReadResultFile("340 140 680 20\r\n");
    EXPECT_EQ(oneLine.SoundSpeed, 340);
    EXPECT_EQ(oneLine.Gamma, 0);
    EXPECT_EQ(oneLine.V1, 0);
    EXPECT_EQ(oneLine.WedgeDegrees, 0);
    // A blank first line shifts every value up by one line.
    const ResultFileValues blank = ReadResultFile("\r\n340\r\n140\r\n680\r\n20\r\n");
    EXPECT_EQ(blank.SoundSpeed, 340);
    EXPECT_EQ(blank.V1, 680);
    // A real speed of sound is kept exactly; the settings field shows it rounded to even.
    const ResultFileValues half = ReadResultFile("340.5\r\n140\r\n680\r\n20\r\n");
    EXPECT_EQ(half.SoundSpeed, 340.5);
    EXPECT_EQ(half.SoundSpeedField, 340);
    // An empty file is no error: everything is 0.
    const ResultFileValues empty = ReadResultFile("");
    EXPECT_EQ(empty.SoundSpeed, 0);
    EXPECT_EQ(empty.V1, 0);
    EXPECT_EQ(empty.WedgeField, 0);
    // LF-only line ends and a missing last line end are read the same.
    EXPECT_EQ(ReadResultFile("340\n140\n680\n20").WedgeField, 20);
    // A wedge value beyond the field's range is left for the field to clamp.
    EXPECT_EQ(ReadResultFile("340\r\n140\r\n680\r\n200\r\n").WedgeField, 200);
}

TEST(ResultFile, NumbersThatDoNotConvertAreInvalidNumericInput) {
    EXPECT_EQ(IoCode("340\r\n140\r\n680.0\r\n20\r\n"), 106);
    EXPECT_EQ(IoCode("340,5\r\n140\r\n680\r\n20\r\n"), 106);
    EXPECT_EQ(IoCode("\x89PNG\r\n\x1a\n"), 106);
    EXPECT_EQ(InOutMessage(106), "Invalid numeric input");
    EXPECT_EQ(InOutMessage(5), "File access denied");
    EXPECT_EQ(InOutMessage(3), "Invalid filename");
    EXPECT_EQ(InOutMessage(32), "I/O error 32");
}

TEST(ResultFile, ValuesTooLargeToRoundFailBeforeAnythingChanges) {
    EXPECT_THROW(ReadResultFile("340\r\n140\r\n680\r\n1e300\r\n"), FloatError);
    EXPECT_THROW(ReadResultFile("1e300\r\n140\r\n680\r\n20\r\n"), FloatError);
    // Within 64 bits but beyond 32: the field values are held at the 32-bit limits.
    EXPECT_EQ(ReadResultFile("1e12\r\n140\r\n680\r\n-1e12\r\n").SoundSpeedField, INT32_MAX);
    EXPECT_EQ(ReadResultFile("1e12\r\n140\r\n680\r\n-1e12\r\n").WedgeField, INT32_MIN);
}
