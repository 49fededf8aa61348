// Fields a spreadsheet would run as formulas are written as text; numbers and plain text stay.
#include <gtest/gtest.h>

#include "csv_formula.h"

namespace ordevo {
namespace {

TEST(CsvFormula, NeutralisesWhatASpreadsheetWouldRun) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"=HYPERLINK(\"http://x\",\"y\")", "'=HYPERLINK(\"http://x\",\"y\")"},
        {"+cmd|' /C calc'!A0", "'+cmd|' /C calc'!A0"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\t=1", "'\t=1"},
        {"\r=1", "'\r=1"},
        {"-", "'-"},
        {"-12.5", "-12.5"},  // numbers: a negative angle stays a number
        {"+3", "+3"},
        {"-1e-3", "-1e-3"},
        {"P-123", "P-123"},
        {"山田^太郎", "山田^太郎"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(NeutralisedCsvField(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace ordevo
