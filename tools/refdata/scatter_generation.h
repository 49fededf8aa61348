// Runs the slab Monte Carlo for one photon energy in fixed batches shared among threads, and
// turns the tallies into the backscatter and scatter-kernel values with their batch statistics.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "slab_transport.h"
#include "tissue_interactions.h"

namespace ordevo::refdata {

inline constexpr std::uint64_t kDefaultBaseSeed = 20211117;
inline constexpr int kDefaultBatches = 100;
inline constexpr int kCheckDepthRows = 10;  // the depth rows whose uncertainty is reported

struct GenerationSettings {
    std::int64_t HistoriesPerEnergy = 0;
    // Energies up to this one run `LowEnergyFactor` times as many histories: they are cheap
    // (few collisions each) and their deeper kernel rows are faint.
    int LowEnergyLimitKeV = 20;
    int LowEnergyFactor = 4;
    int Threads = 2;
    int Batches =
        kDefaultBatches;  // the partition of the histories; fixes the results with the seed
    std::uint64_t BaseSeed = kDefaultBaseSeed;

    std::int64_t HistoriesAt(int energyKeV) const {
        return energyKeV <= LowEnergyLimitKeV ? HistoriesPerEnergy * LowEnergyFactor
                                              : HistoriesPerEnergy;
    }
};

struct EnergyResult {
    int EnergyKeV = 0;
    std::int64_t Histories = 0;
    std::int64_t Collisions = 0;
    double Seconds = 0;  // wall-clock time of this energy
    // Backscatter of ring r (0.1·r … 0.1·(r+1) cm, index r = 0..299) per unit primary
    // soft-tissue kerma.
    std::array<double, kBackscatterRings> Backscatter{};
    // Scatter dose on the axis in depth bin j per unit fluence over ring n, pGy·cm²,
    // index j·80 + n (both from 0). Empty when kernels were not scored.
    std::vector<double> Kernel;
    // Checks: the 10 × 10 cm field. Backscatter factor minus one from the direct tally at the
    // face, and the field-integrated scatter dose of the first ten depth rows (pGy·cm² per
    // unit fluence), each with its relative standard uncertainty from the batch spread.
    double CheckFieldBackscatter = 0;
    double CheckFieldBackscatterRelativeUncertainty = 0;
    std::array<double, kCheckDepthRows> CheckFieldScatter{};
    std::array<double, kCheckDepthRows> CheckFieldScatterRelativeUncertainty{};
    // (deposited + escaped − incident) / incident.
    double EnergyImbalance = 0;
};

EnergyResult SimulateEnergy(const TissueInteractions& tissue, int energyKeV,
                            KernelScoring kernelScoring, const GenerationSettings& settings);

// Fraction of the area of the annulus r1 … r2 inside the square |x|, |y| ≤ halfWidth.
double AnnulusFractionInSquare(double r1, double r2, double halfWidth);

}  // namespace ordevo::refdata
