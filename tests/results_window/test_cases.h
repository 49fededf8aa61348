// Cases for the results window tests. Every value already has the precision the grid shows,
// so a row drawn after an addition and the same row drawn after a load look alike.
#pragma once

#include <string>

#include "case_entry.h"
#include "results_addition.h"

namespace ordevo::testing {

inline EvaluatedCase ResultsCase(int i, double skinDoseMGy = 0) {
    EvaluatedCase c;
    c.Entry.BodyPart = i % 2 == 0 ? "頭部" : "腹部背面";
    c.Entry.TubeVoltage = "80";
    c.Entry.FieldSizeCm = 12.0;
    c.Case.ReferenceFieldSizeCm = 12.0;
    c.Case.FocusSkinDistanceCm = 60 + i;
    c.Case.Shape = i % 3 == 0 ? FieldShape::Circle : FieldShape::Square;
    c.Case.ReferenceAirKermaMGy = 100 + i;
    c.Case.KermaAreaProductGyCm2 = 20.5 + i;
    DoseResult& r = c.Evaluation.Result;
    r.CorrectedReferenceAirKerma = 90.5 + i;
    r.CorrectedKermaAreaProduct = 18.5 + i;
    r.TissueToAirDoseRatio = 1.061;
    r.ScatterFactor = 1.352;
    r.SkinDose = skinDoseMGy > 0 ? skinDoseMGy : 150.5 + i;
    EquipmentData& e = c.Case.Equipment;
    e.InherentFiltration = 0.25;
    e.AddedAluminium = 0.1;
    e.AddedCopper = 0.02;
    if (i % 4 == 1) {
        e.OtherFilterFlag = 1;
        e.OtherFilterMaterial = "Ta";
        e.OtherFilterThickness = 0.05;
    }
    return c;
}

// The stored row of a case.
inline ResultsRow ResultsCaseRow(int i, double skinDoseMGy = 0) {
    return MakeResultsRow(ResultsCase(i, skinDoseMGy));
}

}  // namespace ordevo::testing
