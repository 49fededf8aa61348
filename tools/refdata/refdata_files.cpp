// Text layouts of the reference files.
#include "refdata_files.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "material_files.h"
#include "reference_tables.h"
#include "text_output.h"

namespace ordevo::refdata {

namespace {

std::string Join(const std::vector<std::string>& fields, const char* separator) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += separator;
        line += fields[i];
    }
    return line;
}

// Paths stay UTF-8 text; Qt and the Linux file system take them as they are.
std::string PathIn(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

}  // namespace

std::vector<std::string> AttenuationFileLines() {
    std::vector<std::string> lines;
    for (const AttenuationRecord& r : BuildAttenuationRecords()) {
        lines.push_back(Join({FormatPlain(r.EnergyKeV), FormatScientific(r.TungstenMu),
                              FormatScientific(r.AluminiumMu), FormatScientific(r.CopperMu),
                              FormatScientific(r.AirMuEnOverRho),
                              FormatScientific(r.TissueMuEnOverRho), FormatScientific(r.TissueMu)},
                             ","));
    }
    return lines;
}

std::vector<std::string> PrimaryFileLines() {
    std::vector<std::string> lines;
    for (const PrimaryRecord& r : BuildPrimaryRecords())
        lines.push_back(FormatPlain(r.EnergyKeV) + "," + FormatScientific(r.DosePerFluence));
    lines.push_back(
        "Unit: pGy cm2 = soft-tissue dose per photon/cm2 (E x mu_en/rho, ICRU-44 soft tissue)");
    lines.push_back("Source: mu_en/rho of NIST SRD 126 (Hubbell & Seltzer); ordevo-refdata");
    return lines;
}

std::vector<std::string> BackscatterFileLines(const std::vector<EnergyResult>& results) {
    if (results.size() != kBackscatterEnergiesKeV.size())
        throw std::invalid_argument("backscatter table needs one result per grid energy");
    for (std::size_t k = 0; k < results.size(); ++k) {
        if (results[k].EnergyKeV != kBackscatterEnergiesKeV[k])
            throw std::invalid_argument("backscatter results out of energy order");
    }
    std::vector<std::string> lines;
    lines.push_back(
        "ring (0.1 cm), backscattered soft-tissue kerma per unit primary kerma at 1, 5, 10, ..., "
        "150 keV");
    for (int r = 0; r < kBackscatterRings; ++r) {
        std::vector<std::string> fields{std::to_string(r + 1)};
        for (const EnergyResult& result : results)
            fields.push_back(FormatScientific(result.Backscatter[static_cast<std::size_t>(r)]));
        lines.push_back(Join(fields, ","));
    }
    return lines;
}

std::vector<std::string> KernelFileLines(const EnergyResult& result) {
    if (result.Kernel.size() != static_cast<std::size_t>(kDepthBins * kKernelRings))
        throw std::invalid_argument("no scatter kernel for " + std::to_string(result.EnergyKeV) +
                                    " keV");
    constexpr int kPerLine = 20;
    std::vector<std::string> lines;
    for (int j = 0; j < kDepthBins; ++j) {
        for (int first = 0; first < kKernelRings; first += kPerLine) {
            std::vector<std::string> fields;
            for (int n = first; n < first + kPerLine; ++n) {
                const double value = result.Kernel[static_cast<std::size_t>(j * kKernelRings + n)];
                fields.push_back(FormatScientific(std::max(value, kUnreachedKernelValue)));
            }
            lines.push_back(Join(fields, ","));
        }
    }
    return lines;
}

std::string KernelFileName(int energyKeV) { return std::to_string(energyKeV) + ".dat"; }

void WriteTabulatedFiles(const std::string& folder) {
    std::filesystem::create_directories(folder);
    WriteCp932Lines(PathIn(folder, kAttenuationFileName), AttenuationFileLines());
    WriteCp932Lines(PathIn(folder, kPrimaryFileName), PrimaryFileLines());
    for (const MaterialSpec& material : StandardMaterials())
        WriteCp932Lines(PathIn(folder, material.Name + ".ele"),
                        MaterialFileLines(material, BuildMaterialCoefficients(material)));
    WriteCp932Lines(PathIn(folder, kMaterialNoteFileName), MaterialNoteLines());
}

void WriteMonteCarloFiles(const std::string& folder, const std::vector<EnergyResult>& results) {
    const std::string kernelFolder = PathIn(folder, kKernelFolderName);
    std::filesystem::create_directories(kernelFolder);
    WriteCp932Lines(PathIn(folder, kBackscatterFileName), BackscatterFileLines(results));
    for (const EnergyResult& result : results) {
        if (result.EnergyKeV >= kFirstKernelEnergyKeV)
            WriteCp932Lines(PathIn(kernelFolder, KernelFileName(result.EnergyKeV)),
                            KernelFileLines(result));
    }
}

}  // namespace ordevo::refdata
