// Photon interactions in a material of given elemental composition for the Monte Carlo:
// attenuation, the choice of process and scattering element, and the sampling of incoherent
// and coherent scattering. Cross sections come from xraylib (mixture rule), tabulated once on a
// fine energy grid; energy absorption for the kerma estimators comes from NIST SRD 126.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "materials.h"
#include "random.h"

namespace ordevo::refdata {

enum class Interaction { Photoelectric, Incoherent, Coherent };

struct ScatteredPhoton {
    double CosTheta = 1;
    double EnergyKeV = 0;
};

// A material: elements by mass fraction (summing to 1), density, and where its mass
// energy-absorption coefficient comes from (none: the material is never scored).
struct MaterialComposition {
    std::string Name;
    std::vector<ElementFraction> Elements;
    double Density = 0;                                   // g/cm³
    std::function<double(double energyKeV)> MuEnOverRho;  // cm²/g; may be empty
};

class MaterialInteractions {
public:
    // Energies the tables cover, keV; a photon below the lower end is absorbed where it is.
    static constexpr double kMinEnergyKeV = 1.0;
    static constexpr double kMaxEnergyKeV = 150.0;

    // Reads xraylib; throws if a cross section is unavailable or the fractions do not sum to 1.
    explicit MaterialInteractions(const MaterialComposition& material);

    const std::string& Name() const { return name_; }
    double Density() const { return density_; }
    double LinearAttenuation(double energyKeV) const;  // μ, 1/cm
    double MuEnOverRho(double energyKeV) const;        // NIST μen/ρ, cm²/g (0 when not given)

    // The process of a collision, from one uniform number in [0, 1).
    Interaction SampleInteraction(double energyKeV, double xi) const;
    // Klein–Nishina corrected by the incoherent scattering function S(q, Z) of the element
    // chosen in proportion to its incoherent cross section. No Doppler broadening.
    ScatteredPhoton SampleIncoherent(double energyKeV, Xoshiro256& rng) const;
    // Thomson corrected by the squared atomic form factor of the element chosen in
    // proportion to its coherent cross section. Returns cos θ; the energy is unchanged.
    double SampleCoherent(double energyKeV, Xoshiro256& rng) const;

    // Mixture mass cross section of one process at a tabulated-grid energy, cm²/g (for tests).
    double MassCrossSection(Interaction process, double energyKeV) const;

private:
    static constexpr double kEnergyStepKeV = 0.01;
    static constexpr double kMomentumStep = 0.002;  // 1/Å

    struct EnergyPoint {
        double Mu = 0;                                   // 1/cm
        double MuEnOverRho = 0;                          // cm²/g
        double PhotoFraction = 0;                        // σ_photo / σ_total
        double PhotoIncoherentFraction = 0;              // (σ_photo + σ_incoherent) / σ_total
        double Photo = 0, Incoherent = 0, Coherent = 0;  // cm²/g
        std::vector<double> IncoherentCumulative;        // element choice
        std::vector<double> CoherentCumulative;
    };

    // Grid point below the energy and the fraction of the way to the next one.
    std::pair<std::size_t, double> Locate(double energyKeV) const;
    std::size_t ChooseElement(const std::vector<double>& cumulative, double xi) const;
    double ScatteringFunction(std::size_t element, double q) const;
    double CoherentCumulativeAt(std::size_t element, double q) const;

    std::string name_;
    double density_ = 0;
    std::vector<ElementFraction> elements_;
    std::vector<EnergyPoint> points_;
    // Per element on the momentum-transfer grid: S(q) and ∫₀^q F²(q') d(q'²).
    std::vector<std::vector<double>> scattering_;
    std::vector<std::vector<double>> coherentCumulative_;
};

}  // namespace ordevo::refdata
