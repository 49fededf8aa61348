// The standard uncertainties of the skin-dose chain's inputs, each with where it comes from.
// docs/uncertainty.md gives the same figures with their sources in full.
#pragma once

#include <string_view>

#include "equipment_data.h"

namespace ordevo {

// One component of a skin dose's uncertainty budget; the order is the order of every listing.
enum class UncertaintySource : int {
    Calibration,        // the displayed Ka,r and its calibration constant
    CouchTransmission,  // T, and with it the couch's soft-tissue equivalent t
    TubeVoltage,
    AluminiumFiltration,
    CopperFiltration,
    BackscatterTable,   // Monte Carlo statistics and agreement with published factors
    ChainModel,         // the chain against the end-to-end Monte Carlo
    FocusSkinDistance,  // the user's estimate of the FSD
    PatientPlacement,   // the map only: where the patient lies on the table
};
inline constexpr int kUncertaintySourceCount =
    static_cast<int>(UncertaintySource::PatientPlacement) + 1;

// What is known of a room and a case beyond its equipment file.
struct UncertaintyKnowledge {
    bool CalibrationMeasured = false;  // C from a measurement with a calibrated dosimeter
    bool CouchMeasured = false;        // T from a measurement with and without the couch
    double FocusSkinDistanceCm = 2.0;  // standard uncertainty of the FSD the user gave, cm
};

// The distribution each standard uncertainty stands for: a tolerance (±a) is rectangular, with
// the standard uncertainty a/√3; a measured or statistical figure is normal.
enum class UncertaintyDistribution : int { Normal, Rectangular };
UncertaintyDistribution DistributionOf(UncertaintySource source, const UncertaintyKnowledge& known);

// Key of a component in JSON output (English, stable).
std::string_view UncertaintySourceKey(UncertaintySource source);
// The component's name as the windows and the printed pages show it (Japanese).
std::string_view UncertaintySourceName(UncertaintySource source);

// Relative standard uncertainty of the calibration: ICRU Report 74 (2005) asks for 7 % (k = 2)
// in patient dosimetry with a calibrated dosimeter; without a measurement the display is only
// known to the ±35 % that IEC 60601-2-43 (and 21 CFR 1020.32(k)) allow, read as a rectangular
// distribution (35 %/√3).
double CalibrationRelativeUncertainty(const UncertaintyKnowledge& known);
// Relative standard uncertainty of T: measured, the ±5 % energy dependence IEC 61674 allows a
// diagnostic dosimeter (the beam behind the couch is harder than the one it was calibrated in),
// rectangular; unmeasured, a stated transmission taken as known to ±10 %, rectangular.
double CouchTransmissionRelativeUncertainty(const UncertaintyKnowledge& known);
// Relative standard uncertainty of the tube voltage: the ±10 % acceptance limit of the European
// Commission's Radiation Protection 162 (2012) for a unit in service, rectangular.
inline constexpr double kTubeVoltageRelativeUncertainty = 0.10 / 1.7320508075688772;
// Standard uncertainty of the total aluminium filtration, cm: stated filtrations taken as known
// to ±0.5 mm Al, rectangular.
inline constexpr double kAluminiumFiltrationUncertaintyCm = 0.05 / 1.7320508075688772;
// Relative standard uncertainty of a copper pre-filter's thickness: ±10 %, rectangular.
inline constexpr double kCopperFiltrationRelativeUncertainty = 0.10 / 1.7320508075688772;
// Relative standard uncertainty of the backscatter table's factors: its Monte Carlo statistics
// (at most 0.06 % for a 10 × 10 cm field from 20 keV) and the largest deviation from the
// published factors it was checked against (+0.5 %), added in quadrature.
double BackscatterTableRelativeUncertainty();
// Relative standard uncertainty of the chain itself: the root mean square of its deviations
// from the end-to-end Monte Carlo, for the couch kind of the equipment (no couch: T = 1 and
// t = 0; otherwise a real couch under a mattress).
double ChainModelRelativeUncertainty(const EquipmentData& equipment);

}  // namespace ordevo
