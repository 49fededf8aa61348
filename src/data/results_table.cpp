#include "results_table.h"

#include "number_format.h"

namespace ordevo {

bool IsTextColumn(int column) {
    return column == ResultsColumn::BodyPart || column == ResultsColumn::TubeVoltageText ||
           column == ResultsColumn::OtherFilterName || column == ResultsColumn::FieldSizeText;
}

ResultsTable::ResultsTable() { ResetResultsTable(*this); }

void ResetResultsTable(ResultsTable& table) {
    for (int r = 1; r <= kResultsRowCount; ++r) {
        ResultsRow& row = table.Rows[r];
        for (int c = 1; c <= kResultsColumnCount; ++c) {
            if (IsTextColumn(c))
                row[c] = std::string();
            else
                row[c] = 0.0;
        }
    }
    table.NextRowIndex = 1;
}

int ResultsRowCount(const ResultsTable& table) { return table.NextRowIndex - 1; }

std::string CellText(const ResultsCell& cell) {
    if (const auto* text = std::get_if<std::string>(&cell)) return *text;
    return PlainNumber(std::get<double>(cell));
}

double CellNumber(const ResultsCell& cell) {
    if (const auto* text = std::get_if<std::string>(&cell)) return LeadingNumber(*text);
    return std::get<double>(cell);
}

}  // namespace ordevo
