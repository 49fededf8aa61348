// What every benchmark stands on: the reference data (the shipped set, or ORDEVO_DATA=DIR) and a
// typical angiography room (12° target, 2.5 mm Al inherent, a couch, typical tube voltage 80 kV).
#pragma once

#include <QString>
#include <cstdlib>

#include "report_evaluation.h"

namespace ordevo::bench {

inline QString DataFolder() {
    const char* fromEnvironment = std::getenv("ORDEVO_DATA");
    return QString::fromUtf8(fromEnvironment ? fromEnvironment : ORDEVO_REFDATA_DIR);
}

inline rdsr::PlaneSetup TypicalPlane() {
    rdsr::PlaneSetup plane;
    EquipmentData& e = plane.Equipment.Data;
    e.FocusReceptorDistance = 100;
    e.FocusIsocentreDistance = 75;
    e.TargetAngle = 12;
    e.InherentFiltration = 0.25;
    e.CouchTransmission = 0.8;
    e.CouchSoftTissueThickness = 1.2;
    e.CalibrationConstant = 1.05;
    plane.Equipment.TypicalTubeVoltageText = QStringLiteral("80");
    plane.EquipmentName = "Typical.odv3";
    return plane;
}

}  // namespace ordevo::bench
