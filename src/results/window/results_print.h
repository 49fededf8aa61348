// The printed results table: one landscape page in millimetres, drawn through a Surface so
// that the printer, a PDF file and the tests run the same code.
#pragma once

#include <QDateTime>
#include <QString>

#include "print_service.h"
#include "results_table.h"
#include "surface.h"

namespace ordevo {

// Page settings ("ＭＳ 明朝" 9 pt, solid lines of width 5), the frame, the rules and the 34
// column headings.
void PrintPageFrame(ui::Surface& page);

// Row i (1..15) from the stored cells at y = 10·i + 33. Numeric cells are formatted again
// with their picture (text cells keep their text, numbers get the picture); the skin dose
// always shows two integer digits. The other-filter cell follows `otherFilterFlag` of the
// equipment loaded now: name and thickness when it is 1, the bar "―" otherwise.
void PrintResultsRow(ui::Surface& page, const ResultsRow& row, int i, int otherFilterFlag);

// The title line at 12 pt, then the size back to 9 pt.
void PrintResultsTitle(ui::Surface& page, const QString& userName);

// What the page says besides the table, under its frame: when it was printed and from which
// equipment file (the one loaded now, whose other filter decides the filter cells).
struct PrintNotes {
    QDateTime printedAt;        // not printed when invalid
    QString equipmentFileName;  // "" when no file is loaded
};

// Under the frame (y 192): print date and time and the equipment file at the left, the total
// of the skin-dose column under that column.
void PrintPageNotes(ui::Surface& page, const ResultsTable& table, const PrintNotes& notes);

// The whole page: frame, the rows held, title, notes.
void DrawResultsPage(ui::Surface& page, const ResultsTable& table, int otherFilterFlag,
                     const QString& userName, const PrintNotes& notes = {});

// "印 刷": asks whether the printer is ready, prints the page through `printer` and tells the
// user where it went (printer or PDF file) or why it failed. Reads the table only.
void PrintResultsTable(const ResultsTable& table, int otherFilterFlag, const QString& userName,
                       ui::PrintService& printer, const QString& equipmentFileName = {});

}  // namespace ordevo
