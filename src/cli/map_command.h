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
struct MapSettings;
}  // namespace ordevo::map
namespace ordevo::rdsr {
struct DoseReport;
struct ReportEvaluation;
}  // namespace ordevo::rdsr

namespace ordevo::cli {

// Saves the map's picture at a path; returns why it could not ("" when saved).
using MapPictureWriter = std::function<std::string(const std::string&, const map::SkinDoseMap&)>;

// What the one-page skin-dose report is drawn from.
struct MapPage {
    const std::string& ReportFile;
    const rdsr::DoseReport& Report;
    const rdsr::ReportEvaluation& Evaluation;
    const map::MapSettings& Settings;
    const map::SkinDoseMap& Map;
    const QString& DataFolder;  // where the follow-up levels file is read
    bool WithPatient = false;
};
// Saves the page as PDF at a path; returns why it could not ("" when saved).
using MapPageWriter = std::function<std::string(const std::string&, const MapPage&)>;

// Exit codes as `rdsr`'s: 0 every file mapped, 1 a file failed or a failure before any file.
// --png needs `writePicture`, --pdf `writePage` (the executable supplies them where Qt Gui is
// built).
int RunMap(const Arguments& args, std::ostream& out, const MapPictureWriter& writePicture = {},
           const MapPageWriter& writePage = {});

extern const std::vector<std::string> kMapOptions;
extern const std::vector<std::string> kMapFlags;

}  // namespace ordevo::cli
