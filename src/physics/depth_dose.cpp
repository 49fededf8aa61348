#include "depth_dose.h"

#include <cmath>
#include <string>
#include <vector>

#include "calculation_error.h"
#include "checked_arithmetic.h"

namespace ordevo {

namespace {

using detail::Describe;

constexpr double kHalfPi = kPi / 2.0;      // 1.570795
constexpr double kQuarterPi = kPi / 4.0;   // 0.7853975
constexpr double kBinThicknessCm = 0.5;    // depth bins and rings are 0.5 cm wide
// Centres of the first and the last used depth bin, cm.
constexpr double kFirstDepthCm = 0.25;
constexpr double kLastDepthCm = 19.75;

double DepthCentre(int j) { return 0.5 * j - 0.25; }

// Angle, from the axis perpendicular to an edge at distance e, where the circle of radius r meets it.
double EdgeAngle(double r, double e) {
    const double root = detail::SquareRoot(r * r - e * e, "リングの照射野内の割合: 円が照射野の辺に届きません");
    return std::atan(detail::Divide(root, e, "リングの照射野内の割合: 照射野の半幅が 0"));
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

    // Part of the quarter ring between the angle where the inner circle meets the edge and the other axis.
    double Sector(double e) const { return area * (kHalfPi - EdgeAngle(r1, e)) / kHalfPi; }
    // Part of that sector beyond the edge.
    double Cut(double e) const {
        const double theta1 = EdgeAngle(r1, e);
        const double theta2 = EdgeAngle(r2, e);
        const double cosTheta1 = std::cos(theta1);
        return (theta2 - theta1) * r2 * r2 / 2.0 -
               r2 * detail::Divide(e, cosTheta1, "リングの照射野内の割合: 辺が半径と平行") *
                   std::sin(theta2 - theta1) / 2.0;
    }
    // Part of the ring, between its inner circle and the corner distance d, on the inside of edge e.
    double CornerInside(double e, double cornerAngle, double d) const {
        const double theta1 = EdgeAngle(r1, e);
        const double span = cornerAngle - theta1;
        return span * (d * d - r1 * r1) / 2.0 -
               (span * d * d / 2.0 -
                d * detail::Divide(e, std::cos(theta1), "リングの照射野内の割合: 辺が半径と平行") *
                    std::sin(span) / 2.0);
    }
};

}  // namespace

double RingFraction(int n, double a, double b) {
    if (n < 1) throw CalculationError("リングの照射野内の割合: リング " + std::to_string(n) + " はありません");
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
        const double cornerB = std::atan(detail::Divide(a, b, "リングの照射野内の割合: 照射野の半幅が 0"));
        const double cornerA = std::atan(detail::Divide(b, a, "リングの照射野内の割合: 照射野の半幅が 0"));
        return (q.CornerInside(b, cornerB, d) + q.CornerInside(a, cornerA, d)) / aq;
    }
    return 0.0;
}

double ComputeDepthDoseFactor(const ReferenceData& ref, const DepthDoseInputs& in,
                              const ScatterKernelLoader& loadKernel) {
    if (in.spectrum == nullptr) throw CalculationError("深部線量: スペクトルがありません");
    const BinArray& s = *in.spectrum;
    const BinArray& mu = ref.Attenuation.TissueAttenuation;
    const BinArray& primaryPerPhoton = ref.PrimaryTable;
    const double d0 = in.phantomSurfaceDistanceCm;
    const double t = in.couchThicknessCm;
    if (!(d0 > 0.0) || !std::isfinite(d0))
        throw CalculationError("深部線量: ファントム表面までの距離 " + Describe(d0) + " cm が正の数ではありません");
    detail::RequireFinite(in.fieldSizeCm, "深部線量: ファントム表面の照射野サイズ");
    // The factor is interpolated between depth-bin centres; the first centre is the reference.
    if (!(t >= 0.0 && t <= kLastDepthCm))
        throw CalculationError("深部線量: 天板の軟部組織等価厚 " + Describe(t) +
                               " cm が 0〜19.75 cm の外です");
    const int lastBin = detail::FloorToInt(2.0 * in.tubeVoltageHighKv, "スペクトルの最後のエネルギー区間");
    if (lastBin > kBinCount)
        throw CalculationError("深部線量: 管電圧 " + Describe(in.tubeVoltageHighKv) + " kV の区間 " +
                               std::to_string(lastBin) + " はエネルギーの表（300 区間）の外です");

    const double a = 0.5 * in.fieldSizeCm;
    const double b = 0.5 * in.fieldSizeCm;
    const bool circle = in.shape == FieldShape::Circle;

    std::array<double, kKernelRows + 1> isq{};  // d0² / (z_j + d0)²
    for (int j = 1; j <= kDepthRowsUsed; ++j) {
        const double z = DepthCentre(j);
        isq[j] = d0 * d0 / ((z + d0) * (z + d0));
    }

    // Primary dose on the axis.
    std::array<double, kKernelRows + 1> primary{};
    for (int i = 21; i <= lastBin; ++i)
        for (int j = 1; j <= kDepthRowsUsed; ++j)
            primary[j] += std::exp(-mu[i] * DepthCentre(j)) * primaryPerPhoton[i] * s[i] * isq[j];

    // Field-integrated scatter per photon, K(j, i), at the grid energies 10, 15, …, 150 keV.
    std::vector<BinArray> scatter(kKernelRows + 1, BinArray{});
    for (int i = 20; i <= kBinCount; i += 10) {
        const ScatterKernel kernel = loadKernel(i / 2);
        for (int j = 1; j <= kDepthRowsUsed; ++j) {
            const double z = DepthCentre(j);
            const double aj = (z + d0) * a / d0;  // half-widths grow with the beam's divergence
            const double bj = (z + d0) * b / d0;
            const double reach = circle ? 2.0 * aj : 2.0 * std::sqrt(aj * aj + bj * bj);
            const int rings = 1 + detail::FloorToInt(reach, "深部線量: リング数");
            if (rings > kKernelColumns)
                throw CalculationError("深部線量: 深さ " + Describe(z) + " cm でのリング数 " +
                                       std::to_string(rings) + " が 80 を超えます");
            double sum = scatter[j][i];
            for (int n = 1; n <= rings; ++n) {
                // A circle's rings count whole, the last one too, though it is only partly inside.
                if (circle)
                    sum += isq[j] * kernel[j][n];
                else
                    sum += RingFraction(n, aj, bj) * isq[j] * kernel[j][n];
            }
            scatter[j][i] = sum;
        }
    }

    // Between the grid energies: linear in the logarithm; an empty grid value counts as 1.
    for (int i = 21; i <= lastBin; ++i) {
        if (i % 10 == 0) continue;
        const int iHi = (i / 10 + 1) * 10;
        const int iLo = iHi - 10;
        const double e = BinEnergyKeV(i);
        for (int j = 1; j <= kDepthRowsUsed; ++j) {
            if (scatter[j][iHi] == 0.0) scatter[j][iHi] = 1.0;
            if (scatter[j][iLo] == 0.0) scatter[j][iLo] = 1.0;
            const double lnHi = detail::Logarithm(scatter[j][iHi], "深部線量: 格子エネルギーの散乱線量");
            const double lnLo = detail::Logarithm(scatter[j][iLo], "深部線量: 格子エネルギーの散乱線量");
            scatter[j][i] = std::exp(lnHi - (lnHi - lnLo) * (iHi / 2.0 - e) / 5.0);
        }
    }

    std::array<double, kKernelRows + 1> scatterDose{};
    for (int i = 21; i <= lastBin; ++i)
        for (int j = 1; j <= kDepthRowsUsed; ++j) scatterDose[j] += scatter[j][i] * s[i];

    // Percent depth dose, total column, relative to the first bin.
    const double d1 = primary[1] + scatterDose[1];
    if (d1 == 0.0 || !std::isfinite(d1))
        throw CalculationError("深部線量: 最初の深さ区間の線量が " + Describe(d1) + " です");
    std::array<double, kKernelRows + 1> total{};
    for (int j = 1; j <= kDepthRowsUsed; ++j) total[j] = 100.0 * (scatterDose[j] + primary[j]) / d1;

    // Up to the first bin centre the first bin is the reference itself.
    if (t <= kFirstDepthCm) return 1.0;
    int j = 1;
    while (DepthCentre(j) < t) {
        ++j;
        if (j > kDepthRowsUsed)
            throw CalculationError("深部線量: 深さ " + Describe(t) + " cm の探索が 40 行目を超えました");
    }
    const double factor =
        (total[j - 1] + 2.0 * (total[j] - total[j - 1]) * (t - DepthCentre(j - 1))) * 0.01;
    detail::RequireFinite(factor, "深部線量係数");
    return factor;
}

}  // namespace ordevo
