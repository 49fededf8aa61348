#include "procedure_budget.h"

#include <cstdio>
#include <stdexcept>

#include "propagation_check.h"
#include "dose_report.h"
#include "report_evaluation.h"
#include "skin_dose_map.h"

namespace ordevo::uncertainty {

namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A coronary intervention as dose reports show them: per projection ten fluoroscopy events
// (25 mGy each) and five acquisitions (70 mGy each), 10 cm fields at the reference point, the
// table still; the last acquisition of the last projection left out: 89 events, 3.5 Gy Ka,r.
rdsr::DoseReport Procedure() {
    struct Projection {
        double primary, secondary;
    };
    constexpr Projection kProjections[] = {{0, 0},   {30, 0},    {-30, 0},
                                           {40, 20}, {-30, -20}, {0, 30}};
    rdsr::DoseReport report;
    int n = 0;
    for (const Projection& p : kProjections) {
        for (int i = 0; i < 15; ++i) {
            const bool acquisition = i >= 10;
            rdsr::IrradiationEvent e;
            e.Uid = "2.25.1." + std::to_string(++n);
            e.Type =
                acquisition ? rdsr::EventType::StationaryAcquisition : rdsr::EventType::Fluoroscopy;
            e.ReferenceAirKermaMGy = acquisition ? 70.0 : 25.0;
            e.KermaAreaProductGyCm2 = 0.001 * *e.ReferenceAirKermaMGy * 100.0;
            e.TubeVoltageKv = acquisition ? 80.0 : 75.0;
            e.Geometry.PrimaryAngleDeg = p.primary;
            e.Geometry.SecondaryAngleDeg = p.secondary;
            e.Geometry.TableLongitudinalMm = 0.0;
            e.Geometry.TableLateralMm = 0.0;
            e.Geometry.TableHeightMm = 0.0;
            report.Events.push_back(e);
        }
    }
    report.Events.pop_back();
    return report;
}

}  // namespace

std::string ProcedureBudgetTable(const ReferenceData& ref, const ScatterKernelLoader& loadKernel) {
    rdsr::PlaneSetup plane;
    plane.Equipment.Data = InterventionalRoom(ref, true);
    plane.EquipmentName = "room";
    const rdsr::DoseReport report = Procedure();
    const rdsr::ReportEvaluation evaluation =
        rdsr::EvaluateReport(ref, report, plane, nullptr, loadKernel);
    const map::MapSettings settings;
    map::SkinDoseMap result =
        map::ComputeSkinDoseMap(ref, report, evaluation, settings, loadKernel);
    map::AddPlacementUncertainty(result, ref, report, evaluation, settings, loadKernel);
    if (!result.PsdUncertainty) throw std::runtime_error("the procedure's map has no PSD budget");
    const UncertaintyBudget& b = *result.PsdUncertainty;

    std::string out =
        "**P** — a coronary intervention of 89 events in six projections (PA, LAO 30, "
        "RAO 30, LAO 40 CRA 20, RAO 30 CAU 20, CRA 30; fluoroscopy 25 mGy and "
        "acquisitions 70 mGy each, 3.5 Gy Ka,r in all) in the unmeasured room, "
        "mapped on the trunk of 170 cm. PSD " +
        Format("%.0f mGy", b.SkinDose) + " against the one-spot bound " +
        Format("%.0f mGy", result.UpperBoundMGy) + ".\n\n";
    out += "| component | share of the PSD (mGy) | (%) |\n|---|---|---|\n";
    for (const UncertaintyComponent& c : b.Components) {
        out += "| " + std::string(UncertaintySourceKey(c.Source)) + " | " +
               Format("%.1f", c.DoseStandardUncertainty) + " | " +
               Format("%.1f", 100.0 * c.DoseStandardUncertainty / b.SkinDose) + " |\n";
    }
    out += "| combined standard uncertainty | " + Format("%.1f", b.CombinedStandardUncertainty()) +
           " | " + Format("%.1f", 100.0 * b.CombinedStandardUncertainty() / b.SkinDose) + " |\n";
    out += "| **expanded uncertainty (k = 2)** | **" + Format("%.1f", b.ExpandedUncertainty()) +
           "** | **" + Format("%.1f", 100.0 * b.RelativeExpandedUncertainty()) + "** |\n";
    return out;
}

}  // namespace ordevo::uncertainty
