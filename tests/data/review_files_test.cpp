// procedure_categories.txt and drl.txt: the rules and levels the dose review reads, their errors
// named by line, and the shipped files readable as the program reads them.
#include <gtest/gtest.h>

#include <QDir>

#include "drl_file.h"
#include "procedure_categories_file.h"

namespace ordevo {
namespace {

TEST(ProcedureCategories, FirstMatchingRuleWinsCaseInsensitivelyInAnyText) {
    const auto rules =
        ParseProcedureCategories({"# 注釈", "", "塞栓 = aneurysm.*coil  # 治療を先に",
                                  "撮影 = angio|脳血管撮影", "心臓 = \\bCAG\\b"},
                                 "procedure_categories.txt");
    ASSERT_TRUE(rules) << rules.error().what();
    ASSERT_EQ(rules->size(), 3u);
    EXPECT_EQ((*rules)[0].LineNumber, 3);
    const struct {
        QStringList texts;
        const char* expected;  // "" for none
    } cases[] = {
        {{"Cerebral ANGIO", "Aneurysm Coiling"}, "塞栓"},  // a later text, an earlier rule
        {{"", "", "脳血管撮影"}, "撮影"},
        {{"cag"}, "心臓"},
        {{"CAGE"}, ""},  // a word boundary in the pattern holds
        {{"", ""}, ""},
    };
    for (const auto& c : cases) {
        const auto category = MatchCategory(*rules, c.texts);
        EXPECT_EQ(category.value_or(QString()), QString::fromUtf8(c.expected))
            << c.texts.join('|').toStdString();
    }
}

TEST(ProcedureCategories, BadLinesAreNamedByLine) {
    const struct {
        QStringList lines;
        const char* part;
    } cases[] = {
        {{"# ok", "分類だけ"}, "2 行目"},
        {{" = angio"}, "分類の名前がありません"},
        {{"撮影 = "}, "パターンがありません"},
        {{"撮影 = (angio"}, "正規表現として読めません"},
    };
    for (const auto& c : cases) {
        const auto rules = ParseProcedureCategories(c.lines, "procedure_categories.txt");
        ASSERT_FALSE(rules) << c.part;
        EXPECT_NE(std::string(rules.error().what()).find(c.part), std::string::npos)
            << rules.error().what();
    }
}

TEST(DrlTable, LevelsMayBeBlankAndBadValuesAreNamedByLine) {
    const auto table =
        ParseDrlTable({"# 出典", "撮影 = 720, 140", "塞栓 = , 380.5", "新規 = ,"}, "drl.txt");
    ASSERT_TRUE(table) << table.error().what();
    ASSERT_EQ(table->size(), 3u);
    EXPECT_EQ((*table)[0].KarMGy, 720.0);
    EXPECT_EQ((*table)[0].PkaGyCm2, 140.0);
    EXPECT_FALSE((*table)[1].KarMGy);
    EXPECT_EQ((*table)[1].PkaGyCm2, 380.5);
    EXPECT_FALSE((*table)[2].KarMGy || (*table)[2].PkaGyCm2);
    EXPECT_EQ(FindDrl(*table, "塞栓"), &(*table)[1]);
    EXPECT_EQ(FindDrl(*table, "なし"), nullptr);

    const struct {
        QStringList lines;
        const char* part;
    } bad[] = {
        {{"撮影 720, 140"}, "= がありません"},
        {{"撮影 = 720"}, "2 つ"},
        {{"撮影 = 720, 140, 3"}, "2 つ"},
        {{"撮影 = abc, 140"}, "Ka,r の値「abc」"},
        {{"撮影 = 720, -1"}, "P_KA の値「-1」"},
        {{"撮影 = 720, 0"}, "正の数ではありません"},
        {{"撮影 = 1, 2", "撮影 = 3, 4"}, "2 行目: 分類「撮影」が 2 度"},
    };
    for (const auto& c : bad) {
        const auto result = ParseDrlTable(c.lines, "drl.txt");
        ASSERT_FALSE(result) << c.part;
        EXPECT_NE(std::string(result.error().what()).find(c.part), std::string::npos)
            << result.error().what();
    }
}

// The shipped files are CP932 and every category with a level has a rule that can give it.
TEST(ReviewFiles, ShippedFilesReadAndAgree) {
    const QDir shipped(QStringLiteral(ORDEVO_SHIPPED_REFDATA));
    const auto rules = ReadProcedureCategories(shipped.filePath("procedure_categories.txt"));
    ASSERT_TRUE(rules) << rules.error().what();
    const auto table = ReadDrlTable(shipped.filePath("drl.txt"));
    ASSERT_TRUE(table) << table.error().what();
    EXPECT_GE(table->size(), 10u);
    for (const DrlEntry& entry : *table) {
        bool ruled = false;
        for (const CategoryRule& rule : *rules) ruled = ruled || rule.Category == entry.Category;
        EXPECT_TRUE(ruled) << entry.Category.toStdString();
    }
    const struct {
        const char* text;
        const char* category;
    } names[] = {
        {"脳動脈瘤コイル塞栓術", "脳動脈瘤塞栓術"},
        {"Cerebral Angiography", "脳血管撮影"},
        {"PCI LAD", "経皮的冠動脈インターベンション"},
        {"Coronary angiography", "冠動脈造影"},
        {"TACE", "肝動脈化学塞栓術"},
        {"Mechanical thrombectomy", "急性期脳梗塞血栓回収術"},
    };
    for (const auto& n : names)
        EXPECT_EQ(MatchCategory(*rules, {QString::fromUtf8(n.text)}).value_or(""),
                  QString::fromUtf8(n.category))
            << n.text;
}

}  // namespace
}  // namespace ordevo
