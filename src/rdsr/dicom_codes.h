// The coded concepts a projection X-ray radiation dose report is read by, each with the meaning
// the DICOM standard gives it (PS3.16: the report TID 10001, its accumulated data TID 10002, each
// irradiation event TID 10003; docs/dose_report.md lists what the program takes from each).
// Scheme DCM unless noted.
#pragma once

#include <string_view>

namespace ordevo::rdsr::code {

// Containers and the report's title.
inline constexpr std::string_view kXrayRadiationDoseReport = "113701";   // the report's title
inline constexpr std::string_view kAccumulatedXrayDoseData = "113702";   // TID 10002, per plane
inline constexpr std::string_view kIrradiationEventXrayData = "113706";  // TID 10003, one event
inline constexpr std::string_view kCtAccumulatedDoseData = "113811";     // a CT report's totals
inline constexpr std::string_view kCtAcquisition = "113819";             // a CT report's event

// The device observer (TID 1004), used where the equipment module leaves a field empty.
inline constexpr std::string_view kDeviceObserverManufacturer = "121014";
inline constexpr std::string_view kDeviceObserverModelName = "121015";
inline constexpr std::string_view kDeviceObserverSerialNumber = "121016";

// Concept names inside an event (TID 10003) and the accumulated data (TID 10002).
inline constexpr std::string_view kAcquisitionPlane = "113764";          // value from CID 10003
inline constexpr std::string_view kIrradiationEventUid = "113769";       // the event's own UID
inline constexpr std::string_view kIrradiationEventUidScope = "113853";  // the same UID as some
                                                                         // devices code it
inline constexpr std::string_view kDateTimeStarted = "111526";
inline constexpr std::string_view kIrradiationEventType = "113721";  // value from CID 10002
inline constexpr std::string_view kDoseRp = "113738";                // Ka,r at the reference point
inline constexpr std::string_view kDoseAreaProduct = "122130";       // P_KA
inline constexpr std::string_view kKvp = "113733";                   // tube voltage
inline constexpr std::string_view kDistanceSourceToIsocenter = "113748";
inline constexpr std::string_view kDistanceSourceToDetector = "113750";
inline constexpr std::string_view kDistanceSourceToReferencePoint = "113737";
inline constexpr std::string_view kDistanceSourceToTablePlane = "113792";
inline constexpr std::string_view kReferencePointDefinition = "113780";  // value from CID 10025
inline constexpr std::string_view kCollimatedFieldArea = "113790";
inline constexpr std::string_view kXrayFilters = "113771";         // container, one per filter
inline constexpr std::string_view kXrayFilterMaterial = "113757";  // value from CID 10006
inline constexpr std::string_view kXrayFilterThicknessMinimum = "113758";
inline constexpr std::string_view kXrayFilterThicknessMaximum = "113773";
inline constexpr std::string_view kDoseRpTotal = "113725";           // the device's Ka,r total
inline constexpr std::string_view kDoseAreaProductTotal = "113722";  // the device's P_KA total

// Acquisition planes (CID 10003).
inline constexpr std::string_view kPlaneA = "113620";
inline constexpr std::string_view kPlaneB = "113621";
inline constexpr std::string_view kSinglePlane = "113622";

// Irradiation event types (CID 10002).
inline constexpr std::string_view kFluoroscopySrt = "P5-06000";  // SRT Fluoroscopy
inline constexpr std::string_view kFluoroscopySct = "44491008";  // SCT Fluoroscopy, its successor
inline constexpr std::string_view kStationaryAcquisition = "113611";
inline constexpr std::string_view kStationaryAcquisitionAlt = "113806";  // as some devices write it
inline constexpr std::string_view kSteppingAcquisition = "113612";
inline constexpr std::string_view kRotationalAcquisition = "113613";

// Filter materials (CID 10006), SRT.
inline constexpr std::string_view kCopper = "C-127A2";     // Copper or Copper compound
inline constexpr std::string_view kAluminium = "C-120F9";  // Aluminum or Aluminum compound

// Reference point definitions (CID 10025): where Ka,r is stated.
inline constexpr std::string_view k15cmFromIsocenterTowardSource = "113860";
inline constexpr std::string_view k30cmInFrontOfImageInputSurface = "113861";
inline constexpr std::string_view k1cmAboveTabletop = "113862";
inline constexpr std::string_view k30cmAboveTabletop = "113863";

// Patient characteristics (TID 10001's patient context), LOINC.
inline constexpr std::string_view kBodyHeight = "8302-2";
inline constexpr std::string_view kBodyWeight = "29463-7";

}  // namespace ordevo::rdsr::code
