#include "number_format.h"

#include <gtest/gtest.h>
#include <cmath>
#include <stdexcept>

#include "tube_voltage_text.h"

namespace ordevo {
namespace {

struct FormatCase {
    double value;
    const char* picture;
    const char* expected;
};

TEST(FormatNumber, EveryPictureOfTheProgram) {
    const FormatCase cases[] = {
        {1234.56, "###0.0", "1234.6"},
        {0.04, "###0.0", "0.0"},
        {12345.0, "####0.0", "12345.0"},
        {5.26, "###00.0", "05.3"},
        {123.44, "###00.0", "123.4"},
        {0.0, "###00.0", "00.0"},
        {65.4, "#00", "65"},
        {8.0, "#00", "08"},
        {100.0, "#00", "100"},
        {12.0, "#0.0", "12.0"},
        {0.5, "#0.0", "0.5"},
        {8.46, "#0.0", "8.5"},
        {11.2838, "#0.00", "11.28"},
        {10.0, "#0.00", "10.00"},
        {100.0, "#00.0", "100.0"},
        {5.0, "#00.0", "05.0"},
        {2.5, "0.00", "2.50"},
        {0.05 * 10, "0.00", "0.50"},
        {1.0456, "0.000", "1.046"},
        {0.9996, "0.000", "1.000"},
        {3.2, "#0.000", "3.200"},
        {12.34567, "#0.000", "12.346"},
        {99.96, "###00.0", "100.0"},
        {0.0, "#00", "00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.picture), c.expected) << c.value << " with " << c.picture;
}

// Halves round away from zero on the decimal text, so binary artefacts do not decide.
TEST(FormatNumber, HalvesRoundAwayFromZero) {
    EXPECT_EQ(FormatNumber(2.675, "0.00"), "2.68");  // 2.67499999… in binary
    EXPECT_EQ(FormatNumber(1.005, "0.00"), "1.01");
    EXPECT_EQ(FormatNumber(0.125, "0.00"), "0.13");
    EXPECT_EQ(FormatNumber(2.5, "#00"), "03");
    EXPECT_EQ(FormatNumber(-2.5, "#00"), "-03");
    // One step below 1.045 is arithmetic noise at 15 significant digits: still a half.
    EXPECT_EQ(FormatNumber(std::nextafter(1.045, 0.0), "0.00"), "1.05");
}

TEST(FormatNumber, NegativeValuesAndNegativeZero) {
    EXPECT_EQ(FormatNumber(-5.26, "###00.0"), "-05.3");
    EXPECT_EQ(FormatNumber(-0.001, "0.00"), "0.00");
    EXPECT_EQ(FormatNumber(-0.0, "#0.0"), "0.0");
}

TEST(FormatNumber, ExponentPictures) {
    EXPECT_EQ(FormatNumber(0.5, "0.000E+00"), "5.000E-01");
    EXPECT_EQ(FormatNumber(150.0, "0.000E+00"), "1.500E+02");
    EXPECT_EQ(FormatNumber(0.0, "0.000E+00"), "0.000E+00");
    EXPECT_EQ(FormatNumber(9.9996, "0.000E+00"), "1.000E+01");
    EXPECT_EQ(FormatNumber(1.23456e-12, "0.000E+00"), "1.235E-12");
    EXPECT_EQ(FormatNumber(-0.5, "0.000E+00"), "-5.000E-01");
    EXPECT_EQ(FormatNumber(2.5e100, "0.000E+00"), "2.500E+100");
    EXPECT_EQ(FormatNumber(0.0123456, "  0.000E+00"), "  1.235E-02");
}

TEST(FormatNumber, NonFiniteValuesAndBadPictures) {
    EXPECT_EQ(FormatNumber(std::nan(""), "0.00"), "NaN");
    EXPECT_EQ(FormatNumber(-HUGE_VAL, "0.00"), "-Infinity");
    EXPECT_THROW(FormatNumber(1.0, "0.0x"), std::invalid_argument);
    EXPECT_THROW(FormatNumber(1.0, "00.0E+00"), std::invalid_argument);
    EXPECT_THROW(FormatNumber(1.0, ""), std::invalid_argument);
}

TEST(LeadingNumber, TakesTheLongestLeadingNumberAfterDroppingBlanks) {
    EXPECT_EQ(LeadingNumber("75 - 85"), 75.0);
    EXPECT_EQ(LeadingNumber("1 2"), 12.0);
    EXPECT_EQ(LeadingNumber("abc"), 0.0);
    EXPECT_EQ(LeadingNumber(""), 0.0);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("1e3x"), 1000.0);
    EXPECT_EQ(LeadingNumber("1e"), 1.0);
    EXPECT_EQ(LeadingNumber("1e+"), 1.0);
    EXPECT_EQ(LeadingNumber(" \t-2.5E-1\r\n"), -0.25);
    EXPECT_EQ(LeadingNumber("+7kV"), 7.0);
    EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(LeadingNumber("-"), 0.0);
    EXPECT_EQ(LeadingNumber("."), 0.0);
    EXPECT_EQ(LeadingNumber("1e999"), HUGE_VAL);
    EXPECT_EQ(LeadingNumber("1e-999"), 0.0);
}

TEST(ParseWholeNumber, AcceptsOnlyACompleteNumber) {
    double value = 0;
    EXPECT_TRUE(ParseWholeNumber("05.3", value));
    EXPECT_EQ(value, 5.3);
    EXPECT_TRUE(ParseWholeNumber("-1.5E+02", value));
    EXPECT_EQ(value, -150.0);
    for (const char* bad : {"", " 1", "1 ", "1e", "abc", "1.2.3", "inf", "nan", "0x10", "1e999"})
        EXPECT_FALSE(ParseWholeNumber(bad, value)) << bad;
}

TEST(PlainNumber, ShortestExactDecimalWithoutExponent) {
    EXPECT_EQ(PlainNumber(80.0), "80");
    EXPECT_EQ(PlainNumber(72.5), "72.5");
    EXPECT_EQ(PlainNumber(0.1), "0.1");
    EXPECT_EQ(PlainNumber(-3.25), "-3.25");
    EXPECT_EQ(PlainNumber(-0.0), "0");
    EXPECT_EQ(PlainNumber(1e-7), "0.0000001");
    EXPECT_EQ(PlainNumber(150.0), "150");
}

TEST(TubeVoltageText, FixedVoltageOrRange) {
    EXPECT_EQ(TubeVoltageText({80, 80, TubeVoltageWeighting::Equal}), "80");
    EXPECT_EQ(TubeVoltageText({72.5, 72.5, TubeVoltageWeighting::Equal}), "72.5");
    EXPECT_EQ(TubeVoltageText({75, 85, TubeVoltageWeighting::Normal}), "75 - 85");
    EXPECT_EQ(LeadingNumber(TubeVoltageText({75, 85.5, TubeVoltageWeighting::Equal})), 75.0);
}

}  // namespace
}  // namespace ordevo
