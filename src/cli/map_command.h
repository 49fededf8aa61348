// ordevo-cli map: the skin-dose map of DICOM dose reports: the peak skin dose, where it lies,
// the area above thresholds, as JSON; the map as a CSV grid (and a picture) on request.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli_arguments.h"

namespace ordevo::map {
struct SkinDoseMap;
}

namespace ordevo::cli {

// Saves the map's picture at a path; returns why it could not ("" when saved).
using MapPictureWriter = std::function<std::string(const std::string&, const map::SkinDoseMap&)>;

// Exit codes as `rdsr`'s: 0 every file mapped, 1 a file failed or a failure before any file.
// --png needs `writePicture` (the executable supplies it where Qt Gui is built).
int RunMap(const Arguments& args, std::ostream& out, const MapPictureWriter& writePicture = {});

extern const std::vector<std::string> kMapOptions;

// The room profile's file name for a report's manufacturer: its first word in lower case,
// "<word>.room"; none when that word is empty or holds anything but letters, digits, '-', '_'.
std::optional<QString> ManufacturerRoomFileName(const std::string& manufacturer);

}  // namespace ordevo::cli
