// Photon histories from the map's beams through the patient and the table, and the skin-cell
// tally on the patient's surface.
#include "map_transport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "photon_direction.h"
#include "validation_cases.h"

namespace ordevo::validation {
namespace {

using map::Vec3;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A solid the photon has just left is not re-entered at distance 0; one ahead in contact is.
constexpr double kTouchCm = 1e-9;
// How far from the cylinder's curved surface (in (x/a)² + (z/b)² − 1) a crossing still counts
// as on it; the end caps are not skin.
constexpr double kOnSurface = 1e-6;
constexpr int kPerimeterSteps = 3600;  // as fine as the patient model's own arc table

struct Span {
    double Enter = -kInfinity, Exit = kInfinity;
    int EnterAxis = -1, ExitAxis = -1;  // box faces only: the axis of the face
    bool Empty() const { return !(Enter < Exit); }
};

double Component(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
double& Component(Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

// Clips the span to low ≤ p + t·d ≤ high along one axis.
void ClipAxis(Span& span, double p, double d, double low, double high, int axis) {
    if (d == 0.0) {
        if (p < low || p > high) span = {kInfinity, -kInfinity};
        return;
    }
    double t0 = (low - p) / d, t1 = (high - p) / d;
    if (t0 > t1) std::swap(t0, t1);
    if (t0 > span.Enter) {
        span.Enter = t0;
        span.EnterAxis = axis;
    }
    if (t1 < span.Exit) {
        span.Exit = t1;
        span.ExitAxis = axis;
    }
}

Span Intersect(const Solid& solid, const Vec3& p, const Vec3& d) {
    Span span;
    if (solid.Shape == Solid::Kind::Box) {
        for (int a = 0; a < 3; ++a)
            ClipAxis(span, Component(p, a), Component(d, a), Component(solid.Low, a),
                     Component(solid.High, a), a);
        return span;
    }
    const double a2 = solid.SemiAxisX * solid.SemiAxisX, b2 = solid.SemiAxisZ * solid.SemiAxisZ;
    const double qa = d.x * d.x / a2 + d.z * d.z / b2;
    const double qb = 2.0 * (p.x * d.x / a2 + p.z * d.z / b2);
    const double qc = p.x * p.x / a2 + p.z * p.z / b2 - 1.0;
    if (qa == 0.0) {
        if (qc > 0.0) return {kInfinity, -kInfinity};
    } else {
        const double disc = qb * qb - 4.0 * qa * qc;
        if (disc < 0.0) return {kInfinity, -kInfinity};
        const double root = std::sqrt(disc);
        span.Enter = (-qb - root) / (2.0 * qa);
        span.Exit = (-qb + root) / (2.0 * qa);
    }
    ClipAxis(span, p.y, d.y, solid.Low.y, solid.High.y, 1);
    return span;
}

// Which skin cell of the model a point on the patient's surface lies in (−1: not on the skin).
class CellLocator {
public:
    explicit CellLocator(const map::PatientModel& m, const Solid& patient)
        : model_(m), patient_(patient) {
        if (m.Kind != map::PhantomKind::Torso) return;
        const double a = m.Shape.HalfWidthCm, b = m.Shape.HalfThicknessCm;
        arc_.assign(kPerimeterSteps + 1, 0.0);
        const double dPhi = 2.0 * std::numbers::pi / kPerimeterSteps;
        for (int i = 1; i <= kPerimeterSteps; ++i) {
            const double phi = (i - 0.5) * dPhi;
            arc_[i] = arc_[i - 1] + std::hypot(a * std::cos(phi), b * std::sin(phi)) * dPhi;
        }
        width_ = arc_[kPerimeterSteps] / m.Columns;
    }

    // The cell and |cos| between the direction and the surface's normal.
    int Locate(const Vec3& p, const Vec3& d, double& cosine) const {
        const map::PatientModel& m = model_;
        const int row = static_cast<int>(std::floor(p.y / m.CellCm));
        if (row < 0 || row >= m.Rows) return -1;
        if (m.Kind == map::PhantomKind::Plane) {
            if (std::abs(p.z - patient_.Low.z) > 1e-7) return -1;
            const int column = m.MiddleColumn + static_cast<int>(std::lround(p.x / m.CellCm));
            if (column < 0 || column >= m.Columns) return -1;
            cosine = std::abs(d.z);
            return row * m.Columns + column;
        }
        const double a = m.Shape.HalfWidthCm, b = m.Shape.HalfThicknessCm;
        if (std::abs(p.x * p.x / (a * a) + p.z * p.z / (b * b) - 1.0) > kOnSurface) return -1;
        double phi = std::atan2(p.x / a, -p.z / b);
        if (phi < 0.0) phi += 2.0 * std::numbers::pi;
        const double dPhi = 2.0 * std::numbers::pi / kPerimeterSteps;
        const int i = std::min(kPerimeterSteps - 1, static_cast<int>(phi / dPhi));
        const double s = arc_[i] + (phi / dPhi - i) * (arc_[i + 1] - arc_[i]);
        const long k = std::lround(s / width_) % m.Columns;
        const int column = static_cast<int>((m.MiddleColumn + k) % m.Columns);
        const double nx = p.x / (a * a), nz = p.z / (b * b);
        cosine = std::abs(d.x * nx + d.z * nz) / std::hypot(nx, nz);
        return row * m.Columns + column;
    }

private:
    const map::PatientModel& model_;
    const Solid& patient_;
    std::vector<double> arc_;
    double width_ = 1;
};

double RectangleSolidAngle(double halfWidth, double halfHeight, double distance) {
    return 4.0 * std::atan(halfWidth * halfHeight /
                           (distance * std::sqrt(halfWidth * halfWidth + halfHeight * halfHeight +
                                                 distance * distance)));
}

}  // namespace

double ReferenceKermaPerPhoton(const MapScene& scene, const SpectrumSampler& spectrum) {
    const double airKerma = spectrum.Average([](double e) { return e * AirMuEnOverRho(e); });
    double perPhoton = 0;
    for (const WeightedBeam& beam : scene.Beams) {
        const double d = beam.ReferenceDistanceCm;
        const double omega = RectangleSolidAngle(beam.Step.HalfWidthAtReferenceCm,
                                                 beam.Step.HalfHeightAtReferenceCm, d);
        perPhoton += beam.Weight * airKerma / (omega * d * d);
    }
    return perPhoton;
}

void TransportMapBatch(const MapScene& scene, const SpectrumSampler& spectrum,
                       std::int64_t histories, std::uint64_t seed, CellTally& tally) {
    refdata::Xoshiro256 rng(seed);
    const std::vector<Solid>& solids = scene.Solids;
    const int solidCount = static_cast<int>(solids.size());
    const CellLocator locator(*scene.Model, solids.front());
    tally.Score.resize(scene.Model->Cells.size(), 0.0);
    std::vector<double> cumulative;
    double running = 0;
    for (const WeightedBeam& beam : scene.Beams) cumulative.push_back(running += beam.Weight);

    Vec3 position, direction;
    double energy = 0, weight = 1;
    auto score = [&] {
        double cosine = 0;
        const int cell = locator.Locate(position, direction, cosine);
        if (cell < 0) return;
        tally.Score[static_cast<std::size_t>(cell)] += weight * energy *
                                                       scene.SkinMedium->MuEnOverRho(energy) /
                                                       std::max(cosine, kCrossingCosineFloor);
    };
    // Puts the photon exactly on the box face it reached, so boxes in contact meet without a gap.
    auto snap = [&](const Solid& solid, int axis, bool leaving) {
        if (solid.Shape != Solid::Kind::Box || axis < 0) return;
        const bool up = Component(direction, axis) > 0;
        Component(position, axis) = Component(up == leaving ? solid.High : solid.Low, axis);
    };

    for (std::int64_t h = 0; h < histories; ++h) {
        const DrawnEnergy drawn = spectrum.Draw(rng.Uniform());
        energy = drawn.EnergyKeV;
        weight = drawn.Weight;
        const double pick = rng.Uniform() * running;
        const auto chosen = std::min<std::size_t>(
            static_cast<std::size_t>(std::upper_bound(cumulative.begin(), cumulative.end(), pick) -
                                     cumulative.begin()),
            scene.Beams.size() - 1);
        const WeightedBeam& beam = scene.Beams[chosen];
        const map::BeamStep& step = beam.Step;
        const double dRef = beam.ReferenceDistanceCm;
        // Isotropic emission into the field: a point uniform over the field at the reference
        // distance, kept with probability cos³θ.
        for (;;) {
            const double u = step.HalfWidthAtReferenceCm * (2.0 * rng.Uniform() - 1.0);
            const double v = step.HalfHeightAtReferenceCm * (2.0 * rng.Uniform() - 1.0);
            const double cosSq = dRef * dRef / (dRef * dRef + u * u + v * v);
            if (rng.Uniform() > cosSq * std::sqrt(cosSq)) continue;
            const Vec3 aim = step.Axis * dRef + step.U * u + step.V * v;
            direction = aim * (1.0 / aim.Length());
            break;
        }
        position = step.Focus;

        int current = -1;  // the solid the photon is in, −1 in vacuum
        for (;;) {
            if (current < 0) {
                double nearest = kInfinity;
                int next = -1, axis = -1;
                for (int s = 0; s < solidCount; ++s) {
                    const Span span = Intersect(solids[s], position, direction);
                    if (span.Empty() || span.Exit <= kTouchCm) continue;
                    const double enter = std::max(0.0, span.Enter);
                    if (enter < nearest) {
                        nearest = enter;
                        next = s;
                        axis = span.Enter > 0 ? span.EnterAxis : -1;
                    }
                }
                if (next < 0) break;  // escaped
                position = position + direction * nearest;
                snap(solids[next], axis, false);
                if (next == 0) score();
                current = next;
                continue;
            }
            const Solid& solid = solids[current];
            const double path =
                -std::log(rng.UniformOpenAtZero()) / solid.Material->LinearAttenuation(energy);
            const Span span = Intersect(solid, position, direction);
            const double toExit = std::max(0.0, span.Exit);
            if (path >= toExit) {
                position = position + direction * toExit;
                snap(solid, span.ExitAxis, true);
                if (current == 0) score();
                current = -1;
                continue;
            }
            position = position + direction * path;
            const refdata::Interaction interaction =
                solid.Material->SampleInteraction(energy, rng.Uniform());
            if (interaction == refdata::Interaction::Photoelectric) break;
            std::array<double, 3> turned{direction.x, direction.y, direction.z};
            if (interaction == refdata::Interaction::Incoherent) {
                const refdata::ScatteredPhoton out = solid.Material->SampleIncoherent(energy, rng);
                energy = out.EnergyKeV;
                refdata::Rotate(turned, out.CosTheta, rng);
            } else {
                refdata::Rotate(turned, solid.Material->SampleCoherent(energy, rng), rng);
            }
            direction = {turned[0], turned[1], turned[2]};
            if (energy < MaterialInteractions::kMinEnergyKeV) break;  // absorbed on the spot
        }
        ++tally.Histories;
    }
}

}  // namespace ordevo::validation
