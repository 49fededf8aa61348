#include "report_evaluation.h"

#include <map>
#include <memory>

#include "calculation_error.h"
#include "case_entry.h"
#include "evaluation_messages.h"
#include "field_size.h"
#include "number_format.h"
#include "reference_point.h"
#include "spectrum.h"
#include "spectrum_store.h"
#include "tube_voltage_text.h"
#include "units.h"

namespace ordevo::rdsr {
namespace {

void AddNote(std::string& notes, const std::string& note) {
    if (!notes.empty()) notes += "; ";
    notes += note;
}

std::string Describe(double value) { return FormatNumber(value, "0.0"); }

// The event's Cu and Al in place of the equipment's added filters; absent filters leave them.
void ApplyFilters(const IrradiationEvent& event, const PlaneSetup& plane, EventCase& c,
                  EquipmentData& equipment) {
    if (event.Filters.empty()) {
        c.CopperMm = plane.Equipment.AddedCopperMm;
        c.AluminiumMm = plane.Equipment.AddedAluminiumMm;
        AddNote(c.Note, "フィルタの記載なし: 装置ファイルの付加フィルタを使用");
        return;
    }
    double copperMm = 0, aluminiumMm = 0;
    for (const XrayFilter& filter : event.Filters) {
        const std::optional<double> thickness = filter.ThicknessMm();
        if (filter.Material == FilterMaterial::Other) {
            AddNote(c.Note, "フィルタ " + filter.MaterialText + " は扱えないため無視");
            continue;
        }
        if (!thickness)
            AddNote(c.Note, "厚さの記載がないフィルタ " + filter.MaterialText + " は 0 mm");
        if (filter.MinimumThicknessMm && filter.MaximumThicknessMm &&
            *filter.MinimumThicknessMm != *filter.MaximumThicknessMm)
            AddNote(c.Note, "フィルタ " + filter.MaterialText + " の厚さ " +
                                FormatNumber(*filter.MinimumThicknessMm, "0.00") + "～" +
                                FormatNumber(*filter.MaximumThicknessMm, "0.00") +
                                " mm: 安全側の最大値を使用");
        (filter.Material == FilterMaterial::Copper ? copperMm : aluminiumMm) +=
            thickness.value_or(0.0);
    }
    c.CopperMm = copperMm;
    c.AluminiumMm = aluminiumMm;
    equipment.AddedCopper = copperMm * kCentimetresPerMillimetre;
    equipment.AddedAluminium = aluminiumMm * kCentimetresPerMillimetre;
}

EventCase Refuse(EventCase c, EventStatus status, const std::string& why) {
    c.Status = status;
    c.Note = c.Note.empty() ? why : why + "; " + c.Note;
    return c;
}

PlaneEvaluation& PlaneFor(ReportEvaluation& out, AcquisitionPlane plane, const PlaneSetup* setup) {
    for (PlaneEvaluation& p : out.Planes)
        if (p.Plane == plane) return p;
    PlaneEvaluation p;
    p.Plane = plane;
    if (setup) {
        p.EquipmentName = setup->EquipmentName;
        p.FocusSkinDistanceCm = setup->FocusSkinDistanceCm;
        p.Knowledge = setup->Knowledge;
    }
    out.Planes.push_back(std::move(p));
    return out.Planes.back();
}

void Summarise(const ReferenceData& ref, PlaneEvaluation& plane, const PlaneSetup* setup,
               const ScatterKernelLoader& loadKernel) {
    PlaneTotals& t = plane.Totals;
    double kvWeighted = 0, referenceWeighted = 0, copperWeighted = 0, aluminiumWeighted = 0;
    std::vector<UncertaintyBudget> budgets;
    bool everyBudget = true;
    for (const EventEvaluation& e : plane.Events) {
        switch (e.Case.Status) {
        case EventStatus::Evaluated:
            ++t.Evaluated;
            if (e.Uncertainty)
                budgets.push_back(*e.Uncertainty);
            else
                everyBudget = false;
            t.ReferenceAirKermaMGy += e.Case.Inputs.ReferenceAirKermaMGy;
            t.KermaAreaProductGyCm2 += e.Case.Inputs.KermaAreaProductGyCm2;
            t.SkinDoseSumMGy += e.SkinDoseMGy;
            kvWeighted += e.Case.Inputs.ReferenceAirKermaMGy * e.Case.TubeVoltageKv;
            referenceWeighted += e.Case.Inputs.ReferenceAirKermaMGy * e.Case.ReferenceDistanceCm;
            copperWeighted += e.Case.Inputs.ReferenceAirKermaMGy * e.Case.CopperMm;
            aluminiumWeighted += e.Case.Inputs.ReferenceAirKermaMGy * e.Case.AluminiumMm;
            if (e.Case.KvAssumed) t.SingleCase.TubeVoltageAssumed = true;
            break;
        case EventStatus::Skipped: ++t.Skipped; break;
        case EventStatus::Failed: ++t.Failed; break;
        }
    }
    if (everyBudget && !budgets.empty()) t.SkinDoseSumUncertainty = SumCorrelated(budgets);
    if (t.Evaluated == 0 || !setup) {
        t.SingleCaseNote = "計算できた照射がありません";
        return;
    }
    t.MeanKv = LeadingNumber(FormatNumber(kvWeighted / t.ReferenceAirKermaMGy, "##0.0"));
    t.SingleCase.ReferenceAirKerma = FormatNumber(t.ReferenceAirKermaMGy, "###0.000");
    t.SingleCase.KermaAreaProduct = FormatNumber(t.KermaAreaProductGyCm2, "###0.0000");
    t.SingleCase.TubeVoltage =
        TubeVoltageText(TubeVoltageRange{t.MeanKv, t.MeanKv, TubeVoltageWeighting::Equal});
    t.SingleCase.ReferenceDistanceCm = referenceWeighted / t.ReferenceAirKermaMGy;
    t.SingleCase.CopperMm = copperWeighted / t.ReferenceAirKermaMGy;
    t.SingleCase.AluminiumMm = aluminiumWeighted / t.ReferenceAirKermaMGy;
    t.SingleCase.FocusSkinDistance = FormatNumber(
        setup->FocusSkinDistanceCm.value_or(t.SingleCase.ReferenceDistanceCm), "##0.0");
    std::string refusal;
    const DoseEvaluation single =
        EvaluateSingleCase(ref, t.SingleCase, *setup, loadKernel, &refusal);
    if (single.Outcome == EvaluationOutcome::Completed)
        t.SingleCaseSkinDoseMGy = single.Result.SkinDose;
    else
        t.SingleCaseNote = refusal.empty() ? MessageFor(single.Outcome) : refusal;
}

// One event through the chain into `e`; throws what the chain throws.
void EvaluateEvent(const ReferenceData& ref, const IrradiationEvent& event, const PlaneSetup* setup,
                   const ScatterKernelLoader& loadKernel, SpectrumStore& cache,
                   DepthDoseRatios& ratios, EventEvaluation& e) {
    if (!setup) {
        e.Case.Status = EventStatus::Failed;
        e.Case.Note = "平面 B の装置ファイルが指定されていません";
        return;
    }
    e.Case = MakeEventCase(event, *setup);
    if (e.Case.Status != EventStatus::Evaluated) return;
    const SpectrumSource spectra = [&cache](const AttenuationTable& t, const EquipmentData& eq,
                                            const TubeVoltageRange& v) {
        return cache.Get(t, eq, v);
    };
    const DoseEvaluation d = EvaluateDose(ref, e.Case.Inputs, loadKernel, {}, spectra);
    if (d.Outcome == EvaluationOutcome::Completed) {
        e.SkinDoseMGy = d.Result.SkinDose;
        e.Result = d.Result;
        e.Uncertainty = EvaluateUncertainty(ref, e.Case.Inputs, d, setup->Knowledge, loadKernel,
                                            spectra, &ratios);
        if (e.SkinDoseMGy > kSkinDoseCeilingMGy)
            AddNote(e.Case.Note,
                    "皮膚線量 " + FormatNumber(e.SkinDoseMGy / 1000.0, "0.0") +
                        " Gy は上限 100 Gy を超えています: 報告の値と単位を確認して下さい");
    } else {
        e.Case = Refuse(std::move(e.Case), EventStatus::Failed,
                        std::string(MessageFor(d.Outcome)) + " (" + FailureReasonOf(d) + ")");
    }
}

}  // namespace

const char* EventStatusName(EventStatus status) {
    switch (status) {
    case EventStatus::Evaluated: return "evaluated";
    case EventStatus::Skipped: return "skipped";
    case EventStatus::Failed: return "failed";
    }
    return "";
}

EventCase MakeEventCase(const IrradiationEvent& event, const PlaneSetup& plane) {
    EventCase c;
    EquipmentData equipment = plane.Equipment.Data;

    // Tube voltage: the event's, else the equipment's typical one.
    if (event.TubeVoltageKv) {
        c.TubeVoltageKv = *event.TubeVoltageKv;
    } else {
        c.TubeVoltageKv = LeadingNumber(plane.Equipment.TypicalTubeVoltageText.toStdString());
        c.KvAssumed = true;
    }
    ApplyFilters(event, plane, c, equipment);

    // Geometry: the event's distances where given.
    if (event.SourceToIsocentreMm && *event.SourceToIsocentreMm > 0)
        equipment.FocusIsocentreDistance = *event.SourceToIsocentreMm / kMillimetresPerCentimetre;
    if (event.SourceToDetectorMm && *event.SourceToDetectorMm > 0)
        equipment.FocusReceptorDistance = *event.SourceToDetectorMm / kMillimetresPerCentimetre;
    double referenceDistanceCm = 0;  // 0: the chain's FAD − 15
    if (event.SourceToReferencePointMm && *event.SourceToReferencePointMm > 0) {
        referenceDistanceCm = *event.SourceToReferencePointMm / kMillimetresPerCentimetre;
    } else if (!event.ReferencePoint.empty()) {
        const EventGeometryMm geometry{equipment.FocusIsocentreDistance * kMillimetresPerCentimetre,
                                       equipment.FocusReceptorDistance * kMillimetresPerCentimetre,
                                       event.SourceToTablePlaneMm};
        if (auto mm = ReferencePointDistanceMm(event.ReferencePoint, geometry))
            referenceDistanceCm = *mm / kMillimetresPerCentimetre;
        else
            AddNote(c.Note,
                    "基準点の定義 \"" + event.ReferencePoint.Text + "\" を解釈できず FAD - 15 cm");
    }
    c.ReferenceDistanceCm = referenceDistanceCm > 0
                                ? referenceDistanceCm
                                : ReferencePointDistanceOf(equipment.FocusIsocentreDistance);
    c.FocusSkinDistanceCm = plane.FocusSkinDistanceCm.value_or(c.ReferenceDistanceCm);
    // The skin lies between the focus and the receptor; an FSD at or past the receptor is a typo.
    if (!(c.FocusSkinDistanceCm < equipment.FocusReceptorDistance))
        return Refuse(c, EventStatus::Failed,
                      "FSD " + Describe(c.FocusSkinDistanceCm) + " cm が焦点-受像器間距離 " +
                          Describe(equipment.FocusReceptorDistance) + " cm 以上です");
    if (c.FocusSkinDistanceCm < kFocusSkinDistanceMinimumCm)
        AddNote(c.Note, "FSD " + Describe(c.FocusSkinDistanceCm) +
                            " cm は 30 cm 未満です: 入力の誤りでないか確認して下さい");

    if (!event.ReferenceAirKermaMGy)
        return Refuse(c, EventStatus::Failed, "Ka,r (Dose (RP)) の値がありません");
    if (!event.KermaAreaProductGyCm2)
        return Refuse(c, EventStatus::Failed, "P_KA (Dose Area Product) の値がありません");
    const double kar = *event.ReferenceAirKermaMGy;
    const double pka = *event.KermaAreaProductGyCm2;
    if (kar == 0) return Refuse(c, EventStatus::Skipped, "Ka,r が 0");
    if (pka == 0) return Refuse(c, EventStatus::Skipped, "P_KA が 0");
    if (kar < 0 || pka < 0) return Refuse(c, EventStatus::Failed, "線量が負の値です");
    const std::optional<TubeVoltageRange> voltage = MakeFixedTubeVoltage(c.TubeVoltageKv);
    if (!voltage) {
        return Refuse(c, EventStatus::Failed,
                      c.KvAssumed ? "管電圧の記載がなく、装置ファイルの代表管電圧も使えません"
                                  : "管電圧 " + Describe(c.TubeVoltageKv) + " kV は範囲外です");
    }

    // The square field at the reference point enters as the main window would show it.
    const double fieldSizeCm = ComputeReferenceFieldSize(FieldShape::Square, kar, pka);
    c.FieldSizeText = FieldSizeText(fieldSizeCm);
    c.Inputs = DoseCase{.ReferenceAirKermaMGy = kar,
                        .KermaAreaProductGyCm2 = pka,
                        .FocusSkinDistanceCm = c.FocusSkinDistanceCm,
                        .ReferenceFieldSizeCm = ShownFieldSize(fieldSizeCm),
                        .Shape = FieldShape::Square,
                        .ReferencePointDistanceCm = referenceDistanceCm,
                        .Equipment = std::move(equipment),
                        .Voltage = *voltage};
    return c;
}

ReportEvaluation EvaluateReport(const ReferenceData& ref, const DoseReport& report,
                                const PlaneSetup& planeA, const PlaneSetup* planeB,
                                const ScatterKernelLoader& loadKernel,
                                const ReportProgress& progress) {
    ReportEvaluation out;
    SpectrumStore spectraA, spectraB;
    // The budgets' shared depth-dose changes, per plane as the spectra are.
    DepthDoseRatios ratiosA, ratiosB;
    const std::size_t total = report.Events.size();
    for (std::size_t i = 0; i < total; ++i) {
        const IrradiationEvent& event = report.Events[i];
        const bool onB = event.Plane == AcquisitionPlane::B;
        const PlaneSetup* setup = onB ? planeB : &planeA;
        PlaneEvaluation& plane = PlaneFor(out, event.Plane, setup);
        EventEvaluation e;
        e.EventIndex = i;
        try {
            EvaluateEvent(ref, event, setup, loadKernel, onB ? spectraB : spectraA,
                          onB ? ratiosB : ratiosA, e);
        } catch (const std::exception& error) {
            // One event's fault is that event's failure; the report, the other events and the
            // other files go on.
            e.SkinDoseMGy = 0;
            e.Result = {};
            e.Uncertainty.reset();
            e.Case = Refuse(std::move(e.Case), EventStatus::Failed,
                            std::string("計算できません (") + error.what() + ")");
        }
        plane.Events.push_back(std::move(e));
        if (progress && !progress(i + 1, total)) {
            out.Cancelled = true;
            break;
        }
    }
    for (PlaneEvaluation& plane : out.Planes) {
        const PlaneSetup* setup = plane.Plane == AcquisitionPlane::B ? planeB : &planeA;
        try {
            Summarise(ref, plane, setup, loadKernel);
        } catch (const std::exception& error) {
            plane.Totals.SingleCaseSkinDoseMGy.reset();
            plane.Totals.SingleCaseNote = std::string("計算できません (") + error.what() + ")";
        }
    }
    return out;
}

DoseEvaluation EvaluateSingleCase(const ReferenceData& ref, const SingleCaseTexts& texts,
                                  const PlaneSetup& plane, const ScatterKernelLoader& loadKernel,
                                  std::string* refusal) {
    // The texts "入力欄へ" types, read as the main window reads them: the boxes' handlers store
    // the leading numbers, the tube-voltage window a fixed voltage, the square option the
    // field-size text.
    CaseEntry entry{.ReferenceAirKerma = texts.ReferenceAirKerma,
                    .KermaAreaProduct = texts.KermaAreaProduct,
                    .FocusSkinDistance = texts.FocusSkinDistance,
                    .StoredReferenceAirKermaMGy = LeadingNumber(texts.ReferenceAirKerma),
                    .StoredKermaAreaProductGyCm2 = LeadingNumber(texts.KermaAreaProduct),
                    .Shape = FieldShape::Square,
                    .Equipment = plane.Equipment.Data,
                    .Voltage = {},
                    .ReferencePointDistanceCm = texts.ReferenceDistanceCm};
    entry.Equipment.AddedCopper = texts.CopperMm * kCentimetresPerMillimetre;
    entry.Equipment.AddedAluminium = texts.AluminiumMm * kCentimetresPerMillimetre;
    if (const auto voltage = MakeFixedTubeVoltage(LeadingNumber(texts.TubeVoltage))) {
        entry.Voltage = *voltage;
        entry.TubeVoltage = TubeVoltageText(*voltage);
    }
    try {
        entry.FieldSizeCm = ShownFieldSize(
            ComputeReferenceFieldSize(FieldShape::Square, entry.StoredReferenceAirKermaMGy,
                                      entry.StoredKermaAreaProductGyCm2));
    } catch (const CalculationError&) {
        entry.Shape = FieldShape::None;  // the option does not take
    }
    const CaseReading reading = ReadCase(entry);
    if (reading.Refusal) {
        if (refusal) *refusal = reading.Refusal->Message.toStdString();
        DoseEvaluation refused;
        refused.Outcome = EvaluationOutcome::CalculationFailed;
        return refused;
    }
    return EvaluateDose(ref, *reading.Case, loadKernel);
}

ScatterKernelLoader MakeCachingKernelLoader(ScatterKernelLoader load) {
    auto store = std::make_shared<std::map<int, ScatterKernel>>();
    return [store, load = std::move(load)](int energyKeV) -> ScatterKernel {
        auto found = store->find(energyKeV);
        if (found == store->end()) found = store->emplace(energyKeV, load(energyKeV)).first;
        return found->second;
    };
}

}  // namespace ordevo::rdsr
