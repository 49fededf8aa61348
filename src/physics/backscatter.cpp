#include "backscatter.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calculation_error.h"
#include "checked_arithmetic.h"

namespace ordevo {

namespace {

using detail::Describe;

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
        throw CalculationError("後方散乱の表: リング " + std::to_string(ring) +
                               " は表（300 リング）の外です");
    return ref.BackscatterTable[ring][k];
}

// 1 + Σ over the rings inside a square or rectangle of half-widths a ≥ b.
double SquareFieldFactor(const ReferenceData& ref, int k, double d0, double a, double b) {
    const int nb = detail::FloorToInt(10.0 * b, "後方散乱: 照射野の半幅までのリング数");
    const int na = detail::FloorToInt(10.0 * a, "後方散乱: 照射野の半長までのリング数");
    const int nd = detail::FloorToInt(10.0 * std::sqrt(a * a + b * b),
                                      "後方散乱: 照射野の半対角線までのリング数");
    double sum = 0.0;
    for (int r = 1; r <= nb; ++r) sum += OffAxisWeight(d0, r) * Table(ref, r, k);
    // Rings crossing the two long edges: the part inside the strip |y| ≤ b.
    for (int r = nb + 1; r <= na; ++r) {
        const double rho = RingMidRadius(r);
        if (rho * rho - b * b >= 0.0) {
            const double phi1 =
                (kHalfPi - std::atan(detail::Divide(std::sqrt(rho * rho - b * b), b,
                                                    "後方散乱: 半幅で分かれるリング"))) /
                kHalfPi;
            sum += OffAxisWeight(d0, r) * phi1 * Table(ref, r, k);
        }
    }
    // Rings crossing all four edges: the part inside the rectangle.
    for (int r = na + 1; r <= nd; ++r) {
        const double rho = RingMidRadius(r);
        if (rho * rho - b * b >= 0.0 && rho * rho - a * a >= 0.0) {
            const double beyondB = std::atan(
                detail::Divide(std::sqrt(rho * rho - b * b), b, "後方散乱: 半幅で分かれるリング"));
            const double beyondA = std::atan(
                detail::Divide(std::sqrt(rho * rho - a * a), a, "後方散乱: 半長で分かれるリング"));
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
    if (in.spectrum == nullptr) throw CalculationError("後方散乱: スペクトルがありません");
    const BinArray& s = *in.spectrum;
    const BinArray& muT = ref.Attenuation.TissueEnergyAbsorption;
    const BackscatterGrid& grid = ref.BackscatterEnergyGrid;
    const double kv = in.tubeVoltageKv;
    const double d0 = in.phantomSurfaceDistanceCm;
    detail::RequireFinite(d0, "後方散乱: ファントム表面までの距離");
    detail::RequireFinite(in.fieldSizeCm, "後方散乱: ファントム表面の照射野サイズ");

    // Dose weights of the spectrum's bins 2..2·kV.
    const int lastBin = detail::FloorToInt(2.0 * kv, "スペクトルの最後のエネルギー区間");
    if (lastBin > kBinCount)
        throw CalculationError("後方散乱: 管電圧 " + Describe(kv) + " kV の区間 " +
                               std::to_string(lastBin) + " はエネルギーの表（300 区間）の外です");
    BinArray weight{};
    double total = 0.0;
    for (int i = 2; i <= lastBin; ++i) {
        weight[i] = BinEnergyKeV(i) * s[i] * muT[i];
        total += weight[i];
    }
    if (total == 0.0 || !std::isfinite(total))
        throw CalculationError("後方散乱: スペクトルの線量の重みの合計が " + Describe(total) +
                               " です");
    for (int i = 2; i <= lastBin; ++i) weight[i] /= total;

    // Highest grid energy used: the first E(m) ≥ kV.
    int m = 2;
    while (true) {
        if (m > kBackscatterEnergyCount)
            throw CalculationError("後方散乱: 管電圧 " + Describe(kv) + " kV のエネルギー番号 " +
                                   std::to_string(m) + " は表（31 エネルギー）の外です");
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
        const double sid = in.focusReceptorDistanceCm;
        double radius = detail::Divide(d0 * in.fieldSizeCm, sid,
                                       "後方散乱: 円形照射野の半径（焦点-受像器間距離）");
        if (radius > kMaxCircleRadiusCm) radius = kMaxCircleRadiusCm;
        const int rings = detail::FloorToInt(10.0 * radius, "後方散乱: 円形照射野のリング数");
        if (rings > kBackscatterRingCount)
            throw CalculationError("後方散乱: 半径 " + Describe(radius) + " cm の円にはリング " +
                                   std::to_string(rings) + " が必要で、表（300 リング）の外です");
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
            throw CalculationError("後方散乱: 区間 " + std::to_string(i) + "（" + Describe(e) +
                                   " keV）は表の最後のエネルギーより上です");
        } else {
            factor = bsf[c] - (bsf[c] - bsf[c - 1]) * (grid[c] - e) / (grid[c] - grid[c - 1]);
        }
        b += weight[i] * factor;
    }
    return b;
}

}  // namespace ordevo
