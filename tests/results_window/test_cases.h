// Cases for the results window tests. Every value already has the precision the grid shows,
// so a row drawn from the case and the same row drawn from its stored cells look alike.
#pragma once

#include <string>

#include "current_case.h"

namespace ordevo::testing {

inline CurrentCase ResultsCase(int i, double skinDoseMGy = 0) {
    CurrentCase c;
    c.BodyPart = i % 2 == 0 ? "頭部" : "腹部背面";
    c.TubeVoltageText = "80";
    c.FocusSkinDistance = 60 + i;
    c.Shape = i % 3 == 0 ? FieldShape::Circle : FieldShape::Square;
    c.ReferenceAirKerma = 100 + i;
    c.KermaAreaProduct = 20.5 + i;
    c.CorrectedReferenceAirKerma = 90.5 + i;
    c.CorrectedKermaAreaProduct = 18.5 + i;
    c.TissueToAirDoseRatio = 1.061;
    c.ScatterFactor = 1.352;
    c.SkinDose = skinDoseMGy > 0 ? skinDoseMGy : 150.5 + i;
    c.InherentFiltration = 0.25;
    c.AddedAluminium = 0.1;
    c.AddedCopper = 0.02;
    if (i % 4 == 1) {
        c.OtherFilterFlag = 1;
        c.OtherFilterMaterial = "Ta";
        c.OtherFilterThickness = 0.05;
    }
    return c;
}

}  // namespace ordevo::testing
