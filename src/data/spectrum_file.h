// "B_SPCTL.dat": the last computed spectrum, 300 lines of energy and relative fluence.
#pragma once

#include <QString>
#include <string>

#include "energy_grid.h"
#include "file_error.h"

namespace ordevo {

inline constexpr const char* kSpectrumFileName = "B_SPCTL.dat";

// Line j without its line end: 0.5·j as "0.000E+00", then S(j) as "  0.000E+00".
std::string SpectrumFileLine(int j, double fluence);
// The whole file: lines 1…300, each ended by CR LF.
std::string SpectrumFileText(const BinArray& spectrum);

// Replaces the file through QSaveFile.
FileResult<void> WriteSpectrumFile(const QString& path, const BinArray& spectrum);

struct SpectrumFileData {
    BinArray EnergyKeV{};  // bins 1..300 as read (the window discards them)
    BinArray Fluence{};    // F(j)
};

// Reads 300 lines of exactly two numbers each; later lines are not read. A missing file,
// fewer than 300 lines, a bad line, a fluence that is negative or not finite, or a file whose
// fluences are all 0 is an error naming the file (and the line).
FileResult<SpectrumFileData> ReadSpectrumFile(const QString& path);

}  // namespace ordevo
