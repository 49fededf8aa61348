// One dose report through the per-event chain, the skin-dose map and the uncertainty into the
// registry, with the room it was sent from. The storage node registers what it receives with
// this, and so does a hand import, so that a report is registered the same way however it came.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "file_error.h"
#include "reference_data.h"
#include "registry.h"
#include "report_evaluation.h"
#include "room_profile.h"

namespace ordevo::registry {

// A room's files, as the configuration names them.
struct RoomSetup {
    std::string EquipmentFile;        // the plane's equipment file
    std::string RoomProfile;          // "" : "<manufacturer>.room" in the data folder, else DICOM's
    std::string PlaneBEquipmentFile;  // "" : a single-plane room (plane-B events fail)
};

struct RoomEvaluation {
    rdsr::PlaneSetup Plane;
    std::optional<rdsr::PlaneSetup> PlaneB;   // a biplane room's lateral plane
    std::optional<map::RoomProfile> Profile;  // none: by the report's manufacturer, as the CLI
};

// What evaluation needs, read once at start: a room that cannot be read is an error before any
// report is taken.
struct EvaluationContext {
    ReferenceData Ref;
    ScatterKernelLoader LoadKernel;  // caching; one thread uses it
    QString DataFolder;
    std::map<std::string, RoomEvaluation> Rooms;  // by calling AE title
};
FileResult<EvaluationContext> LoadEvaluationContext(const std::string& dataFolder,
                                                    const std::map<std::string, RoomSetup>& rooms);

// The report file and who it is (its header, read by rdsr::ReadSourceHeader).
struct ReportSource {
    std::string Path;
    std::string SopInstanceUid, StudyInstanceUid;
    std::string CallingAe;  // the room it is evaluated for
    std::string Error;      // the file cannot be read as DICOM
};

enum class Outcome {
    Registered,         // evaluated and registered
    AlreadyRegistered,  // the same SOP Instance UID came before
    Failed,             // registered as failed, with its reason
    Deferred,  // not registered (no room for its AE, the registry unwritable): to be tried again
};

// *message: what to log.
Outcome RegisterReport(const ReportSource& source, EvaluationContext& context, Registry& registry,
                       std::string* message);

}  // namespace ordevo::registry
