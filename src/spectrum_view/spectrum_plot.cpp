#include "spectrum_plot.h"

#include <algorithm>
#include <cmath>

#include "cp932_text.h"
#include "spectrum_file.h"

namespace ordevo {

namespace {

// Grid every 10 keV (300 units) and every tenth of full scale (200 units), inside the frame.
constexpr double kGridStepX = 300;
constexpr double kGridStepY = 200;
// Each bin is a step half a keV wide: 15 units, centred on x = 1000 + 30·E.
constexpr double kStepWidth = 15;
constexpr double kFirstStepOffset = 7.5;
constexpr double kFullScale = kPlotBottom - kPlotTop;  // 2000 units

struct PlacedText {
    const char* text;
    double x;
    double y;  // top-left corner
};

constexpr PlacedText kAxisTexts[] = {
    {"0", 1000, 2120},
    {"50", 2450, 2120},
    {"100", 3900, 2120},
    {"150", 5400, 2120},
    {"Photon energy in keV", 3750, 2250},
    {"Relative", 200, 500},
    {"Photon", 230, 700},
    {"fluence", 260, 900},
};

void DrawFrame(ui::Surface& surface) {
    surface.SetLineWidth(2);
    surface.Box(kPlotLeft, kPlotTop, kPlotRight, kPlotBottom, Qt::black);
}

}  // namespace

void DrawSpectrumFrame(ui::Surface& surface) {
    surface.Clear();
    surface.SetForeColor(Qt::black);
    surface.SetLineWidth(1);
    for (double x = kPlotLeft + kGridStepX; x < kPlotRight; x += kGridStepX)
        surface.Line(x, kPlotTop, x, kPlotBottom, kPlotGridColour);
    for (double y = kPlotTop + kGridStepY; y < kPlotBottom; y += kGridStepY)
        surface.Line(kPlotLeft, y, kPlotRight, y, kPlotGridColour);
    for (const PlacedText& placed : kAxisTexts) {
        surface.SetCurrentPosition(placed.x, placed.y);
        surface.Print(QString::fromUtf8(placed.text));
    }
    DrawFrame(surface);
}

void DrawSpectrumCurve(ui::Surface& surface, const SpectrumPlotData& data) {
    surface.SetLineWidth(2);
    surface.SetForeColor(Qt::black);
    surface.SetCurrentPosition(kPlotLeft, kPlotBottom);
    // Bin 1 (0.5 keV) is read but not drawn; a slanted line from the origin reaches bin 2.
    for (int j = 2; j <= kBinCount; ++j) {
        const double y = kPlotBottom - kFullScale * data.Fluence[j] / data.MaxFluence;
        surface.LineTo(kPlotLeft + kFirstStepOffset + kStepWidth * (j - 1), y, kPlotCurveColour);
        surface.LineTo(kPlotLeft + kFirstStepOffset + kStepWidth * j, y, kPlotCurveColour);
    }
    DrawFrame(surface);
}

SpectrumPlotData MakeSpectrumPlotData(const BinArray& fluence) {
    SpectrumPlotData data;
    data.Fluence = fluence;
    for (int j = 1; j <= kBinCount; ++j) data.MaxFluence = std::max(data.MaxFluence, fluence[j]);
    return data;
}

FileResult<SpectrumPlotData> DrawSpectrumPlot(ui::Surface& surface, const QString& spectrumPath,
                                              const std::function<void()>& afterFrame) {
    DrawSpectrumFrame(surface);
    if (afterFrame) afterFrame();
    const auto file = ReadSpectrumFile(spectrumPath);
    if (!file) return file.error();
    const SpectrumPlotData data = MakeSpectrumPlotData(file->Fluence);
    DrawSpectrumCurve(surface, data);
    return data;
}

FileResult<SpectrumPlotData> DrawSpectrumPlot(ui::Surface& surface, const BinArray& fluence) {
    DrawSpectrumFrame(surface);
    const SpectrumPlotData data = MakeSpectrumPlotData(fluence);
    if (!(data.MaxFluence > 0)) {
        return FileError(QStringLiteral("フルエンスがすべて 0 で、スペクトルがありません"));
    }
    DrawSpectrumCurve(surface, data);
    return data;
}

}  // namespace ordevo
