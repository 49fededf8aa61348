// Analogue photon histories in the tissue slab and their kerma and backscatter tallies.
#include "slab_transport.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "photon_direction.h"

namespace ordevo::refdata {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kKernelRadiusCm = kKernelRings * kKernelBinCm;

struct Photon {
    std::array<double, 3> Position{};
    std::array<double, 3> Direction{0.0, 0.0, 1.0};
    double EnergyKeV = 0;
};

// Distance along the direction to the slab's surface, and whether it is the front face.
std::pair<double, bool> DistanceToSurface(const Photon& photon) {
    const auto& [x, y, z] = photon.Position;
    const auto& [u, v, w] = photon.Direction;
    double toPlane = kInfinity;
    if (w > 0) toPlane = (kSlabThicknessCm - z) / w;
    if (w < 0) toPlane = -z / w;
    double toCylinder = kInfinity;
    const double a = u * u + v * v;
    if (a > 0) {
        const double b = x * u + y * v;
        const double c = x * x + y * y - kSlabRadiusCm * kSlabRadiusCm;
        toCylinder = (-b + std::sqrt(std::max(0.0, b * b - a * c))) / a;
    }
    if (toPlane <= toCylinder) return {std::max(0.0, toPlane), w < 0};
    return {std::max(0.0, toCylinder), false};
}

void Move(Photon& photon, double distance) {
    for (int i = 0; i < 3; ++i) photon.Position[i] += distance * photon.Direction[i];
}

}  // namespace

void ScoreTrack(const std::array<double, 3>& p, const std::array<double, 3>& d, double length,
                double weightPerCm, std::vector<double>& kernel, std::vector<double>& scratch) {
    if (!(length > 0)) return;
    const double a = d[0] * d[0] + d[1] * d[1];
    const double b = p[0] * d[0] + p[1] * d[1];
    const double c = p[0] * p[0] + p[1] * p[1];
    // Closest approach to the axis within the segment; nothing to score beyond the last ring.
    const double tClosest = a > 0 ? std::clamp(-b / a, 0.0, length) : 0.0;
    const double rMinSq = std::max(0.0, c + tClosest * (2.0 * b + a * tClosest));
    if (rMinSq >= kKernelRadiusCm * kKernelRadiusCm) return;

    std::vector<double>& t = scratch;
    t.clear();
    t.push_back(0.0);
    t.push_back(length);
    // Depth planes strictly inside the segment.
    if (d[2] != 0) {
        const double z0 = p[2];
        const double z1 = p[2] + length * d[2];
        const int kFirst =
            std::max(1, static_cast<int>(std::floor(std::min(z0, z1) / kKernelBinCm)) + 1);
        const int kLast = std::min(
            kDepthBins - 1, static_cast<int>(std::ceil(std::max(z0, z1) / kKernelBinCm)) - 1);
        for (int k = kFirst; k <= kLast; ++k) t.push_back((k * kKernelBinCm - z0) / d[2]);
    }
    // Ring cylinders: r² = c + 2bt + at² falls until tClosest and rises after it.
    if (a > 0) {
        const double rMin = std::sqrt(rMinSq);
        auto crossings = [&](double rFrom, double rTo, double sign) {
            const double lo = std::min(rFrom, rTo);
            const double hi = std::max(rFrom, rTo);
            const int mFirst = static_cast<int>(std::floor(lo / kKernelBinCm)) + 1;
            const int mLast =
                std::min(kKernelRings, static_cast<int>(std::ceil(hi / kKernelBinCm)) - 1);
            for (int m = mFirst; m <= mLast; ++m) {
                const double R = m * kKernelBinCm;
                const double disc = std::max(0.0, b * b - a * (c - R * R));
                t.push_back((-b + sign * std::sqrt(disc)) / a);
            }
        };
        const double r0 = std::sqrt(c);
        const double rEnd = std::sqrt(std::max(0.0, c + length * (2.0 * b + a * length)));
        crossings(rMin, r0, -1.0);    // falling part, the smaller root
        crossings(rMin, rEnd, +1.0);  // rising part, the larger root
    }
    std::sort(t.begin(), t.end());
    for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        const double t0 = std::max(0.0, t[i]);
        const double t1 = std::min(length, t[i + 1]);
        if (!(t1 > t0)) continue;
        const double tm = 0.5 * (t0 + t1);
        const double x = p[0] + tm * d[0];
        const double y = p[1] + tm * d[1];
        const double z = p[2] + tm * d[2];
        const int j = static_cast<int>(z / kKernelBinCm);
        const int n = static_cast<int>(std::sqrt(x * x + y * y) / kKernelBinCm);
        if (j < 0 || j >= kDepthBins || n >= kKernelRings) continue;
        kernel[static_cast<std::size_t>(j * kKernelRings + n)] += (t1 - t0) * weightPerCm;
    }
}

void TransportBatch(const TissueInteractions& tissue, double energyKeV, std::int64_t histories,
                    std::uint64_t seed, KernelScoring kernelScoring, BatchTally& tally) {
    Xoshiro256 rng(seed);
    std::vector<double> scratch;
    scratch.reserve(512);
    const bool scoreKernel = kernelScoring == KernelScoring::On;

    for (std::int64_t h = 0; h < histories; ++h) {
        Photon photon;
        photon.EnergyKeV = energyKeV;
        bool scattered = false;
        tally.IncidentKeV += energyKeV;
        for (;;) {
            const double e = photon.EnergyKeV;
            const double mu = tissue.LinearAttenuation(e);
            const double path = -std::log(rng.UniformOpenAtZero()) / mu;
            const auto [toSurface, frontFace] = DistanceToSurface(photon);
            const bool escapes = path >= toSurface;
            const double flight = escapes ? toSurface : path;
            if (scattered && scoreKernel) {
                // Kerma per cm of track: E·μen (linear), keV/cm.
                const double kermaPerCm = e * tissue.MuEnOverRho(e) * kSoftTissueDensity;
                ScoreTrack(photon.Position, photon.Direction, flight, kermaPerCm, tally.Kernel,
                           scratch);
            }
            Move(photon, flight);
            if (escapes) {
                tally.EscapedKeV += e;
                if (frontFace) {
                    const double x = photon.Position[0];
                    const double y = photon.Position[1];
                    const double cosine =
                        std::max(std::abs(photon.Direction[2]), kGrazingCosineFloor);
                    const double score = e * tissue.MuEnOverRho(e) / cosine;
                    const auto ring =
                        static_cast<std::size_t>(std::sqrt(x * x + y * y) / kBackscatterRingCm);
                    if (ring < tally.Backscatter.size()) tally.Backscatter[ring] += score;
                    if (std::abs(x) <= kCheckFieldHalfWidthCm &&
                        std::abs(y) <= kCheckFieldHalfWidthCm)
                        tally.BackscatterInCheckField += score;
                }
                break;
            }
            ++tally.Collisions;
            const Interaction interaction = tissue.SampleInteraction(e, rng.Uniform());
            if (interaction == Interaction::Photoelectric) {
                tally.DepositedKeV += e;
                break;
            }
            if (interaction == Interaction::Incoherent) {
                const ScatteredPhoton out = tissue.SampleIncoherent(e, rng);
                tally.DepositedKeV += e - out.EnergyKeV;
                photon.EnergyKeV = out.EnergyKeV;
                Rotate(photon.Direction, out.CosTheta, rng);
            } else {
                Rotate(photon.Direction, tissue.SampleCoherent(e, rng), rng);
            }
            scattered = true;
            if (photon.EnergyKeV < TissueInteractions::kMinEnergyKeV) {
                // Below the tables: absorbed on the spot (its range is a few micrometres).
                tally.DepositedKeV += photon.EnergyKeV;
                if (scoreKernel) {
                    const auto& [x, y, z] = photon.Position;
                    const int j = static_cast<int>(z / kKernelBinCm);
                    const int n = static_cast<int>(std::sqrt(x * x + y * y) / kKernelBinCm);
                    if (j >= 0 && j < kDepthBins && n < kKernelRings)
                        tally.Kernel[static_cast<std::size_t>(j * kKernelRings + n)] +=
                            photon.EnergyKeV;
                }
                break;
            }
        }
        ++tally.Histories;
    }
}

}  // namespace ordevo::refdata
