#include "reference_data.h"

#include <cmath>

namespace ordevo {

BackscatterGrid MakeBackscatterEnergyGrid() {
    BackscatterGrid grid{};
    for (int i = 2; i <= kBackscatterEnergyCount; ++i) grid[i] = 5.0 * (i - 1);
    grid[1] = 1.0;
    return grid;
}

BinArray MakePrimaryTable(std::span<const double, kPrimaryValueCount> primary) {
    // P(k) belongs to 5·k keV, k = 2..30; primary[k − 2] holds it.
    auto P = [&](int k) { return primary[k - 2]; };
    BinArray table{};
    for (int i = 21; i <= 299; ++i) {
        const double e = BinEnergyKeV(i);
        const int k = static_cast<int>(e / 5.0);
        const double eHi = 5.0 * k + 5.0;
        if (e == 5.0 * k) {
            // On a 5 keV point the file value itself, not its round trip through the logarithm.
            table[i] = P(k);
            continue;
        }
        const double slope = std::log(P(k + 1)) - std::log(P(k));
        table[i] = std::exp(std::log(P(k + 1)) - (eHi - e) * slope / 5.0);
    }
    table[300] = P(30);
    return table;
}

}  // namespace ordevo
