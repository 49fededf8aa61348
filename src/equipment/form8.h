// The equipment data editor: geometry, filtration, other filter and one measurement give a new
// ".odv3" file with couch transmission, calibration constant and couch soft-tissue thickness.
#pragma once

#include <QString>
#include <functional>

#include "equipment_data.h"
#include "modeless_window.h"
#include "reference_data.h"

namespace ordevo {

class Form8 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // Edits the application's `equipment` in place (leaving a box updates it at once, as the
    // main window's evaluations use it). `onSaved` runs after a file was written (the main
    // window refreshes its file list).
    Form8(EquipmentData& equipment, const ReferenceData& reference, const QString& workingFolder,
          std::function<void()> onSaved, QWidget* parent = nullptr);
    ~Form8() override;
    // "新規作成" of the main window: presets, then shows the window.
    void StartNew();

    // Runs when the filter window's "解 除" releases the other filter, so the main window can
    // empty its other-filter captions (the editor's own captions keep their texts).
    void SetOtherFilterReleasedHandler(std::function<void()> handler);

private:
    struct Impl;
    Impl* impl_;
};

}  // namespace ordevo
