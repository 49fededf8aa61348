// NIST photon interaction coefficients (Hubbell & Seltzer, NIST SRD 126) of the materials
// the attenuation and primary-dose tables are built from, and their log-log interpolation.
#pragma once

#include <span>

namespace ordevo::refdata {

struct NistRow {
    double EnergyMeV = 0;
    double MuOverRho = 0;    // mass attenuation coefficient, cm²/g
    double MuEnOverRho = 0;  // mass energy-absorption coefficient, cm²/g
};

// Rows in ascending energy from 1 keV to 200 keV; a repeated energy is an absorption edge
// (below-edge row first).
std::span<const NistRow> NistAirDry();
std::span<const NistRow> NistSoftTissueIcru44();
std::span<const NistRow> NistTungsten();
std::span<const NistRow> NistAluminium();
std::span<const NistRow> NistCopper();

enum class Coefficient { Attenuation, EnergyAbsorption };

// Log-log interpolation between the bracketing rows. An energy at or above an absorption edge
// takes the upper side of the edge; an energy below the first row is extrapolated from the
// first two rows, one above the last row from the last two. Throws std::invalid_argument for
// a non-positive energy or fewer than two rows.
double InterpolateLogLog(std::span<const NistRow> rows, Coefficient coefficient, double energyKeV);

}  // namespace ordevo::refdata
