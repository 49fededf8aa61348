// Side or diameter of the field at the patient entrance reference point, from Ka,r and P_KA.
#pragma once

#include "field_shape.h"

namespace ordevo {

// Area A = P_KA / (0.001·Ka,r) in cm²; a square's side √A, a circle's diameter 2·√(A/π) with
// the program's π. The caller shows it with "#0.00" and evaluates with the shown number.
// Throws CalculationError for Ka,r ≤ 0, P_KA < 0 or no shape.
double ComputeReferenceFieldSize(FieldShape shape, double referenceAirKermaMGy,
                                 double kermaAreaProductGyCm2);

}  // namespace ordevo
