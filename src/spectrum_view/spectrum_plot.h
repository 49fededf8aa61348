// The spectrum plot: grid, axis texts and the step curve of "B_SPCTL.dat", drawn on any Surface
// in the plot's own units (twips of the original picture; Form6 maps them onto Picture3).
#pragma once

#include <QString>

#include <functional>

#include "energy_grid.h"
#include "file_error.h"
#include "surface.h"

namespace ordevo {

// The frame of the plot: 0 keV at x = 1000, 150 keV at x = 5500 (30 units per keV);
// zero fluence at y = 2100, the largest bin at y = 100.
inline constexpr double kPlotLeft = 1000;
inline constexpr double kPlotRight = 5500;
inline constexpr double kPlotTop = 100;
inline constexpr double kPlotBottom = 2100;
inline constexpr double kPlotUnitsPerKeV = 30;
// Extent of everything the plot draws, texts included, for the picture's scale.
inline constexpr double kPlotWidth = 5800;
inline constexpr double kPlotHeight = 2500;

// The 16-colour palette entries the plot uses.
inline const QColor kPlotGridColour{128, 128, 128};  // colour 8
inline const QColor kPlotCurveColour{255, 0, 0};     // colour 12

struct SpectrumPlotData {
    BinArray Fluence{};  // F(j) as read, bins 1..300
    double MaxFluence = 0;
};

// Clears the surface, draws the grid, the axis texts and the frame, runs `afterFrame` (the
// window lets its pending events run, so the frame shows before the file is read), reads the
// spectrum file and draws bins 2..300 as steps 15 units wide centred on their energies, then the
// frame again over the curve's ends. A file that is missing, short, malformed, holds a negative
// or non-finite fluence or only zeros is not drawn: the surface keeps the empty frame and the
// error names the file and why.
FileResult<SpectrumPlotData> DrawSpectrumPlot(ui::Surface& surface, const QString& spectrumPath,
                                              const std::function<void()>& afterFrame = {});

// The same plot of a spectrum held in memory; one of zeros is refused as the file reader
// refuses it, the surface keeping the empty frame.
FileResult<SpectrumPlotData> DrawSpectrumPlot(ui::Surface& surface, const BinArray& fluence);

// The frame and its texts alone (steps 1–5 of the plot), for a picture that has no spectrum.
void DrawSpectrumFrame(ui::Surface& surface);

// The curve of an already checked spectrum (MaxFluence > 0), then the frame over its ends.
void DrawSpectrumCurve(ui::Surface& surface, const SpectrumPlotData& data);

// The plot's data of a spectrum the file reader has checked (finite, none negative, not all 0).
SpectrumPlotData MakeSpectrumPlotData(const BinArray& fluence);

}  // namespace ordevo
