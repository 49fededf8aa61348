// A room's profile measured from its own dose report (the four-step protocol), set against the
// manufacturer's shipped profile for the same maker when the data folder holds one: the fit, the
// manufacturer's convention and where it did not hold, and the comment the profile file keeps.
// One place for ordevo-cli room-fit and the map window.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "dose_report.h"
#include "room_fit.h"

namespace ordevo {

struct RoomCommissioning {
    map::RoomFit Fit;
    // The manufacturer's profile "<maker>.room" in the data folder, when it says it is one.
    std::optional<map::RoomProfile> Manufacturer;
    QString ManufacturerFile;
    std::vector<std::string> Contradictions;  // where the manufacturer's convention failed here
    QStringList Comment;  // the fitted profile file's comment lines (empty when refused)
};

// `reportPath` names the report in the profile; `profileName` is the profile file's base name;
// `dataFolder` ("" for none) is where the manufacturer's profile is looked for. The angles'
// signs, which the protocol cannot measure, are taken from the manufacturer's profile when there
// is one (said in a note), else the DICOM definitions.
RoomCommissioning CommissionRoom(const rdsr::DoseReport& report, double moveCm,
                                 const QString& reportPath, const QString& profileName,
                                 const QString& dataFolder);

// The protocol's step words for a window or page: "手順 2 (頭側へ 10 cm): longitudinal +100.0 mm →
// head".
QString FitStepText(const map::FitStep& step, double moveCm);

}  // namespace ordevo
