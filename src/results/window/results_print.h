// The printed results table: one landscape page in millimetres, drawn through a Surface so
// that the printer, a PDF file and the tests run the same code.
#pragma once

#include <optional>
#include <vector>

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "print_service.h"
#include "results_table.h"
#include "surface.h"

namespace ordevo {

// Page settings ("ＭＳ 明朝" 9 pt, solid lines of width 5), the frame, the rules and the 34
// column headings.
void PrintPageFrame(ui::Surface& page);

// Row i (1..15) from the stored cells at y = 10·i + 33. Numeric cells are formatted again
// with their picture (text cells keep their text, numbers get the picture); the skin dose
// always shows two integer digits. The other-filter cell is the row's own: name and
// thickness when the row names a material, the bar "―" when it holds "-" or nothing. A row
// computed in this session has its skin dose's expanded uncertainty (relative, k = 2) under
// the dose in the page's type ("±48%"), and names the equipment file it was computed with
// under its body part; the first line of such a cell moves up by 2 mm.
void PrintResultsRow(ui::Surface& page, const ResultsRow& row, int i,
                     std::optional<double> relativeUncertainty = std::nullopt,
                     const QString& equipmentFileName = {});

// The title line at 12 pt, then the size back to 9 pt.
void PrintResultsTitle(ui::Surface& page, const QString& userName);

// What the page says besides the table, under its frame: when it was printed and where the
// rows came from.
struct PrintNotes {
    QDateTime printedAt;             // not printed when invalid
    QStringList equipmentFileNames;  // of the rows computed in this session, each once
    QString loadedFrom;              // the results file the first rows were read from, or ""
    int loadedRows = 0;              // how many rows that file gave
    // The skin dose's relative expanded uncertainty (k = 2) by row (index 0 unused); none for a
    // loaded row, whose file does not keep it.
    std::vector<std::optional<double>> rowUncertainties;
    // The equipment file of each row computed in this session (index 0 unused); "" for a loaded
    // row.
    std::vector<QString> rowEquipmentFileNames{};
};

// "基本データ Room1.odv3、Room2.odv3", then "読込 症例A.csv（1–3 行目）" for loaded rows;
// "基本データ （未選択）" when neither.
QString RowSourcesText(const PrintNotes& notes);

// Under the frame (y 192): print date and time and the equipment file at the left, the total
// of the skin-dose column under that column.
void PrintPageNotes(ui::Surface& page, const ResultsTable& table, const PrintNotes& notes);

// The whole page: frame, the rows held, title, notes.
void DrawResultsPage(ui::Surface& page, const ResultsTable& table, const QString& userName,
                     const PrintNotes& notes = {});

// "印 刷": asks whether the printer is ready, prints the page through `printer` and tells the
// user where it went (printer or PDF file) or why it failed. Reads the table only.
// `notes.printedAt` is set to the moment of printing.
void PrintResultsTable(const ResultsTable& table, const QString& userName,
                       ui::PrintService& printer, PrintNotes notes = {});

}  // namespace ordevo
