// Checked conversions and operations shared by the kernels: every index that is derived from a
// double and every division or root that can leave the arithmetic goes through here, so a
// failure is a CalculationError that names the value, never undefined behaviour.
#pragma once

#include <cmath>
#include <sstream>
#include <string>

#include "calculation_error.h"

namespace ordevo::detail {

inline std::string Describe(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

// ⌊x⌋ as an int; a value that is not finite or lies beyond ±1e9 cannot index anything.
inline int FloorToInt(double x, const char* what) {
    if (!std::isfinite(x) || x > 1e9 || x < -1e9)
        throw CalculationError(std::string(what) + " cannot be an index (" + Describe(x) + ")");
    return static_cast<int>(std::floor(x));
}

inline double Divide(double numerator, double denominator, const char* what) {
    if (denominator == 0.0)
        throw CalculationError(std::string(what) + ": division by zero");
    return numerator / denominator;
}

inline double SquareRoot(double x, const char* what) {
    if (!(x >= 0.0))
        throw CalculationError(std::string(what) + ": square root of a negative number (" +
                               Describe(x) + ")");
    return std::sqrt(x);
}

inline double Logarithm(double x, const char* what) {
    if (!(x > 0.0))
        throw CalculationError(std::string(what) + ": logarithm of a non-positive number (" +
                               Describe(x) + ")");
    return std::log(x);
}

inline void RequireFinite(double x, const char* what) {
    if (!std::isfinite(x))
        throw CalculationError(std::string(what) + " is not a finite number (" + Describe(x) + ")");
}

}  // namespace ordevo::detail
