#include "field_backscatter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calculation_error.h"
#include "checked_arithmetic.h"

namespace ordevo {
namespace {

using P = CalculationProblem;
using Q = CalculatedQuantity;

constexpr double kRingWidthCm = 0.1;  // the table's rings are 1 mm wide
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double RingMidRadius(int r) { return kRingWidthCm * r - 0.05; }

bool Inside(double x, double y, double a, double b) { return std::abs(x) <= a && std::abs(y) <= b; }

}  // namespace

double FastArcCosine(double t) {
    // Abramowitz and Stegun 4.4.46 (Hastings): acos t = √(1 − t) · Σ aᵢ tⁱ on 0 ≤ t ≤ 1, error
    // below 2·10⁻⁸ rad; a third of the library's time in the map's ring sums.
    constexpr double c[] = {1.5707963050, -0.2145988016, 0.0889789874, -0.0501743046,
                            0.0308918810, -0.0170881256, 0.0066700901, -0.0012624911};
    double p = c[7];
    for (int i = 6; i >= 0; --i) p = p * t + c[i];
    return std::sqrt(1.0 - t) * p;
}

RingBackscatter ComputeRingBackscatter(const ReferenceData& ref, const BinArray& s,
                                       double tubeVoltageKv, double d0) {
    const BinArray& muT = ref.Attenuation.TissueEnergyAbsorption;
    const BackscatterGrid& grid = ref.BackscatterEnergyGrid;
    const int lastBin = detail::FloorToInt(2.0 * tubeVoltageKv, Q::SpectrumLastBin);
    if (lastBin > kBinCount)
        throw CalculationError(P::BackscatterBinOutsideTable,
                               {tubeVoltageKv, static_cast<double>(lastBin)});
    // The dose weights of the bins, as the field's backscatter factor takes them.
    BinArray weight{};
    double total = 0.0;
    for (int i = 2; i <= lastBin; ++i) {
        weight[i] = BinEnergyKeV(i) * s[i] * muT[i];
        total += weight[i];
    }
    if (total == 0.0 || !std::isfinite(total))
        throw CalculationError(P::BackscatterWeightTotalUnusable, {total});

    // Each bin's share of the grid energies below and above it (linear in energy).
    std::array<double, kBackscatterEnergyCount + 1> gridWeight{};
    for (int i = 2; i <= lastBin; ++i) {
        if (!(weight[i] > 0.0)) continue;
        const double w = weight[i] / total;
        const double e = BinEnergyKeV(i);
        int c = 2;
        while (c <= kBackscatterEnergyCount && e >= grid[c]) ++c;
        if (e == grid[c - 1]) {
            gridWeight[c - 1] += w;
            continue;
        }
        if (c > kBackscatterEnergyCount)
            throw CalculationError(P::BackscatterBinAboveLastEnergy, {static_cast<double>(i), e});
        const double upper = 1.0 - (grid[c] - e) / (grid[c] - grid[c - 1]);
        gridWeight[c] += w * upper;
        gridWeight[c - 1] += w * (1.0 - upper);
    }
    RingBackscatter out;
    for (int r = 1; r <= kBackscatterRingCount; ++r) {
        const double rho = RingMidRadius(r);
        const double offAxis = d0 * d0 / (d0 * d0 + rho * rho);
        double sum = 0.0;
        for (int k = 1; k <= kBackscatterEnergyCount; ++k)
            if (gridWeight[k] != 0.0) sum += gridWeight[k] * ref.BackscatterTable.at(r)[k];
        out.Ring[r] = offAxis * sum;
        out.Cumulative[r] = out.Cumulative[r - 1] + out.Ring[r];
    }
    return out;
}

double CircleFractionInRectangle(double radius, double x, double y, double a, double b) {
    if (!(radius > 0.0)) return Inside(x, y, a, b) ? 1.0 : 0.0;
    const double nearest = std::min({a - x, a + x, b - y, b + y});
    if (nearest >= radius) return 1.0;
    if (nearest >= 0.0) {
        // A centre inside: the circle leaves the rectangle past an edge at distance d over the
        // arc 2·acos(d/ρ); the arcs past two adjacent edges overlap by acos + acos − π/2 when
        // their corner lies inside the circle, and arcs past opposite edges never meet. No
        // sine, no sorting: this is the map's innermost loop.
        auto half = [radius](double distance) {
            return distance < radius ? FastArcCosine(distance / radius) : 0.0;
        };
        const double right = half(a - x), top = half(b - y), left = half(a + x),
                     bottom = half(b + y);
        double outside = 2.0 * (right + top + left + bottom);
        const double quarter = 0.5 * std::numbers::pi;
        outside -= std::max(0.0, right + top - quarter) + std::max(0.0, top + left - quarter) +
                   std::max(0.0, left + bottom - quarter) + std::max(0.0, bottom + right - quarter);
        return std::clamp(1.0 - outside / kTwoPi, 0.0, 1.0);
    }
    // Angles where the circle crosses an edge line; between two of them it is wholly in or out.
    double angles[10];
    int n = 0;
    // An edge x = c meets the circle where cos θ = c/ρ, an edge y = c where sin θ = c/ρ.
    auto cross = [&](double value, bool isCosine) {
        if (value < -1.0 || value > 1.0) return;
        const double t = isCosine ? std::acos(value) : std::asin(value);
        const double other = isCosine ? -t : std::numbers::pi - t;
        angles[n++] = std::fmod(t + kTwoPi, kTwoPi);
        angles[n++] = std::fmod(other + kTwoPi, kTwoPi);
    };
    cross((a - x) / radius, true);
    cross((-a - x) / radius, true);
    cross((b - y) / radius, false);
    cross((-b - y) / radius, false);
    if (n == 0) return Inside(x + radius, y, a, b) ? 1.0 : 0.0;
    // At most eight angles: an insertion sort (g++ 12 misreads std::sort's bounds on so few).
    for (int i = 1; i < n; ++i)
        for (int j = i; j > 0 && angles[j - 1] > angles[j]; --j)
            std::swap(angles[j - 1], angles[j]);
    angles[n] = angles[0] + kTwoPi;
    double inside = 0.0;
    for (int i = 0; i < n; ++i) {
        const double span = angles[i + 1] - angles[i];
        if (span <= 0.0) continue;
        const double mid = angles[i] + 0.5 * span;
        if (Inside(x + radius * std::cos(mid), y + radius * std::sin(mid), a, b)) inside += span;
    }
    return inside / kTwoPi;
}

double BackscatterAtPoint(const RingBackscatter& rings, double x, double y, double a, double b) {
    constexpr int kGroup = 4;
    const double nearest = std::min({a - x, a + x, b - y, b + y});
    const double farX = std::abs(x) + a, farY = std::abs(y) + b;
    const double farthest = std::sqrt(farX * farX + farY * farY);
    // Rings with RingMidRadius(r) ≤ nearest lie wholly inside.
    const int whole = std::clamp(static_cast<int>(std::floor((nearest + 0.05) / kRingWidthCm)), 0,
                                 kBackscatterRingCount);
    double sum = rings.Cumulative[whole];
    for (int r = whole + 1; r <= kBackscatterRingCount;) {
        const double rho = RingMidRadius(r);
        if (rho >= farthest) break;
        const int last = std::min(r + kGroup - 1, kBackscatterRingCount);
        const double middle = 0.5 * (rho + RingMidRadius(last));
        sum += (rings.Cumulative[last] - rings.Cumulative[r - 1]) *
               CircleFractionInRectangle(middle, x, y, a, b);
        r = last + 1;
    }
    return 1.0 + sum;
}

FieldOutline RectangleOutline(double x, double y, double a, double b) {
    return {{a - x, b - y, a + x, b + y}, {1.0, 0.0, -1.0, 0.0}, {0.0, 1.0, 0.0, -1.0}};
}

namespace {

// What the ring sums need of an outline, once per point: the distances, the angles between
// adjacent normals and the farthest corner.
struct OutlineShape {
    std::array<double, 4> Distance{};
    std::array<double, 4> Turn{};  // between the normals of edge i and edge i + 1
    double Nearest = 0, Farthest = 0;
};

// acos t for −1 ≤ t ≤ 1 from the polynomial.
double ArcCosine(double t) {
    t = std::clamp(t, -1.0, 1.0);
    return t >= 0.0 ? FastArcCosine(t) : std::numbers::pi - FastArcCosine(-t);
}

OutlineShape ShapeOf(const FieldOutline& o, const OutlineTurns& turns) {
    // An edge parallel to the surface's view lies at infinity; its corners too.
    constexpr double kFar = 1e9;
    OutlineShape s;
    s.Distance = o.DistanceCm;
    s.Turn = turns;
    s.Nearest = *std::min_element(s.Distance.begin(), s.Distance.end());
    double farthestSquared = 0.0;
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        // The corner n_i·v = d_i, n_j·v = d_j.
        const double det = o.NormalX[i] * o.NormalY[j] - o.NormalY[i] * o.NormalX[j];
        if (std::abs(det) < 1e-12 || !(s.Distance[i] < kFar) || !(s.Distance[j] < kFar)) {
            farthestSquared = kFar * kFar;
            continue;
        }
        const double vx = (s.Distance[i] * o.NormalY[j] - s.Distance[j] * o.NormalY[i]) / det;
        const double vy = (o.NormalX[i] * s.Distance[j] - o.NormalX[j] * s.Distance[i]) / det;
        farthestSquared = std::max(farthestSquared, vx * vx + vy * vy);
    }
    s.Farthest = std::sqrt(farthestSquared);
    return s;
}

double FractionInside(double radius, const OutlineShape& s) {
    if (!(radius > 0.0)) return 1.0;
    if (s.Nearest >= radius) return 1.0;
    std::array<double, 4> half{};
    for (int i = 0; i < 4; ++i)
        half[i] = s.Distance[i] < radius ? FastArcCosine(s.Distance[i] / radius) : 0.0;
    double outside = 2.0 * (half[0] + half[1] + half[2] + half[3]);
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        // The overlap of the two arcs, at most the smaller arc (one inside the other).
        outside -= std::clamp(half[i] + half[j] - s.Turn[i], 0.0, 2.0 * std::min(half[i], half[j]));
    }
    return std::clamp(1.0 - outside / kTwoPi, 0.0, 1.0);
}

}  // namespace

OutlineTurns TurnsOf(const FieldOutline& o) {
    OutlineTurns turns{};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        const double cosine = o.NormalX[i] * o.NormalX[j] + o.NormalY[i] * o.NormalY[j];
        // Exactly a right angle for a rectangle's edges, so that the rectangle's sums are
        // BackscatterAtPoint's to rounding.
        turns[i] = cosine == 0.0 ? 0.5 * std::numbers::pi : ArcCosine(cosine);
    }
    return turns;
}

double CircleFractionInOutline(double radius, const FieldOutline& outline) {
    return FractionInside(radius, ShapeOf(outline, TurnsOf(outline)));
}

double BackscatterInOutline(const RingBackscatter& rings, const FieldOutline& outline) {
    return BackscatterInOutline(rings, outline, TurnsOf(outline));
}

double BackscatterInOutline(const RingBackscatter& rings, const FieldOutline& outline,
                            const OutlineTurns& turns) {
    constexpr int kGroup = 4;  // as BackscatterAtPoint groups them
    const OutlineShape shape = ShapeOf(outline, turns);
    const int whole =
        std::clamp(static_cast<int>(std::floor((shape.Nearest + 0.05) / kRingWidthCm)), 0,
                   kBackscatterRingCount);
    double sum = rings.Cumulative[whole];
    for (int r = whole + 1; r <= kBackscatterRingCount;) {
        const double rho = RingMidRadius(r);
        if (rho >= shape.Farthest) break;
        const int last = std::min(r + kGroup - 1, kBackscatterRingCount);
        const double middle = 0.5 * (rho + RingMidRadius(last));
        sum += (rings.Cumulative[last] - rings.Cumulative[r - 1]) * FractionInside(middle, shape);
        r = last + 1;
    }
    return 1.0 + sum;
}

}  // namespace ordevo
