#include "tube_voltage_text.h"

#include "number_format.h"

namespace ordevo {

std::string TubeVoltageText(const TubeVoltageRange& range) {
    if (range.TubeVoltageLow == range.TubeVoltageHigh) return PlainNumber(range.TubeVoltageLow);
    return PlainNumber(range.TubeVoltageLow) + " - " + PlainNumber(range.TubeVoltageHigh);
}

}  // namespace ordevo
