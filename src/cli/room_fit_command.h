// ordevo-cli room-fit: a room's profile measured from its own dose report (four exposures, the
// table moved once per step), written as a .room file and printed as JSON; and the one-page
// protocol for the physicist as PDF.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli_arguments.h"

namespace ordevo::cli {

// Saves the protocol page for a move of `moveCm` as PDF; returns why it could not ("" when
// saved).
using ProtocolWriter = std::function<std::string(const std::string& path, double moveCm)>;

// Exit 0 when the profile was written (or only the protocol asked for and written); 1 when the
// fit was refused, the profile exists without --force, or a file could not be read or written,
// printed as {"error": …} with nothing written.
int RunRoomFit(const Arguments& args, std::ostream& out, const ProtocolWriter& writeProtocol = {});

extern const std::vector<std::string> kRoomFitOptions;
extern const std::vector<std::string> kRoomFitFlags;

}  // namespace ordevo::cli
