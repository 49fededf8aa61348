// The ".ele" tables: layout limits, doubled edges, and xraylib's attenuation reproduced by the
// program's own loader.
#include <gtest/gtest.h>

#include <xraylib.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

#include "material_file.h"
#include "material_files.h"
#include "text_output.h"

namespace ordevo::refdata {
namespace {

const std::vector<MaterialSpec>& Materials() {
    static const std::vector<MaterialSpec> materials = StandardMaterials();
    return materials;
}

double XraylibTotal(const MaterialSpec& m, double e) {
    return m.Z > 0 ? CS_Total(m.Z, e, nullptr) : CS_Total_CP(m.Compound.c_str(), e, nullptr);
}

TEST(MaterialFiles, CoverOneKeVToTenMeVWithinOneHundredAscendingRows) {
    ASSERT_EQ(Materials().size(), 13u);
    for (const MaterialSpec& m : Materials()) {
        const auto rows = BuildMaterialCoefficients(m);
        EXPECT_LE(rows.size(), 100u) << m.Name;
        EXPECT_DOUBLE_EQ(rows.front().EnergyMeV, 0.001) << m.Name;
        EXPECT_DOUBLE_EQ(rows.back().EnergyMeV, 10.0) << m.Name;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            ASSERT_GE(rows[i].EnergyMeV, rows[i - 1].EnergyMeV) << m.Name;
            EXPECT_GT(rows[i].Incoherent, 0.0);
            EXPECT_GT(rows[i].Coherent, 0.0);
            EXPECT_GT(rows[i].Photoelectric, 0.0);
        }
    }
}

// Every K, L and M edge of xraylib between 1 and 800 keV appears as two rows of one energy,
// the lower photoabsorption first, the scattering coefficients equal.
TEST(MaterialFiles, GiveEveryAbsorptionEdgeTwice) {
    for (const MaterialSpec& m : Materials()) {
        if (m.Z == 0) continue;
        const auto rows = BuildMaterialCoefficients(m);
        for (int shell = K_SHELL; shell <= M5_SHELL; ++shell) {
            const double edge = EdgeEnergy(m.Z, shell, nullptr);
            if (edge < 1.05 || edge > 800.0) continue;
            const auto pair =
                std::adjacent_find(rows.begin(), rows.end(), [edge](const auto& a, const auto& b) {
                    return a.EnergyMeV == b.EnergyMeV &&
                           std::abs(a.EnergyMeV * 1e3 - edge) < 0.01 * edge;
                });
            ASSERT_NE(pair, rows.end()) << m.Name << " shell " << shell << " at " << edge << " keV";
            EXPECT_LT(pair->Photoelectric, (pair + 1)->Photoelectric);
            EXPECT_EQ(pair->Coherent, (pair + 1)->Coherent);
        }
    }
}

// Written, read back by LoadMaterialTable and compared with xraylib's μ: within 2 % at 20, 40,
// 60 and 100 keV and at every whole keV from 5 to 150 keV that is 3 % or more from an edge.
TEST(MaterialFiles, ReproduceXraylibAttenuationThroughTheProgramsLoader) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const MaterialSpec& m : Materials()) {
        const std::string path =
            dir.filePath(QString::fromStdString(m.Name + ".ele")).toStdString();
        WriteCp932Lines(path, MaterialFileLines(m, BuildMaterialCoefficients(m)));
        const auto table = ordevo::LoadMaterialTable(QString::fromStdString(path));
        ASSERT_TRUE(table.has_value()) << table.error().what();
        const std::vector<double> edges = FindAbsorptionEdgesKeV(m);
        for (int k = 5; k <= 150; ++k) {
            const bool nearEdge = std::any_of(edges.begin(), edges.end(),
                                              [k](double e) { return std::abs(k - e) < 0.03 * e; });
            if (nearEdge) continue;
            const double expected = m.Density * XraylibTotal(m, k);
            EXPECT_NEAR((*table)[static_cast<std::size_t>(2 * k)], expected, 0.02 * expected)
                << m.Name << " " << k << " keV";
        }
        for (int k : {20, 40, 60, 100}) {
            const double expected = m.Density * XraylibTotal(m, k);
            EXPECT_NEAR((*table)[static_cast<std::size_t>(2 * k)], expected, 0.02 * expected)
                << m.Name << " " << k << " keV";
        }
    }
}

TEST(MaterialFiles, DescribeTheMaterialInTheFirstLines) {
    const MaterialSpec& w = *std::find_if(Materials().begin(), Materials().end(),
                                          [](const auto& m) { return m.Name == "W"; });
    const auto lines = MaterialFileLines(w, BuildMaterialCoefficients(w));
    EXPECT_NE(lines[0].find("タングステン"), std::string::npos);
    EXPECT_EQ(lines[1], "19.3");
    EXPECT_EQ(lines[2], "74");
    EXPECT_EQ(lines[3].rfind("1.000000E-03  ", 0), 0u);
    const MaterialSpec& pmma = Materials().back();
    EXPECT_EQ(pmma.Name, "PMMA");
    EXPECT_EQ(pmma.Z, 0);
    EXPECT_DOUBLE_EQ(pmma.Density, 1.19);
}

}  // namespace
}  // namespace ordevo::refdata
