// What an addition stores in the results table, and the total of the skin doses. The row is
// formatted here only: the grid and the page draw the stored cells.
#pragma once

#include <string>
#include <string_view>

#include "case_entry.h"
#include "results_table.h"

namespace ordevo {

// Number pictures of the stored cells (and of the screen row, which formats the same values).
inline constexpr std::string_view kFilterPicture = "0.00";     // mm
inline constexpr std::string_view kDistancePicture = "#00";    // cm
inline constexpr std::string_view kFieldSizePicture = "#0.0";  // cm
inline constexpr std::string_view kDosePicture = "###00.0";    // Ka,r mGy, P_KA Gy·cm²
inline constexpr std::string_view kRatioPicture = "0.000";
inline constexpr std::string_view kSkinDosePicture = "###0.0";  // mGy, stored and on screen

inline constexpr std::string_view kNoOtherFilterName = "-";  // stored in column 6

// "12.0cm平方" / "8.5cm直径": the numeric value of the field-size caption (Label65 of the main
// window), "#0.0", then the shape's suffix. Every shape but the square counts as the circle.
std::string FieldSizeText(double shownFieldSizeCm, FieldShape shape);

// The row of an evaluated case: formatted texts everywhere, except column 7 without another
// filter, which holds the number 0. Column 2 is the tube-voltage text as typed, column 9 the
// field size as FieldSizeText builds it from the shown caption, the filtrations those of the
// equipment computed with.
ResultsRow MakeResultsRow(const EvaluatedCase& evaluated);

// The row's other filter, if it names one (neither empty nor "-").
bool HasOtherFilter(const ResultsRow& row);

enum class AdditionOutcome {
    Added,         // stored; room is left
    AddedNowFull,  // stored as row 15: the table is full now
    RefusedFull,   // the table was full; nothing changed
};

// Stores `row` at NextRowIndex and advances it, unless the table is full.
AdditionOutcome AppendResultsRow(ResultsTable& table, const ResultsRow& row);

// Takes row `row` (1..NextRowIndex − 1) out: the rows below move up one place, the row freed
// at the end is as a reset leaves it, and NextRowIndex goes back by one. Other rows: nothing.
void DeleteResultsRow(ResultsTable& table, int row);

// Sum of the numeric values of the skin-dose cells of the rows held.
double ResultsTotal(const ResultsTable& table);
// The same, as the results window writes it ("###0.0").
std::string ResultsTotalText(const ResultsTable& table);

}  // namespace ordevo
