#include "spectrum.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calculation_error.h"
#include "checked_arithmetic.h"
#include "units.h"

namespace ordevo {

namespace {

// The model's form is the semi-empirical thick-target bremsstrahlung model of Tucker, Barnes
// and Chakraborty (Med. Phys. 18 (1991) 211–218): electrons slow down in the tungsten anode
// by the Thomson–Whiddington relation, the bremsstrahlung made along the path is attenuated
// on its way out, and K lines are added. The polynomial coefficients below are the ones this
// program has always computed with; changing one changes every stored result.

// Anode density of tungsten, g/cm³.
constexpr double kTungstenDensity = 19.3;
// Electron rest energy, keV.
constexpr double kElectronRestEnergyKeV = 511.0;
// Normal weights: 1/√(2π) to four decimals, and the range ends at ±1.84 standard deviations.
constexpr double kNormalPeak = 0.3989;
constexpr double kRangeInStandardDeviations = 1.84;
// Normalised fluences below this are set to zero.
constexpr double kSpectrumCut = 1e-10;

// Thomson–Whiddington constant C(V) of tungsten, V in kV.
double ThomsonWhiddingtonConstant(double v) {
    return 141766.0 + 12157.0 * v - 111.046 * v * v + 0.552536 * v * v * v -
           0.000970158 * v * v * v * v;
}

// Electron stopping term s(T), T in keV.
double StoppingTerm(double t) { return 1036.1 * std::exp(-0.04695 * t) + 202.41; }

// Bremsstrahlung cross-section energy factor a(E) and shape b(u), u = E/T.
double CrossSectionEnergyFactor(double e) { return 0.03658 + 0.000029 * e; }
double CrossSectionShape(double u) {
    return 1.0 - 5.049 * u + 10.847 * u * u - 10.516 * u * u * u + 3.842 * u * u * u * u;
}

// K-line yield factor of tungsten, used above 70 kV only (the root is positive there).
double KLineYieldFactor(double v) { return (std::sqrt(8.79856 * v - 595.149) - 4.55528) / 4.39928; }

// Tungsten K lines on the half-keV grid — Kα1 59.3, Kα2 58.0, Kβ1 67.2, Kβ2 69.1 keV — and
// each line's share of the K-line total.
struct KLine {
    int bin;
    double share;
};
constexpr KLine kKLines[] = {{119, 0.5048}, {116, 0.2908}, {134, 0.162}, {138, 0.0424}};

// Last bin j with j ≤ 2·V; 2·V is exact in binary, so the bound is too. V is at most 150 kV here.
int LastBin(double v) { return detail::FloorToInt(2.0 * v, CalculatedQuantity::SpectrumLastBin); }

// Unfiltered energy output Q(j) of the target at tube voltage v, with the K lines.
void TargetOutput(const AttenuationTable& table, double v, double cotTheta, BinArray& q) {
    q.fill(0.0);
    const int lastBin = LastBin(v);
    const double c = ThomsonWhiddingtonConstant(v);
    // Electron energies T = 0.5·m keV, m = 2..2V; the per-T factors do not depend on the bin.
    BinArray depthFactor{};   // cot θ·(V² − T²)/(ρ_W·C): path out of the anode, cm
    BinArray relativistic{};  // 1 + 511/T
    BinArray stopping{};      // s(T)
    for (int m = 2; m <= lastBin; ++m) {
        const double t = 0.5 * m;
        depthFactor[m] = cotTheta * (v * v - t * t) / (kTungstenDensity * c);
        relativistic[m] = 1.0 + kElectronRestEnergyKeV / t;
        stopping[m] = StoppingTerm(t);
    }
    for (int j = 2; j <= lastBin; ++j) {
        const double e = BinEnergyKeV(j);
        const double a = CrossSectionEnergyFactor(e);
        const double muW = table.Tungsten[j];
        double sum = 0.0;
        // The electron slows from V down to the photon energy in 0.5 keV steps: T = E, E+0.5, … ≤
        // V.
        for (int m = j; m <= lastBin; ++m) {
            const double t = 0.5 * m;
            const double sigma = a * CrossSectionShape(e / t);
            sum += std::exp(-muW * depthFactor[m]) * sigma * relativistic[m] / stopping[m];
        }
        q[j] = sum;
    }
    // No K lines at or below 70 kV.
    if (v > 70.0) {
        const double fK = KLineYieldFactor(v);
        double total = 0.0;
        for (int j = 2; j <= lastBin; ++j) total += q[j];
        const double k = 0.01 * fK * total;
        for (const KLine& line : kKLines) q[line.bin] += line.share * k;
    }
}

void CheckBeam(const TubeVoltageRange& voltage, const EquipmentData& equipment) {
    const double targetAngle = equipment.TargetAngle;
    const double vLo = voltage.TubeVoltageLow;
    const double vHi = voltage.TubeVoltageHigh;
    if (!(vHi <= kMaxTubeVoltageKv))
        throw CalculationError(CalculationProblem::TubeVoltageAboveTable, {vHi});
    if (!(vLo >= 0.5)) throw CalculationError(CalculationProblem::TubeVoltageBelowFirstBin, {vLo});
    if (!(vLo <= vHi))
        throw CalculationError(CalculationProblem::TubeVoltageRangeReversed, {vLo, vHi});
    if (!(targetAngle > 0.0 && targetAngle < 90.0))
        throw CalculationError(CalculationProblem::TargetAngleOutsideRange, {targetAngle});
    // A negative thickness would amplify the beam instead of filtering it.
    const bool otherFilter = equipment.OtherFilterFlag == 1;
    const struct {
        CalculatedQuantity filter;
        double cm;
    } filters[] = {
        {CalculatedQuantity::InherentFilter, equipment.InherentFiltration},
        {CalculatedQuantity::AddedAluminiumFilter, equipment.AddedAluminium},
        {CalculatedQuantity::AddedCopperFilter, equipment.AddedCopper},
        {CalculatedQuantity::OtherFilter, otherFilter ? equipment.OtherFilterThickness : 0.0}};
    for (const auto& filter : filters) {
        if (!(filter.cm >= 0.0) || !std::isfinite(filter.cm))
            detail::Fail(CalculationProblem::FilterThicknessUnusable, filter.filter,
                         {kMillimetresPerCentimetre * filter.cm});
    }
}

// The weight of each 0.5 kV step of a fluctuating tube voltage: equal, or a normal density
// whose ±1.84 standard deviations span the range.
class VoltageWeights {
public:
    explicit VoltageWeights(const TubeVoltageRange& voltage)
        : normal_(voltage.Weighting != TubeVoltageWeighting::Equal) {
        if (!normal_) return;
        const double vLo = voltage.TubeVoltageLow;
        const double vHi = voltage.TubeVoltageHigh;
        mean_ = (vLo + vHi) / 2.0;
        if (!(vHi - mean_ > 0.0))
            throw CalculationError(CalculationProblem::NormalWeightingNeedsRange, {vLo, vHi});
        perKv_ = kRangeInStandardDeviations / (vHi - mean_);
    }
    double At(double v) const {
        const double z = perKv_ * (v - mean_);  // standard deviations from the middle of the range
        return normal_ ? kNormalPeak * std::exp(-0.5 * z * z) : 1.0;
    }

private:
    bool normal_;
    double mean_ = 0.0;
    double perKv_ = 0.0;
};

// The 0.5 kV steps V_lo, V_lo + 0.5, … ≤ V_hi. A counted loop: a fractional step count ends at
// its integer part. Decimal ends such as 60.1 - 70.1 kV give 2·(V_hi − V_lo) a hair below the
// whole number in binary; the tolerance keeps their last step, and no step may pass V_hi.
int VoltageSteps(const TubeVoltageRange& voltage) {
    constexpr double kStepCountTolerance = 1e-9;
    return detail::FloorToInt(
        1.0 + 2.0 * (voltage.TubeVoltageHigh - voltage.TubeVoltageLow) + kStepCountTolerance,
        CalculatedQuantity::TubeVoltageSteps);
}

// Adds one voltage step's target output q, filtered and weighted, to the photon fluence, the
// air-kerma and the tissue-absorption spectra.
void AddFilteredStep(const AttenuationTable& table, const EquipmentData& equipment,
                     const BinArray& q, double v, double w, SpectrumResult& result) {
    const bool otherFilter = equipment.OtherFilterFlag == 1;
    const double filterAl = equipment.InherentFiltration + equipment.AddedAluminium;
    const int lastBin = LastBin(v);
    for (int j = 2; j <= lastBin; ++j) {
        const double phi = q[j];
        const double att =
            std::exp(-filterAl * table.Aluminium[j] - equipment.AddedCopper * table.Copper[j]);
        double airTerm = table.AirEnergyAbsorption[j] * att * phi * w;
        double tissueTerm = table.TissueEnergyAbsorption[j] * att * phi * w;
        // Dividing the energy output by the photon energy gives a photon number.
        double fluence = att * phi / BinEnergyKeV(j) * w;
        if (otherFilter) {
            const double other =
                std::exp(-equipment.OtherFilterThickness * equipment.OtherFilterAttenuation[j]);
            airTerm *= other;
            tissueTerm *= other;
            fluence *= other;
        }
        result.XraySpectrum[j] += fluence;
        result.AirKermaSpectrum[j] += airTerm;
        result.TissueAbsorption[j] += tissueTerm;
    }
}

// Normalises the fluence to a sum of 1 (cutting what falls below 1E-10) and forms the
// tissue-to-air absorbed-dose ratio of the beam.
void Normalise(SpectrumResult& result, double vHi) {
    BinArray& s = result.XraySpectrum;
    const int lastBin = LastBin(vHi);
    double total = 0.0;
    double tissueSum = 0.0;
    double airSum = 0.0;
    for (int j = 2; j <= lastBin; ++j) {
        total += s[j];
        tissueSum += result.TissueAbsorption[j];
        airSum += result.AirKermaSpectrum[j];
    }
    if (!(total > 0.0) || !std::isfinite(total))
        throw CalculationError(CalculationProblem::SpectrumTotalUnusable, {total});
    for (int j = 2; j <= lastBin; ++j) {
        s[j] /= total;
        if (s[j] < kSpectrumCut) s[j] = 0.0;
    }
    result.TissueToAirDoseRatio =
        detail::Divide(tissueSum, airSum, CalculatedQuantity::TissueToAirRatioAirSum);
    detail::RequireFinite(result.TissueToAirDoseRatio, CalculatedQuantity::TissueToAirDoseRatio);
}

}  // namespace

SpectrumResult ComputeSpectrum(const AttenuationTable& table, const EquipmentData& equipment,
                               const TubeVoltageRange& voltage) {
    CheckBeam(voltage, equipment);
    const double cotTheta = 1.0 / std::tan(kPi * equipment.TargetAngle / 180.0);
    const VoltageWeights weights(voltage);

    SpectrumResult result;
    const int steps = VoltageSteps(voltage);
    BinArray q{};
    for (int k = 1; k <= steps; ++k) {
        const double v = std::min(voltage.TubeVoltageLow + 0.5 * (k - 1), voltage.TubeVoltageHigh);
        result.TubeVoltage = v;
        TargetOutput(table, v, cotTheta, q);
        AddFilteredStep(table, equipment, q, v, weights.At(v), result);
    }
    Normalise(result, voltage.TubeVoltageHigh);
    return result;
}

}  // namespace ordevo
