// Analogue photon histories from the focus through the boxes, and the skin-disc tally.
#include "beam_transport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

#include "photon_direction.h"

namespace ordevo::validation {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A box the photon has just left is not re-entered at distance 0; one ahead in contact is.
constexpr double kTouchCm = 1e-9;

struct Photon {
    std::array<double, 3> Position{};
    std::array<double, 3> Direction{0.0, 0.0, 1.0};
    double EnergyKeV = 0;
};

// Entry and exit distances of the ray in the box (slab method), and the axis of each.
struct Span {
    double Enter = -kInfinity;
    double Exit = kInfinity;
    int EnterAxis = -1;
    int ExitAxis = -1;
};

Span Intersect(const Box& box, const Photon& photon) {
    Span span;
    for (int a = 0; a < 3; ++a) {
        const double p = photon.Position[a];
        const double d = photon.Direction[a];
        if (d == 0.0) {
            if (p < box.Low[a] || p > box.High[a]) return Span{kInfinity, -kInfinity, -1, -1};
            continue;
        }
        double t0 = (box.Low[a] - p) / d;
        double t1 = (box.High[a] - p) / d;
        if (t0 > t1) std::swap(t0, t1);
        if (t0 > span.Enter) {
            span.Enter = t0;
            span.EnterAxis = a;
        }
        if (t1 < span.Exit) {
            span.Exit = t1;
            span.ExitAxis = a;
        }
    }
    return span;
}

// Moves the photon by `distance`; the coordinate of `faceAxis` (when ≥ 0) is put exactly on
// the face it reaches, so that boxes in contact and the skin plane meet without a gap.
void Move(Photon& photon, double distance, const Box* box = nullptr, int faceAxis = -1) {
    for (int a = 0; a < 3; ++a) photon.Position[a] += distance * photon.Direction[a];
    if (box != nullptr && faceAxis >= 0) {
        const double d = photon.Direction[faceAxis];
        // Entering: the face the direction points into; leaving: the face it points out of.
        photon.Position[faceAxis] = d > 0 ? box->High[faceAxis] : box->Low[faceAxis];
    }
}

void SnapOnEntry(Photon& photon, const Box& box, int axis) {
    if (axis < 0) return;
    photon.Position[axis] = photon.Direction[axis] > 0 ? box.Low[axis] : box.High[axis];
}

}  // namespace

SpectrumSampler::SpectrumSampler(const BeamSetup& setup) {
    const bool weighted = setup.Sampling == EnergySampling::KermaWeighted;
    if (weighted && setup.SkinMedium == nullptr)
        throw std::invalid_argument("kerma-weighted drawing needs the skin medium");
    std::vector<double> drawing;
    for (std::size_t k = 0; k < setup.Spectrum.size(); ++k) {
        const double e = 0.5 * static_cast<double>(k);
        if (e < MaterialInteractions::kMinEnergyKeV || e > MaterialInteractions::kMaxEnergyKeV)
            continue;
        if (!(setup.Spectrum[k] > 0)) continue;
        energies_.push_back(e);
        probabilities_.push_back(setup.Spectrum[k]);
        drawing.push_back(setup.Spectrum[k] *
                          (weighted ? e * setup.SkinMedium->MuEnOverRho(e) : 1.0));
    }
    double spectrumSum = 0;
    double drawingSum = 0;
    for (std::size_t k = 0; k < energies_.size(); ++k) {
        spectrumSum += probabilities_[k];
        drawingSum += drawing[k];
    }
    if (!(spectrumSum > 0) || !(drawingSum > 0) || !std::isfinite(drawingSum))
        throw std::invalid_argument("the spectrum has no photons to draw");
    double running = 0;
    for (std::size_t k = 0; k < energies_.size(); ++k) {
        probabilities_[k] /= spectrumSum;
        drawing[k] /= drawingSum;
        running += drawing[k];
        cumulative_.push_back(running);
        weights_.push_back(probabilities_[k] / drawing[k]);
    }
    cumulative_.back() = 1.0;
}

DrawnEnergy SpectrumSampler::Draw(double xi) const {
    const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), xi);
    const auto k = std::min<std::size_t>(static_cast<std::size_t>(it - cumulative_.begin()),
                                         energies_.size() - 1);
    return {energies_[k], weights_[k]};
}

double FieldSolidAngle(const BeamSetup& setup) {
    const double d = setup.ReferenceDistanceCm;
    const double h = 0.5 * setup.FieldSizeCm;
    if (setup.Shape == BeamShape::Circle)
        return 2.0 * std::numbers::pi * (1.0 - d / std::hypot(d, h));
    // Rectangle of half-sides a, b on the axis at distance d: 4·atan(a·b / (d·√(a² + b² + d²))).
    return 4.0 * std::atan(h * h / (d * std::sqrt(2.0 * h * h + d * d)));
}

void TransportBeamBatch(const BeamSetup& setup, const SpectrumSampler& spectrum,
                        std::int64_t histories, std::uint64_t seed, SkinTally& tally) {
    refdata::Xoshiro256 rng(seed);
    const double dRef = setup.ReferenceDistanceCm;
    const double half = 0.5 * setup.FieldSizeCm;
    const double zSkin = setup.SkinPlaneCm;
    const double discRadiusSq = setup.ScoringRadiusCm * setup.ScoringRadiusCm;
    const int boxCount = static_cast<int>(setup.Boxes.size());

    // Scores a straight flight from z0 to the photon's present position if it crossed the
    // skin plane inside the disc. A flight that ends on the plane counts, one that starts on
    // it does not, so a photon stopped on the plane (a face) is counted once.
    double weight = 1;  // of the present history
    auto scoreCrossing = [&](const std::array<double, 3>& from, const Photon& photon,
                             bool primary) {
        const double z0 = from[2];
        const double z1 = photon.Position[2];
        if (!((z0 < zSkin && z1 >= zSkin) || (z0 > zSkin && z1 <= zSkin))) return;
        const double f = (zSkin - z0) / (z1 - z0);
        const double x = from[0] + f * (photon.Position[0] - from[0]);
        const double y = from[1] + f * (photon.Position[1] - from[1]);
        if (x * x + y * y > discRadiusSq) return;
        const double e = photon.EnergyKeV;
        const double cosine = std::max(std::abs(photon.Direction[2]), kCrossingCosineFloor);
        const double score = weight * e * setup.SkinMedium->MuEnOverRho(e) / cosine;
        tally.SkinScore += score;
        if (primary) tally.PrimarySkinScore += score;
        ++tally.Crossings;
    };

    for (std::int64_t h = 0; h < histories; ++h) {
        Photon photon;
        const DrawnEnergy drawn = spectrum.Draw(rng.Uniform());
        photon.EnergyKeV = drawn.EnergyKeV;
        weight = drawn.Weight;
        tally.IncidentKeV += weight * photon.EnergyKeV;
        // Isotropic emission into the field: a point uniform over the field at the reference
        // plane, kept with probability cos³θ (photons per area fall as cos θ / r²).
        for (;;) {
            double x;
            double y;
            if (setup.Shape == BeamShape::Circle) {
                const double r = half * std::sqrt(rng.Uniform());
                const double phi = 2.0 * std::numbers::pi * rng.Uniform();
                x = r * std::cos(phi);
                y = r * std::sin(phi);
            } else {
                x = half * (2.0 * rng.Uniform() - 1.0);
                y = half * (2.0 * rng.Uniform() - 1.0);
            }
            const double cosSq = dRef * dRef / (dRef * dRef + x * x + y * y);
            if (rng.Uniform() > cosSq * std::sqrt(cosSq)) continue;
            const double norm = std::sqrt(x * x + y * y + dRef * dRef);
            photon.Direction = {x / norm, y / norm, dRef / norm};
            break;
        }

        bool primary = true;
        int current = -1;  // index of the box the photon is in, −1 in vacuum
        for (;;) {
            const std::array<double, 3> from = photon.Position;
            if (current < 0) {
                // In vacuum: fly to the nearest box ahead, or escape.
                double nearest = kInfinity;
                int next = -1;
                int axis = -1;
                for (int b = 0; b < boxCount; ++b) {
                    const Span span = Intersect(setup.Boxes[b], photon);
                    if (span.Exit <= kTouchCm || span.Enter >= span.Exit) continue;
                    const double enter = std::max(0.0, span.Enter);
                    if (enter < nearest) {
                        nearest = enter;
                        next = b;
                        axis = span.Enter > 0 ? span.EnterAxis : -1;
                    }
                }
                if (next < 0) {
                    // The skin disc lies on a face, so a photon escaping from here misses it.
                    tally.EscapedKeV += weight * photon.EnergyKeV;
                    break;
                }
                Move(photon, nearest);
                SnapOnEntry(photon, setup.Boxes[next], axis);
                scoreCrossing(from, photon, primary);
                current = next;
                continue;
            }

            const Box& box = setup.Boxes[current];
            const double e = photon.EnergyKeV;
            const double path =
                -std::log(rng.UniformOpenAtZero()) / box.Material->LinearAttenuation(e);
            const Span span = Intersect(box, photon);
            const double toExit = std::max(0.0, span.Exit);
            if (path >= toExit) {
                Move(photon, toExit, &box, span.ExitAxis);
                scoreCrossing(from, photon, primary);
                current = -1;
                continue;
            }
            Move(photon, path);
            scoreCrossing(from, photon, primary);

            primary = false;
            const refdata::Interaction interaction =
                box.Material->SampleInteraction(e, rng.Uniform());
            if (interaction == refdata::Interaction::Photoelectric) {
                tally.DepositedKeV += weight * e;
                break;
            }
            if (interaction == refdata::Interaction::Incoherent) {
                const refdata::ScatteredPhoton out = box.Material->SampleIncoherent(e, rng);
                tally.DepositedKeV += weight * (e - out.EnergyKeV);
                photon.EnergyKeV = out.EnergyKeV;
                refdata::Rotate(photon.Direction, out.CosTheta, rng);
            } else {
                refdata::Rotate(photon.Direction, box.Material->SampleCoherent(e, rng), rng);
            }
            if (photon.EnergyKeV < MaterialInteractions::kMinEnergyKeV) {
                // Below the tables: absorbed on the spot (its range is a few micrometres).
                tally.DepositedKeV += weight * photon.EnergyKeV;
                break;
            }
        }
        ++tally.Histories;
    }
}

}  // namespace ordevo::validation
