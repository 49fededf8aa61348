// How the main window's tube-voltage box shows a setting: "80", "72.5" or "75 - 85".
#pragma once

#include <string>

#include "tube_voltage.h"

namespace ordevo {

// A fixed voltage as a plain number; a range as low, " - ", high.
std::string TubeVoltageText(const TubeVoltageRange& range);

}  // namespace ordevo
