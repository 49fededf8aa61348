// Photon transport from a point focus through a stack of boxes (couch layers, phantom) with
// the skin tally: the soft-tissue kerma of the photons crossing a small disc on the beam axis
// at the skin plane, in either direction.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "material_interactions.h"
#include "random.h"

namespace ordevo::validation {

using refdata::MaterialInteractions;

// An axis-aligned box of one material; vacuum everywhere else. The focus is at the origin and
// the beam runs along +z.
struct Box {
    std::array<double, 3> Low{};   // cm
    std::array<double, 3> High{};  // cm
    const MaterialInteractions* Material = nullptr;
};

enum class BeamShape { Square, Circle };

// How photon energies are drawn. KermaWeighted draws in proportion to fluence × E·(μen/ρ) of
// the skin medium and carries the weight fluence/drawn, so every primary photon crossing the
// skin scores nearly the same: the same expectation, far less variance.
enum class EnergySampling { Analogue, KermaWeighted };

struct BeamSetup {
    // The field at the reference plane z = ReferenceDistanceCm: a square of side FieldSizeCm
    // or a circle of that diameter. Photons leave the focus isotropically into it.
    BeamShape Shape = BeamShape::Square;
    double FieldSizeCm = 10;
    double ReferenceDistanceCm = 60;
    // Photon energy k·0.5 keV is drawn with probability Spectrum[k] (k = 0..300; only the
    // relative sizes matter, entries below 1 keV are ignored).
    std::vector<double> Spectrum;
    std::vector<Box> Boxes;                            // non-overlapping
    double SkinPlaneCm = 60;                           // z of the skin
    double ScoringRadiusCm = 0.5;                      // the disc on the axis in the skin plane
    const MaterialInteractions* SkinMedium = nullptr;  // supplies μen/ρ of the scored kerma
    EnergySampling Sampling = EnergySampling::KermaWeighted;
};

// |cos θ| of a photon crossing the disc is floored here (the grazing-angle treatment of a
// surface-crossing fluence estimator, as in the reference data's backscatter tally).
inline constexpr double kCrossingCosineFloor = 0.01;

struct SkinTally {
    std::int64_t Histories = 0;
    // Σ E·(μen/ρ)(E)/max(|cos θ|, 0.01) over the crossings of the disc, keV·cm²/g; all
    // photons, and those that had not interacted before.
    // Every sum is weighted by the photon's statistical weight (1 for analogue sampling).
    double SkinScore = 0;
    double PrimarySkinScore = 0;
    std::int64_t Crossings = 0;
    // Energy accounting, keV: deposited (photoabsorption, the electron's share at incoherent
    // scattering, photons below the tables' lower end) and escaped to infinity.
    double IncidentKeV = 0;
    double DepositedKeV = 0;
    double EscapedKeV = 0;
};

struct DrawnEnergy {
    double EnergyKeV = 0;
    double Weight = 1;
};

// Draws photon energies from the spectrum of a setup; throws std::invalid_argument when the
// spectrum has nothing to draw.
class SpectrumSampler {
public:
    explicit SpectrumSampler(const BeamSetup& setup);
    DrawnEnergy Draw(double xi) const;
    // Average of f(E) over the spectrum itself (not the drawing distribution).
    template <typename F>
    double Average(F f) const {
        double sum = 0;
        for (std::size_t k = 0; k < energies_.size(); ++k)
            sum += probabilities_[k] * f(energies_[k]);
        return sum;
    }

private:
    std::vector<double> energies_;
    std::vector<double> probabilities_;  // of the spectrum, summing to 1
    std::vector<double> cumulative_;     // of the drawing distribution, 1 at the end
    std::vector<double> weights_;        // spectrum probability / drawing probability
};

// Solid angle of the field seen from the focus, sr.
double FieldSolidAngle(const BeamSetup& setup);

void TransportBeamBatch(const BeamSetup& setup, const SpectrumSampler& spectrum,
                        std::int64_t histories, std::uint64_t seed, SkinTally& tally);

}  // namespace ordevo::validation
