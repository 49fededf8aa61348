// The cases of the dose-chain validation, the chain's values for each, and the simulation of
// each with its statistics.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "beam_transport.h"
#include "couch_model.h"
#include "depth_dose.h"
#include "equipment_data.h"
#include "reference_data.h"
#include "spectrum.h"
#include "tissue_interactions.h"

namespace ordevo::validation {

// The equipment of every case: 12° tungsten target, 2.5 mm Al inherent and 1.0 mm Al added
// filtration; focus–isocentre 75 cm (reference point at 60 cm) and focus–image receptor 100 cm
// unless the run moves the focus away.
struct Geometry {
    double FocusIsocentreDistanceCm = 75.0;
    double FocusReceptorDistanceCm = 100.0;
    double ReferenceDistanceCm() const { return FocusIsocentreDistanceCm - 15.0; }
};

// The phantom: ICRU-44 soft tissue, square across, entrance surface at the FSD; 40 × 40 × 20 cm
// unless the run asks for another size.
struct PhantomSize {
    double WidthCm = 40.0;
    double DepthCm = 20.0;
};
// Radius of the scoring disc as a fraction of the field side (or diameter) at the skin: small
// enough that the dose across it is flat to well under 0.1 %.
inline constexpr double kScoringRadiusPerFieldSize = 0.05;

enum class CouchKind { None, TissueLayer, Realistic };

struct ValidationCase {
    std::string Id;
    double TubeVoltageKv = 80;
    double CopperMm = 0;
    double FieldSizeCm = 10;  // side or diameter at the reference point
    BeamShape Shape = BeamShape::Square;
    double FsdOffsetCm = 0;  // FSD − d_ref
    CouchKind Couch = CouchKind::None;
    double LayerThicknessCm = 0;  // TissueLayer only
};

// μen/ρ of dry air (NIST), cm²/g: what Ka,r is the kerma of.
double AirMuEnOverRho(double energyKeV);

// Air-kerma transmission of a beam for a per-bin transmission, as the editor forms it: the
// air-kerma spectrum of bins 1..2V weighted by the transmission of each bin.
template <typename Transmission>
double AirKermaTransmission(const SpectrumResult& spectrum, double tubeVoltageKv,
                            Transmission transmission) {
    const int lastBin = static_cast<int>(std::floor(2.0 * tubeVoltageKv));
    double total = 0;
    double transmitted = 0;
    for (int i = 1; i <= lastBin; ++i) {
        const double k = spectrum.AirKermaSpectrum[static_cast<std::size_t>(i)];
        total += k;
        transmitted += k * transmission(i);
    }
    return transmitted / total;
}

std::vector<ValidationCase> StandardCases();
// Cases run only on request (--cases): a tissue layer of 0.25 cm, the first depth-bin centre,
// where the chain's F is 1, for the beams of L2, L4 and L5.
std::vector<ValidationCase> DiagnosticCases();
// The single case of the quick check: no couch, 20 cm square, skin at the reference point, 80 kV.
ValidationCase QuickCase();

struct ChainValues {
    double ReferenceDistance = 0;         // d_ref, cm
    double FocusSkinDistance = 0;         // FSD, cm
    double CouchTransmission = 1;         // T
    double CouchSoftTissueThickness = 0;  // t, cm, as the editor derives it from T
    double PhantomSurfaceDistance = 0;    // d0, cm
    double SurfaceFieldSize = 0;          // s0, cm
    double TissueToAirDoseRatio = 0;      // R
    double BackscatterFactor = 0;         // B
    double DepthDoseFactor = 0;           // F
    double ScatterFactor = 0;             // SkinDose / (R·K_e)
    double SkinDosePerKar = 0;            // the chain as the program computes it, per unit Ka,r
    double OldSkinDosePerKar = 0;         // F·B·R·(FSD/d0)²·T, the chain before the mend
    // Circles only: the backscatter factor of the rings out to d0·s0/SID, the radius the circle
    // branch took before it took the field's own radius s0/2 (shown beside the mended one).
    double CircleBackscatterBeforeMend = 0;
};

struct SimulationValues {
    std::int64_t Histories = 0;
    double SkinDosePerKar = 0;         // soft-tissue kerma at the skin per unit Ka,r
    double Uncertainty = 0;            // standard uncertainty of the mean (batch spread)
    double PrimarySkinDosePerKar = 0;  // the part of it from photons that never interacted
    double PrimaryUncertainty = 0;
    double EnergyImbalance = 0;  // (deposited + escaped − incident) / incident
    double Seconds = 0;
};

struct CaseResult {
    ValidationCase Case;
    ChainValues Chain;
    SimulationValues Simulation;
};

// Everything the cases share: the shipped reference data, the materials.
class ValidationContext {
public:
    // Throws on a bad data set.
    explicit ValidationContext(const std::string& refdataFolder, const Geometry& geometry = {});

    const ReferenceData& Reference() const { return ref_; }
    const ScatterKernelLoader& KernelLoader() const { return loader_; }
    const refdata::TissueInteractions& Tissue() const { return tissue_; }
    const CouchMaterials& Couch() const { return couch_; }
    const Geometry& Equipment() const { return geometry_; }
    double FocusSkinDistance(const ValidationCase& c) const {
        return geometry_.ReferenceDistanceCm() + c.FsdOffsetCm;
    }

    EquipmentData EquipmentFor(const ValidationCase& c) const;  // without couch values
    SpectrumResult SpectrumFor(const ValidationCase& c) const;

private:
    Geometry geometry_;
    ReferenceData ref_;
    ScatterKernelLoader loader_;
    refdata::TissueInteractions tissue_;
    CouchMaterials couch_;
};

// The couch layers of a case, from the skin towards the focus (empty without a couch).
std::vector<CouchLayer> CouchLayersFor(const ValidationContext& context, const ValidationCase& c,
                                       const PhantomSize& phantom = {});

// T of the case's couch for the case's beam, and t from T by the editor's derivation.
// A tissue layer's T is the editor's own transmission of t of soft tissue.
ChainValues EvaluateChain(const ValidationContext& context, const ValidationCase& c);

// Aluminium thickness, mm, with the same air-kerma transmission as the layers for the beam of
// the case (NIST aluminium of the attenuation table).
double AluminiumEquivalentMm(const ValidationContext& context, const ValidationCase& beam,
                             const std::vector<CouchLayer>& layers);

BeamSetup BuildBeamSetup(const ValidationContext& context, const ValidationCase& c,
                         const PhantomSize& phantom = {});

struct SimulationSettings {
    std::int64_t Histories = 0;  // per case
    int Batches = 40;
    int Threads = 2;
    std::uint64_t BaseSeed = 20261207;
};

// Runs the case's histories in fixed batches (seed per case and batch), shared among threads;
// the result does not depend on the number of threads.
SimulationValues Simulate(const BeamSetup& setup, int caseIndex,
                          const SimulationSettings& settings);

}  // namespace ordevo::validation
