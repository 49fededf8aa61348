// Checked conversions and operations shared by the kernels: every index that is derived from a
// double and every division or root that can leave the arithmetic goes through here, so a
// failure is a CalculationError that names the quantity and the value, never undefined
// behaviour.
#pragma once

#include <cmath>

#include "calculation_error.h"

namespace ordevo::detail {

[[noreturn]] inline void Fail(CalculationProblem problem, CalculatedQuantity quantity,
                              std::vector<double> values = {}) {
    throw CalculationError(CalculationFailure{problem, quantity, std::move(values)});
}

// ⌊x⌋ as an int; a value that is not finite or lies beyond ±1e9 cannot index anything.
inline int FloorToInt(double x, CalculatedQuantity what) {
    if (!std::isfinite(x) || x > 1e9 || x < -1e9) Fail(CalculationProblem::NotAnIndex, what, {x});
    return static_cast<int>(std::floor(x));
}

inline double Divide(double numerator, double denominator, CalculatedQuantity what) {
    if (denominator == 0.0) Fail(CalculationProblem::DivisionByZero, what);
    return numerator / denominator;
}

inline double SquareRoot(double x, CalculatedQuantity what) {
    if (!(x >= 0.0)) Fail(CalculationProblem::NegativeSquareRoot, what, {x});
    return std::sqrt(x);
}

inline double Logarithm(double x, CalculatedQuantity what) {
    if (!(x > 0.0)) Fail(CalculationProblem::NonPositiveLogarithm, what, {x});
    return std::log(x);
}

inline void RequireFinite(double x, CalculatedQuantity what) {
    if (!std::isfinite(x)) Fail(CalculationProblem::NotFinite, what, {x});
}

}  // namespace ordevo::detail
