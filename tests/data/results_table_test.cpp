#include "results_table.h"

#include <gtest/gtest.h>

namespace ordevo {
namespace {

TEST(ResultsTable, ResetLeavesEmptyTextsAndNumberZeros) {
    ResultsTable table;
    table.Rows[3][ResultsColumn::BodyPart] = std::string("頭部");
    table.Rows[3][ResultsColumn::SkinDose] = std::string("1234.6");
    table.NextRowIndex = 4;
    ResetResultsTable(table);
    EXPECT_EQ(table.NextRowIndex, 1);
    EXPECT_EQ(ResultsRowCount(table), 0);
    for (int r = 1; r <= kResultsRowCount; ++r) {
        for (int c = 1; c <= kResultsColumnCount; ++c) {
            const ResultsCell& cell = table.Rows[r][c];
            if (c == 1 || c == 2 || c == 6 || c == 9)
                EXPECT_EQ(cell, ResultsCell(std::string())) << r << "," << c;
            else
                EXPECT_EQ(cell, ResultsCell(0.0)) << r << "," << c;
        }
    }
}

TEST(ResultsTable, CellTextAndNumber) {
    EXPECT_EQ(CellText(0.0), "0");
    EXPECT_EQ(CellText(5.3), "5.3");
    EXPECT_EQ(CellText(std::string("05.3")), "05.3");
    EXPECT_EQ(CellNumber(std::string("05.3")), 5.3);
    EXPECT_EQ(CellNumber(std::string("12.0cm平方")), 12.0);
    EXPECT_EQ(CellNumber(2.5), 2.5);
}

}  // namespace
}  // namespace ordevo
