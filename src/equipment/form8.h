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

    // Edits the application's `equipment` in place (leaving a box updates it at once, as the
    // main window's evaluations use it).
    Form8(EquipmentData& equipment, const ReferenceData& reference, const QString& workingFolder,
          QWidget* parent = nullptr);
    ~Form8() override;
    // "新規作成" of the main window: presets, then shows the window.
    void StartNew();

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const;

signals:
    // A file was written (the main window refreshes its file list).
    void equipmentSaved();
    // The filter window's "解 除" released the other filter, so the main window can empty its
    // other-filter captions (the editor's own captions keep their texts).
    void otherFilterReleased();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ordevo
