// ordevo-cli map: the skin-dose map of DICOM dose reports: the peak skin dose, where it lies,
// the area above thresholds, as JSON; the map as a CSV grid (and a picture) on request.
#pragma once

#include <functional>
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

}  // namespace ordevo::cli
