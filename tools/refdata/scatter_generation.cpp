// Batches, threads and batch statistics of the slab Monte Carlo.
#include "scatter_generation.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "batch_runner.h"
#include "materials.h"
#include "random.h"
#include "reference_tables.h"

namespace ordevo::refdata {

namespace {

// Area of the disc of radius r inside the square |x|, |y| ≤ h.
double DiscAreaInSquare(double r, double h) {
    if (r <= h) return std::numbers::pi * r * r;
    if (r >= h * std::numbers::sqrt2) return 4.0 * h * h;
    // The disc less the four segments beyond the edges.
    const double segment = r * r * std::acos(h / r) - h * std::sqrt(r * r - h * h);
    return std::numbers::pi * r * r - 4.0 * segment;
}

double Relative(double uncertainty, double mean) {
    return mean != 0 ? uncertainty / std::abs(mean) : 0.0;
}

}  // namespace

double AnnulusFractionInSquare(double r1, double r2, double halfWidth) {
    return (DiscAreaInSquare(r2, halfWidth) - DiscAreaInSquare(r1, halfWidth)) /
           (std::numbers::pi * (r2 * r2 - r1 * r1));
}

EnergyResult SimulateEnergy(const TissueInteractions& tissue, int energyKeV,
                            KernelScoring kernelScoring, const GenerationSettings& settings) {
    const std::int64_t total = settings.HistoriesAt(energyKeV);
    if (total < 1) throw std::invalid_argument("at least one history per energy");
    const auto start = std::chrono::steady_clock::now();
    const int batches =
        static_cast<int>(std::min<std::int64_t>(std::max(1, settings.Batches), total));
    std::vector<BatchTally> tallies(static_cast<std::size_t>(batches));

    RunBatchesInParallel(batches, std::max(1, settings.Threads), [&](int b) {
        const std::int64_t first = total * b / batches;
        const std::int64_t last = total * (b + 1) / batches;
        TransportBatch(tissue, energyKeV, last - first, BatchSeed(settings.BaseSeed, energyKeV, b),
                       kernelScoring, tallies[static_cast<std::size_t>(b)]);
    });

    // Sums in batch order, so the result does not depend on which thread ran what.
    EnergyResult result;
    result.EnergyKeV = energyKeV;
    const double primaryKerma = energyKeV * TissueMuEnOverRho(energyKeV);  // keV·cm²/g per photon
    const double kernelScale = kPicograyCm2PerKeVCm2PerG / (kSoftTissueDensity * kKernelBinCm);
    std::array<double, kKernelRings> ringFraction{};
    for (int n = 0; n < kKernelRings; ++n)
        ringFraction[static_cast<std::size_t>(n)] = AnnulusFractionInSquare(
            n * kKernelBinCm, (n + 1) * kKernelBinCm, kCheckFieldHalfWidthCm);

    double checkBackscatter = 0;
    std::vector<double> batchBackscatter;
    std::array<std::vector<double>, kCheckDepthRows> batchScatter;
    double incident = 0;
    double balance = 0;
    std::vector<double> kernelSum(static_cast<std::size_t>(kDepthBins * kKernelRings), 0.0);
    for (const BatchTally& tally : tallies) {
        const auto n = static_cast<double>(tally.Histories);
        result.Histories += tally.Histories;
        result.Collisions += tally.Collisions;
        for (std::size_t r = 0; r < result.Backscatter.size(); ++r)
            result.Backscatter[r] += tally.Backscatter[r];
        for (std::size_t i = 0; i < kernelSum.size(); ++i) kernelSum[i] += tally.Kernel[i];
        incident += tally.IncidentKeV;
        balance += tally.DepositedKeV + tally.EscapedKeV - tally.IncidentKeV;
        checkBackscatter += tally.BackscatterInCheckField;
        batchBackscatter.push_back(tally.BackscatterInCheckField / (n * primaryKerma));
        for (int j = 0; j < kCheckDepthRows; ++j) {
            double field = 0;
            for (int ring = 0; ring < kKernelRings; ++ring)
                field += ringFraction[static_cast<std::size_t>(ring)] *
                         tally.Kernel[static_cast<std::size_t>(j * kKernelRings + ring)];
            batchScatter[static_cast<std::size_t>(j)].push_back(field * kernelScale / n);
        }
    }
    const auto histories = static_cast<double>(result.Histories);
    for (double& value : result.Backscatter) value /= histories * primaryKerma;
    result.EnergyImbalance = balance / incident;
    // Values from the totals; their uncertainties from the spread of the batch values.
    result.CheckFieldBackscatter = checkBackscatter / (histories * primaryKerma);
    {
        const auto [mean, u] = MeanAndUncertainty(batchBackscatter);
        result.CheckFieldBackscatterRelativeUncertainty = Relative(u, mean);
    }
    for (std::size_t j = 0; j < batchScatter.size(); ++j) {
        double field = 0;
        for (int ring = 0; ring < kKernelRings; ++ring)
            field += ringFraction[static_cast<std::size_t>(ring)] *
                     kernelSum[j * kKernelRings + static_cast<std::size_t>(ring)];
        result.CheckFieldScatter[j] = field * kernelScale / histories;
        const auto [mean, u] = MeanAndUncertainty(batchScatter[j]);
        result.CheckFieldScatterRelativeUncertainty[j] = Relative(u, mean);
    }
    if (kernelScoring == KernelScoring::On) {
        result.Kernel = std::move(kernelSum);
        for (double& value : result.Kernel) value *= kernelScale / histories;
    }
    result.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

}  // namespace ordevo::refdata
