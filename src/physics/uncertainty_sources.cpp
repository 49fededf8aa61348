#include "uncertainty_sources.h"

#include <array>
#include <cmath>
#include <span>

namespace ordevo {

namespace {

constexpr double kSqrt3 = 1.7320508075688772;

// The chain's deviations from the end-to-end Monte Carlo (chain / simulation − 1) of
// docs/validation.md, cases N1–N9 (no couch) and C1–C6 (carbon-fibre couch under a mattress).
constexpr std::array kNoCouchDeviations{0.006, 0.004, 0.011, 0.007, 0.013,
                                        0.004, 0.021, 0.010, 0.012};
constexpr std::array kCouchDeviations{0.143, 0.121, 0.110, 0.087, 0.121, 0.086};

double RootMeanSquare(std::span<const double> values) {
    double sum = 0;
    for (double v : values) sum += v * v;
    return std::sqrt(sum / static_cast<double>(values.size()));
}

}  // namespace

UncertaintyDistribution DistributionOf(UncertaintySource source,
                                       const UncertaintyKnowledge& known) {
    switch (source) {
    case UncertaintySource::Calibration:
        return known.CalibrationMeasured ? UncertaintyDistribution::Normal
                                         : UncertaintyDistribution::Rectangular;
    case UncertaintySource::CouchTransmission:
    case UncertaintySource::TubeVoltage:
    case UncertaintySource::AluminiumFiltration:
    case UncertaintySource::CopperFiltration: return UncertaintyDistribution::Rectangular;
    default: return UncertaintyDistribution::Normal;
    }
}

std::string_view UncertaintySourceKey(UncertaintySource source) {
    switch (source) {
    case UncertaintySource::Calibration: return "calibration";
    case UncertaintySource::CouchTransmission: return "couchTransmission";
    case UncertaintySource::TubeVoltage: return "tubeVoltage";
    case UncertaintySource::AluminiumFiltration: return "aluminiumFiltration";
    case UncertaintySource::CopperFiltration: return "copperFiltration";
    case UncertaintySource::BackscatterTable: return "backscatterTable";
    case UncertaintySource::ChainModel: return "chainModel";
    case UncertaintySource::FocusSkinDistance: return "focusSkinDistance";
    case UncertaintySource::PatientPlacement: return "patientPlacement";
    }
    return "";
}

std::string_view UncertaintySourceName(UncertaintySource source) {
    switch (source) {
    case UncertaintySource::Calibration: return "Ka,r表示と校正定数";
    case UncertaintySource::CouchTransmission: return "寝台透過率";
    case UncertaintySource::TubeVoltage: return "管電圧";
    case UncertaintySource::AluminiumFiltration: return "Al付加フィルタ";
    case UncertaintySource::CopperFiltration: return "Cu付加フィルタ";
    case UncertaintySource::BackscatterTable: return "後方散乱係数表";
    case UncertaintySource::ChainModel: return "計算モデル";
    case UncertaintySource::FocusSkinDistance: return "焦点皮膚間距離";
    case UncertaintySource::PatientPlacement: return "患者の位置";
    }
    return "";
}

double CalibrationRelativeUncertainty(const UncertaintyKnowledge& known) {
    return known.CalibrationMeasured ? 0.07 / 2.0 : 0.35 / kSqrt3;
}

double CouchTransmissionRelativeUncertainty(const UncertaintyKnowledge& known) {
    return known.CouchMeasured ? 0.05 / kSqrt3 : 0.10 / kSqrt3;
}

double BackscatterTableRelativeUncertainty() {
    constexpr double kStatistics = 0.0006;
    constexpr double kAgainstPublished = 0.005;
    return std::hypot(kStatistics, kAgainstPublished);
}

double ChainModelRelativeUncertainty(const EquipmentData& equipment) {
    const bool noCouch =
        equipment.CouchTransmission == 1.0 && equipment.CouchSoftTissueThickness == 0.0;
    return noCouch ? RootMeanSquare(kNoCouchDeviations) : RootMeanSquare(kCouchDeviations);
}

}  // namespace ordevo
