// One case path: the texts of a case as the user typed them (in the main window's boxes or as
// command-line arguments) and the values stored earlier become the inputs of EvaluateDose.
// The main window, the command-line evaluator and the dose-report import all go through here,
// so each reads a text the same way and shows the same digits.
#pragma once

#include <string>

#include "dose_evaluation.h"
#include "equipment_data.h"
#include "field_shape.h"
#include "tube_voltage.h"

namespace ordevo {

// The texts of the case controls at the moment of the calculation.
struct CaseTexts {
    std::string BodyPart{};           // Combo1; "" becomes "---"
    std::string TubeVoltage{};        // Text5, a voltage or a range such as "75 - 85"
    std::string ReferenceAirKerma{};  // Text14, mGy
    std::string KermaAreaProduct{};   // Text15, Gy·cm²
    std::string FocusSkinDistance{};  // Text9, cm
    std::string FieldSize{};          // Label65, "#0.00" or empty
};

// What the case holds besides its texts: the doses as the boxes' handlers stored them, the
// chosen shape, the equipment and the tube-voltage setting.
struct CaseSettings {
    double ReferenceAirKerma = 0;  // mGy
    double KermaAreaProduct = 0;   // Gy·cm²
    FieldShape Shape = FieldShape::None;
    EquipmentData Equipment{};
    TubeVoltageRange Voltage{};
    double ReferencePointDistance = 0;  // cm; 0: the equipment's FAD − 15 cm
};

// Leading numbers of the texts for the completeness check and the FSD; Ka,r and P_KA as
// stored; the field size as shown (it enters rounded to 0.01 cm).
EvaluationInputs MakeEvaluationInputs(const CaseTexts& texts, const CaseSettings& settings);

// The field size at the reference point as Label65 shows it ("#0.00"); the evaluation reads
// this text back, so what is shown is what is computed with.
std::string FieldSizeText(double sizeCm);

}  // namespace ordevo
