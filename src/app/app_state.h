// The application state, held for the life of the process by the application object. Windows
// get const references into it at most; what they set comes back as values (see
// OrdevoApplication::Wire). The case the main window holds is the main window's own.
#pragma once

#include <QString>

#include "reference_data.h"

namespace ordevo {

struct AppState {
    QString WorkingFolder;    // reference data, equipment files, Primary.dat, B_SPCTL.dat
    ReferenceData Reference;  // read at start, constant afterwards
    QString UserName;         // registered, guest, or "" before either
};

}  // namespace ordevo
