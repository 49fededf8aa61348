// Every unit a report may state converts into the program's unit; anything else is refused.
#include <gtest/gtest.h>

#include "ucum_units.h"

namespace ordevo::rdsr {
namespace {

struct Conversion {
    Quantity quantity;
    const char* code;
    double value;
    double expected;  // in the program's unit
};

// Every code the program knows, each factor by hand: 1 dGy = 100 mGy, 1 cGy = 10 mGy,
// 1 µGy = 10⁻³ mGy; 1 Gy·m² = 10⁴ Gy·cm², 1 mGy·m² = 10⁻³ Gy · 10⁴ cm² = 10 Gy·cm²,
// 1 µGy·m² = 10⁻² Gy·cm², 1 µGy·cm² = 10⁻⁶ Gy·cm²; 1 m² = 10⁴ cm², 1 mm² = 10⁻² cm²;
// 1 V = 10⁻³ kV; π/6 rad = 30°; 1 g = 10⁻³ kg. Each value is chosen so that the result is the
// same round number for every spelling of a quantity, and a factor off by ten is seen.
TEST(UcumUnits, ConvertsEveryKnownSpelling) {
    const Conversion table[] = {
        {Quantity::AirKerma, "Gy", 0.0125, 12.5},
        {Quantity::AirKerma, "dGy", 0.125, 12.5},
        {Quantity::AirKerma, "cGy", 1.25, 12.5},
        {Quantity::AirKerma, "mGy", 12.5, 12.5},
        {Quantity::AirKerma, "uGy", 12500, 12.5},
        {Quantity::AirKerma, "\u00b5Gy", 12500, 12.5},  // micro sign
        {Quantity::AirKerma, "\u03bcGy", 12500, 12.5},  // Greek mu
        {Quantity::KermaAreaProduct, "Gy.m2", 0.000125, 1.25},
        {Quantity::KermaAreaProduct, "Gym2", 0.000125, 1.25},
        {Quantity::KermaAreaProduct, "Gy*m2", 0.000125, 1.25},
        {Quantity::KermaAreaProduct, "Gy.m^2", 0.000125, 1.25},
        {Quantity::KermaAreaProduct, "Gy.cm2", 1.25, 1.25},
        {Quantity::KermaAreaProduct, "dGy.cm2", 12.5, 1.25},
        {Quantity::KermaAreaProduct, "cGy.cm2", 125, 1.25},
        {Quantity::KermaAreaProduct, "mGy.cm2", 1250, 1.25},
        {Quantity::KermaAreaProduct, "mGy.m2", 0.125, 1.25},
        {Quantity::KermaAreaProduct, "uGy.m2", 125, 1.25},
        {Quantity::KermaAreaProduct, "\u00b5Gy.m2", 125, 1.25},
        {Quantity::KermaAreaProduct, "\u03bcGy.m2", 125, 1.25},
        {Quantity::KermaAreaProduct, "uGy.cm2", 1250000, 1.25},
        {Quantity::Area, "m2", 0.01, 100},
        {Quantity::Area, "m^2", 0.01, 100},
        {Quantity::Area, "cm2", 100, 100},
        {Quantity::Area, "cm^2", 100, 100},
        {Quantity::Area, "mm2", 10000, 100},
        {Quantity::Length, "mm", 750, 750},
        {Quantity::Length, "cm", 75, 750},
        {Quantity::Length, "m", 0.75, 750},
        {Quantity::TubeVoltage, "kV", 80, 80},
        {Quantity::TubeVoltage, "V", 80000, 80},
        {Quantity::Angle, "deg", 30, 30},
        {Quantity::Angle, "{deg}", 30, 30},
        {Quantity::Angle, "\u00b0", 30, 30},
        {Quantity::Angle, "rad", 3.14159265358979323846 / 6, 30},
        {Quantity::Mass, "kg", 70, 70},
        {Quantity::Mass, "g", 70000, 70},
    };
    for (const Conversion& c : table) {
        const auto converted = ConvertToProgramUnit(c.quantity, c.code, c.value);
        ASSERT_TRUE(converted) << c.code;
        EXPECT_NEAR(*converted, c.expected, 1e-12 * c.expected) << c.code;  // one rounding
    }
}

// UCUM is case-sensitive and a unit of another quantity is no conversion.
TEST(UcumUnits, RefusesUnknownOrMismatchedUnits) {
    const std::pair<Quantity, const char*> refused[] = {
        {Quantity::AirKerma, "MGy"},   {Quantity::AirKerma, "Gy/s"},       {Quantity::AirKerma, ""},
        {Quantity::AirKerma, "Gy.m2"}, {Quantity::KermaAreaProduct, "Gy"}, {Quantity::Length, "m2"},
        {Quantity::Area, "mm"},        {Quantity::TubeVoltage, "kVp"},
    };
    for (const auto& [quantity, code] : refused)
        EXPECT_FALSE(ConvertToProgramUnit(quantity, code, 1.0)) << code;
}

}  // namespace
}  // namespace ordevo::rdsr
