// The results table: up to 15 evaluated cases of 16 columns, and the next row to fill.
// Standard library only, so the results model and the command line share it without Qt.
#pragma once

#include <array>
#include <string>
#include <variant>

namespace ordevo {

inline constexpr int kResultsRowCount = 15;
inline constexpr int kResultsColumnCount = 16;

// A cell holds text or a number. Additions store the formatted text in every column ("05.3",
// "0.50", "12.0cm平方"), a reset stores the number 0 in the numeric columns, and a loaded file
// keeps each field's text (numeric columns are checked to read as numbers), so a table saved
// again is byte for byte the file it was loaded from. Text is UTF-8.
using ResultsCell = std::variant<std::string, double>;
// Columns 1..16; element 0 is not used.
using ResultsRow = std::array<ResultsCell, kResultsColumnCount + 1>;

// Column numbers, in the order the CSV file lists them.
namespace ResultsColumn {
inline constexpr int BodyPart = 1;                     // text
inline constexpr int TubeVoltageText = 2;              // text
inline constexpr int InherentFilterMm = 3;             // "0.00"
inline constexpr int AluminiumFilterMm = 4;            // "0.00"
inline constexpr int CopperFilterMm = 5;               // "0.00"
inline constexpr int OtherFilterName = 6;              // text; "-" without another filter
inline constexpr int OtherFilterMm = 7;                // "0.00", or the number 0 without one
inline constexpr int FocusSkinDistance = 8;            // "#00"
inline constexpr int FieldSizeText = 9;                // text, "12.0cm平方"
inline constexpr int ReferenceAirKerma = 10;           // "###00.0"
inline constexpr int KermaAreaProduct = 11;            // "###00.0"
inline constexpr int CorrectedReferenceAirKerma = 12;  // "###00.0"
inline constexpr int CorrectedKermaAreaProduct = 13;   // "###00.0"
inline constexpr int TissueToAirDoseRatio = 14;        // "0.000"
inline constexpr int ScatterFactor = 15;               // "0.000"
inline constexpr int SkinDose = 16;                    // "###0.0"
}  // namespace ResultsColumn

// Columns 1, 2, 6 and 9 hold text; the other twelve hold numbers (as formatted text or numbers).
bool IsTextColumn(int column);

// Rows 1..15 (row 0 not used) and the row the next addition fills: 1 = empty, 16 = full.
struct ResultsTable {
    std::array<ResultsRow, kResultsRowCount + 1> Rows;
    int NextRowIndex = 1;

    ResultsTable();  // the state ResetResultsTable leaves
};

// Text columns of rows 1..15 become "", the others the number 0; NextRowIndex becomes 1.
void ResetResultsTable(ResultsTable& table);

// Rows held: NextRowIndex − 1.
int ResultsRowCount(const ResultsTable& table);

// The cell as written to a file or shown: text as it stands, a number as its shortest exact
// decimal ("0" for the reset 0, 5.3 as "5.3").
std::string CellText(const ResultsCell& cell);

// The cell's numeric value (for the total): a number as it stands, text as its leading number.
double CellNumber(const ResultsCell& cell);

}  // namespace ordevo
