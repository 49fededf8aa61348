#include "tube_voltage.h"

namespace ordevo {

namespace {
bool IsUsableVoltage(double kv) { return kv > 0.0 && kv <= 150.0; }
}  // namespace

std::optional<TubeVoltageRange> MakeFixedTubeVoltage(double kv) {
    if (!IsUsableVoltage(kv)) return std::nullopt;
    return TubeVoltageRange{kv, kv, TubeVoltageWeighting::Equal};
}

std::optional<TubeVoltageRange> MakeTubeVoltageRange(double lowKv, double highKv,
                                                     TubeVoltageWeighting weighting) {
    if (!IsUsableVoltage(lowKv) || !IsUsableVoltage(highKv) || lowKv >= highKv) return std::nullopt;
    return TubeVoltageRange{lowKv, highKv, weighting};
}

}  // namespace ordevo
