#include "material_attenuation.h"

#include <cmath>

#include "calculation_error.h"

namespace ordevo {

BinArray BuildOtherFilterAttenuation(double densityGPerCm3, std::span<const MaterialRow> rows) {
    if (rows.size() < 2) throw CalculationError(CalculationProblem::MaterialTooFewRows);
    if (rows.front().EnergyMeV > 0.001)
        throw CalculationError(CalculationProblem::MaterialFirstEnergyAbove1keV);
    for (const MaterialRow& row : rows) {
        if (!(row.EnergyMeV > 0.0) || !(row.TotalCm2PerG > 0.0))
            throw CalculationError(CalculationProblem::MaterialRowNotPositive);
    }
    BinArray mu{};
    for (int k = 1; k <= 150; ++k) {
        const double e = 0.001 * k;  // MeV
        // The first row strictly above E: at an edge (two rows of one energy) an energy at
        // the edge lands on the upper coefficient.
        std::size_t r = 1;
        while (r < rows.size() && rows[r].EnergyMeV <= e) ++r;
        if (r >= rows.size())
            throw CalculationError(CalculationProblem::MaterialNoRowAbove,
                                   {static_cast<double>(k)});
        const MaterialRow& lo = rows[r - 1];
        const MaterialRow& hi = rows[r];
        const double lnM =
            std::log(lo.TotalCm2PerG) + (std::log(e) - std::log(lo.EnergyMeV)) /
                                            (std::log(hi.EnergyMeV) - std::log(lo.EnergyMeV)) *
                                            (std::log(hi.TotalCm2PerG) - std::log(lo.TotalCm2PerG));
        mu[2 * k] = densityGPerCm3 * std::exp(lnM);
        if (!std::isfinite(mu[2 * k]))
            throw CalculationError(CalculationProblem::MaterialAttenuationNotFinite,
                                   {static_cast<double>(k)});
    }
    for (int i = 3; i <= 299; i += 2) mu[i] = (mu[i - 1] + mu[i + 1]) / 2.0;
    mu[1] = mu[2];
    return mu;
}

}  // namespace ordevo
