// The one application state that every window shares, held for the life of the process.
#pragma once

#include <QString>

#include "dose_evaluation.h"
#include "equipment_data.h"
#include "reference_data.h"
#include "results_table.h"
#include "spectrum.h"
#include "tube_voltage.h"

namespace ordevo {

struct AppState {
    QString WorkingFolder;      // reference data, equipment files, Primary.dat, B_SPCTL.dat
    ReferenceData Reference;    // read at start, constant afterwards
    QString UserName;           // registered, guest, or "" before either
    EquipmentData Equipment;    // read from the selected equipment file; only Form1 sets it
    QString EquipmentFileName;  // its name in the working folder; "" when none is loaded
    TubeVoltageRange Voltage;   // the tube-voltage window's setting
    // The case: the main window's handlers store Ka,r, P_KA, FSD and the shape; each
    // evaluation overwrites the whole record.
    CaseConditions Conditions;
    DoseResult Result;
    SpectrumResult Spectrum;
    ResultsTable Results;
};

}  // namespace ordevo
