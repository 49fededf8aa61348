// What the main window hands to EvaluateDose, and the names of the result labels.
#pragma once

#include <QString>


#include "app_state.h"
#include "dose_evaluation.h"

namespace ordevo {

// The texts of the main window's case controls at the moment of the calculation.
struct CaseTexts {
    QString BodyPart;           // Combo1
    QString TubeVoltage;        // Text5
    QString ReferenceAirKerma;  // Text14
    QString KermaAreaProduct;   // Text15
    QString FocusSkinDistance;  // Text9
    QString FieldSize;          // Label65, "#0.00" or empty
};

// The inputs exactly as the command-line evaluator builds them: leading numbers of the texts
// for the check and the FSD, Ka,r and P_KA as the handlers stored them, the field size as
// shown, the shape, equipment and tube-voltage setting of the application state.
EvaluationInputs MakeEvaluationInputs(const CaseTexts& texts, const AppState& state);

// The result labels of the column, in order (Label68 … Label74).
inline constexpr const char* kResultLabelNames[] = {"Label68", "Label69", "Label70", "Label71",
                                                     "Label72", "Label73", "Label74"};

}  // namespace ordevo
