// Log-log interpolation of tabulated photon coefficients across absorption edges.
#include <cmath>
#include <stdexcept>

#include "nist_tables.h"

namespace ordevo::refdata {

namespace {

double ValueOf(const NistRow& row, Coefficient coefficient) {
    return coefficient == Coefficient::Attenuation ? row.MuOverRho : row.MuEnOverRho;
}

double LogLog(const NistRow& lo, const NistRow& hi, Coefficient coefficient, double energyMeV) {
    const double t = std::log(energyMeV / lo.EnergyMeV) / std::log(hi.EnergyMeV / lo.EnergyMeV);
    return std::exp(std::log(ValueOf(lo, coefficient)) +
                    t * std::log(ValueOf(hi, coefficient) / ValueOf(lo, coefficient)));
}

}  // namespace

double InterpolateLogLog(std::span<const NistRow> rows, Coefficient coefficient, double energyKeV) {
    if (rows.size() < 2) throw std::invalid_argument("coefficient table needs two rows");
    if (!(energyKeV > 0.0)) throw std::invalid_argument("photon energy must be positive");
    const double e = energyKeV * 1e-3;
    if (e < rows.front().EnergyMeV) return LogLog(rows[0], rows[1], coefficient, e);
    // The last row at or below E: of the two rows of an edge this is the upper one, so an
    // energy at or above the edge is interpolated on its high side.
    std::size_t i = 0;
    while (i + 1 < rows.size() && rows[i + 1].EnergyMeV <= e) ++i;
    if (rows[i].EnergyMeV == e) return ValueOf(rows[i], coefficient);
    if (i + 1 == rows.size()) return LogLog(rows[i - 1], rows[i], coefficient, e);
    return LogLog(rows[i], rows[i + 1], coefficient, e);
}

}  // namespace ordevo::refdata
