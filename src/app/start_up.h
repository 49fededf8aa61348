// The first steps of the start-up: the reference tables of the working folder.
#pragma once

#include "app_state.h"
#include "file_error.h"

namespace ordevo {

// Reads the three reference files of state.WorkingFolder into state.Reference. On failure
// the state is left as it was and the error carries the message that ends the start: it names
// the file, the line where there is one, and the folder searched.
FileResult<void> LoadReferenceDataAtStart(AppState& state);

}  // namespace ordevo
