// Compositions and densities of the materials the reference data describe.
#pragma once

#include <array>

namespace ordevo::refdata {

struct ElementFraction {
    int Z = 0;
    double MassFraction = 0;
};

// ICRU Report 44 soft tissue: H 10.2, C 14.3, N 3.4, O 70.8, Na 0.2, P 0.3, S 0.3, Cl 0.2,
// K 0.3 mass %, 1.06 g/cm³ (the composition of NIST SRD 126 "Tissue, Soft (ICRU-44)").
inline constexpr std::array<ElementFraction, 9> kSoftTissueElements{{
    {1, 0.102},
    {6, 0.143},
    {7, 0.034},
    {8, 0.708},
    {11, 0.002},
    {15, 0.003},
    {16, 0.003},
    {17, 0.002},
    {19, 0.003},
}};
inline constexpr double kSoftTissueDensity = 1.06;  // g/cm³

// Densities of the tube's materials, g/cm³.
inline constexpr double kTungstenDensity = 19.3;
inline constexpr double kAluminiumDensity = 2.699;
inline constexpr double kCopperDensity = 8.96;

// 1 keV·cm²/g of energy fluence times mass energy-absorption coefficient, in pGy·cm².
inline constexpr double kPicograyCm2PerKeVCm2PerG = 0.1602176634;

}  // namespace ordevo::refdata
