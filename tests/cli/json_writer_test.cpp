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

// Whatever reaches the writer, the output stays UTF-8: stray bytes become U+FFFD.
TEST(JsonWriter, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    EXPECT_EQ(JsonString("a\xff\x81"
                         "b"),
              "\"a\xEF\xBF\xBD\xEF\xBF\xBD"
              "b\"");
    EXPECT_EQ(JsonString("\xe9\xa0"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");  // cut short
    EXPECT_EQ(JsonString("\xc0\xaf"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");  // overlong '/'
    EXPECT_TRUE(IsValidUtf8("頭部 ～①"));
    EXPECT_FALSE(IsValidUtf8("\xf4\x90\x80\x80"));  // past U+10FFFF
}

}  // namespace
}  // namespace ordevo::cli
