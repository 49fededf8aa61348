// The basic data of one X-ray equipment (room): geometry, filtration, couch and calibration.
#pragma once

#include <string>

#include "energy_grid.h"

namespace ordevo {

// Lengths in centimetres even where files and screens show millimetres (filtrations, converted
// with kCentimetresPerMillimetre of units.h). The names are the program's own; each comment
// gives the unit.
struct EquipmentData {
    double FocusReceptorDistance = 0;     // cm
    double FocusIsocentreDistance = 0;    // cm; the entrance reference point lies
                                          // kReferencePointOffsetCm before it
    double TargetAngle = 0;               // degrees
    double InherentFiltration = 0;        // cm of aluminium equivalent (files: mm)
    double AddedAluminium = 0;            // cm (files: mm)
    double AddedCopper = 0;               // cm (files: mm)
    int OtherFilterFlag = 0;              // 1 when a filter of another material is in use
    std::string OtherFilterMaterial;      // material name (file name without ".ele"), UTF-8
    double OtherFilterThickness = 0;      // cm (files: mm)
    BinArray OtherFilterAttenuation{};    // linear μ of the other filter, 1/cm per bin
    double CouchTransmission = 0;         // air kerma with couch / without couch, dimensionless
    double CouchSoftTissueThickness = 0;  // cm of soft tissue with the couch's transmission
    double CalibrationConstant = 0;       // measured / displayed air kerma at the reference point,
                                          // dimensionless

    bool operator==(const EquipmentData&) const = default;
};

}  // namespace ordevo
