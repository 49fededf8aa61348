#include "synthetic_data.h"

#include <QDir>
#include <QStringList>
#include <cmath>
#include <stdexcept>

#include "cp932_text.h"

namespace ordevo::testing {

namespace {

// Photoelectric ~E⁻³ plus a flat scattering term: enough shape for filtration to harden a beam.
double PowerLaw(double energyKeV, double photo, double scatter) {
    return photo * std::pow(energyKeV, -3.0) + scatter;
}

QString Number(double value) { return QString::number(value, 'g', 10); }

void Write(const QString& path, const QStringList& lines) {
    const auto written = WriteTextLines(path, lines);
    if (!written) throw std::runtime_error(written.error().what());
}

}  // namespace

double SyntheticTissueAttenuation(double e) { return 1.06 * PowerLaw(e, 4000.0, 0.18); }
double SyntheticTissueEnergyAbsorption(double e) { return PowerLaw(e, 4200.0, 0.025); }
double SyntheticAirEnergyAbsorption(double e) { return PowerLaw(e, 4000.0, 0.023); }

void WriteSyntheticWorkingFolder(const QString& folder) {
    QDir(folder).mkpath(QStringLiteral("PDS-data"));

    QStringList attenuation;
    for (int i = 1; i <= 300; ++i) {
        const double e = 0.5 * i;
        attenuation << QStringList{Number(e),
                                   Number(19.3 * PowerLaw(e, 520000.0, 0.08)),
                                   Number(2.699 * PowerLaw(e, 26000.0, 0.16)),
                                   Number(8.96 * PowerLaw(e, 270000.0, 0.15)),
                                   Number(SyntheticAirEnergyAbsorption(e)),
                                   Number(SyntheticTissueEnergyAbsorption(e)),
                                   Number(SyntheticTissueAttenuation(e))}
                           .join(QStringLiteral(", "));
    }
    Write(folder + QStringLiteral("/Att_coeff2021.dat"), attenuation);

    // Ring r at grid energy k: falls off with radius, peaks in the middle of the energy range.
    QStringList backscatter{QStringLiteral("ring, 1keV, 5keV, ..., 150keV")};
    for (int r = 1; r <= 300; ++r) {
        QStringList row{QString::number(r)};
        for (int k = 1; k <= 31; ++k) {
            const double e = k == 1 ? 1.0 : 5.0 * (k - 1);
            const double strength = 0.012 * e / (e + 20.0) * std::exp(-e / 200.0);
            row << Number(strength * std::exp(-0.03 * r));
        }
        backscatter << row.join(QStringLiteral(", "));
    }
    Write(folder + QStringLiteral("/dBSF-SoftDose-SoftPhantom.dat"), backscatter);

    QStringList primary;
    for (int k = 2; k <= 30; ++k) {
        const double e = 5.0 * k;
        primary << Number(e) + QStringLiteral(", ") +
                       Number(0.1602176634 * e * SyntheticTissueEnergyAbsorption(e));
    }
    primary << QStringLiteral("unit: pGy cm2 per photon") << QStringLiteral("source: synthetic");
    Write(folder + QStringLiteral("/Primary.dat"), primary);

    for (int e = 10; e <= 150; e += 5) {
        const double primaryDose = 0.1602176634 * e * SyntheticTissueEnergyAbsorption(e);
        QStringList kernel;
        for (int j = 1; j <= 80; ++j) {
            for (int group = 0; group < 4; ++group) {
                QStringList line;
                for (int c = 1; c <= 20; ++c) {
                    const int n = 20 * group + c;
                    const double depthShape = (1.0 + 0.3 * j) * std::exp(-0.25 * j);
                    line << Number(0.03 * primaryDose * depthShape * std::exp(-0.25 * (n - 1)));
                }
                kernel << line.join(QStringLiteral(" "));
            }
        }
        Write(folder + QStringLiteral("/PDS-data/%1.dat").arg(e), kernel);
    }

    Write(folder + QStringLiteral("/Room1.odv3"),
          {QStringLiteral("100.0"), QStringLiteral("75.0"), QStringLiteral("12.0"),
           QStringLiteral("2.50"), QStringLiteral("0.00"), QStringLiteral("0.10"),
           QStringLiteral(" 0 "), QStringLiteral("---"), QStringLiteral("0"), QStringLiteral("80"),
           QStringLiteral("0.800"), QStringLiteral("1.200"), QStringLiteral("1.050")});

    // Molybdenum-like: photoelectric ~E⁻³ with a K edge at 20 keV.
    QStringList material{QStringLiteral("Mo (synthetic), 10.22 g/cm3"), QStringLiteral("10.22"),
                         QStringLiteral("42")};
    const double energies[] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.02, 0.05,
                               0.1,   0.2,   0.5,   1,    2,    5,    10};
    bool aboveEdge = false;
    for (std::size_t i = 0; i < std::size(energies); ++i) {
        const double e = energies[i] * 1000.0;
        if (i > 0 && energies[i] == energies[i - 1]) aboveEdge = true;
        const double photo = (aboveEdge ? 6.0 : 1.0) * 20000.0 * std::pow(e, -2.8);
        material << QStringList{Number(energies[i]), QStringLiteral("0.1"), QStringLiteral("0.1"),
                                Number(photo),       QStringLiteral("0"),   QStringLiteral("0")}
                        .join(QStringLiteral(" "));
    }
    Write(folder + QStringLiteral("/Mo.ele"), material);
}

}  // namespace ordevo::testing
