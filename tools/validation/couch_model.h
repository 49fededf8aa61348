// The couch of the simulations: materials and layer stacks. A realistic interventional table
// (a carbon-fibre sandwich panel under a foam mattress) and the chain's own picture of a couch
// (a soft-tissue layer lying on the skin).
#pragma once

#include <string>
#include <vector>

#include "material_interactions.h"

namespace ordevo::validation {

using refdata::ElementFraction;
using refdata::MaterialComposition;
using refdata::MaterialInteractions;

struct FormulaAtom {
    int Z = 0;
    int Count = 0;
};
// Mass fractions of a chemical formula (xraylib atomic weights).
std::vector<ElementFraction> MassFractions(const std::vector<FormulaAtom>& formula);

// Carbon-fibre reinforced epoxy: 60 % fibre by volume (carbon, 1.76 g/cm³) in a bisphenol-A
// diglycidyl ether resin (C21H24O4, 1.20 g/cm³); 1.536 g/cm³.
MaterialComposition CarbonFibreComposite();
// Polymethacrylimide structural foam (C8H11NO2), 0.052 g/cm³: the core of a sandwich panel.
MaterialComposition PolymethacrylimideFoam();
// Flexible polyurethane foam (C27H36N2O10), 0.050 g/cm³: the mattress.
MaterialComposition PolyurethaneFoam();

// One layer of the couch, listed from the skin towards the focus.
struct CouchLayer {
    std::string Name;
    const MaterialInteractions* Material = nullptr;
    double ThicknessCm = 0;
    double HalfWidthCm = 0;   // across the table (x)
    double HalfLengthCm = 0;  // along the table (y)
};

// The materials, built once (each reads xraylib).
struct CouchMaterials {
    MaterialInteractions Composite{CarbonFibreComposite()};
    MaterialInteractions Core{PolymethacrylimideFoam()};
    MaterialInteractions Mattress{PolyurethaneFoam()};
};

// A 50 mm mattress on a panel of two 1.5 mm composite skins around a 25 mm foam core, 50 cm
// wide and 2 m long.
std::vector<CouchLayer> RealisticCouch(const CouchMaterials& materials);

// Air-kerma transmission of the layers for photons of one energy (narrow beam, every
// interaction removes the photon).
double PrimaryTransmission(const std::vector<CouchLayer>& layers, double energyKeV);

}  // namespace ordevo::validation
