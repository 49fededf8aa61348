#include "propagation_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "couch.h"
#include "field_size.h"

namespace ordevo::uncertainty {

namespace {

constexpr double kSqrt3 = 1.7320508075688772;

DoseCase CaseInputs(const EquipmentData& eq, double kv, double karMGy, double pkaGyCm2,
                    double fsdCm) {
    DoseCase in;
    in.FocusSkinDistanceCm = fsdCm;
    in.ReferenceAirKermaMGy = karMGy;
    in.KermaAreaProductGyCm2 = pkaGyCm2;
    // The field as the main window shows it: rounded to 0.01 cm.
    in.ReferenceFieldSizeCm =
        std::round(100.0 * ComputeReferenceFieldSize(FieldShape::Square, karMGy, pkaGyCm2)) / 100.0;
    in.Shape = FieldShape::Square;
    in.Equipment = eq;
    in.Voltage = TubeVoltageRange{kv, kv, TubeVoltageWeighting::Equal};
    return in;
}

double Draw(std::mt19937_64& random, UncertaintyDistribution distribution, double u) {
    if (distribution == UncertaintyDistribution::Normal)
        return std::normal_distribution<double>(0.0, u)(random);
    return std::uniform_real_distribution<double>(-kSqrt3 * u, kSqrt3 * u)(random);
}

double Quantile(const std::vector<double>& sorted, double p) {
    const double at = p * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(at));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string InputText(const UncertaintyComponent& c) {
    switch (c.Source) {
    case UncertaintySource::AluminiumFiltration:
        return Format("%.2f mm Al", 10.0 * c.InputStandardUncertainty);
    case UncertaintySource::FocusSkinDistance:
    case UncertaintySource::PatientPlacement: return Format("%.1f cm", c.InputStandardUncertainty);
    default: return Format("%.1f %%", 100.0 * c.InputStandardUncertainty);
    }
}

}  // namespace

// An interventional room: the reference point 60 cm from the focus, a 12° tungsten target,
// 2.5 mm Al inherent, 1.0 mm Al and 0.3 mm Cu added, a carbon-fibre couch transmitting 80 %
// at 80 kV.
EquipmentData InterventionalRoom(const ReferenceData& ref, bool withCouch) {
    EquipmentData eq;
    eq.FocusReceptorDistance = 110.0;
    eq.FocusIsocentreDistance = 75.0;
    eq.TargetAngle = 12.0;
    eq.InherentFiltration = 0.25;
    eq.AddedAluminium = 0.10;
    eq.AddedCopper = 0.03;
    eq.CalibrationConstant = 1.05;
    eq.CouchTransmission = 1.0;
    if (withCouch) {
        eq.CouchTransmission = 0.80;
        eq.CouchSoftTissueThickness =
            ComputeCouchSoftTissueThickness(ref.Attenuation, eq, 80.0, eq.CouchTransmission);
    }
    return eq;
}

std::vector<TypicalCase> TypicalCases(const ReferenceData& ref) {
    const EquipmentData room = InterventionalRoom(ref, true);
    UncertaintyKnowledge measured;
    measured.CalibrationMeasured = true;
    measured.CouchMeasured = true;
    return {
        {"M",
         "measured room: PA beam through the couch, 80 kV, 0.3 mm Cu, 10 cm field, FSD 60 cm, "
         "Ka,r 1500 mGy; C and T measured with a calibrated dosimeter",
         CaseInputs(room, 80.0, 1500.0, 150.0, 60.0), measured},
        {"U", "the same room and beam, nothing measured: C and T as the equipment file states them",
         CaseInputs(room, 80.0, 1500.0, 150.0, 60.0), UncertaintyKnowledge{}},
        {"L",
         "lateral beam (no couch), 100 kV, 0.3 mm Cu, 12.25 cm field, FSD 55 cm, Ka,r 800 mGy, "
         "nothing measured",
         CaseInputs(InterventionalRoom(ref, false), 100.0, 800.0, 120.0, 55.0),
         UncertaintyKnowledge{}},
    };
}

PropagationCheck CheckPropagation(const ReferenceData& ref, const ScatterKernelLoader& loadKernel,
                                  const TypicalCase& typical, int samples, std::uint64_t seed) {
    const DoseEvaluation central = EvaluateDose(ref, typical.Inputs, loadKernel);
    auto budget = EvaluateUncertainty(ref, typical.Inputs, central, typical.Known, loadKernel);
    if (!budget) throw std::runtime_error("case " + typical.Id + ": no budget");
    PropagationCheck check;
    check.Budget = *budget;

    const UncertaintyKnowledge& known = typical.Known;
    auto uOf = [&](UncertaintySource source) {
        for (const UncertaintyComponent& c : budget->Components)
            if (c.Source == source) return c.InputStandardUncertainty;
        return 0.0;
    };
    auto drawOf = [&](std::mt19937_64& random, UncertaintySource source) {
        return Draw(random, DistributionOf(source, known), uOf(source));
    };
    std::mt19937_64 random(seed);
    std::vector<double> doses;
    for (int i = 0; i < samples; ++i) {
        InputShifts shift;
        shift.Calibration = drawOf(random, UncertaintySource::Calibration);
        shift.CouchTransmission = drawOf(random, UncertaintySource::CouchTransmission);
        shift.TubeVoltage = drawOf(random, UncertaintySource::TubeVoltage);
        shift.AluminiumCm = drawOf(random, UncertaintySource::AluminiumFiltration);
        shift.Copper = drawOf(random, UncertaintySource::CopperFiltration);
        shift.FocusSkinDistanceCm = drawOf(random, UncertaintySource::FocusSkinDistance);
        const double backscatter = drawOf(random, UncertaintySource::BackscatterTable);
        const double model = drawOf(random, UncertaintySource::ChainModel);
        const auto moved = ShiftedInputs(typical.Inputs, shift);
        if (!moved) {
            ++check.Refused;
            continue;
        }
        const DoseEvaluation ev = EvaluateDose(ref, *moved, loadKernel);
        if (ev.Outcome != EvaluationOutcome::Completed) {
            ++check.Refused;
            continue;
        }
        doses.push_back(ev.Result.SkinDose * (1.0 + backscatter) * (1.0 + model));
    }
    if (doses.size() < 2) throw std::runtime_error("case " + typical.Id + ": too few draws");
    check.Samples = static_cast<int>(doses.size());
    double sum = 0, squares = 0;
    for (double d : doses) sum += d;
    check.SampledMean = sum / static_cast<double>(doses.size());
    for (double d : doses) squares += (d - check.SampledMean) * (d - check.SampledMean);
    check.SampledStandardDeviation = std::sqrt(squares / static_cast<double>(doses.size() - 1));
    int inside = 0;
    for (double d : doses)
        if (std::abs(d - budget->SkinDose) <= budget->ExpandedUncertainty()) ++inside;
    check.Coverage = inside / static_cast<double>(doses.size());
    std::sort(doses.begin(), doses.end());
    check.SampledLow = Quantile(doses, 0.025);
    check.SampledHigh = Quantile(doses, 0.975);
    return check;
}

std::string BudgetTable(const TypicalCase& typical, const PropagationCheck& check) {
    const UncertaintyBudget& b = check.Budget;
    std::string out = "**" + typical.Id + "** — " + typical.Description + ". Skin dose " +
                      Format("%.1f mGy", b.SkinDose) + ".\n\n";
    out +=
        "| component | distribution | standard uncertainty of the input | share of the skin dose "
        "(mGy) | (%) |\n";
    out += "|---|---|---|---|---|\n";
    for (const UncertaintyComponent& c : b.Components) {
        const bool rectangular =
            DistributionOf(c.Source, typical.Known) == UncertaintyDistribution::Rectangular;
        out += "| " + std::string(UncertaintySourceKey(c.Source)) + " | " +
               (rectangular ? "rectangular" : "normal") + " | " + InputText(c) + " | " +
               Format("%.1f", c.DoseStandardUncertainty) + " | " +
               Format("%.1f", 100.0 * c.DoseStandardUncertainty / b.SkinDose) + " |\n";
    }
    out += "| combined standard uncertainty | | | " +
           Format("%.1f", b.CombinedStandardUncertainty()) + " | " +
           Format("%.1f", 100.0 * b.CombinedStandardUncertainty() / b.SkinDose) + " |\n";
    out += "| **expanded uncertainty (k = 2)** | | | **" + Format("%.1f", b.ExpandedUncertainty()) +
           "** | **" + Format("%.1f", 100.0 * b.RelativeExpandedUncertainty()) + "** |\n";
    return out;
}

std::string CheckTable(const std::vector<TypicalCase>& cases,
                       const std::vector<PropagationCheck>& checks) {
    std::string out =
        "| case | skin dose (mGy) | propagated interval (k = 2) | sampled 95 % interval | "
        "width: sampled / propagated − 1 | draws inside the propagated interval | sampled mean | "
        "sampled standard deviation / u_c | draws (refused) "
        "|\n|---|---|---|---|---|---|---|---|---|\n";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const PropagationCheck& c = checks[i];
        const UncertaintyBudget& b = c.Budget;
        out += "| " + cases[i].Id + " | " + Format("%.1f", b.SkinDose) + " | " +
               Format("%.1f", b.SkinDose - b.ExpandedUncertainty()) + " … " +
               Format("%.1f", b.SkinDose + b.ExpandedUncertainty()) + " | " +
               Format("%.1f", c.SampledLow) + " … " + Format("%.1f", c.SampledHigh) + " | " +
               Format("%+.1f %%", 100.0 * c.WidthDeviation()) + " | " +
               Format("%.1f %%", 100.0 * c.Coverage) + " | " + Format("%.1f", c.SampledMean) +
               " | " +
               Format("%.3f", c.SampledStandardDeviation / b.CombinedStandardUncertainty()) +
               " | " + std::to_string(c.Samples) + " (" + std::to_string(c.Refused) + ") |\n";
    }
    return out;
}

}  // namespace ordevo::uncertainty
