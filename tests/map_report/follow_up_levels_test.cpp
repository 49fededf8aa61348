// The follow-up levels file: the defaults read back as five levels, a bad line is named, and the
// level reached is the highest at or below the PSD.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "cp932_text.h"
#include "follow_up_levels.h"

namespace ordevo::map {
namespace {

TEST(FollowUpLevels, DefaultsParseAndSurviveTheirFile) {
    QTemporaryDir dir;
    const auto loaded = LoadFollowUpLevels(dir.path(), true);
    ASSERT_TRUE(std::holds_alternative<std::vector<FollowUpLevel>>(loaded));
    const auto& levels = std::get<std::vector<FollowUpLevel>>(loaded);
    std::vector<double> mgy;
    for (const FollowUpLevel& l : levels) mgy.push_back(l.PsdMGy);
    EXPECT_EQ(mgy, (std::vector<double>{2000, 3000, 5000, 10000, 15000}));
    // Written in CP932 for the user to edit, and read back the same.
    const auto again = LoadFollowUpLevels(dir.path(), false);
    ASSERT_TRUE(std::holds_alternative<std::vector<FollowUpLevel>>(again));
    EXPECT_EQ(std::get<std::vector<FollowUpLevel>>(again).back().Text, levels.back().Text);
}

TEST(FollowUpLevels, BadLinesAreNamed) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"# c\n3000 3 Gy", "levels.txt 2 行目: 「mGy = 文」の形ではありません"},
        {"abc = x", "levels.txt 1 行目: 線量 \"abc\""},
        {"-5 = x", "levels.txt 1 行目: 線量 \"-5\""},
        {"3000 =  ", "levels.txt 1 行目: 印刷する文がありません"},
        {"3000 = a\n3000 = b", "levels.txt 2 行目: 線量 3000 mGy が 2 度あります"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseFollowUpLevels(QString::fromUtf8(c.text), "levels.txt");
        ASSERT_TRUE(std::holds_alternative<QString>(parsed)) << c.text;
        EXPECT_TRUE(std::get<QString>(parsed).startsWith(QString::fromUtf8(c.error)))
            << std::get<QString>(parsed).toStdString();
    }
}

TEST(FollowUpLevels, ReachedIsTheHighestAtOrBelowThePsd) {
    const auto parsed = ParseFollowUpLevels("5000 = five  # comment\n2000 = two", "l");
    const auto& levels = std::get<std::vector<FollowUpLevel>>(parsed);
    const struct {
        double psd;
        const char* text;
    } cases[] = {{1999.9, nullptr}, {2000, "two"}, {4999, "two"}, {5000, "five"}, {9e9, "five"}};
    for (const auto& c : cases) {
        const auto reached = ReachedLevel(levels, c.psd);
        EXPECT_EQ(reached ? reached->Text : QString(), QString::fromUtf8(c.text ? c.text : ""))
            << c.psd;
    }
}

}  // namespace
}  // namespace ordevo::map
