#include "field_size.h"

#include <cmath>

#include "calculation_error.h"
#include "checked_arithmetic.h"
#include "energy_grid.h"

namespace ordevo {

double ComputeReferenceFieldSize(FieldShape shape, double referenceAirKermaMGy,
                                 double kermaAreaProductGyCm2) {
    if (!(referenceAirKermaMGy > 0.0) || !std::isfinite(referenceAirKermaMGy))
        throw CalculationError("照射野サイズ: 患者照射基準点線量 " +
                               detail::Describe(referenceAirKermaMGy) +
                               " mGy が正の数ではありません");
    if (!(kermaAreaProductGyCm2 >= 0.0) || !std::isfinite(kermaAreaProductGyCm2))
        throw CalculationError("照射野サイズ: 面積空気カーマ積算値 " +
                               detail::Describe(kermaAreaProductGyCm2) +
                               " Gy·cm² が負の数か有限の数ではありません");
    // Gy·cm² over mGy: 0.001 turns mGy into Gy.
    const double areaCm2 = kermaAreaProductGyCm2 / (0.001 * referenceAirKermaMGy);
    switch (shape) {
    case FieldShape::Square: return std::sqrt(areaCm2);
    case FieldShape::Circle: return 2.0 * std::sqrt(areaCm2 / kPi);
    case FieldShape::None: break;
    }
    throw CalculationError("照射野サイズ: 照射野の形が選ばれていません");
}

}  // namespace ordevo
