// Coefficient tables of added-filter materials (".ele" files) from xraylib.
#pragma once

#include <string>
#include <vector>

namespace ordevo::refdata {

struct MaterialSpec {
    std::string Name;         // the file name without ".ele", shown as the material
    std::string Description;  // line 1 (UTF-8)
    int Z = 0;                // atomic number, 0 for a compound
    std::string Compound;     // xraylib compound name when Z is 0
    double Density = 0;       // g/cm³
};

struct MaterialCoefficients {
    double EnergyMeV = 0;
    double Coherent = 0;       // cm²/g
    double Incoherent = 0;     // cm²/g
    double Photoelectric = 0;  // cm²/g
};

// Mo, Rh, Ag, Sn, Gd, Er, Ta, W, Pb, Ti, Fe, Nb and PMMA, densities from xraylib.
std::vector<MaterialSpec> StandardMaterials();

// Photoelectric absorption edges of the material between 1 keV and 800 keV, keV, located
// where xraylib's CS_Photo jumps.
std::vector<double> FindAbsorptionEdgesKeV(const MaterialSpec& material);

// Rows from 1 keV to 10 MeV: a fixed grid dense enough for log-log interpolation below
// 150 keV, each absorption edge twice (below-edge coefficients first); at most 100 rows.
std::vector<MaterialCoefficients> BuildMaterialCoefficients(const MaterialSpec& material);

// The file's lines: description, density, atomic number, then per row E (MeV), coherent,
// incoherent, photoelectric, total with coherent, total without coherent.
std::vector<std::string> MaterialFileLines(const MaterialSpec& material,
                                           const std::vector<MaterialCoefficients>& rows);

}  // namespace ordevo::refdata
