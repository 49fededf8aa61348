// The reference tables read once at start: attenuation, backscatter and primary dose.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "energy_grid.h"

namespace ordevo {

// Six columns over the half-keV grid, bin i from record i of the attenuation file.
struct AttenuationTable {
    BinArray Tungsten{};                // linear μ of the anode, 1/cm
    BinArray Aluminium{};               // linear μ, 1/cm
    BinArray Copper{};                  // linear μ, 1/cm
    BinArray AirEnergyAbsorption{};     // μen/ρ of air, cm²/g
    BinArray TissueEnergyAbsorption{};  // μen/ρ of soft tissue, same unit as air
    BinArray TissueAttenuation{};       // linear μ of soft tissue, 1/cm
};

inline constexpr int kBackscatterEnergyCount = 31;
inline constexpr int kBackscatterRingCount = 300;
using BackscatterGrid = std::array<double, kBackscatterEnergyCount + 1>;
// One row of the backscatter table: columns 1..31 for the grid energies, column 0 unused.
using BackscatterRow = std::array<double, kBackscatterEnergyCount + 1>;

inline constexpr int kPrimaryValueCount = 29;  // P(k), k = 2..30, energies 10..150 keV

struct ReferenceData {
    AttenuationTable Attenuation;
    BackscatterGrid BackscatterEnergyGrid{};  // 1, 5, 10, …, 150 keV at 1..31
    // Rows 1..300 (row 0 unused): the backscatter of the 1 mm ring r between radii
    // 0.1·(r−1) and 0.1·r cm, per grid energy.
    std::vector<BackscatterRow> BackscatterTable =
        std::vector<BackscatterRow>(kBackscatterRingCount + 1);
    BinArray PrimaryTable{};  // primary dose per photon, bins 21..300 filled, 1..20 zero
};

// 1 keV at index 1, then 5·(i−1) keV for i = 2..31; index 0 stays 0.
BackscatterGrid MakeBackscatterEnergyGrid();

// Log-linear interpolation of P(k) (k = 2..30 at 5·k keV, given as primary[0..28]) onto
// bins 21..299; bin 300 takes P(30) and bins 1..20 stay 0.
BinArray MakePrimaryTable(std::span<const double, kPrimaryValueCount> primary);

}  // namespace ordevo
