// The tube-voltage setting of a case: one fixed voltage or a weighted range.
#pragma once

#include <optional>

namespace ordevo {

enum class TubeVoltageWeighting : int {
    Equal = 1,   // every 0.5 kV step weighs the same (also a fixed voltage)
    Normal = 2,  // normal distribution, the range spanning ±1.84 standard deviations
};

struct TubeVoltageRange {
    double TubeVoltageLow = 0;   // kV; the fixed voltage when fixed
    double TubeVoltageHigh = 0;  // kV; equal to TubeVoltageLow when fixed
    TubeVoltageWeighting Weighting = TubeVoltageWeighting::Equal;

    bool operator==(const TubeVoltageRange&) const = default;
};

// A fixed voltage, refused (nullopt) unless 0 < kv ≤ 150.
std::optional<TubeVoltageRange> MakeFixedTubeVoltage(double kv);
// A range, refused unless 0 < low < high ≤ 150.
std::optional<TubeVoltageRange> MakeTubeVoltageRange(double lowKv, double highKv,
                                                     TubeVoltageWeighting weighting);

}  // namespace ordevo
