// The spectrum window: "B_SPCTL.dat" plotted as a step curve over 0–150 keV.
#pragma once

#include <QString>

#include "modeless_window.h"
#include "spectrum_plot.h"

class QPushButton;

namespace ordevo::ui {
class PictureBox;
}

namespace ordevo {

class Form6 : public ui::ModelessWindow {
    Q_OBJECT
public:
    explicit Form6(const QString& workingFolder, QWidget* parent = nullptr);
    // Reads the spectrum file of the working folder and draws it, then shows the window.
    // A missing or unusable file is reported (message box) instead of drawn; returns false then.
    bool PlotSpectrum();

    // The last spectrum drawn (F and F_max), kept until the next drawing.
    const SpectrumPlotData& LastPlot() const { return plot_; }

private:
    QString workingFolder_;
    SpectrumPlotData plot_;
    ui::PictureBox* Picture3 = nullptr;
    QPushButton* Command1 = nullptr;
};

}  // namespace ordevo
