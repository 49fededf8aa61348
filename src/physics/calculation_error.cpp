#include "calculation_error.h"

#include <sstream>

namespace ordevo {

std::string DiagnosticText(const CalculationFailure& failure) {
    std::ostringstream text;
    text.precision(17);
    text << "calculation problem " << static_cast<int>(failure.Problem) << ", quantity "
         << static_cast<int>(failure.Quantity);
    for (double value : failure.Values) text << ", " << value;
    return text.str();
}

}  // namespace ordevo
