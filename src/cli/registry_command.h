// ordevo-cli registry: what the dose registry holds, as JSON or CSV.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli_arguments.h"
#include "registry_command_review.h"

namespace ordevo::cli {

// What the executable supplies where Qt Gui is built.
struct RegistryWriters {
    ReviewPageWriter ReviewPage;
    std::ostream* Progress = nullptr;  // the import's progress line: a terminal only
};

// registry list|show SOP_INSTANCE_UID|export|alerts --registry PATH [--format json|csv]
// [--with-patient]. list: one entry per procedure; show: one procedure with its planes, events
// and map; export: every procedure so (CSV: one row per event); alerts: the alerts raised. Exit 1
// with {"error": …} when the registry cannot be read or the procedure is not in it.
// registry drl: see registry_command_review.h.
int RunRegistry(const Arguments& args, std::ostream& out, const RegistryWriters& writers = {});

extern const std::vector<std::string> kRegistryOptions;
extern const std::vector<std::string> kRegistryFlags;

}  // namespace ordevo::cli
