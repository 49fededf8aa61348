// Where an irradiation event's beam stood: the C-arm's angles, the table's positions and tilts,
// the collimated field and how the patient lay, as a dose report's X-ray mechanical and source
// data give them (DICOM PS3.16, TID 10003 with 10003A–C). Read beside the dose values.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordevo::rdsr {

struct EventGeometry {
    // Detector about the patient, degrees (PS3.3 C.8.7.5.1.2): primary from RAO (−) to LAO (+),
    // secondary from caudal (−) to cranial (+); 0/0 is the detector in front of the chest. A
    // secondary angle past ±90° (up to a whole turn) is kept as written: it is the beam of
    // primary ± 180° and secondary ±180° − the value, which the map says in a note.
    std::optional<double> PrimaryAngleDeg, SecondaryAngleDeg;
    std::optional<double> PrimaryEndAngleDeg, SecondaryEndAngleDeg;  // rotational runs
    // Table positions, mm, from a reference the equipment chooses; signs as the room profile says.
    std::optional<double> TableLongitudinalMm, TableLateralMm, TableHeightMm;
    std::optional<double> TableHeadTiltDeg, TableHorizontalRotationDeg, TableCradleTiltDeg;
    // At the detector, as written (zero or negative too): the map judges them against
    // P_KA/Ka,r, so an unusable value costs the field's shape, never the event.
    std::optional<double> CollimatedFieldHeightMm, CollimatedFieldWidthMm;
    std::string PatientTableRelationship;    // code meaning: "headfirst", "feet-first" …
    std::string PatientOrientation;          // "recumbent", "erect"
    std::string PatientOrientationModifier;  // "supine", "prone", "left lateral decubitus" …
    // Values read but refused as implausible: each names the value; the event is not mapped.
    std::vector<std::string> Refused;
};

// One content item as the reader holds it, without the toolkit's types.
struct GeometryItem {
    std::string_view Concept;      // code value of the concept name
    std::string_view Meaning;      // its meaning, for notes
    bool IsNumber = false;         // a NUM item
    std::string_view Number;       // NUM: the value as written
    bool HasUnits = false;         // NUM: a unit code is given
    std::string_view CodeValue;    // CODE value, or NUM's unit code
    std::string_view CodeMeaning;  // CODE meaning
    // NUM: the Numeric Value Qualifier (PS3.3 C.18.1, codes of CID 42 such as DCM 114010
    // "Value unknown"), which says why a value is absent or is not a measurement.
    std::string_view QualifierValue;
    std::string_view QualifierMeaning;
};

// Takes the item into `geometry` when it is one of the geometry's concepts (true), checking the
// value: unit known, finite, plausible. A refused value goes to `notes` and to Refused. A NUM
// without a value, or with a qualifier, is a missing value (a note, nothing refused), as is a
// collimated field that is not a number.
bool ReadGeometryItem(const GeometryItem& item, EventGeometry& geometry,
                      std::vector<std::string>& notes);

}  // namespace ordevo::rdsr
