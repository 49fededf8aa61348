// The row an evaluated case makes, the refusal of a 16th row, and the total.
#include "results_addition.h"

#include <gtest/gtest.h>

#include <vector>

namespace ordevo {
namespace {

namespace C = ResultsColumn;

EvaluatedCase ExampleCase() {
    EvaluatedCase e;
    e.Entry.BodyPart = "頭部";
    e.Entry.TubeVoltage = "80";
    e.Entry.FieldSizeCm = 12.0;
    e.Case.ReferenceFieldSizeCm = 12.0;
    e.Case.FocusSkinDistanceCm = 8;
    e.Case.Shape = FieldShape::Square;
    e.Case.ReferenceAirKermaMGy = 5.26;
    e.Case.KermaAreaProductGyCm2 = 123.44;
    e.Case.Equipment.InherentFiltration = 0.25;
    e.Case.Equipment.AddedAluminium = 0.1;
    e.Case.Equipment.AddedCopper = 0.02;
    DoseResult& r = e.Evaluation.Result;
    r.CorrectedReferenceAirKerma = 5.26;
    r.CorrectedKermaAreaProduct = 123.44;
    r.TissueToAirDoseRatio = 1.0614;
    r.ScatterFactor = 1.3525;  // half way: rounds away from zero
    r.SkinDose = 1234.56;
    return e;
}

std::string TextOf(const ResultsRow& row, int column) {
    const auto* text = std::get_if<std::string>(&row[column]);
    return text != nullptr ? *text : "(number)";
}

TEST(ResultsAddition, StoresTheDisplayedTexts) {
    const ResultsRow row = MakeResultsRow(ExampleCase());
    EXPECT_EQ(TextOf(row, C::BodyPart), "頭部");
    EXPECT_EQ(TextOf(row, C::TubeVoltageText), "80");
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
        EvaluatedCase c = ExampleCase();
        c.Case.FocusSkinDistanceCm = distanceCm;
        EXPECT_EQ(TextOf(MakeResultsRow(c), C::FocusSkinDistance), text);
    }
    EvaluatedCase c = ExampleCase();
    c.Evaluation.Result.SkinDose = 5.26;
    EXPECT_EQ(TextOf(MakeResultsRow(c), C::SkinDose), "5.3");
}

TEST(ResultsAddition, NoOtherFilterStoresADashAndTheNumberZero) {
    const ResultsRow row = MakeResultsRow(ExampleCase());
    EXPECT_EQ(row[C::OtherFilterName], ResultsCell(std::string("-")));
    EXPECT_EQ(row[C::OtherFilterMm], ResultsCell(0.0));
    EXPECT_FALSE(HasOtherFilter(row));
    EXPECT_FALSE(HasOtherFilter(ResultsTable().Rows[1]));  // a reset row
}

TEST(ResultsAddition, OtherFilterStoresItsNameAndMillimetres) {
    EvaluatedCase c = ExampleCase();
    c.Case.Equipment.OtherFilterFlag = 1;
    c.Case.Equipment.OtherFilterMaterial = "Ta";
    c.Case.Equipment.OtherFilterThickness = 0.05;
    const ResultsRow row = MakeResultsRow(c);
    EXPECT_EQ(TextOf(row, C::OtherFilterName), "Ta");
    EXPECT_EQ(TextOf(row, C::OtherFilterMm), "0.50");
    EXPECT_TRUE(HasOtherFilter(row));
}

// The typed texts of the case: "---" for no body part, the field size from the shown value.
TEST(ResultsAddition, TextColumnsComeFromWhatWasTyped) {
    EvaluatedCase c = ExampleCase();
    c.Entry.BodyPart = "";
    c.Entry.TubeVoltage = "70 - 90";
    c.Entry.FieldSizeCm = 8.46;
    c.Case.ReferenceFieldSizeCm = 8.46;
    c.Case.Shape = FieldShape::Circle;
    const ResultsRow row = MakeResultsRow(c);
    EXPECT_EQ(TextOf(row, C::BodyPart), "---");
    EXPECT_EQ(TextOf(row, C::TubeVoltageText), "70 - 90");
    EXPECT_EQ(TextOf(row, C::FieldSizeText), "8.5cm直径");
}

TEST(ResultsAddition, FieldSizeTextFromTheShownValueAndShape) {
    EXPECT_EQ(FieldSizeText(12, FieldShape::Square), "12.0cm平方");
    EXPECT_EQ(FieldSizeText(8.46, FieldShape::Circle), "8.5cm直径");
    EXPECT_EQ(FieldSizeText(0.45, FieldShape::Circle), "0.5cm直径");
    EXPECT_EQ(FieldSizeText(0, FieldShape::Square), "0.0cm平方");
}

TEST(ResultsAddition, FifteenRowsFitAndTheSixteenthIsRefused) {
    ResultsTable table;
    for (int i = 1; i <= kResultsRowCount; ++i) {
        EvaluatedCase c = ExampleCase();
        c.Evaluation.Result.SkinDose = i;
        const AdditionOutcome outcome = AppendResultsRow(table, MakeResultsRow(c));
        EXPECT_EQ(outcome,
                  i < kResultsRowCount ? AdditionOutcome::Added : AdditionOutcome::AddedNowFull)
            << i;
        EXPECT_EQ(table.NextRowIndex, i + 1);
        EXPECT_EQ(TextOf(table.Rows[i], C::SkinDose), std::to_string(i) + ".0");
    }
    const ResultsTable full = table;
    EXPECT_EQ(AppendResultsRow(table, MakeResultsRow(ExampleCase())), AdditionOutcome::RefusedFull);
    EXPECT_EQ(table.NextRowIndex, 16);
    EXPECT_EQ(table.Rows, full.Rows);
}

TEST(ResultsAddition, TotalSumsTheSkinDosesOfTheRowsHeld) {
    ResultsTable table;
    for (const double dose : {12.3, 4.5, 100.0}) {
        EvaluatedCase c = ExampleCase();
        c.Evaluation.Result.SkinDose = dose;
        c.Case.ReferenceAirKermaMGy = 1000;  // no other column is summed
        AppendResultsRow(table, MakeResultsRow(c));
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

// Deleting a row moves the rows below it up and frees the last place; a row that is not held
// changes nothing.
TEST(ResultsAddition, DeletingARowMovesTheRowsBelowItUp) {
    struct Case {
        int deleted;
        std::vector<std::string> bodyPartsLeft;
    };
    const Case cases[] = {
        {1, {"B", "C"}},      {2, {"A", "C"}},      {3, {"A", "B"}},
        {0, {"A", "B", "C"}}, {4, {"A", "B", "C"}},
    };
    for (const Case& c : cases) {
        ResultsTable table;
        for (const char* part : {"A", "B", "C"}) {
            EvaluatedCase e = ExampleCase();
            e.Entry.BodyPart = part;
            AppendResultsRow(table, MakeResultsRow(e));
        }
        DeleteResultsRow(table, c.deleted);
        const int held = static_cast<int>(c.bodyPartsLeft.size());
        EXPECT_EQ(table.NextRowIndex, held + 1) << c.deleted;
        for (int r = 1; r <= held; ++r)
            EXPECT_EQ(TextOf(table.Rows[r], C::BodyPart), c.bodyPartsLeft[r - 1]) << c.deleted;
        // The freed place is empty again, as a reset leaves it.
        EXPECT_EQ(table.Rows[held + 1], ResultsTable().Rows[held + 1]) << c.deleted;
    }
}

}  // namespace
}  // namespace ordevo
