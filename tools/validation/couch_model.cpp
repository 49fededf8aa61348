// Couch materials from their chemical formulas and densities, and the realistic couch.
#include "couch_model.h"

#include <cmath>

#include "xraylib_access.h"

namespace ordevo::validation {

namespace {

constexpr double kCarbonFibreDensity = 1.76;   // g/cm³, standard-modulus PAN fibre
constexpr double kEpoxyDensity = 1.20;         // g/cm³, cured DGEBA resin
constexpr double kFibreVolumeFraction = 0.60;  // typical of laminated panels

// Mixture by mass of two element lists.
std::vector<ElementFraction> Mix(const std::vector<ElementFraction>& a, double massFractionA,
                                 const std::vector<ElementFraction>& b) {
    std::vector<ElementFraction> mixed;
    auto add = [&mixed](int Z, double w) {
        for (ElementFraction& e : mixed) {
            if (e.Z == Z) {
                e.MassFraction += w;
                return;
            }
        }
        mixed.push_back({Z, w});
    };
    for (const ElementFraction& e : a) add(e.Z, massFractionA * e.MassFraction);
    for (const ElementFraction& e : b) add(e.Z, (1.0 - massFractionA) * e.MassFraction);
    return mixed;
}

}  // namespace

std::vector<ElementFraction> MassFractions(const std::vector<FormulaAtom>& formula) {
    double total = 0;
    for (const FormulaAtom& atom : formula) total += atom.Count * refdata::AtomicWeight(atom.Z);
    std::vector<ElementFraction> fractions;
    for (const FormulaAtom& atom : formula)
        fractions.push_back({atom.Z, atom.Count * refdata::AtomicWeight(atom.Z) / total});
    return fractions;
}

MaterialComposition CarbonFibreComposite() {
    const double fibreMass = kFibreVolumeFraction * kCarbonFibreDensity;
    const double resinMass = (1.0 - kFibreVolumeFraction) * kEpoxyDensity;
    const double density = fibreMass + resinMass;
    return MaterialComposition{
        .Name = "carbon-fibre composite",
        .Elements = Mix({{6, 1.0}}, fibreMass / density, MassFractions({{6, 21}, {1, 24}, {8, 4}})),
        .Density = density,
        .MuEnOverRho = {},
    };
}

MaterialComposition PolymethacrylimideFoam() {
    return MaterialComposition{.Name = "polymethacrylimide foam",
                               .Elements = MassFractions({{6, 8}, {1, 11}, {7, 1}, {8, 2}}),
                               .Density = 0.052,
                               .MuEnOverRho = {}};
}

MaterialComposition PolyurethaneFoam() {
    return MaterialComposition{.Name = "polyurethane foam",
                               .Elements = MassFractions({{6, 27}, {1, 36}, {7, 2}, {8, 10}}),
                               .Density = 0.050,
                               .MuEnOverRho = {}};
}

std::vector<CouchLayer> RealisticCouch(const CouchMaterials& m) {
    return {
        {"mattress", &m.Mattress, 5.0, 25.0, 100.0},
        {"panel, upper skin", &m.Composite, 0.15, 25.0, 100.0},
        {"panel, core", &m.Core, 2.5, 25.0, 100.0},
        {"panel, lower skin", &m.Composite, 0.15, 25.0, 100.0},
    };
}

double PrimaryTransmission(const std::vector<CouchLayer>& layers, double energyKeV) {
    double exponent = 0;
    for (const CouchLayer& layer : layers)
        exponent += layer.Material->LinearAttenuation(energyKeV) * layer.ThicknessCm;
    return std::exp(-exponent);
}

}  // namespace ordevo::validation
