// Thin checked wrappers over xraylib's C interface.
#include "xraylib_access.h"

#include <xraylib.h>

#include <stdexcept>
#include <string>

namespace ordevo::refdata {

namespace {

// Calls an xraylib function and turns its error record into an exception.
template <typename Function, typename... Args>
double Checked(const char* name, Function function, Args... args) {
    xrl_error* error = nullptr;
    const double value = function(args..., &error);
    if (error != nullptr) {
        std::string message = std::string(name) + ": " + error->message;
        xrl_error_free(error);
        throw std::runtime_error(message);
    }
    return value;
}

}  // namespace

double ElementCrossSection(Process process, int Z, double energyKeV) {
    switch (process) {
    case Process::Coherent: return Checked("CS_Rayl", CS_Rayl, Z, energyKeV);
    case Process::Incoherent: return Checked("CS_Compt", CS_Compt, Z, energyKeV);
    case Process::Photoelectric: return Checked("CS_Photo", CS_Photo, Z, energyKeV);
    }
    throw std::logic_error("unknown process");
}

double CompoundCrossSection(Process process, const std::string& compound, double energyKeV) {
    const char* name = compound.c_str();
    switch (process) {
    case Process::Coherent: return Checked("CS_Rayl_CP", CS_Rayl_CP, name, energyKeV);
    case Process::Incoherent: return Checked("CS_Compt_CP", CS_Compt_CP, name, energyKeV);
    case Process::Photoelectric: return Checked("CS_Photo_CP", CS_Photo_CP, name, energyKeV);
    }
    throw std::logic_error("unknown process");
}

// xraylib wants q > 0; at q = 0 the limits are F = Z and S = 0.
double FormFactor(int Z, double q) {
    return q > 0 ? Checked("FF_Rayl", FF_Rayl, Z, q) : static_cast<double>(Z);
}

double IncoherentScatteringFunction(int Z, double q) {
    return q > 0 ? Checked("SF_Compt", SF_Compt, Z, q) : 0.0;
}

double KleinNishinaPerElectronBarn(double energyKeV) { return Checked("CS_KN", CS_KN, energyKeV); }

double AtomicWeight(int Z) { return Checked("AtomicWeight", ::AtomicWeight, Z); }

double ElementDensity(int Z) { return Checked("ElementDensity", ::ElementDensity, Z); }

double CompoundDensityNist(const std::string& nistName) {
    xrl_error* error = nullptr;
    compoundDataNIST* data = GetCompoundDataNISTByName(nistName.c_str(), &error);
    if (data == nullptr) {
        std::string message = "GetCompoundDataNISTByName: " +
                              std::string(error != nullptr ? error->message : nistName);
        if (error != nullptr) xrl_error_free(error);
        throw std::runtime_error(message);
    }
    const double density = data->density;
    FreeCompoundDataNIST(data);
    return density;
}

std::string XraylibVersion() { return ORDEVO_XRAYLIB_VERSION; }  // the installed package's version

}  // namespace ordevo::refdata
