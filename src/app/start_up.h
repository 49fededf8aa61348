// The first steps of the start-up: the reference tables of the working folder.
#pragma once

#include <QString>

#include <optional>

#include "app_state.h"

namespace ordevo {

// Reads the three reference files of state.WorkingFolder into state.Reference. On failure
// the state is left as it was and the message that ends the start is returned: it names the
// file, the line where there is one, and the folder searched.
std::optional<QString> LoadReferenceDataAtStart(AppState& state);

}  // namespace ordevo
