// Material files (".ele") of other added filters: a description line, the density, one unused
// number, then rows of six numbers up to the first energy of 10 MeV or more.
#pragma once

#include <QString>
#include <vector>

#include "energy_grid.h"
#include "file_error.h"
#include "material_attenuation.h"

namespace ordevo {

inline constexpr int kMaxMaterialRows = 100;
inline constexpr double kMaterialFirstEnergyMaxMeV =
    0.001;  // the table must start at 1 keV or below
inline constexpr double kMaterialLastEnergyMeV =
    10.0;  // reading stops after the first row at or above

struct MaterialFileContents {
    QString Description;  // line 1, whole
    double DensityGPerCm3 = 0;
    std::vector<MaterialRow> Rows;  // E and coherent + incoherent + photoelectric, in file order
};

// After line 1 the numbers are free-format (commas, blanks, line ends). Each row holds E (MeV),
// coherent, incoherent and photoelectric coefficients (cm²/g) and two unused numbers. Errors
// name the file and the line: a missing or non-numeric number, a density that is not positive,
// a first energy above 1 keV, energies that fall, no row at 10 MeV or more within 100 rows.
// Rows after the one that reaches 10 MeV are not used, yet must be rows of six numbers whose
// energies keep rising (a fall means an energy's exponent was mistyped and the table ended
// early); a line of text after them is a remark and ends the reading.
FileResult<MaterialFileContents> ReadMaterialFile(const QString& path);

// `LoadMaterialTable`: the other filter's linear attenuation on the half-keV grid.
FileResult<BinArray> LoadMaterialTable(const QString& path);

// Line 1 of a material file, for the filter window. Only that line needs to be readable.
FileResult<QString> ReadMaterialDescription(const QString& path);

}  // namespace ordevo
