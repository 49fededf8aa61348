// What a projection X-ray radiation dose report holds, in the program's units: the device,
// the irradiation events one by one and the totals the device accumulated per plane.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "event_geometry.h"
#include "patient_size.h"

namespace ordevo::rdsr {

enum class AcquisitionPlane : int { Single, A, B };
enum class EventType : int {
    Fluoroscopy,
    StationaryAcquisition,
    RotationalAcquisition,
    SteppingAcquisition,
    Other
};
enum class FilterMaterial : int { Copper, Aluminium, Other };

const char* PlaneName(AcquisitionPlane plane);   // "single", "A", "B": the CSV's and JSON's
const char* PlaneLabel(AcquisitionPlane plane);  // "単一平面", "平面 A", "平面 B": notes
const char* EventTypeName(EventType type);       // "fluoroscopy", "stationary", "rotational", …

struct XrayFilter {
    FilterMaterial Material = FilterMaterial::Other;
    std::string MaterialText;  // the code's meaning as the report gives it
    std::optional<double> MinimumThicknessMm;
    std::optional<double> MaximumThicknessMm;
    // The larger of minimum and maximum, or whichever is given; nullopt when neither is. A
    // filter of uneven thickness (one device writes its copper as 0 … 0.4 mm) counts as its
    // thickest: the harder beam gives the larger backscatter and skin dose, the safe side.
    std::optional<double> ThicknessMm() const;
};

// Where the report says its Ka,r is stated: a code (113860 "15cm from Isocenter toward Source",
// 113861 "30cm in Front of Image Input Surface" …) or only a text.
struct ReferencePointDefinition {
    std::string Code;  // code value, "" when given as text
    std::string Text;  // code meaning or the free text
    bool empty() const { return Code.empty() && Text.empty(); }
};

struct IrradiationEvent {
    std::string Uid;
    std::string DateTime;  // as written: YYYYMMDDHHMMSS[.F][&ZZXX]
    EventType Type = EventType::Other;
    std::string TypeText;  // the code's meaning
    AcquisitionPlane Plane = AcquisitionPlane::Single;
    std::optional<double> ReferenceAirKermaMGy;   // Dose (RP)
    std::optional<double> KermaAreaProductGyCm2;  // Dose Area Product
    std::optional<double> TubeVoltageKv;          // KVP, the mean when several are given
    std::vector<XrayFilter> Filters;
    std::optional<double> SourceToIsocentreMm;
    std::optional<double> SourceToDetectorMm;  // or its final value
    std::optional<double> SourceToReferencePointMm;
    std::optional<double> SourceToTablePlaneMm;
    ReferencePointDefinition ReferencePoint;
    std::optional<double> CollimatedFieldAreaCm2;
    EventGeometry Geometry;          // where the beam stood, for the skin-dose map
    std::vector<std::string> Notes;  // values refused while reading this event
};

// One plane's accumulated data as the device reported it.
struct AccumulatedTotals {
    AcquisitionPlane Plane = AcquisitionPlane::Single;
    std::optional<double> ReferenceAirKermaMGy;   // Dose (RP) Total
    std::optional<double> KermaAreaProductGyCm2;  // Dose Area Product Total
    ReferencePointDefinition ReferencePoint;
};

struct DoseReport {
    std::string Manufacturer;
    std::string Model;
    std::string SerialNumber;
    std::string StudyDate;    // YYYYMMDD as written
    std::string PatientName;  // shown only on request
    std::string PatientId;
    std::string PatientBirthDate;
    std::vector<IrradiationEvent> Events;
    std::vector<AccumulatedTotals> Totals;
    PatientSize Patient;             // height and weight, for the skin-dose map
    std::vector<std::string> Notes;  // what the lenient reading skipped or refused
};

}  // namespace ordevo::rdsr
