// Checks of the main window's case inputs, in words the user can act on: the number boxes,
// the signs of Ka,r and P_KA, and, after a failed evaluation, which input made it fail and
// what range is allowed. Window-free: texts and evaluation inputs in, Japanese texts out.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "case_messages.h"
#include "dose_evaluation.h"
#include "reference_data.h"

namespace ordevo {

// A text for a cell of the results CSV, which has no quoting and is code page 932: commas,
// line breaks and characters CP932 cannot hold are taken out; `cursor` (a position in
// `text`) moves left by what was taken before it.
QString WithoutUnsaveableCharacters(const QString& text, int& cursor);

// The longest focus–skin distance the program accepts, cm.
inline constexpr double kMaxFocusSkinDistanceCm = 300;
// Below this focus–skin distance the windows ask before computing and ordevo-cli writes a note:
// fluoroscopes keep the focus at least 30 cm (mobile) or 38 cm (stationary) from the skin by
// design (US 21 CFR 1020.32(g)), so a shorter distance is most likely a typing slip.
inline constexpr double kShortestPlausibleFocusSkinDistanceCm = 30;
// The lowest tube voltage with primary-dose data: the first bin of the depth-dose tables, kV.
inline constexpr double kMinTubeVoltageKv = 10.5;

// After a failed evaluation: one line per input that made it fail, naming the input and the
// range allowed; empty when no input is to blame (a damaged file, an equipment value). The
// field's limit is found by asking the evaluation itself (with empty scatter kernels, which
// the coverage checks do not read) for the largest field that it can compute.
QStringList FailedInputReasons(const ReferenceData& ref, const DoseCase& in);

}  // namespace ordevo
