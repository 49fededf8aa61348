#include "field_size.h"

#include <cmath>

#include "calculation_error.h"
#include "energy_grid.h"

namespace ordevo {

double ComputeReferenceFieldSize(FieldShape shape, double referenceAirKermaMGy,
                                 double kermaAreaProductGyCm2) {
    if (!(referenceAirKermaMGy > 0.0) || !std::isfinite(referenceAirKermaMGy))
        throw CalculationError(CalculationProblem::FieldSizeReferenceAirKermaUnusable,
                               {referenceAirKermaMGy});
    if (!(kermaAreaProductGyCm2 >= 0.0) || !std::isfinite(kermaAreaProductGyCm2))
        throw CalculationError(CalculationProblem::FieldSizeKermaAreaProductUnusable,
                               {kermaAreaProductGyCm2});
    // Gy·cm² over mGy: 0.001 turns mGy into Gy.
    const double areaCm2 = kermaAreaProductGyCm2 / (0.001 * referenceAirKermaMGy);
    switch (shape) {
    case FieldShape::Square: return std::sqrt(areaCm2);
    case FieldShape::Circle: return 2.0 * std::sqrt(areaCm2 / kPi);
    case FieldShape::None: break;
    }
    throw CalculationError(CalculationProblem::FieldSizeNoShape);
}

}  // namespace ordevo
