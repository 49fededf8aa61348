#include "depth_dose.h"

#include <cmath>
#include <string>
#include <vector>

#include "calculation_error.h"
#include "checked_arithmetic.h"

namespace ordevo {

namespace {

using P = CalculationProblem;
using Q = CalculatedQuantity;

constexpr double kHalfPi = kPi / 2.0;     // 1.570795
constexpr double kQuarterPi = kPi / 4.0;  // 0.7853975
constexpr double kBinThicknessCm = 0.5;   // depth bins and rings are 0.5 cm wide
// Centres of the first and the last used depth bin, cm.
constexpr double kFirstDepthCm = 0.25;
constexpr double kLastDepthCm = 19.75;

double DepthCentre(int j) { return 0.5 * j - 0.25; }

// Angle, from the axis perpendicular to an edge at distance e, where the circle of radius r meets
// it.
double EdgeAngle(double r, double e) {
    const double root = detail::SquareRoot(r * r - e * e, Q::RingFractionCircleShortOfEdge);
    return std::atan(detail::Divide(root, e, Q::RingFractionZeroHalfWidth));
}

// Part of the quarter disc of radius r beyond an edge at distance e.
double Segment(double r, double e) {
    const double theta = EdgeAngle(r, e);
    return r * r * theta / 2.0 - e * r * std::sin(theta) / 2.0;
}

struct QuarterRing {
    double r1;
    double r2;
    double area;  // (π/4)·(r2² − r1²)

    // Part of the quarter ring between the angle where the inner circle meets the edge and the
    // other axis.
    double Sector(double e) const { return area * (kHalfPi - EdgeAngle(r1, e)) / kHalfPi; }
    // Part of that sector beyond the edge.
    double Cut(double e) const {
        const double theta1 = EdgeAngle(r1, e);
        const double theta2 = EdgeAngle(r2, e);
        const double cosTheta1 = std::cos(theta1);
        return (theta2 - theta1) * r2 * r2 / 2.0 -
               r2 * detail::Divide(e, cosTheta1, Q::RingFractionEdgeParallelToRadius) *
                   std::sin(theta2 - theta1) / 2.0;
    }
    // Part of the ring, between its inner circle and the corner distance d, on the inside of edge
    // e.
    double CornerInside(double e, double cornerAngle, double d) const {
        const double theta1 = EdgeAngle(r1, e);
        const double span = cornerAngle - theta1;
        return span * (d * d - r1 * r1) / 2.0 -
               (span * d * d / 2.0 -
                d * detail::Divide(e, std::cos(theta1), Q::RingFractionEdgeParallelToRadius) *
                    std::sin(span) / 2.0);
    }
};

}  // namespace

double RingFraction(int n, double a, double b) {
    if (n < 1) throw CalculationError(P::RingFractionNoSuchRing, {static_cast<double>(n)});
    const double r1 = kBinThicknessCm * (n - 1);
    const double r2 = kBinThicknessCm * n;
    const QuarterRing q{r1, r2, kQuarterPi * (r2 * r2 - r1 * r1)};
    const double aq = q.area;
    const double d = std::sqrt(a * a + b * b);

    if (r2 <= a && r2 <= b) return 1.0;
    if (r2 <= a && r1 <= b && b < r2) return (aq - Segment(r2, b)) / aq;
    if (r2 <= a && r1 > b) return (q.Sector(b) - q.Cut(b)) / aq;
    if (r1 <= a && a < r2 && r1 <= b && b < r2) return (aq - Segment(r2, b) - Segment(r2, a)) / aq;
    if (b <= r1 && r1 <= a && a < r2) return (q.Sector(b) - q.Cut(b) - Segment(r2, a)) / aq;
    if (r1 > a && r1 > b && r2 <= d) {
        const double outsideB = aq - (q.Sector(b) - q.Cut(b));
        const double outsideA = aq - (q.Sector(a) - q.Cut(a));
        return (aq - outsideB - outsideA) / aq;
    }
    if (r1 < d && d < r2) {
        const double cornerB = std::atan(detail::Divide(a, b, Q::RingFractionZeroHalfWidth));
        const double cornerA = std::atan(detail::Divide(b, a, Q::RingFractionZeroHalfWidth));
        return (q.CornerInside(b, cornerB, d) + q.CornerInside(a, cornerA, d)) / aq;
    }
    return 0.0;
}

namespace {

using DepthColumn = std::array<double, kKernelRows + 1>;  // per depth bin j = 1 … 40
using ScatterTable = std::vector<BinArray>;               // K(j, i): [depth row][energy bin]

struct Field {
    double a;  // half-width (the radius for a circle) at the phantom surface, cm
    double b;
    bool circle;  // a circle's rings count whole
};

// The last bin of the spectrum, ⌊2·kV_hi⌋, or a failure when it lies past the grid.
int LastSpectrumBin(double tubeVoltageHighKv) {
    const int lastBin = detail::FloorToInt(2.0 * tubeVoltageHighKv, Q::SpectrumLastBin);
    if (lastBin > kBinCount)
        throw CalculationError(P::DepthDoseBinOutsideTable,
                               {tubeVoltageHighKv, static_cast<double>(lastBin)});
    return lastBin;
}

void CheckGeometry(double d0, double fieldSizeCm, double t) {
    if (!(d0 > 0.0) || !std::isfinite(d0))
        throw CalculationError(P::DepthDoseSurfaceDistanceNotPositive, {d0});
    detail::RequireFinite(fieldSizeCm, Q::DepthDoseSurfaceFieldSize);
    // The factor is interpolated between depth-bin centres; the first centre is the reference.
    if (!(t >= 0.0 && t <= kLastDepthCm))
        throw CalculationError(P::DepthDoseCouchOutsideTable, {t});
}

// ISQ_j = d0² / (z_j + d0)²: inverse square from the phantom surface to depth bin j.
DepthColumn InverseSquareToDepths(double d0) {
    DepthColumn isq{};
    for (int j = 1; j <= kDepthRowsUsed; ++j) {
        const double z = DepthCentre(j);
        isq[j] = d0 * d0 / ((z + d0) * (z + d0));
    }
    return isq;
}

// P(j): the primary dose on the axis, attenuated and spread by the inverse square.
DepthColumn PrimaryDepthDose(const ReferenceData& ref, const BinArray& s, int lastBin,
                             const DepthColumn& isq) {
    const BinArray& mu = ref.Attenuation.TissueAttenuation;
    DepthColumn primary{};
    for (int i = 21; i <= lastBin; ++i)
        for (int j = 1; j <= kDepthRowsUsed; ++j)
            primary[j] += std::exp(-mu[i] * DepthCentre(j)) * ref.PrimaryTable[i] * s[i] * isq[j];
    return primary;
}

using RingWeights = std::array<std::vector<double>, kKernelRows + 1>;  // [depth row][ring n]

// W(j, n) = ISQ_j × the part of ring n inside the field at depth bin j; the field's half-widths
// grow with the beam's divergence. The geometry is the same for every energy, so it is worked
// out once rather than for each of the 29 kernels.
RingWeights RingWeightsInField(const Field& field, double d0, const DepthColumn& isq) {
    RingWeights weights{};
    for (int j = 1; j <= kDepthRowsUsed; ++j) {
        const double z = DepthCentre(j);
        const double aj = (z + d0) * field.a / d0;
        const double bj = (z + d0) * field.b / d0;
        const double reach = field.circle ? 2.0 * aj : 2.0 * std::sqrt(aj * aj + bj * bj);
        const int rings = 1 + detail::FloorToInt(reach, Q::DepthDoseRings);
        if (rings > kKernelColumns)
            throw CalculationError(P::DepthDoseTooManyRings, {z, static_cast<double>(rings)});
        weights[j].resize(rings + 1);
        for (int n = 1; n <= rings; ++n) {
            // A circle's rings count whole, the last one too, though it is only partly inside.
            weights[j][n] = field.circle ? isq[j] : RingFraction(n, aj, bj) * isq[j];
        }
    }
    return weights;
}

// The kernel of one energy summed over the rings inside the field at depth bin j.
double FieldIntegratedKernel(const ScatterKernel& kernel, int j,
                             const std::vector<double>& weights) {
    double sum = 0.0;
    for (std::size_t n = 1; n < weights.size(); ++n) sum += weights[n] * kernel[j][n];
    return sum;
}

// K(j, i) at the grid energies 10, 15, …, 150 keV (bins 20, 30, …, 300).
ScatterTable ScatterAtGridEnergies(const ScatterKernelLoader& loadKernel, const Field& field,
                                   double d0, const DepthColumn& isq) {
    const RingWeights weights = RingWeightsInField(field, d0, isq);
    ScatterTable scatter(kKernelRows + 1, BinArray{});
    for (int i = 20; i <= kBinCount; i += 10) {
        const ScatterKernel kernel = loadKernel(i / 2);
        for (int j = 1; j <= kDepthRowsUsed; ++j)
            scatter[j][i] = FieldIntegratedKernel(kernel, j, weights[j]);
    }
    return scatter;
}

// K(j, i) between the grid energies: linear in the logarithm over each 5 keV interval; an
// empty grid value counts as 1 (and stays 1 in the table).
void InterpolateBetweenGridEnergies(ScatterTable& scatter, int lastBin) {
    for (int i = 21; i <= lastBin; ++i) {
        if (i % 10 == 0) continue;
        const int iHi = (i / 10 + 1) * 10;
        const int iLo = iHi - 10;
        const double e = BinEnergyKeV(i);
        for (int j = 1; j <= kDepthRowsUsed; ++j) {
            if (scatter[j][iHi] == 0.0) scatter[j][iHi] = 1.0;
            if (scatter[j][iLo] == 0.0) scatter[j][iLo] = 1.0;
            const double lnHi = detail::Logarithm(scatter[j][iHi], Q::DepthDoseGridScatter);
            const double lnLo = detail::Logarithm(scatter[j][iLo], Q::DepthDoseGridScatter);
            scatter[j][i] = std::exp(lnHi - (lnHi - lnLo) * (iHi / 2.0 - e) / 5.0);
        }
    }
}

// S_d(j): the scatter dose, K weighted by the spectrum.
DepthColumn ScatterDepthDose(const ScatterTable& scatter, const BinArray& s, int lastBin) {
    DepthColumn dose{};
    for (int i = 21; i <= lastBin; ++i)
        for (int j = 1; j <= kDepthRowsUsed; ++j) dose[j] += scatter[j][i] * s[i];
    return dose;
}

// T(j, 3): the total dose in percent of the first depth bin's.
DepthColumn TotalPercentDepthDose(const DepthColumn& primary, const DepthColumn& scatterDose) {
    const double d1 = primary[1] + scatterDose[1];
    if (d1 == 0.0 || !std::isfinite(d1))
        throw CalculationError(P::DepthDoseFirstBinDoseUnusable, {d1});
    DepthColumn total{};
    for (int j = 1; j <= kDepthRowsUsed; ++j) total[j] = 100.0 * (scatterDose[j] + primary[j]) / d1;
    return total;
}

// F: the total percent depth dose at depth t, interpolated between the bracketing bin centres.
double FactorAtDepth(const DepthColumn& total, double t) {
    // Up to the first bin centre the first bin is the reference itself.
    if (t <= kFirstDepthCm) return 1.0;
    int j = 1;
    while (DepthCentre(j) < t) {
        ++j;
        if (j > kDepthRowsUsed) throw CalculationError(P::DepthDoseSearchPastTable, {t});
    }
    const double factor =
        (total[j - 1] + 2.0 * (total[j] - total[j - 1]) * (t - DepthCentre(j - 1))) * 0.01;
    detail::RequireFinite(factor, Q::DepthDoseFactor);
    return factor;
}

}  // namespace

double DepthDoseCurve::FactorAt(double depthCm) const {
    if (!(depthCm >= 0.0 && depthCm <= kLastDepthCm))
        throw CalculationError(P::DepthDoseCouchOutsideTable, {depthCm});
    return FactorAtDepth(totalPercent_, depthCm);
}

DepthDoseCurve ComputeDepthDoseCurve(const ReferenceData& ref, const DepthDoseInputs& in,
                                     const ScatterKernelLoader& loadKernel) {
    if (in.spectrum == nullptr) throw CalculationError(P::DepthDoseNoSpectrum);
    const BinArray& s = *in.spectrum;
    const double d0 = in.phantomSurfaceDistanceCm;
    CheckGeometry(d0, in.fieldSizeCm, in.couchThicknessCm);
    const int lastBin = LastSpectrumBin(in.tubeVoltageHighKv);
    const Field field{0.5 * in.fieldSizeCm, 0.5 * in.fieldSizeCm, in.shape == FieldShape::Circle};

    const DepthColumn isq = InverseSquareToDepths(d0);
    const DepthColumn primary = PrimaryDepthDose(ref, s, lastBin, isq);
    ScatterTable scatter = ScatterAtGridEnergies(loadKernel, field, d0, isq);
    InterpolateBetweenGridEnergies(scatter, lastBin);
    return DepthDoseCurve(TotalPercentDepthDose(primary, ScatterDepthDose(scatter, s, lastBin)));
}

double ComputeDepthDoseFactor(const ReferenceData& ref, const DepthDoseInputs& in,
                              const ScatterKernelLoader& loadKernel) {
    return ComputeDepthDoseCurve(ref, in, loadKernel).FactorAt(in.couchThicknessCm);
}

}  // namespace ordevo
