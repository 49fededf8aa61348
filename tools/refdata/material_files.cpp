// The ".ele" material tables: xraylib cross sections on an XCOM-like grid with doubled edges.
#include "material_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "text_output.h"
#include "xraylib_access.h"

namespace ordevo::refdata {

namespace {

// Energies of the rows, keV: 1 keV to 10 MeV, closer below 150 keV where the program
// interpolates. Points within 0.5 % of an edge are left out in favour of the edge rows.
constexpr std::array kGridKeV{
    1.0,   1.25,   1.5,    1.75,   2.0,    2.25,   2.5,    2.75,   3.0,    3.5,     4.0,   4.5,
    5.0,   5.5,    6.0,    7.0,    8.0,    9.0,    10.0,   11.0,   12.0,   13.0,    14.0,  15.0,
    16.0,  18.0,   20.0,   22.0,   24.0,   26.0,   28.0,   30.0,   32.5,   35.0,    37.5,  40.0,
    45.0,  50.0,   55.0,   60.0,   65.0,   70.0,   75.0,   80.0,   85.0,   90.0,    95.0,  100.0,
    110.0, 120.0,  130.0,  140.0,  150.0,  175.0,  200.0,  250.0,  300.0,  400.0,   500.0, 600.0,
    800.0, 1000.0, 1500.0, 2000.0, 3000.0, 4000.0, 5000.0, 6000.0, 8000.0, 10000.0,
};
constexpr double kEdgeClearance = 0.005;  // relative
constexpr std::size_t kMaxRows = 100;

double CrossSection(const MaterialSpec& material, Process process, double energyKeV) {
    return material.Z > 0 ? ElementCrossSection(process, material.Z, energyKeV)
                          : CompoundCrossSection(process, material.Compound, energyKeV);
}

// Above xraylib's range: incoherent scattering follows Klein–Nishina (binding no longer
// matters), coherent scattering and photoabsorption are extrapolated log-log from 600 and 800 keV.
MaterialCoefficients CoefficientsAt(const MaterialSpec& material, double energyKeV) {
    MaterialCoefficients row{.EnergyMeV = energyKeV * 1e-3};
    if (energyKeV <= kXraylibMaxEnergyKeV) {
        row.Coherent = CrossSection(material, Process::Coherent, energyKeV);
        row.Incoherent = CrossSection(material, Process::Incoherent, energyKeV);
        row.Photoelectric = CrossSection(material, Process::Photoelectric, energyKeV);
        return row;
    }
    constexpr double e1 = 600.0;
    constexpr double e2 = kXraylibMaxEnergyKeV;
    auto extrapolate = [&](Process process) {
        const double v1 = CrossSection(material, process, e1);
        const double v2 = CrossSection(material, process, e2);
        return v2 * std::exp(std::log(v2 / v1) / std::log(e2 / e1) * std::log(energyKeV / e2));
    };
    row.Coherent = extrapolate(Process::Coherent);
    row.Photoelectric = extrapolate(Process::Photoelectric);
    row.Incoherent = CrossSection(material, Process::Incoherent, e2) *
                     KleinNishinaPerElectronBarn(energyKeV) / KleinNishinaPerElectronBarn(e2);
    return row;
}

std::string ElementDescription(const char* symbol, const char* japaneseName, int Z,
                               double density) {
    return std::string(symbol) + "  " + japaneseName + "  Z=" + std::to_string(Z) + "  密度 " +
           FormatPlain(density) + " g/cm3  係数: xraylib " + XraylibVersion() +
           " (CS_Rayl, CS_Compt, CS_Photo)";
}

}  // namespace

std::vector<MaterialSpec> StandardMaterials() {
    struct Element {
        const char* Symbol;
        const char* JapaneseName;
        int Z;
    };
    constexpr std::array<Element, 12> elements{{
        {"Mo", "モリブデン", 42},
        {"Rh", "ロジウム", 45},
        {"Ag", "銀", 47},
        {"Sn", "スズ", 50},
        {"Gd", "ガドリニウム", 64},
        {"Er", "エルビウム", 68},
        {"Ta", "タンタル", 73},
        {"W", "タングステン", 74},
        {"Pb", "鉛", 82},
        {"Ti", "チタン", 22},
        {"Fe", "鉄", 26},
        {"Nb", "ニオブ", 41},
    }};
    std::vector<MaterialSpec> materials;
    for (const Element& e : elements) {
        const double density = ElementDensity(e.Z);
        materials.push_back(MaterialSpec{
            .Name = e.Symbol,
            .Description = ElementDescription(e.Symbol, e.JapaneseName, e.Z, density),
            .Z = e.Z,
            .Compound = {},
            .Density = density,
        });
    }
    const std::string pmma = "Polymethyl Methacralate (Lucite, Perspex)";  // xraylib's NIST name
    const double pmmaDensity = CompoundDensityNist(pmma);
    materials.push_back(MaterialSpec{
        .Name = "PMMA",
        .Description = "PMMA  ポリメタクリル酸メチル (C5H8O2)  密度 " + FormatPlain(pmmaDensity) +
                       " g/cm3  係数: xraylib " + XraylibVersion() +
                       " (CS_Rayl_CP, CS_Compt_CP, CS_Photo_CP)",
        .Z = 0,
        .Compound = pmma,
        .Density = pmmaDensity,
    });
    return materials;
}

std::vector<double> FindAbsorptionEdgesKeV(const MaterialSpec& material) {
    // CS_Photo falls with energy except at an edge, where it jumps up, and just above some
    // M edges, where it rises smoothly for a while.
    auto photo = [&](double e) { return CrossSection(material, Process::Photoelectric, e); };
    std::vector<double> edges;
    constexpr double kStep = 1.0005;
    double lo = 1.0;
    double fLo = photo(lo);
    while (lo < kXraylibMaxEnergyKeV) {
        const double hi = std::min(lo * kStep, kXraylibMaxEnergyKeV);
        const double fHi = photo(hi);
        if (fHi > fLo * 1.005) {
            // Bisect to the jump: it lies on the side where the logarithm changes more.
            double a = lo;
            double b = hi;
            double fa = fLo;
            double fb = fHi;
            for (int i = 0; i < 80 && b - a > 1e-10 * a; ++i) {
                const double m = 0.5 * (a + b);
                const double fm = photo(m);
                if (std::abs(std::log(fm / fa)) < std::abs(std::log(fb / fm))) {
                    a = m;
                    fa = fm;
                } else {
                    b = m;
                    fb = fm;
                }
            }
            // A true edge stays a jump however narrow the bracket; the smooth rise after some
            // M edges (delayed maxima) does not.
            if (fb > fa * 1.001) edges.push_back(b);
        }
        lo = hi;
        fLo = fHi;
    }
    return edges;
}

std::vector<MaterialCoefficients> BuildMaterialCoefficients(const MaterialSpec& material) {
    const std::vector<double> edges = FindAbsorptionEdgesKeV(material);
    std::vector<MaterialCoefficients> rows;
    for (double e : kGridKeV) {
        const bool nearEdge = std::any_of(edges.begin(), edges.end(), [e](double edge) {
            return std::abs(e - edge) <= kEdgeClearance * edge;
        });
        if (!nearEdge) rows.push_back(CoefficientsAt(material, e));
    }
    for (double edge : edges) {
        // Scattering is continuous; photoabsorption is taken just below and just above the jump.
        MaterialCoefficients below = CoefficientsAt(material, edge);
        MaterialCoefficients above = below;
        below.Photoelectric = CrossSection(material, Process::Photoelectric, edge * (1.0 - 1e-9));
        above.Photoelectric = CrossSection(material, Process::Photoelectric, edge * (1.0 + 1e-9));
        rows.push_back(below);
        rows.push_back(above);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const MaterialCoefficients& a, const MaterialCoefficients& b) {
                         return a.EnergyMeV < b.EnergyMeV;
                     });
    if (rows.size() > kMaxRows)
        throw std::runtime_error(material.Name + ": " + std::to_string(rows.size()) +
                                 " rows, at most 100 allowed");
    return rows;
}

std::vector<std::string> MaterialFileLines(const MaterialSpec& material,
                                           const std::vector<MaterialCoefficients>& rows) {
    std::vector<std::string> lines{material.Description, FormatPlain(material.Density),
                                   std::to_string(material.Z)};
    for (const MaterialCoefficients& row : rows) {
        const double withCoherent = row.Coherent + row.Incoherent + row.Photoelectric;
        const double withoutCoherent = row.Incoherent + row.Photoelectric;
        lines.push_back(
            FormatScientific(row.EnergyMeV, 6) + "  " + FormatScientific(row.Coherent, 6) + "  " +
            FormatScientific(row.Incoherent, 6) + "  " + FormatScientific(row.Photoelectric, 6) +
            "  " + FormatScientific(withCoherent, 6) + "  " + FormatScientific(withoutCoherent, 6));
    }
    return lines;
}

}  // namespace ordevo::refdata
