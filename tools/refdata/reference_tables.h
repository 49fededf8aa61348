// The attenuation table and the primary-dose values, built from the NIST coefficients.
#pragma once

#include <array>

namespace ordevo::refdata {

// One record of the attenuation table, photon energy 0.5·j keV.
struct AttenuationRecord {
    double EnergyKeV = 0;
    double TungstenMu = 0;         // linear, 1/cm
    double AluminiumMu = 0;        // linear, 1/cm
    double CopperMu = 0;           // linear, 1/cm
    double AirMuEnOverRho = 0;     // cm²/g
    double TissueMuEnOverRho = 0;  // cm²/g
    double TissueMu = 0;           // linear, 1/cm
};

inline constexpr int kAttenuationRecordCount = 300;
// Record j − 1 holds bin j (0.5·j keV), j = 1..300.
std::array<AttenuationRecord, kAttenuationRecordCount> BuildAttenuationRecords();

struct PrimaryRecord {
    double EnergyKeV = 0;
    double DosePerFluence = 0;  // soft-tissue dose per photon/cm², pGy·cm²
};

inline constexpr int kPrimaryRecordCount = 29;
// 10, 15, …, 150 keV: E·(μen/ρ) of soft tissue.
std::array<PrimaryRecord, kPrimaryRecordCount> BuildPrimaryRecords();

// μen/ρ of soft tissue at any energy, cm²/g (the same interpolation as the tables).
double TissueMuEnOverRho(double energyKeV);

}  // namespace ordevo::refdata
