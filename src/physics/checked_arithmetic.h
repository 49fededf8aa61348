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
        throw CalculationError(std::string(what) + "を番号にできません（" + Describe(x) + "）");
    return static_cast<int>(std::floor(x));
}

inline double Divide(double numerator, double denominator, const char* what) {
    if (denominator == 0.0) throw CalculationError(std::string(what) + ": 0 で割ることになります");
    return numerator / denominator;
}

inline double SquareRoot(double x, const char* what) {
    if (!(x >= 0.0))
        throw CalculationError(std::string(what) + ": 負の数（" + Describe(x) +
                               "）の平方根になります");
    return std::sqrt(x);
}

inline double Logarithm(double x, const char* what) {
    if (!(x > 0.0))
        throw CalculationError(std::string(what) + ": 0 以下の数（" + Describe(x) +
                               "）の対数になります");
    return std::log(x);
}

inline void RequireFinite(double x, const char* what) {
    if (!std::isfinite(x))
        throw CalculationError(std::string(what) + "が有限の数になりません（" + Describe(x) + "）");
}

}  // namespace ordevo::detail
