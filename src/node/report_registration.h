// One spooled object through the per-event chain, the skin-dose map and the uncertainty into
// the registry, with the room its calling AE title stands for.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "file_error.h"
#include "node_config.h"
#include "reference_data.h"
#include "registry.h"
#include "report_evaluation.h"
#include "room_profile.h"

namespace ordevo::node {

struct RoomEvaluation {
    rdsr::PlaneSetup Plane;
    std::optional<rdsr::PlaneSetup> PlaneB;   // a biplane room's lateral plane
    std::optional<map::RoomProfile> Profile;  // none: by the report's manufacturer, as the CLI
};

// What evaluation needs, read once at start: a room that cannot be read stops the node before
// it answers anyone.
struct EvaluationContext {
    ReferenceData Ref;
    ScatterKernelLoader LoadKernel;  // caching; one worker uses it
    QString DataFolder;
    std::map<std::string, RoomEvaluation> Rooms;  // by calling AE title
};
FileResult<EvaluationContext> LoadEvaluationContext(const NodeConfig& config);

enum class Outcome {
    Registered,         // evaluated and registered
    AlreadyRegistered,  // the same SOP Instance UID came before
    Failed,             // registered as failed, with its reason
    Deferred,  // not registered (no room for its AE, the registry unwritable): retried at start
};

// *message: what to log.
Outcome RegisterSpooled(const std::string& path, EvaluationContext& context,
                        registry::Registry& registry, std::string* message);

}  // namespace ordevo::node
