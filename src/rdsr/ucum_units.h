// Units of a dose report's numeric values: each value carries its UCUM code, and the program
// converts it into its own unit for the quantity, never assuming one.
#pragma once

#include <optional>
#include <string_view>

namespace ordevo::rdsr {

// The quantities read from a report, each with the unit the program works in.
enum class Quantity : int {
    AirKerma,          // mGy
    KermaAreaProduct,  // Gy·cm²
    Area,              // cm²
    Length,            // mm
    TubeVoltage,       // kV
    Angle,             // degrees
    Mass,              // kg
};

// The program's unit of a quantity, as named in notes, in UCUM spelling ("mGy", "Gy.cm2" …).
const char* ProgramUnitName(Quantity quantity);

// `value` given in the unit `ucumCode` converted into the program's unit of `quantity`, or
// nullopt when the code is not one the program knows for that quantity (the value is refused).
// Codes are compared exactly: UCUM is case-sensitive ("mGy" is not "MGy").
std::optional<double> ConvertToProgramUnit(Quantity quantity, std::string_view ucumCode,
                                           double value);

}  // namespace ordevo::rdsr
