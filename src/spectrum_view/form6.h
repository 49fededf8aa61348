// The spectrum window: "B_SPCTL.dat" (or the spectrum itself when it could not be written)
// plotted as a step curve over 0–150 keV.
#pragma once

#include <QString>
#include <memory>

#include "control_table.h"
#include "energy_grid.h"
#include "modeless_window.h"
#include "spectrum_plot.h"

namespace ordevo {

class Form6 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    explicit Form6(const QString& workingFolder, QWidget* parent = nullptr);
    ~Form6() override;
    // Reads the spectrum file of the working folder and draws it, then shows the window.
    // A missing or unusable file is reported (message box) instead of drawn; returns false then.
    bool PlotSpectrum();
    // Draws a spectrum held in memory (one whose file could not be written), then shows the
    // window. A spectrum of zeros cannot be scaled: it is reported and false returned.
    bool PlotSpectrum(const BinArray& fluence);

    // The last spectrum drawn (F and F_max), kept until the next drawing.
    const SpectrumPlotData& LastPlot() const { return plot_; }

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }

private:
    bool ShowPlotted(FileResult<SpectrumPlotData> plotted);

    QString workingFolder_;
    SpectrumPlotData plot_;
    struct Ui;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
};

}  // namespace ordevo
