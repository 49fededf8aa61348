// The current case takes the evaluated case, its results and the filtration of the equipment.
#include "current_case.h"

#include <gtest/gtest.h>

namespace ordevo {
namespace {

TEST(CurrentCase, GathersCaseResultsAndFiltration) {
    CaseConditions conditions;
    conditions.BodyPart = "胸部背面";
    conditions.TubeVoltageText = "75 - 85";
    conditions.FocusSkinDistance = 65.4;
    conditions.Shape = FieldShape::Circle;
    conditions.ReferenceAirKerma = 5.26;
    conditions.KermaAreaProduct = 123.44;
    DoseResult result;
    result.CorrectedReferenceAirKerma = 6.1;
    result.CorrectedKermaAreaProduct = 130.2;
    result.TissueToAirDoseRatio = 1.061;
    result.ScatterFactor = 1.352;
    result.SkinDose = 1234.56;
    EquipmentData equipment;
    equipment.InherentFiltration = 0.25;
    equipment.AddedAluminium = 0.1;
    equipment.AddedCopper = 0.02;
    equipment.OtherFilterFlag = 1;
    equipment.OtherFilterMaterial = "Ta";
    equipment.OtherFilterThickness = 0.005;

    const CurrentCase current = MakeCurrentCase(conditions, result, equipment);
    EXPECT_EQ(current.BodyPart, "胸部背面");
    EXPECT_EQ(current.TubeVoltageText, "75 - 85");
    EXPECT_EQ(current.FocusSkinDistance, 65.4);
    EXPECT_EQ(current.Shape, FieldShape::Circle);
    EXPECT_EQ(current.ReferenceAirKerma, 5.26);
    EXPECT_EQ(current.KermaAreaProduct, 123.44);
    EXPECT_EQ(current.CorrectedReferenceAirKerma, 6.1);
    EXPECT_EQ(current.CorrectedKermaAreaProduct, 130.2);
    EXPECT_EQ(current.TissueToAirDoseRatio, 1.061);
    EXPECT_EQ(current.ScatterFactor, 1.352);
    EXPECT_EQ(current.SkinDose, 1234.56);
    EXPECT_EQ(current.InherentFiltration, 0.25);
    EXPECT_EQ(current.AddedAluminium, 0.1);
    EXPECT_EQ(current.AddedCopper, 0.02);
    EXPECT_EQ(current.OtherFilterFlag, 1);
    EXPECT_EQ(current.OtherFilterMaterial, "Ta");
    EXPECT_EQ(current.OtherFilterThickness, 0.005);
}

}  // namespace
}  // namespace ordevo
