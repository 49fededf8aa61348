// The filter window: a material file of the working folder and a thickness for the added
// filter of another material, or the release of that filter.
#pragma once

#include <QString>
#include <memory>

#include "control_table.h"
#include "energy_grid.h"
#include "modeless_window.h"

namespace ordevo {

// The other filter the user set: what the editor puts into its own record and its captions.
struct OtherFilterChoice {
    QString Material;       // file name without ".ele"
    QString ThicknessText;  // as typed, for the editor's caption and the saved file
    double ThicknessCm = 0;
    BinArray Attenuation{};  // linear μ of the material, 1/cm per bin
};

class Form5 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    // The material files are those of `workingFolder`. The window holds no equipment: the
    // choice leaves it as a value.
    explicit Form5(const QString& workingFolder, QWidget* parent = nullptr);
    ~Form5() override;

    // The editor's "任意フィルタ": empties the description and the thickness, shows the window
    // and reads the folder's material files again.
    void Open();

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }

signals:
    // "設 定": a usable material file and a thickness were chosen.
    void filterSet(const ordevo::OtherFilterChoice& choice);
    // "解 除": the other filter is no longer in use.
    void filterReleased();

private:
    struct Ui;

    void File1Click(const QString& fileName);
    void Text2Return();
    void Command1Click();  // "設 定"
    void Command2Click();  // "解 除"

    QString workingFolder_;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
};

}  // namespace ordevo
