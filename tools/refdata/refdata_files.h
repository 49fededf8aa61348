// The files of the working-folder data set: their lines, and writing them all into a folder.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "scatter_generation.h"

namespace ordevo::refdata {

// Photon energies of the backscatter table's columns, keV.
inline constexpr std::array<int, 31> kBackscatterEnergiesKeV{
    1,  5,  10, 15, 20,  25,  30,  35,  40,  45,  50,  55,  60,  65,  70, 75,
    80, 85, 90, 95, 100, 105, 110, 115, 120, 125, 130, 135, 140, 145, 150};
inline constexpr int kFirstKernelEnergyKeV = 10;

inline constexpr const char* kAttenuationFileName = "Att_coeff2021.dat";
inline constexpr const char* kBackscatterFileName = "dBSF-SoftDose-SoftPhantom.dat";
inline constexpr const char* kPrimaryFileName = "Primary.dat";
inline constexpr const char* kKernelFolderName = "PDS-data";
inline constexpr const char* kMaterialNoteFileName = "はじめにお読み下さい.txt";

std::vector<std::string> AttenuationFileLines();
std::vector<std::string> PrimaryFileLines();
// `results` holds one entry per backscatter energy, in the order of kBackscatterEnergiesKeV.
std::vector<std::string> BackscatterFileLines(const std::vector<EnergyResult>& results);
// What a kernel cell holds when no history reached it, pGy·cm². The true value is positive
// and negligible; the depth-dose computation takes an exact zero for missing data (it puts 1 in
// its place before interpolating logarithmically), so no cell is written as 0.
inline constexpr double kUnreachedKernelValue = 1e-30;

// 80 depth rows, each as 4 lines of 20 comma-separated values; zeros become kUnreachedKernelValue.
std::vector<std::string> KernelFileLines(const EnergyResult& result);
std::vector<std::string> MaterialNoteLines();

// "10.dat" … "150.dat".
std::string KernelFileName(int energyKeV);

// Writes the tables that need no Monte Carlo: attenuation, primary dose, materials, the note.
void WriteTabulatedFiles(const std::string& folder);
// Writes the backscatter table and the 29 kernel files.
void WriteMonteCarloFiles(const std::string& folder, const std::vector<EnergyResult>& results);

}  // namespace ordevo::refdata
