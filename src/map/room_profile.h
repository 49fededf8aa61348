// A room geometry profile: how a room's dose reports give the table's positions and the C-arm's
// angles, the table top and mattress the patient lies on, and where the profile comes from. A
// small text file the user reads and edits, one per room, beside the equipment files
// ("<name>.room"); the DICOM definitions when none is given.
#pragma once

#include <optional>
#include <string>
#include <variant>

namespace ordevo::map {

// Where the table moves when a reported position grows, for a patient lying head first and
// supine (the frame in which the DICOM definitions are worded).
enum class TableDirection : int { Head, Feet, Left, Right, Up, Down };

// How a reported positioner angle relates to the DICOM definition (PS3.3 C.8.7.5.1.2).
enum class AngleSign : int { AsDicom, Opposite };

// Where the profile's conventions come from. A file that does not say is the user's own.
enum class ProfileSource : int {
    Unstated,      // a profile written by hand without a source
    Dicom,         // the DICOM definitions (also the built-in profile)
    Manufacturer,  // a manufacturer's convention as a public source reports it
    Commissioned,  // measured in the room from its own dose report (ordevo-cli room-fit)
};

struct RoomProfile {
    std::string Name = "DICOM";  // what the map's output calls the profile
    // PS3.16 TID 10003C words the longitudinal position as motion "towards the left of the
    // patient" and the lateral one as "towards the head", the names swapped; height grows
    // downwards.
    TableDirection Longitudinal = TableDirection::Left;
    TableDirection Lateral = TableDirection::Head;
    TableDirection Height = TableDirection::Down;
    AngleSign Primary = AngleSign::AsDicom;    // LAO positive in the DICOM definition
    AngleSign Secondary = AngleSign::AsDicom;  // cranial positive
    // The reported table height at which the table top's upper surface is at the isocentre.
    std::optional<double> TableHeightAtIsocentreMm;
    double TableTopWidthCm = 50.0;  // carbon-fibre interventional table tops: 45–50 cm
    double TableTopThicknessCm = 1.5;
    double MattressThicknessCm = 4.0;  // the pad the patient lies on, as wide as the table top

    ProfileSource Source = ProfileSource::Dicom;
    std::string Reference;           // a manufacturer's convention: the public source
    std::string CommissionedReport;  // commissioned: the dose report's file name,
    std::string CommissionedOn;      // its date (YYYY-MM-DD)
    std::string CommissionedDevice;  // and the device that wrote it
};

// The profile text: lines "key = value", "#" starts a comment, keys as RoomProfileText writes
// them. A file without "source" is the user's own (ProfileSource::Unstated). The error names
// the line and says why, in Japanese.
std::variant<RoomProfile, std::string> ParseRoomProfile(const std::string& text,
                                                        const std::string& name);

// The text of a profile, one key a line, readable and editable.
std::string RoomProfileText(const RoomProfile& profile);

// The words of a direction as the file writes them: "head", "feet", "left", "right", "up", "down".
const char* TableDirectionName(TableDirection direction);

// What the map's output, page and window say of the profile: its name and where it comes from,
// e.g. "room1（実測 2026-12-01、Siemens AXIOM-Artis）", "DICOM の定義".
std::string ProfileLabel(const RoomProfile& profile);

// A note for the map when the profile's conventions were not measured in the room: a
// manufacturer's convention taken from a public source. Nothing for other profiles.
std::optional<std::string> ProfileNote(const RoomProfile& profile);

// The source's word in the JSON: "unstated", "dicom", "manufacturer", "commissioned".
const char* ProfileSourceName(ProfileSource source);

}  // namespace ordevo::map
