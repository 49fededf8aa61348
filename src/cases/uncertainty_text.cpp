#include "uncertainty_text.h"

#include <algorithm>
#include <cmath>

namespace ordevo {

namespace {

// Whole per cent: the figures behind it are known to a few per cent themselves; a dose is
// never shown as exact.
int WholePercent(double relative) {
    return std::max(1, static_cast<int>(std::lround(100.0 * relative)));
}

}  // namespace

QString ExpandedUncertaintyText(double relativeExpandedUncertainty) {
    return QStringLiteral("± %1 %（k=2）").arg(WholePercent(relativeExpandedUncertainty));
}

QString PrintedUncertaintyText(double relativeExpandedUncertainty) {
    return QStringLiteral("±%1%").arg(WholePercent(relativeExpandedUncertainty));
}

}  // namespace ordevo
