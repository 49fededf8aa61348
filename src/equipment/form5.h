// The filter window: a material file of the working folder and a thickness for the added
// filter of another material, or the release of that filter.
#pragma once

#include <QString>
#include <memory>

#include "control_table.h"
#include "equipment_data.h"
#include "modeless_window.h"

namespace ordevo {

class Form5 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    // Sets the other-filter fields of the application's `equipment` in place; the material
    // files are those of `workingFolder`.
    Form5(EquipmentData& equipment, const QString& workingFolder, QWidget* parent = nullptr);
    ~Form5() override;

    // The editor's "任意フィルタ": empties the description and the thickness, shows the window
    // and reads the folder's material files again.
    void Open();

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }

signals:
    // "設 定": the material name (file name without ".ele") and the thickness as typed, for the
    // editor's captions.
    void filterSet(const QString& material, const QString& thicknessText);
    // "解 除": the other filter is no longer in use (the main window empties its captions).
    void filterReleased();

private:
    struct Ui;

    void File1Click(const QString& fileName);
    void Text2Return();
    void Command1Click();  // "設 定"
    void Command2Click();  // "解 除"

    EquipmentData& equipment_;
    QString workingFolder_;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
};

}  // namespace ordevo
