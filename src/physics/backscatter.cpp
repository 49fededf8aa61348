#include "backscatter.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calculation_error.h"
#include "checked_arithmetic.h"

namespace ordevo {

namespace {

using P = CalculationProblem;
using Q = CalculatedQuantity;

// π/2 as the program stores it (π = 3.14159).
constexpr double kHalfPi = kPi / 2.0;
// Square fields enter the table as 1..40 cm sides; circles are limited to a 40 cm radius.
constexpr double kMinSquareSideCm = 1.0;
constexpr double kMaxSquareSideCm = 40.0;
constexpr double kMaxCircleRadiusCm = 40.0;
// Rings of the backscatter table are 1 mm wide.
constexpr double kRingWidthCm = 0.1;

double RingMidRadius(int r) { return kRingWidthCm * r - 0.05; }

// d0² / (d0² + ρ²): squared distance focus–field centre over focus–ring.
double OffAxisWeight(double d0, int r) {
    const double rho = RingMidRadius(r);
    return d0 * d0 / (d0 * d0 + rho * rho);
}

double Table(const ReferenceData& ref, int ring, int k) {
    if (ring < 1 || ring > kBackscatterRingCount ||
        static_cast<std::size_t>(ring) >= ref.BackscatterTable.size())
        throw CalculationError(P::BackscatterRingOutsideTable, {static_cast<double>(ring)});
    return ref.BackscatterTable[ring][k];
}

// 1 + Σ over the rings inside a square or rectangle of half-widths a ≥ b.
double SquareFieldFactor(const ReferenceData& ref, int k, double d0, double a, double b) {
    const int nb = detail::FloorToInt(10.0 * b, Q::BackscatterRingsToHalfWidth);
    const int na = detail::FloorToInt(10.0 * a, Q::BackscatterRingsToHalfLength);
    const int nd =
        detail::FloorToInt(10.0 * std::sqrt(a * a + b * b), Q::BackscatterRingsToHalfDiagonal);
    double sum = 0.0;
    for (int r = 1; r <= nb; ++r) sum += OffAxisWeight(d0, r) * Table(ref, r, k);
    // Rings crossing the two long edges: the part inside the strip |y| ≤ b.
    for (int r = nb + 1; r <= na; ++r) {
        const double rho = RingMidRadius(r);
        if (rho * rho - b * b >= 0.0) {
            const double phi1 =
                (kHalfPi - std::atan(detail::Divide(std::sqrt(rho * rho - b * b), b,
                                                    Q::BackscatterRingSplitByHalfWidth))) /
                kHalfPi;
            sum += OffAxisWeight(d0, r) * phi1 * Table(ref, r, k);
        }
    }
    // Rings crossing all four edges: the part inside the rectangle.
    for (int r = na + 1; r <= nd; ++r) {
        const double rho = RingMidRadius(r);
        if (rho * rho - b * b >= 0.0 && rho * rho - a * a >= 0.0) {
            const double beyondB = std::atan(detail::Divide(std::sqrt(rho * rho - b * b), b,
                                                            Q::BackscatterRingSplitByHalfWidth));
            const double beyondA = std::atan(detail::Divide(std::sqrt(rho * rho - a * a), a,
                                                            Q::BackscatterRingSplitByHalfLength));
            const double phi2 = ((kHalfPi - beyondB) - beyondA) / kHalfPi;
            sum += OffAxisWeight(d0, r) * phi2 * Table(ref, r, k);
        }
    }
    return 1.0 + sum;
}

// 1 + Σ over the whole rings up to the radius.
double CircleFieldFactor(const ReferenceData& ref, int k, double d0, int rings) {
    double sum = 0.0;
    for (int r = 1; r <= rings; ++r) sum += OffAxisWeight(d0, r) * Table(ref, r, k);
    return 1.0 + sum;
}

}  // namespace

double ComputeBackscatterFactor(const ReferenceData& ref, const BackscatterInputs& in) {
    if (in.spectrum == nullptr) throw CalculationError(P::BackscatterNoSpectrum);
    const BinArray& s = *in.spectrum;
    const BinArray& muT = ref.Attenuation.TissueEnergyAbsorption;
    const BackscatterGrid& grid = ref.BackscatterEnergyGrid;
    const double kv = in.tubeVoltageKv;
    const double d0 = in.phantomSurfaceDistanceCm;
    detail::RequireFinite(d0, Q::BackscatterPhantomSurfaceDistance);
    detail::RequireFinite(in.fieldSizeCm, Q::BackscatterSurfaceFieldSize);

    // Dose weights of the spectrum's bins 2..2·kV.
    const int lastBin = detail::FloorToInt(2.0 * kv, Q::SpectrumLastBin);
    if (lastBin > kBinCount)
        throw CalculationError(P::BackscatterBinOutsideTable, {kv, static_cast<double>(lastBin)});
    BinArray weight{};
    double total = 0.0;
    for (int i = 2; i <= lastBin; ++i) {
        weight[i] = BinEnergyKeV(i) * s[i] * muT[i];
        total += weight[i];
    }
    if (total == 0.0 || !std::isfinite(total))
        throw CalculationError(P::BackscatterWeightTotalUnusable, {total});
    for (int i = 2; i <= lastBin; ++i) weight[i] /= total;

    // Highest grid energy used: the first E(m) ≥ kV.
    int m = 2;
    while (true) {
        if (m > kBackscatterEnergyCount)
            throw CalculationError(P::BackscatterEnergyOutsideTable, {kv, static_cast<double>(m)});
        if (!(kv > grid[m])) break;
        ++m;
    }

    BackscatterGrid bsf{};
    if (in.shape == FieldShape::Square) {
        // Both dimensions equal the field size; the rectangle form keeps a ≥ b.
        const double w = in.fieldSizeCm;
        const double l = in.fieldSizeCm;
        const double a = std::clamp(std::max(w, l), kMinSquareSideCm, kMaxSquareSideCm) / 2.0;
        const double b = std::clamp(std::min(w, l), kMinSquareSideCm, kMaxSquareSideCm) / 2.0;
        for (int k = 1; k <= m; ++k) bsf[k] = SquareFieldFactor(ref, k, d0, a, b);
    } else {
        // The field's own radius at the phantom surface. (It was once projected as d0·w/SID,
        // which equals w/2 only when the receptor lies at twice d0: 0.6·w at d0 = 60 cm,
        // SID = 100 cm, and the circles read up to 4 % high against the Monte Carlo.)
        double radius = in.fieldSizeCm / 2.0;
        if (radius > kMaxCircleRadiusCm) radius = kMaxCircleRadiusCm;
        const int rings = detail::FloorToInt(10.0 * radius, Q::BackscatterCircleRings);
        if (rings > kBackscatterRingCount)
            throw CalculationError(P::BackscatterCircleOutsideTable,
                                   {radius, static_cast<double>(rings)});
        for (int k = 1; k <= m; ++k) bsf[k] = CircleFieldFactor(ref, k, d0, rings);
    }

    // Average over the spectrum, interpolating linearly in energy between grid energies.
    double b = 0.0;
    for (int i = 2; i <= lastBin; ++i) {
        if (!(weight[i] > 0.0)) continue;
        const double e = BinEnergyKeV(i);
        int c = 2;
        while (c <= kBackscatterEnergyCount && e >= grid[c]) ++c;
        double factor = 0.0;
        if (e == grid[c - 1]) {
            // On a grid energy the upper neighbour has weight 0; it need not exist (150 keV).
            factor = bsf[c - 1];
        } else if (c > kBackscatterEnergyCount) {
            throw CalculationError(P::BackscatterBinAboveLastEnergy, {static_cast<double>(i), e});
        } else {
            factor = bsf[c] - (bsf[c] - bsf[c - 1]) * (grid[c] - e) / (grid[c] - grid[c - 1]);
        }
        b += weight[i] * factor;
    }
    return b;
}

}  // namespace ordevo
