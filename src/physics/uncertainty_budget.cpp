#include "uncertainty_budget.h"

#include <algorithm>
#include <cmath>

namespace ordevo {

namespace {

double SumOfSquares(const std::vector<UncertaintyComponent>& components) {
    double sum = 0;
    for (const UncertaintyComponent& c : components)
        sum += c.DoseStandardUncertainty * c.DoseStandardUncertainty;
    return sum;
}

}  // namespace

std::optional<DoseCase> ShiftedInputs(DoseCase in, const InputShifts& shift) {
    EquipmentData& eq = in.Equipment;
    eq.CalibrationConstant *= 1.0 + shift.Calibration;
    // t, the soft tissue of the couch's primary transmission, moves with T as −ln T does
    // (the attenuation of one beam).
    if (shift.CouchTransmission != 0.0 && eq.CouchTransmission < 1.0) {
        const double moved = eq.CouchTransmission * (1.0 + shift.CouchTransmission);
        if (!(moved > 0.0)) return std::nullopt;
        eq.CouchSoftTissueThickness = moved >= 1.0 ? 0.0
                                                   : eq.CouchSoftTissueThickness * std::log(moved) /
                                                         std::log(eq.CouchTransmission);
        eq.CouchTransmission = std::min(moved, 1.0);
    }
    in.Voltage.TubeVoltageLow *= 1.0 + shift.TubeVoltage;
    in.Voltage.TubeVoltageHigh *= 1.0 + shift.TubeVoltage;
    if (in.Voltage.TubeVoltageHigh > 150.0) return std::nullopt;
    // The aluminium of the tube and of the added filter act alike: the inherent part carries
    // the move, so that a unit without added aluminium is moved too.
    eq.InherentFiltration += shift.AluminiumCm;
    if (eq.InherentFiltration < 0.0) return std::nullopt;
    eq.AddedCopper *= 1.0 + shift.Copper;
    in.FocusSkinDistanceCm += shift.FocusSkinDistanceCm;
    if (!(in.FocusSkinDistanceCm > eq.CouchSoftTissueThickness)) return std::nullopt;
    return in;
}

double UncertaintyBudget::CombinedStandardUncertainty() const {
    return std::sqrt(SumOfSquares(Components));
}

double UncertaintyBudget::RelativeExpandedUncertainty() const {
    return SkinDose > 0.0 ? ExpandedUncertainty() / SkinDose : 0.0;
}

DepthDoseRatios::Class* DepthDoseRatios::ClassOf(const DoseCase& in, const DoseEvaluation& central,
                                                 const UncertaintyKnowledge& known) {
    const CaseConditions& cc = central.Conditions;
    const double f = central.Result.DepthDoseFactor;
    const double classed[] = {in.Voltage.TubeVoltageLow, in.Voltage.TubeVoltageHigh,
                              cc.PhantomSurfaceDistance, cc.SurfaceFieldSize};
    if (!(f > 0.0) || !std::isfinite(f)) return nullptr;
    if (!(cc.SurfaceFieldSize >= kSmallestSharedFieldCm)) return nullptr;
    std::vector<double> key;
    const double step = std::log1p(classWidth_);
    for (double value : classed) {
        if (!(value > 0.0) || !std::isfinite(value)) return nullptr;
        key.push_back(std::floor(std::log(value) / step));
    }
    const EquipmentData& eq = in.Equipment;
    key.insert(key.end(), {static_cast<double>(in.Voltage.Weighting), static_cast<double>(cc.Shape),
                           eq.TargetAngle, eq.InherentFiltration, eq.AddedAluminium, eq.AddedCopper,
                           static_cast<double>(eq.OtherFilterFlag), eq.OtherFilterThickness,
                           eq.CouchTransmission, eq.CouchSoftTissueThickness,
                           known.CouchMeasured ? 1.0 : 0.0, known.FocusSkinDistanceCm});
    if (eq.OtherFilterFlag != 0)
        key.insert(key.end(), eq.OtherFilterAttenuation.begin(), eq.OtherFilterAttenuation.end());
    for (double value : key)
        if (!std::isfinite(value)) return nullptr;
    return &classes_[key];
}

std::optional<UncertaintyBudget> EvaluateUncertainty(const ReferenceData& ref, const DoseCase& in,
                                                     const DoseEvaluation& central,
                                                     const UncertaintyKnowledge& known,
                                                     const ScatterKernelLoader& loadKernel,
                                                     const SpectrumSource& spectrumSource,
                                                     DepthDoseRatios* shared) {
    if (central.Outcome != EvaluationOutcome::Completed) return std::nullopt;
    UncertaintyBudget budget;
    budget.SkinDose = central.Result.SkinDose;
    const double dose = budget.SkinDose;
    DepthDoseRatios::Class* sharedClass = shared ? shared->ClassOf(in, central, known) : nullptr;
    const double centralDepthDose = central.Result.DepthDoseFactor;

    // `slot`: the moved input and its side, for the class's ratio.
    auto doseWith = [&](const std::optional<DoseCase>& moved,
                        std::size_t slot) -> std::optional<double> {
        if (!moved) return std::nullopt;
        DepthDoseSource depthDose;
        if (sharedClass) {
            depthDose = [&](const DepthDoseInputs& inputs) {
                std::optional<double>& ratio = sharedClass->Ratio.at(slot);
                if (ratio) return centralDepthDose * *ratio;
                const double factor = ComputeDepthDoseFactor(ref, inputs, loadKernel);
                ratio = factor / centralDepthDose;
                return factor;
            };
        }
        const DoseEvaluation ev =
            EvaluateDose(ref, *moved, loadKernel, {}, spectrumSource, depthDose);
        if (ev.Outcome != EvaluationOutcome::Completed) return std::nullopt;
        return ev.Result.SkinDose;
    };
    // The share of one input: the larger of the changes on its two sides (half the difference
    // between them would hide an input near the top of a curve, as the tube voltage near the
    // backscatter's maximum), or the change of the one side the chain accepts.
    bool complete = true;
    auto byChain = [&](UncertaintySource source, double u, double InputShifts::*field) {
        InputShifts up, down;
        up.*field = u;
        down.*field = -u;
        const auto slot = 2 * static_cast<std::size_t>(source);
        const std::optional<double> above = doseWith(ShiftedInputs(in, up), slot);
        const std::optional<double> below = doseWith(ShiftedInputs(in, down), slot + 1);
        if (!above && !below) complete = false;
        const double share =
            std::max(above ? std::abs(*above - dose) : 0.0, below ? std::abs(dose - *below) : 0.0);
        budget.Components.push_back({source, u, share});
    };
    // A factor the skin dose is proportional to: its relative uncertainty is the dose's.
    auto proportional = [&](UncertaintySource source, double u) {
        budget.Components.push_back({source, u, u * dose});
    };

    const EquipmentData& eq = in.Equipment;
    byChain(UncertaintySource::Calibration, CalibrationRelativeUncertainty(known),
            &InputShifts::Calibration);
    if (eq.CouchTransmission < 1.0)
        byChain(UncertaintySource::CouchTransmission, CouchTransmissionRelativeUncertainty(known),
                &InputShifts::CouchTransmission);
    byChain(UncertaintySource::TubeVoltage, kTubeVoltageRelativeUncertainty,
            &InputShifts::TubeVoltage);
    byChain(UncertaintySource::AluminiumFiltration, kAluminiumFiltrationUncertaintyCm,
            &InputShifts::AluminiumCm);
    if (eq.AddedCopper > 0.0)
        byChain(UncertaintySource::CopperFiltration, kCopperFiltrationRelativeUncertainty,
                &InputShifts::Copper);
    proportional(UncertaintySource::BackscatterTable, BackscatterTableRelativeUncertainty());
    proportional(UncertaintySource::ChainModel, ChainModelRelativeUncertainty(eq));
    byChain(UncertaintySource::FocusSkinDistance, known.FocusSkinDistanceCm,
            &InputShifts::FocusSkinDistanceCm);
    if (!complete) return std::nullopt;
    return budget;
}

UncertaintyBudget SumCorrelated(const std::vector<UncertaintyBudget>& parts) {
    UncertaintyBudget sum;
    for (const UncertaintyBudget& part : parts) {
        sum.SkinDose += part.SkinDose;
        for (const UncertaintyComponent& c : part.Components) {
            UncertaintyComponent* same = nullptr;
            for (UncertaintyComponent& s : sum.Components)
                if (s.Source == c.Source) same = &s;
            if (same == nullptr) {
                sum.Components.push_back(c);
                continue;
            }
            same->DoseStandardUncertainty += c.DoseStandardUncertainty;
            // Inputs differ between events (each its own voltage); the largest is listed.
            same->InputStandardUncertainty =
                std::max(same->InputStandardUncertainty, c.InputStandardUncertainty);
        }
    }
    std::sort(sum.Components.begin(), sum.Components.end(),
              [](const UncertaintyComponent& a, const UncertaintyComponent& b) {
                  return a.Source < b.Source;
              });
    return sum;
}

void AddComponent(UncertaintyBudget& budget, UncertaintySource source,
                  double inputStandardUncertainty, double doseStandardUncertainty) {
    budget.Components.push_back({source, inputStandardUncertainty, doseStandardUncertainty});
}

}  // namespace ordevo
