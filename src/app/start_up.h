// The first steps of the start-up: the working folder and its reference tables.
#pragma once

#include "app_state.h"
#include "file_error.h"

namespace ordevo {

// The working folder for a start in `startFolder`: that folder when it holds the reference
// files, otherwise the per-user data folder, created and seeded from the installed reference
// data without overwriting anything (see ChooseWorkingFolder). On failure the error carries
// the message that ends the start: the folder and why.
FileResult<QString> PrepareWorkingFolderAtStart(const QString& startFolder);

// Reads the three reference files of state.WorkingFolder into state.Reference. On failure
// the state is left as it was and the error carries the message that ends the start: it names
// the file, the line where there is one, and the folder searched.
FileResult<void> LoadReferenceDataAtStart(AppState& state);

}  // namespace ordevo
