// Photon transport for the skin-dose map's check: divergent beams from point foci in any
// direction onto a patient (an elliptic-cylinder trunk, or a tissue slab whose lower face is the
// flat phantom) lying on table-top and mattress boxes, with the soft-tissue kerma scored on
// every skin cell of the map's own patient model.
#pragma once

#include <cstdint>
#include <vector>

#include "beam_geometry.h"
#include "beam_transport.h"
#include "material_interactions.h"
#include "patient_model.h"

namespace ordevo::validation {

// A solid of one material in the patient frame of the map (x left, y feet, z anterior).
struct Solid {
    enum class Kind { Box, EllipticCylinder } Shape = Kind::Box;
    map::Vec3 Low, High;                  // box; for the cylinder Low.y..High.y is its length
    double SemiAxisX = 0, SemiAxisZ = 0;  // cylinder about the y axis through x = z = 0
    const MaterialInteractions* Material = nullptr;
};

// One beam direction of an event and its share of all photons (the shares sum to 1).
struct WeightedBeam {
    map::BeamStep Step;
    double ReferenceDistanceCm = 60;
    double Weight = 1;
};

struct MapScene {
    std::vector<Solid> Solids;  // Solids[0] is the patient, whose skin is scored
    const map::PatientModel* Model = nullptr;
    std::vector<WeightedBeam> Beams;
    const MaterialInteractions* SkinMedium = nullptr;  // μen/ρ of the scored kerma
};

// Per cell: Σ weight·E·(μen/ρ)/max(|cos θ|, 0.01) of the photons crossing it, either way,
// keV·cm²/g.
struct CellTally {
    std::int64_t Histories = 0;
    std::vector<double> Score;
};

// Runs `histories` photons (energies drawn kerma-weighted from `spectrum`) into the scene.
void TransportMapBatch(const MapScene& scene, const SpectrumSampler& spectrum,
                       std::int64_t histories, std::uint64_t seed, CellTally& tally);

// Air kerma at the reference points per emitted photon, in the tally's units: each beam's
// share of photons over its solid angle and d_ref², times the spectrum's mean E·(μen/ρ) of air.
double ReferenceKermaPerPhoton(const MapScene& scene, const SpectrumSampler& spectrum);

}  // namespace ordevo::validation
