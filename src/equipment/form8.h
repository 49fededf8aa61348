// The equipment data editor: geometry, filtration, other filter and one measurement give a new
// ".odv3" file with couch transmission, calibration constant and couch soft-tissue thickness.
#pragma once

#include <QString>
#include <memory>

#include "control_table.h"
#include "equipment_data.h"
#include "modeless_window.h"
#include "reference_data.h"

namespace ordevo {

class Form8 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    // Works on a record of its own: the equipment the main window evaluates with changes only
    // when a file is read there (the application reloads a saved file that is selected).
    Form8(const ReferenceData& reference, const QString& workingFolder, QWidget* parent = nullptr);
    ~Form8() override;
    // "新規作成" of the main window: presets, then shows the window.
    void StartNew();

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const;
    // The editor's record: the values of the last successful "OK" or "Save".
    const EquipmentData& Record() const;

signals:
    // The file `fileName` ("Room 2.odv3") was written in the working folder.
    void equipmentSaved(const QString& fileName);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ordevo
