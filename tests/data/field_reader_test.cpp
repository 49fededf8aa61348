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
        {"1 2\n3 x4", 2, "「x4」は数値ではありません"},
        {"1\n\n2,,3", 3, "カンマとカンマの間に数値がありません"},
        {",1", 1, "カンマとカンマの間に数値がありません"},
        {"1 inf", 1, "「inf」は数値ではありません"},
        {"1 1e", 1, "「1e」は数値ではありません"},
        {"1e400", 1, "「1e400」は扱える範囲を外れた数値です"},
        {"1.5\x81\x40", 1, "「1.5?@」は数値ではありません"},
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
    EXPECT_EQ(problem, "「two」は数値ではありません");
}

}  // namespace
}  // namespace ordevo
