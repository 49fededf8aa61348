// The other filter's linear attenuation on the half-keV grid, from a material's coefficient rows.
#pragma once

#include <span>

#include "energy_grid.h"

namespace ordevo {

struct MaterialRow {
    double EnergyMeV = 0;
    double TotalCm2PerG = 0;  // coherent + incoherent + photoelectric
};

// Log-log interpolation at 1, 2, …, 150 keV into the even bins, odd bins the mean of their
// neighbours, bin 1 = bin 2. Rows ascend in energy; a repeated energy is an absorption edge
// and an energy at the edge takes the upper side. Throws CalculationError when the rows do
// not bracket 1..150 keV or hold a non-positive value.
BinArray BuildOtherFilterAttenuation(double densityGPerCm3, std::span<const MaterialRow> rows);

}  // namespace ordevo
