// The scatter dose-spread kernels of the "PDS-data" folder, one file per grid energy.
#pragma once

#include <QString>

#include "depth_dose.h"
#include "file_error.h"

namespace ordevo {

inline constexpr const char* kScatterKernelFolder = "PDS-data";

// "<folder>/PDS-data/<E>.dat", E the energy in keV as a decimal integer (10.dat … 150.dat).
QString ScatterKernelPath(const QString& folder, int energyKeV);

// Reads the 6400 numbers of one kernel file in row order (depth row 1, rings 1…80; row 2; …),
// line breaks anywhere between numbers. The error names the file and the place: missing file
// (or one over 1 MB, or not a regular file), fewer or more than 6400 numbers, a field that is
// not a number, a negative value.
FileResult<ScatterKernel> ReadScatterKernel(const QString& folder, int energyKeV);

// The same for the depth-dose computation, which takes its kernels from a loader that throws:
// the error is thrown as FileError (a std::runtime_error).
ScatterKernel LoadScatterKernel(const QString& folder, int energyKeV);

// A loader for the depth-dose computation that reads the files of `folder` on every call.
ScatterKernelLoader MakeScatterKernelLoader(const QString& folder);

}  // namespace ordevo
