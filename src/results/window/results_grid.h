// The results grid on Picture2 of the results window: ruling, headings, rows, the total and the
// banner of the empty table. Positions are Picture2's user units (13.155 × 7.65 twips), except
// the ruling, which lies on the picture in twips.
#pragma once

#include <QColor>
#include <QString>

#include "results_table.h"
#include "surface.h"

namespace ordevo::ui {
class PictureBox;
}

namespace ordevo {

inline constexpr double kPicture2TwipsPerUnitX = 13.155;
inline constexpr double kPicture2TwipsPerUnitY = 7.65;

inline constexpr QColor kBannerColour{192, 192, 192};  // silver

// The ruling of the table as line elements of the picture, all hidden until ShowResultsGrid.
void AddResultsGridLines(ui::PictureBox& picture);

// The 34 column headings, in "メイリオ" at the current size.
void DrawResultsHeader(ui::Surface& surface);

// Row `r` (1..15) from its stored cells, after an addition and after a load alike:
// y = 50·r + 70. Numeric cells are drawn with their picture (a stored text stays as it is, the
// reset 0 gets the picture); the other filter is the row's own.
void DrawResultsRow(ui::Surface& surface, const ResultsRow& row, int r);

// The row (1..NextRowIndex − 1) whose band holds height `y`, 0 when none does.
int ResultsRowAt(const ResultsTable& table, double y);
// The band of row `r` filled in the selection colour, to be drawn before the row's texts.
void DrawRowSelection(ui::Surface& surface, int r);

// The total of the skin doses of the rows held, over a white box that erases the last one,
// written at (1080, 860).
void DrawResultsTotal(ui::Surface& surface, const ResultsTable& table);

// Where the two lines of the name banner go.
struct BannerPlace {
    double titleY;
    double nameY;
};
inline constexpr BannerPlace kEmptyTableBanner{350, 500};  // start and clear
inline constexpr BannerPlace kNamePanel{200, 350};         // after a registration

// "Ordevo-V3" in silver "Times New Roman" 28 pt at (500, titleY); then font "メイリオ" (28 pt)
// and the current position at (500, nameY), ready for the name.
void DrawBannerTitle(ui::Surface& surface, BannerPlace place);
// The name at (500, nameY), in the font and colour the title left.
void DrawBannerName(ui::Surface& surface, const QString& userName, BannerPlace place);
// Text colour `colourAfter`, size 9 pt: the state the grid is drawn in afterwards.
void EndBanner(ui::Surface& surface, const QColor& colourAfter);

// The whole banner of the empty table: title, name, then `colourAfter` and 9 pt.
void DrawEmptyTableBanner(ui::Surface& surface, const QString& userName, const QColor& colourAfter);

}  // namespace ordevo
