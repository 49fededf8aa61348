// What an addition stores, the refusal of a 16th row, the total, and stored rows read back as
// case values.
#include "results_addition.h"

#include <gtest/gtest.h>

namespace ordevo {
namespace {

namespace C = ResultsColumn;

CurrentCase ExampleCase() {
    CurrentCase c;
    c.BodyPart = "頭部";
    c.TubeVoltageText = "80";
    c.FocusSkinDistance = 8;
    c.Shape = FieldShape::Square;
    c.ReferenceAirKerma = 5.26;
    c.KermaAreaProduct = 123.44;
    c.CorrectedReferenceAirKerma = 5.26;
    c.CorrectedKermaAreaProduct = 123.44;
    c.TissueToAirDoseRatio = 1.0614;
    c.ScatterFactor = 1.3525;  // half way: rounds away from zero
    c.SkinDose = 1234.56;
    c.InherentFiltration = 0.25;
    c.AddedAluminium = 0.1;
    c.AddedCopper = 0.02;
    return c;
}

std::string TextOf(const ResultsRow& row, int column) {
    const auto* text = std::get_if<std::string>(&row[column]);
    return text != nullptr ? *text : "(number)";
}

TEST(ResultsAddition, StoresTheDisplayedTexts) {
    const ResultsRow row = MakeResultsRow(ExampleCase(), "80", "12.0cm平方");
    EXPECT_EQ(TextOf(row, C::BodyPart), "頭部");
    EXPECT_EQ(TextOf(row, C::InherentFilterMm), "2.50");
    EXPECT_EQ(TextOf(row, C::AluminiumFilterMm), "1.00");
    EXPECT_EQ(TextOf(row, C::CopperFilterMm), "0.20");
    EXPECT_EQ(TextOf(row, C::FocusSkinDistance), "08");
    EXPECT_EQ(TextOf(row, C::FieldSizeText), "12.0cm平方");
    EXPECT_EQ(TextOf(row, C::ReferenceAirKerma), "05.3");
    EXPECT_EQ(TextOf(row, C::KermaAreaProduct), "123.4");
    EXPECT_EQ(TextOf(row, C::CorrectedReferenceAirKerma), "05.3");
    EXPECT_EQ(TextOf(row, C::CorrectedKermaAreaProduct), "123.4");
    EXPECT_EQ(TextOf(row, C::TissueToAirDoseRatio), "1.061");
    EXPECT_EQ(TextOf(row, C::ScatterFactor), "1.353");
    EXPECT_EQ(TextOf(row, C::SkinDose), "1234.6");
}

// The pictures' integer digits: "#00" keeps two, "###0.0" one.
TEST(ResultsAddition, DistanceAndSkinDoseKeepTheirIntegerDigits) {
    for (const auto& [distanceCm, text] : {std::pair{65.4, "65"}, {100.0, "100"}, {8.0, "08"}}) {
        CurrentCase c = ExampleCase();
        c.FocusSkinDistance = distanceCm;
        EXPECT_EQ(TextOf(MakeResultsRow(c, "80", ""), C::FocusSkinDistance), text);
    }
    CurrentCase c = ExampleCase();
    c.SkinDose = 5.26;
    EXPECT_EQ(TextOf(MakeResultsRow(c, "80", ""), C::SkinDose), "5.3");
}

TEST(ResultsAddition, NoOtherFilterStoresADashAndTheNumberZero) {
    const ResultsRow row = MakeResultsRow(ExampleCase(), "80", "12.0cm平方");
    EXPECT_EQ(row[C::OtherFilterName], ResultsCell(std::string("-")));
    EXPECT_EQ(row[C::OtherFilterMm], ResultsCell(0.0));
}

TEST(ResultsAddition, OtherFilterStoresItsNameAndMillimetres) {
    CurrentCase c = ExampleCase();
    c.OtherFilterFlag = 1;
    c.OtherFilterMaterial = "Ta";
    c.OtherFilterThickness = 0.05;
    const ResultsRow row = MakeResultsRow(c, "80", "12.0cm平方");
    EXPECT_EQ(TextOf(row, C::OtherFilterName), "Ta");
    EXPECT_EQ(TextOf(row, C::OtherFilterMm), "0.50");
}

// Column 2 is the box's text when adding; the case's own text is only drawn.
TEST(ResultsAddition, TubeVoltageColumnHoldsTheBoxTextNotTheEvaluatedOne) {
    CurrentCase c = ExampleCase();
    c.TubeVoltageText = "80";
    EXPECT_EQ(TextOf(MakeResultsRow(c, "70 - 90", ""), C::TubeVoltageText), "70 - 90");
}

TEST(ResultsAddition, FieldSizeTextFromTheCaptionAndShape) {
    EXPECT_EQ(FieldSizeText("12", FieldShape::Square), "12.0cm平方");
    EXPECT_EQ(FieldSizeText("8.46", FieldShape::Circle), "8.5cm直径");
    EXPECT_EQ(FieldSizeText(" 0.45 ", FieldShape::Circle), "0.5cm直径");
    EXPECT_EQ(FieldSizeText("", FieldShape::Square), "0.0cm平方");
}

TEST(ResultsAddition, FifteenRowsFitAndTheSixteenthIsRefused) {
    ResultsTable table;
    for (int i = 1; i <= kResultsRowCount; ++i) {
        CurrentCase c = ExampleCase();
        c.SkinDose = i;
        const AdditionOutcome outcome = AppendResultsRow(table, MakeResultsRow(c, "80", ""));
        EXPECT_EQ(outcome,
                  i < kResultsRowCount ? AdditionOutcome::Added : AdditionOutcome::AddedNowFull)
            << i;
        EXPECT_EQ(table.NextRowIndex, i + 1);
        EXPECT_EQ(TextOf(table.Rows[i], C::SkinDose), std::to_string(i) + ".0");
    }
    const ResultsTable full = table;
    EXPECT_EQ(AppendResultsRow(table, MakeResultsRow(ExampleCase(), "99", "")),
              AdditionOutcome::RefusedFull);
    EXPECT_EQ(table.NextRowIndex, 16);
    EXPECT_EQ(table.Rows, full.Rows);
}

TEST(ResultsAddition, TotalSumsTheSkinDosesOfTheRowsHeld) {
    ResultsTable table;
    for (const double dose : {12.3, 4.5, 100.0}) {
        CurrentCase c = ExampleCase();
        c.SkinDose = dose;
        c.ReferenceAirKerma = 1000;  // no other column is summed
        AppendResultsRow(table, MakeResultsRow(c, "80", ""));
    }
    EXPECT_NEAR(ResultsTotal(table), 116.8, 1e-12);  // sum of the stored one-decimal texts
    EXPECT_EQ(ResultsTotalText(table), "116.8");
    // A row beyond NextRowIndex is not counted.
    table.Rows[5][C::SkinDose] = std::string("50.0");
    EXPECT_EQ(ResultsTotalText(table), "116.8");
    ResetResultsTable(table);
    EXPECT_EQ(ResultsTotalText(table), "0.0");
}

TEST(ResultsAddition, TotalOfLoadedCellsUsesTheirNumericValue) {
    ResultsTable table;
    table.Rows[1][C::SkinDose] = std::string("0012.30");
    table.Rows[2][C::SkinDose] = 4.5;
    table.NextRowIndex = 3;
    EXPECT_EQ(ResultsTotalText(table), "16.8");
}

TEST(ResultsAddition, StoredRowReadsBackAsCaseValuesInCentimetres) {
    CurrentCase c = ExampleCase();
    c.OtherFilterFlag = 1;
    c.OtherFilterMaterial = "Ta";
    c.OtherFilterThickness = 0.05;
    const CurrentCase back = CurrentCaseFromRow(MakeResultsRow(c, "70 - 90", "12.0cm平方"));
    EXPECT_EQ(back.BodyPart, "頭部");
    EXPECT_EQ(back.TubeVoltageText, "70 - 90");
    EXPECT_NEAR(back.InherentFiltration, 0.25, 1e-15);
    EXPECT_NEAR(back.AddedAluminium, 0.1, 1e-15);
    EXPECT_NEAR(back.AddedCopper, 0.02, 1e-15);
    EXPECT_EQ(back.OtherFilterFlag, 1);
    EXPECT_EQ(back.OtherFilterMaterial, "Ta");
    EXPECT_NEAR(back.OtherFilterThickness, 0.05, 1e-15);
    EXPECT_EQ(back.FocusSkinDistance, 8);
    EXPECT_EQ(back.ReferenceAirKerma, 5.3);  // the stored, rounded value
    EXPECT_EQ(back.KermaAreaProduct, 123.4);
    EXPECT_EQ(back.TissueToAirDoseRatio, 1.061);
    EXPECT_EQ(back.SkinDose, 1234.6);

    const CurrentCase none = CurrentCaseFromRow(MakeResultsRow(ExampleCase(), "80", ""));
    EXPECT_EQ(none.OtherFilterFlag, 0);
    EXPECT_EQ(none.OtherFilterThickness, 0);
    EXPECT_EQ(CurrentCaseFromRow(ResultsTable().Rows[1]).OtherFilterFlag, 0);  // a reset row
}

}  // namespace
}  // namespace ordevo
