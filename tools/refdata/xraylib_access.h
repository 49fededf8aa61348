// The few xraylib quantities the generator uses, as functions that throw instead of
// returning 0 with an error record.
#pragma once

#include <string>

namespace ordevo::refdata {

enum class Process { Coherent, Incoherent, Photoelectric };

// Mass cross section of an element, cm²/g (xraylib CS_Rayl, CS_Compt, CS_Photo).
double ElementCrossSection(Process process, int Z, double energyKeV);
// Mass cross section of a compound given by formula or NIST compound name, cm²/g
// (xraylib CS_Rayl_CP, CS_Compt_CP, CS_Photo_CP: the mixture rule).
double CompoundCrossSection(Process process, const std::string& compound, double energyKeV);
// Atomic form factor F(q, Z) and incoherent scattering function S(q, Z); q = sin(θ/2)/λ in 1/Å.
double FormFactor(int Z, double q);
double IncoherentScatteringFunction(int Z, double q);
// Klein–Nishina cross section per electron, barn.
double KleinNishinaPerElectronBarn(double energyKeV);
double AtomicWeight(int Z);                               // g/mol
double ElementDensity(int Z);                             // g/cm³
double CompoundDensityNist(const std::string& nistName);  // g/cm³

// hc in keV·Å, as xraylib uses it for the momentum transfer.
inline constexpr double kKeVAngstrom = 12.39841930;
// Highest energy for which this xraylib provides all three cross sections, keV.
inline constexpr double kXraylibMaxEnergyKeV = 800.0;

std::string XraylibVersion();

}  // namespace ordevo::refdata
