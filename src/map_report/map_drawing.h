// The skin-dose map on a Surface: the trunk unwrapped with the back in the middle, cells coloured
// by dose, the 2, 3 and 5 Gy contours, the PSD marked, a colour scale in mGy. The window, the
// printed page and the tests draw through this one function, each in its own units.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "skin_dose_map.h"
#include "surface.h"

namespace ordevo::map {

inline constexpr double kContourLevelsMGy[] = {2000.0, 3000.0, 5000.0};

// Where the map's parts lie on the surface, in its units.
struct MapLayout {
    double Left = 0, Top = 0;  // the first cell's top-left corner
    double CellWidth = 0, CellHeight = 0;
    int Columns = 0, Rows = 0;
    double ScaleLeft = 0, ScaleWidth = 0;  // the colour scale beside the map, as tall as it
    double Bottom() const { return Top + Rows * CellHeight; }
    double Right() const { return Left + Columns * CellWidth; }
    // The cell under (x, y), none outside the map.
    std::optional<std::size_t> CellAt(double x, double y) const;
};

// Fits the map, its labels and its scale into `area` with square cells; `textHeight` is one
// line of the labels' font in the surface's units.
MapLayout LayoutMap(const PatientModel& model, const QRectF& area, double textHeight);

// Dark blue through cyan, green and yellow to red, for 0 … 1.
QColor ScaleColour(double fraction);

// Draws the whole map into the layout. `outline`: cells whose border is drawn over the map (the
// field of the event chosen in a list); empty for none.
void DrawSkinDoseMapOn(ui::Surface& surface, const SkinDoseMap& map, const MapLayout& layout,
                       const std::vector<std::size_t>& outline = {});

// The trunk as the tube of one event sees it (its middle step for a rotation): the cells facing
// the focus, projected across the beam and coloured by dose, the field's cells framed. Nothing
// when the event was not placed.
void DrawBeamsEyeView(ui::Surface& surface, const SkinDoseMap& map, std::size_t eventIndex,
                      const QRectF& area);

// "背部 上から 32 cm, 正中から右へ 5°" — where a cell lies, in words.
QString CellPlaceText(const PatientModel& model, std::size_t cell);

// The events that gave `cell` most of its dose, largest first, at most `count`: report event
// indices and their doses.
struct CellShare {
    std::size_t EventIndex = 0;
    double DoseMGy = 0;
};
std::vector<CellShare> LargestShares(const SkinDoseMap& map, std::size_t cell, int count);

// The cells an event's field reached (empty when it was not mapped).
std::vector<std::size_t> EventFieldCells(const SkinDoseMap& map, std::size_t eventIndex);

}  // namespace ordevo::map
