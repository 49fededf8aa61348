#include "field_reader.h"

#include <gtest/gtest.h>
#include <vector>

namespace ordevo {
namespace {

std::vector<double> ReadAll(FieldReader& reader) {
    std::vector<double> values;
    double value = 0;
    while (reader.Next(value) == FieldReader::Outcome::Number) values.push_back(value);
    return values;
}

TEST(FieldReader, NumbersSeparatedByCommasBlanksTabsAndLineEnds) {
    FieldReader reader("1, 2.5\t-3E+01\r\n\r\n  4e-1 ,5,\n.5");
    EXPECT_EQ(ReadAll(reader), (std::vector<double>{1, 2.5, -30, 0.4, 5, 0.5}));
    EXPECT_EQ(reader.LineNumber(), 4);
    EXPECT_EQ(reader.NumberCount(), 6);
}

TEST(FieldReader, BadFieldsAreNamedWithTheirLine) {
    struct Case {
        const char* text;
        int line;
        const char* problem;
    };
    const Case cases[] = {
        {"1 2\n3 x4", 2, "\"x4\" is not a number"},
        {"1\n\n2,,3", 3, "empty field between commas"},
        {",1", 1, "empty field between commas"},
        {"1 inf", 1, "\"inf\" is not a number"},
        {"1 1e", 1, "\"1e\" is not a number"},
        {"1e400", 1, "\"1e400\" is out of range"},
        {"1.5\x81\x40", 1, "\"1.5?@\" is not a number"},
    };
    for (const auto& c : cases) {
        FieldReader reader(c.text, 1);
        double value = 0;
        FieldReader::Outcome outcome;
        while ((outcome = reader.Next(value)) == FieldReader::Outcome::Number) {
        }
        EXPECT_EQ(outcome, FieldReader::Outcome::Bad) << c.text;
        EXPECT_EQ(reader.LineNumber(), c.line) << c.text;
        EXPECT_EQ(reader.Problem(), c.problem) << c.text;
    }
}

TEST(ReadNumberLine, ReadsEveryNumberOfOneLine) {
    std::vector<double> values;
    std::string problem;
    ASSERT_TRUE(ReadNumberLine("0.5, 1.2E+01  3", values, problem));
    EXPECT_EQ(values, (std::vector<double>{0.5, 12, 3}));
    ASSERT_TRUE(ReadNumberLine("", values, problem));
    EXPECT_TRUE(values.empty());
    EXPECT_FALSE(ReadNumberLine("1 two", values, problem));
    EXPECT_EQ(problem, "\"two\" is not a number");
}

}  // namespace
}  // namespace ordevo
