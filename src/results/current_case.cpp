// The last evaluation and the loaded equipment gathered as the results table takes them.
#include "current_case.h"

namespace ordevo {

CurrentCase MakeCurrentCase(const CaseConditions& conditions, const DoseResult& result,
                            const EquipmentData& equipment) {
    CurrentCase current;
    current.BodyPart = conditions.BodyPart;
    current.TubeVoltageText = conditions.TubeVoltageText;
    current.FocusSkinDistance = conditions.FocusSkinDistance;
    current.Shape = conditions.Shape;
    current.ReferenceAirKerma = conditions.ReferenceAirKerma;
    current.KermaAreaProduct = conditions.KermaAreaProduct;
    current.CorrectedReferenceAirKerma = result.CorrectedReferenceAirKerma;
    current.CorrectedKermaAreaProduct = result.CorrectedKermaAreaProduct;
    current.TissueToAirDoseRatio = result.TissueToAirDoseRatio;
    current.ScatterFactor = result.ScatterFactor;
    current.SkinDose = result.SkinDose;
    current.InherentFiltration = equipment.InherentFiltration;
    current.AddedAluminium = equipment.AddedAluminium;
    current.AddedCopper = equipment.AddedCopper;
    current.OtherFilterFlag = equipment.OtherFilterFlag;
    current.OtherFilterMaterial = equipment.OtherFilterMaterial;
    current.OtherFilterThickness = equipment.OtherFilterThickness;
    return current;
}

}  // namespace ordevo
