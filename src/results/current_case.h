// The last evaluated case as the results table takes it: case, results and filtration.
#pragma once

#include <string>

#include "dose_evaluation.h"
#include "equipment_data.h"
#include "field_shape.h"

namespace ordevo {

struct CurrentCase {
    std::string BodyPart;
    std::string TubeVoltageText;   // captured by the evaluation
    double FocusSkinDistance = 0;  // cm
    FieldShape Shape = FieldShape::None;
    double ReferenceAirKerma = 0;  // mGy
    double KermaAreaProduct = 0;   // Gy·cm²
    double CorrectedReferenceAirKerma = 0;
    double CorrectedKermaAreaProduct = 0;
    double TissueToAirDoseRatio = 0;
    double ScatterFactor = 0;
    double SkinDose = 0;            // mGy
    double InherentFiltration = 0;  // cm
    double AddedAluminium = 0;      // cm
    double AddedCopper = 0;         // cm
    int OtherFilterFlag = 0;
    std::string OtherFilterMaterial;
    double OtherFilterThickness = 0;  // cm
};

CurrentCase MakeCurrentCase(const CaseConditions& conditions, const DoseResult& result,
                            const EquipmentData& equipment);

}  // namespace ordevo
