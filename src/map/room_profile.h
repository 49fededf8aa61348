// A room geometry profile: how a room's dose reports give the table's positions, and the table
// top and mattress the patient lies on. A small text file the user reads and edits, one per
// room, beside the equipment files ("<name>.room"); the DICOM definitions when none is given.
#pragma once

#include <optional>
#include <string>
#include <variant>

namespace ordevo::map {

// Where the table moves when a reported position grows, for a patient lying head first and
// supine (the frame in which the DICOM definitions are worded).
enum class TableDirection : int { Head, Feet, Left, Right, Up, Down };

struct RoomProfile {
    std::string Name = "DICOM";  // what the map's output calls the profile
    // PS3.16 TID 10003C words the longitudinal position as motion "towards the left of the
    // patient" and the lateral one as "towards the head", the names swapped; height grows
    // downwards.
    TableDirection Longitudinal = TableDirection::Left;
    TableDirection Lateral = TableDirection::Head;
    TableDirection Height = TableDirection::Down;
    // The reported table height at which the table top's upper surface is at the isocentre.
    std::optional<double> TableHeightAtIsocentreMm;
    double TableTopWidthCm = 50.0;  // carbon-fibre interventional table tops: 45–50 cm
    double TableTopThicknessCm = 1.5;
    double MattressThicknessCm = 4.0;  // the pad the patient lies on, as wide as the table top
};

// The profile text: lines "key = value", "#" starts a comment, keys as RoomProfileText writes
// them. The error names the line and says why, in Japanese.
std::variant<RoomProfile, std::string> ParseRoomProfile(const std::string& text,
                                                        const std::string& name);

// The text of a profile, one key a line, readable and editable.
std::string RoomProfileText(const RoomProfile& profile);

}  // namespace ordevo::map
