// Cases, the chain's values and the simulation of each case.
#include "validation_cases.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include <QString>

#include "backscatter.h"
#include "batch_runner.h"
#include "calculation_messages.h"
#include "couch.h"
#include "dose_evaluation.h"
#include "nist_tables.h"
#include "reference_files.h"
#include "scatter_kernel_file.h"

namespace ordevo::validation {

double AirMuEnOverRho(double energyKeV) {
    return refdata::InterpolateLogLog(refdata::NistAirDry(), refdata::Coefficient::EnergyAbsorption,
                                      energyKeV);
}

std::vector<ValidationCase> StandardCases() {
    constexpr double near = -15.0;
    constexpr double ref = 0.0;
    constexpr double far = 15.0;
    using enum CouchKind;
    const BeamShape sq = BeamShape::Square;
    const BeamShape ci = BeamShape::Circle;
    return {
        {"N1", 60, 0.0, 10, sq, ref, None, 0},
        {"N2", 80, 0.0, 10, sq, near, None, 0},
        {"N3", 80, 0.0, 10, sq, ref, None, 0},
        {"N4", 80, 0.0, 10, sq, far, None, 0},
        {"N5", 80, 0.3, 20, sq, ref, None, 0},
        {"N6", 100, 0.3, 5, sq, far, None, 0},
        {"N7", 120, 0.9, 20, sq, near, None, 0},
        {"N8", 100, 0.9, 10, ci, ref, None, 0},
        {"N9", 60, 0.3, 20, ci, far, None, 0},
        {"L1", 80, 0.0, 10, sq, near, TissueLayer, 1.0},
        {"L2", 80, 0.0, 10, sq, ref, TissueLayer, 1.0},
        {"L3", 80, 0.0, 10, sq, far, TissueLayer, 1.0},
        {"L4", 60, 0.3, 20, sq, ref, TissueLayer, 2.0},
        {"L5", 120, 0.9, 5, sq, ref, TissueLayer, 1.0},
        {"L6", 100, 0.3, 20, ci, far, TissueLayer, 1.0},
        {"C1", 80, 0.0, 10, sq, near, Realistic, 0},
        {"C2", 80, 0.0, 10, sq, ref, Realistic, 0},
        {"C3", 80, 0.0, 10, sq, far, Realistic, 0},
        {"C4", 60, 0.3, 20, sq, ref, Realistic, 0},
        {"C5", 120, 0.9, 5, sq, ref, Realistic, 0},
        {"C6", 100, 0.9, 20, sq, far, Realistic, 0},
    };
}

std::vector<ValidationCase> DiagnosticCases() {
    return {
        {"D2", 80, 0.0, 10, BeamShape::Square, 0.0, CouchKind::TissueLayer, 0.25},
        {"D4", 60, 0.3, 20, BeamShape::Square, 0.0, CouchKind::TissueLayer, 0.25},
        {"D5", 120, 0.9, 5, BeamShape::Square, 0.0, CouchKind::TissueLayer, 0.25},
    };
}

ValidationCase QuickCase() {
    return {"Q", 80, 0.0, 20, BeamShape::Square, 0.0, CouchKind::None, 0};
}

ValidationContext::ValidationContext(const std::string& refdataFolder, const Geometry& geometry)
    : geometry_(geometry) {
    const QString folder = QString::fromStdString(refdataFolder);
    ref_ = ReadReferenceData(folder).value();  // throws the reader's error, naming file and line
    loader_ = MakeScatterKernelLoader(folder);
}

EquipmentData ValidationContext::EquipmentFor(const ValidationCase& c) const {
    EquipmentData eq;
    eq.FocusReceptorDistance = geometry_.FocusReceptorDistanceCm;
    eq.FocusIsocentreDistance = geometry_.FocusIsocentreDistanceCm;
    eq.TargetAngle = 12.0;
    eq.InherentFiltration = 0.25;  // cm Al
    eq.AddedAluminium = 0.10;      // cm
    eq.AddedCopper = 0.1 * c.CopperMm;
    eq.CouchTransmission = 1.0;
    eq.CouchSoftTissueThickness = 0.0;
    eq.CalibrationConstant = 1.0;
    return eq;
}

SpectrumResult ValidationContext::SpectrumFor(const ValidationCase& c) const {
    const TubeVoltageRange fixed{c.TubeVoltageKv, c.TubeVoltageKv, TubeVoltageWeighting::Equal};
    return ComputeSpectrum(ref_.Attenuation, EquipmentFor(c), fixed);
}

std::vector<CouchLayer> CouchLayersFor(const ValidationContext& context, const ValidationCase& c,
                                       const PhantomSize& phantom) {
    switch (c.Couch) {
    case CouchKind::None: return {};
    case CouchKind::TissueLayer:
        // The chain's own picture: tissue on the skin, as wide as the phantom.
        return {{"soft-tissue layer", &context.Tissue(), c.LayerThicknessCm, 0.5 * phantom.WidthCm,
                 0.5 * phantom.WidthCm}};
    case CouchKind::Realistic: return RealisticCouch(context.Couch());
    }
    return {};
}

ChainValues EvaluateChain(const ValidationContext& context, const ValidationCase& c) {
    const ReferenceData& ref = context.Reference();
    EquipmentData eq = context.EquipmentFor(c);
    const SpectrumResult spectrum = context.SpectrumFor(c);
    ChainValues chain;
    if (c.Couch == CouchKind::TissueLayer) {
        const BinArray& mu = ref.Attenuation.TissueAttenuation;
        chain.CouchTransmission = AirKermaTransmission(spectrum, c.TubeVoltageKv, [&](int i) {
            return std::exp(-mu[static_cast<std::size_t>(i)] * c.LayerThicknessCm);
        });
    } else if (c.Couch == CouchKind::Realistic) {
        const std::vector<CouchLayer> layers = CouchLayersFor(context, c);
        chain.CouchTransmission = AirKermaTransmission(spectrum, c.TubeVoltageKv, [&](int i) {
            const double e = BinEnergyKeV(i);
            return e < MaterialInteractions::kMinEnergyKeV ? 0.0 : PrimaryTransmission(layers, e);
        });
    }
    if (c.Couch != CouchKind::None)
        chain.CouchSoftTissueThickness = ComputeCouchSoftTissueThickness(
            ref.Attenuation, eq, c.TubeVoltageKv, chain.CouchTransmission);
    eq.CouchTransmission = chain.CouchTransmission;
    eq.CouchSoftTissueThickness = chain.CouchSoftTissueThickness;

    const DoseCase in{
        .ReferenceAirKermaMGy = 1.0,  // every dose below is per unit Ka,r
        .KermaAreaProductGyCm2 = 1.0,
        .FocusSkinDistanceCm = context.FocusSkinDistance(c),
        .ReferenceFieldSizeCm = c.FieldSizeCm,
        .Shape = c.Shape == BeamShape::Circle ? FieldShape::Circle : FieldShape::Square,
        .ReferencePointDistanceCm = 0,
        .Equipment = eq,
        .Voltage = TubeVoltageRange{c.TubeVoltageKv, c.TubeVoltageKv, TubeVoltageWeighting::Equal}};
    const DoseEvaluation ev = EvaluateDose(ref, in, context.KernelLoader());
    if (ev.Outcome != EvaluationOutcome::Completed)
        throw std::runtime_error("case " + c.Id + ": the evaluation failed (" +
                                 DescribeCalculationFailure(ev.Failure) + ev.CallerFailureText +
                                 ")");

    const DoseResult& r = ev.Result;
    chain.PhantomSurfaceDistance = ev.Conditions.PhantomSurfaceDistance;
    chain.SurfaceFieldSize = ev.Conditions.SurfaceFieldSize;
    chain.TissueToAirDoseRatio = r.TissueToAirDoseRatio;
    chain.BackscatterFactor = r.BackscatterFactor;
    chain.DepthDoseFactor = r.DepthDoseFactor;
    chain.ScatterFactor = r.ScatterFactor;
    chain.SkinDosePerKar = r.SkinDose;  // Ka,r is 1 mGy and C is 1
    // The chain as the program states it, F·B·R·(d_ref/d0)²·cKa,r, and as it stood before the
    // inverse square to the skin and the single count of the couch: F·B·R·(FSD/d0)²·T·cKa,r.
    const double fsd = context.FocusSkinDistance(c);
    const double d0 = chain.PhantomSurfaceDistance;
    const double dRef = ev.Conditions.ReferencePointDistance;
    chain.ReferenceDistance = dRef;
    chain.FocusSkinDistance = fsd;
    const double factors = r.DepthDoseFactor * r.BackscatterFactor * r.TissueToAirDoseRatio;
    const double stated = factors * (dRef / d0) * (dRef / d0);
    if (dRef != context.Equipment().ReferenceDistanceCm() ||
        std::abs(stated / r.SkinDose - 1.0) > 1e-12)
        throw std::runtime_error("case " + c.Id +
                                 ": the evaluation's skin dose is not F·B·R·(d_ref/d0)²·cKa,r");
    chain.OldSkinDosePerKar = factors * (fsd / d0) * (fsd / d0) * chain.CouchTransmission;
    if (c.Shape == BeamShape::Circle) {
        // A diameter of 2·d0·s0/SID makes the circle branch integrate out to d0·s0/SID.
        const double sid = eq.FocusReceptorDistance;
        chain.CircleBackscatterBeforeMend = ComputeBackscatterFactor(
            ref, BackscatterInputs{.tubeVoltageKv = ev.Conditions.TubeVoltage,
                                   .spectrum = &ev.Spectrum.XraySpectrum,
                                   .phantomSurfaceDistanceCm = d0,
                                   .fieldSizeCm = 2.0 * d0 * chain.SurfaceFieldSize / sid,
                                   .shape = FieldShape::Circle});
    }
    return chain;
}

double AluminiumEquivalentMm(const ValidationContext& context, const ValidationCase& beam,
                             const std::vector<CouchLayer>& layers) {
    const SpectrumResult spectrum = context.SpectrumFor(beam);
    const double target = AirKermaTransmission(spectrum, beam.TubeVoltageKv, [&](int i) {
        const double e = BinEnergyKeV(i);
        return e < MaterialInteractions::kMinEnergyKeV ? 0.0 : PrimaryTransmission(layers, e);
    });
    const BinArray& mu = context.Reference().Attenuation.Aluminium;
    auto transmissionOf = [&](double cm) {
        return AirKermaTransmission(spectrum, beam.TubeVoltageKv, [&](int i) {
            return std::exp(-mu[static_cast<std::size_t>(i)] * cm);
        });
    };
    double lo = 0.0;
    double hi = 2.0;  // cm
    for (int step = 0; step < 60; ++step) {
        const double mid = 0.5 * (lo + hi);
        (transmissionOf(mid) > target ? lo : hi) = mid;
    }
    return 10.0 * 0.5 * (lo + hi);
}

BeamSetup BuildBeamSetup(const ValidationContext& context, const ValidationCase& c,
                         const PhantomSize& phantom) {
    BeamSetup setup;
    setup.Shape = c.Shape;
    setup.FieldSizeCm = c.FieldSizeCm;
    setup.ReferenceDistanceCm = context.Equipment().ReferenceDistanceCm();
    const SpectrumResult spectrum = context.SpectrumFor(c);
    setup.Spectrum.assign(spectrum.XraySpectrum.begin(), spectrum.XraySpectrum.end());
    const double fsd = context.FocusSkinDistance(c);
    const double half = 0.5 * phantom.WidthCm;
    setup.Boxes.push_back(
        Box{{-half, -half, fsd}, {half, half, fsd + phantom.DepthCm}, &context.Tissue()});
    double z = fsd;
    for (const CouchLayer& layer : CouchLayersFor(context, c, phantom)) {
        setup.Boxes.push_back(Box{{-layer.HalfWidthCm, -layer.HalfLengthCm, z - layer.ThicknessCm},
                                  {layer.HalfWidthCm, layer.HalfLengthCm, z},
                                  layer.Material});
        z -= layer.ThicknessCm;
    }
    setup.SkinPlaneCm = fsd;
    setup.ScoringRadiusCm =
        kScoringRadiusPerFieldSize * c.FieldSizeCm * fsd / setup.ReferenceDistanceCm;
    setup.SkinMedium = &context.Tissue();
    return setup;
}

SimulationValues Simulate(const BeamSetup& setup, int caseIndex,
                          const SimulationSettings& settings) {
    const std::int64_t total = settings.Histories;
    if (total < 1) throw std::invalid_argument("at least one history per case");
    const auto start = std::chrono::steady_clock::now();
    const SpectrumSampler sampler(setup);
    const int batches =
        static_cast<int>(std::min<std::int64_t>(std::max(1, settings.Batches), total));
    std::vector<SkinTally> tallies(static_cast<std::size_t>(batches));

    refdata::RunBatchesInParallel(batches, std::max(1, settings.Threads), [&](int b) {
        const std::int64_t first = total * b / batches;
        const std::int64_t last = total * (b + 1) / batches;
        TransportBeamBatch(setup, sampler, last - first,
                           refdata::BatchSeed(settings.BaseSeed, caseIndex, b),
                           tallies[static_cast<std::size_t>(b)]);
    });

    // Ka,r per emitted photon: the fluence on the axis at the reference point, 1/(Ω·d²), times
    // the spectrum's mean E·(μen/ρ) of air. Skin kerma per photon: the disc's score over its area.
    const double d = setup.ReferenceDistanceCm;
    const double karPerPhoton = sampler.Average([](double e) { return e * AirMuEnOverRho(e); }) /
                                (FieldSolidAngle(setup) * d * d);
    const double discArea = std::numbers::pi * setup.ScoringRadiusCm * setup.ScoringRadiusCm;
    std::vector<double> batchTotals;
    std::vector<double> primary;
    double incident = 0;
    double balance = 0;
    SimulationValues values;
    for (const SkinTally& tally : tallies) {
        const double scale = 1.0 / (static_cast<double>(tally.Histories) * discArea * karPerPhoton);
        batchTotals.push_back(tally.SkinScore * scale);
        primary.push_back(tally.PrimarySkinScore * scale);
        incident += tally.IncidentKeV;
        balance += tally.DepositedKeV + tally.EscapedKeV - tally.IncidentKeV;
        values.Histories += tally.Histories;
    }
    // Equal-sized batches (within one history), so the plain mean of the batch values is the
    // estimate.
    std::tie(values.SkinDosePerKar, values.Uncertainty) = refdata::MeanAndUncertainty(batchTotals);
    std::tie(values.PrimarySkinDosePerKar, values.PrimaryUncertainty) =
        refdata::MeanAndUncertainty(primary);
    values.EnergyImbalance = balance / incident;
    values.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return values;
}

}  // namespace ordevo::validation
