// Photon transport in a soft-tissue slab irradiated by a normally incident pencil beam, with
// the two tallies the reference data need: the kerma that scattered photons deposit in annular
// voxels (the scatter kernels) and the kerma-weighted fluence of the photons that leave
// through the front face (the backscatter table).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tissue_interactions.h"

namespace ordevo::refdata {

// Geometry: a cylinder of tissue, front face z = 0, beam along +z at the centre.
inline constexpr double kSlabRadiusCm = 50.0;
inline constexpr double kSlabThicknessCm = 40.0;

// Scatter tally: 80 depth bins × 80 rings, both 0.5 cm.
inline constexpr int kDepthBins = 80;
inline constexpr int kKernelRings = 80;
inline constexpr double kKernelBinCm = 0.5;

// Backscatter tally: 300 rings of 0.1 cm on the front face.
inline constexpr int kBackscatterRings = 300;
inline constexpr double kBackscatterRingCm = 0.1;
// |cos θ| of a photon crossing the face is floored here, the usual grazing-angle treatment of
// a surface-crossing fluence estimator.
inline constexpr double kGrazingCosineFloor = 0.01;

// Half-width of the square field whose backscatter is also tallied directly, cm (10 × 10 cm).
inline constexpr double kCheckFieldHalfWidthCm = 5.0;

enum class KernelScoring { Off, On };

struct BatchTally {
    std::int64_t Histories = 0;
    std::int64_t Collisions = 0;
    // Kerma (keV) deposited by scattered photons in voxel (depth j, ring n), index j·80 + n,
    // from the track length times μen of tissue.
    std::vector<double> Kernel = std::vector<double>(kDepthBins * kKernelRings, 0.0);
    // Σ E·(μen/ρ)(E)/max(|cos θ|, 0.01) over photons leaving through the front face, per ring,
    // keV·cm²/g.
    std::array<double, kBackscatterRings> Backscatter{};
    double BackscatterInCheckField = 0;  // the same sum over exits inside the 10 × 10 cm square
    // Energy accounting, keV (analogue: local deposition at photoabsorption, the electron's
    // share at incoherent scattering, the rest below the energy cut-off).
    double IncidentKeV = 0;
    double DepositedKeV = 0;
    double EscapedKeV = 0;
};

// Transports `histories` photons of the given energy with a generator seeded by `seed`,
// adding to `tally`.
void TransportBatch(const TissueInteractions& tissue, double energyKeV, std::int64_t histories,
                    std::uint64_t seed, KernelScoring kernelScoring, BatchTally& tally);

// Adds weight·(length inside) to every voxel the segment p + t·d, 0 ≤ t ≤ length, crosses.
// Exposed for tests. `scratch` is reused between calls to avoid allocations.
void ScoreTrack(const std::array<double, 3>& p, const std::array<double, 3>& d, double length,
                double weightPerCm, std::vector<double>& kernel, std::vector<double>& scratch);

}  // namespace ordevo::refdata
