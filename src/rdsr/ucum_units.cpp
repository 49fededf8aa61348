#include "ucum_units.h"

#include <iterator>

namespace ordevo::rdsr {
namespace {

struct UnitFactor {
    Quantity quantity;
    std::string_view code;
    double factor;  // program units per unit of `code`
};

// The codes seen in dose reports, with the spellings devices write for the same unit. "u" is
// UCUM's micro; the micro sign and the Greek mu appear in practice too.
constexpr UnitFactor kUnits[] = {
    {Quantity::AirKerma, "Gy", 1000.0},
    {Quantity::AirKerma, "dGy", 100.0},
    {Quantity::AirKerma, "cGy", 10.0},
    {Quantity::AirKerma, "mGy", 1.0},
    {Quantity::AirKerma, "uGy", 1e-3},
    {Quantity::AirKerma, "\u00b5Gy", 1e-3},
    {Quantity::AirKerma, "\u03bcGy", 1e-3},

    {Quantity::KermaAreaProduct, "Gy.m2", 1e4},
    {Quantity::KermaAreaProduct, "Gym2", 1e4},
    {Quantity::KermaAreaProduct, "Gy*m2", 1e4},
    {Quantity::KermaAreaProduct, "Gy.m^2", 1e4},
    {Quantity::KermaAreaProduct, "Gy.cm2", 1.0},
    {Quantity::KermaAreaProduct, "dGy.cm2", 0.1},
    {Quantity::KermaAreaProduct, "cGy.cm2", 0.01},
    {Quantity::KermaAreaProduct, "mGy.cm2", 1e-3},
    {Quantity::KermaAreaProduct, "mGy.m2", 10.0},
    {Quantity::KermaAreaProduct, "uGy.m2", 1e-2},
    {Quantity::KermaAreaProduct, "\u00b5Gy.m2", 1e-2},
    {Quantity::KermaAreaProduct, "\u03bcGy.m2", 1e-2},
    {Quantity::KermaAreaProduct, "uGy.cm2", 1e-6},

    {Quantity::Area, "m2", 1e4},
    {Quantity::Area, "m^2", 1e4},
    {Quantity::Area, "cm2", 1.0},
    {Quantity::Area, "cm^2", 1.0},
    {Quantity::Area, "mm2", 1e-2},

    {Quantity::Length, "m", 1000.0},
    {Quantity::Length, "cm", 10.0},
    {Quantity::Length, "mm", 1.0},

    {Quantity::TubeVoltage, "kV", 1.0},
    {Quantity::TubeVoltage, "V", 1e-3},

    {Quantity::Angle, "deg", 1.0},
    {Quantity::Angle, "{deg}", 1.0},
    {Quantity::Angle, "\u00b0", 1.0},
    {Quantity::Angle, "rad", 57.295779513082323},  // 180/π

    {Quantity::Mass, "kg", 1.0},
    {Quantity::Mass, "g", 1e-3},
};

}  // namespace

const char* ProgramUnitName(Quantity quantity) {
    switch (quantity) {
    case Quantity::AirKerma: return "mGy";
    case Quantity::KermaAreaProduct: return "Gy.cm2";
    case Quantity::Area: return "cm2";
    case Quantity::Length: return "mm";
    case Quantity::TubeVoltage: return "kV";
    case Quantity::Angle: return "deg";
    case Quantity::Mass: return "kg";
    }
    return "";
}

std::optional<double> ConvertToProgramUnit(Quantity quantity, std::string_view ucumCode,
                                           double value) {
    for (const UnitFactor& unit : kUnits) {
        if (unit.quantity == quantity && unit.code == ucumCode) return value * unit.factor;
    }
    return std::nullopt;
}

}  // namespace ordevo::rdsr
