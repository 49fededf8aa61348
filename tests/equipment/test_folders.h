// The synthetic working folder the equipment tests share, written once per test program.
#pragma once

#include <QString>

#include "reference_data.h"

namespace ordevo::testing {

// Reference files, "Room1.odv3" and "Mo.ele" (see synthetic_data.h).
const QString& SyntheticFolder();
const ReferenceData& SyntheticReference();

// Copies one file of the synthetic folder into `folder`.
void CopySyntheticFile(const QString& name, const QString& folder);

}  // namespace ordevo::testing
