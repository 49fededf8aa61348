// How every number box reads what was typed.
#include "number_box.h"

#include <gtest/gtest.h>

namespace ordevo {
namespace {

TEST(ReadNumberBox, TakesFullWidthFormsAsAsciiAndOneNumberOnly) {
    const struct {
        const char* typed;
        const char* shown;
        std::optional<double> value;
        bool blank;
    } cases[] = {
        {"１２．５", "12.5", 12.5, false},
        {"－３ｅ－１", "-3e-1", -0.3, false},
        {" 1 2 ", " 1 2 ", 12, false},  // blanks dropped as the handlers drop them
        {"1O0", "1O0", std::nullopt, false},
        {"12mGy", "12mGy", std::nullopt, false},
        {"1.2.3", "1.2.3", std::nullopt, false},
        {"1e999", "1e999", std::nullopt, false},  // beyond a double
        {"", "", std::nullopt, true},
        {"　", " ", std::nullopt, true},  // the ideographic space
    };
    for (const auto& c : cases) {
        const NumberBoxText box = ReadNumberBox(std::string(c.typed));
        EXPECT_EQ(box.Text, QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(box.Value, c.value) << c.typed;
        EXPECT_EQ(box.Blank, c.blank) << c.typed;
        EXPECT_EQ(box.NumberOrBlank(), c.value.has_value() || c.blank) << c.typed;
    }
}

}  // namespace
}  // namespace ordevo
