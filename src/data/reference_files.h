// The reference tables read once at start from the working folder: the backscatter table,
// the attenuation table and the primary-dose values of "Primary.dat" lines 1–29.
#pragma once

#include <QString>
#include <vector>

#include "file_error.h"
#include "reference_data.h"

namespace ordevo {

inline constexpr const char* kBackscatterFileName = "dBSF-SoftDose-SoftPhantom.dat";
inline constexpr const char* kAttenuationFileName = "Att_coeff2021.dat";
inline constexpr const char* kPrimaryFileName = "Primary.dat";

// Reads the three files of `folder` and builds ReferenceData (energy grid and PrimaryTable
// included). Every record stands on its own line with exactly its count of numbers:
//   dBSF-SoftDose-SoftPhantom.dat: a header line (skipped), then 300 rows of 1 + 31 numbers;
//   Att_coeff2021.dat: 300 records of 7 numbers, the first (the energy) discarded;
//   Primary.dat: lines 1–29 of 2 numbers, the second (P(k), positive) kept.
// Lines after those are not read. Values are checked for plausibility: attenuation and
// energy-absorption coefficients above 0 and at most 10⁹ with rising energies, the tissue and
// air energy-absorption coefficients within a factor 2 of each other, backscatter values ≥ 0,
// primary doses positive, all finite. Errors name the file, the line and the value:
// "Att_coeff2021.dat の 212 行目: 数値が 6 個しかありません（7 個必要）". A record line
// followed only by text (a record left out) is reported as a missing record.
FileResult<ReferenceData> ReadReferenceData(const QString& folder);

// The three files one by one, with the same checks: the backscatter table (rows 1..300), the
// attenuation table, and the primary table interpolated from P(k).
FileResult<std::vector<BackscatterRow>> ReadBackscatterFile(const QString& path);
FileResult<AttenuationTable> ReadAttenuationFile(const QString& path);
FileResult<BinArray> ReadPrimaryFile(const QString& path);

}  // namespace ordevo
