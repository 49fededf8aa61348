// What an addition stores in the results table, the total of the skin doses, and a stored row
// turned back into the case values that the row drawing reads.
#pragma once

#include <string>
#include <string_view>

#include "current_case.h"
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
std::string FieldSizeText(std::string_view fieldSizeCaption, FieldShape shape);

// The row an addition stores: formatted texts everywhere, except column 7 without another
// filter, which holds the number 0. Column 2 is the tube-voltage box's text at the moment of
// adding (not the evaluation's); column 9 is `fieldSizeText` as built by FieldSizeText.
ResultsRow MakeResultsRow(const CurrentCase& current, std::string_view tubeVoltageBoxText,
                          std::string_view fieldSizeText);

enum class AdditionOutcome {
    Added,         // stored; room is left
    AddedNowFull,  // stored as row 15: the table is full now
    RefusedFull,   // the table was full; nothing changed
};

// Stores `row` at NextRowIndex and advances it, unless the table is full.
AdditionOutcome AppendResultsRow(ResultsTable& table, const ResultsRow& row);

// Sum of the numeric values of the skin-dose cells of the rows held.
double ResultsTotal(const ResultsTable& table);
// The same, as the results window writes it ("###0.0").
std::string ResultsTotalText(const ResultsTable& table);

// A stored row as case values for the row drawing: millimetre cells become centimetres (× 0.1),
// the other numeric cells their numeric value, texts stay. The row has another filter when
// its column 6 holds a name (neither empty nor "-"). The field-size text is column 9's text.
CurrentCase CurrentCaseFromRow(const ResultsRow& row);

}  // namespace ordevo
