// The JSON that independent checkers parse: exact doubles and escaped strings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "json_writer.h"

namespace ordevo::cli {
namespace {

TEST(JsonWriter, NumbersReadBackToTheSameDouble) {
    for (const double value : {0.1, 1.0 / 3.0, 1234.5678901234567, 1e-300, -2.5}) {
        const std::string text = JsonNumber(value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
    }
    EXPECT_EQ(JsonNumber(std::nan("")), "null");
}

TEST(JsonWriter, StringsKeepUtf8AndBlanksAndEscapeControlCharacters) {
    EXPECT_EQ(JsonString("　???  正しく\"x\"\\\n\x01"), "\"　???  正しく\\\"x\\\"\\\\\\n\\u0001\"");
    EXPECT_EQ(JsonObject().Number("a", 1).String("b", "c").Text(), "{\"a\": 1, \"b\": \"c\"}");
}

}  // namespace
}  // namespace ordevo::cli
