// The expanded uncertainty of a skin dose as the windows and pages show it.
#pragma once

#include <QString>

namespace ordevo {

// Beside the main window's skin dose: "± 48 %（k=2）" (whole per cent, at least 1).
QString ExpandedUncertaintyText(double relativeExpandedUncertainty);
// Under a printed row's skin dose, where a cell is narrow: "±48%".
QString PrintedUncertaintyText(double relativeExpandedUncertainty);
// The page's key to the printed one.
inline constexpr const char* kPrintedUncertaintyKey = "± は皮膚吸収線量の拡張不確かさ（k=2）";

}  // namespace ordevo
