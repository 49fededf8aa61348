#include "procedure_record.h"

#include <algorithm>

#include "cumulative_dose.h"

namespace ordevo::registry {

namespace {

EventRecord MakeEventRecord(const rdsr::IrradiationEvent& event, const rdsr::EventEvaluation& e) {
    EventRecord r;
    r.Uid = event.Uid;
    r.Plane = rdsr::PlaneName(event.Plane);
    r.Type = rdsr::EventTypeName(event.Type);
    r.DateTime = event.DateTime;
    r.ReferenceAirKermaMGy = event.ReferenceAirKermaMGy;
    r.KermaAreaProductGyCm2 = event.KermaAreaProductGyCm2;
    if (e.Case.TubeVoltageKv > 0) r.TubeVoltageKv = e.Case.TubeVoltageKv;
    if (e.Case.Status == rdsr::EventStatus::Evaluated) r.SkinDoseMGy = e.SkinDoseMGy;
    r.Status = rdsr::EventStatusName(e.Case.Status);
    r.Note = e.Case.Note;
    return r;
}

MapRecord MakeMapRecord(const map::SkinDoseMap& m) {
    MapRecord r;
    r.PsdMGy = m.PsdMGy;
    if (m.PsdCell) {
        const map::SkinCell& c = m.Model.Cells.at(*m.PsdCell);
        r.PsdRegion = map::RegionName(m.Model, c);
        r.PsdFromTopCm = c.FromTopCm;
        r.PsdAngleDeg = c.AngleDeg;
    }
    r.Phantom = map::PhantomName(m.Model.Kind);
    r.CellCm = m.Model.CellCm;
    r.Rows = m.Model.Rows;
    r.Columns = m.Model.Columns;
    r.CellDoseMGy = m.DoseMGy;
    return r;
}

}  // namespace

ProcedureRecord MakeProcedureRecord(const std::string& sopInstanceUid,
                                    const std::string& studyInstanceUid,
                                    const rdsr::DoseReport& report,
                                    const rdsr::ReportEvaluation& evaluation,
                                    const map::SkinDoseMap* map) {
    ProcedureRecord r;
    r.SopInstanceUid = sopInstanceUid;
    r.StudyInstanceUid = studyInstanceUid;
    r.PatientId = report.PatientId;
    r.PatientName = report.PatientName;
    r.PatientBirthDate = report.PatientBirthDate;
    r.StudyDate = report.StudyDate;
    r.Manufacturer = report.Manufacturer;
    r.Model = report.Model;
    r.Notes = report.Notes;
    double largestRelative = 0;
    for (const rdsr::PlaneEvaluation& plane : evaluation.Planes) {
        const rdsr::PlaneTotals& t = plane.Totals;
        PlaneRecord p{rdsr::PlaneName(plane.Plane),
                      plane.EquipmentName,
                      t.ReferenceAirKermaMGy,
                      t.KermaAreaProductGyCm2,
                      t.SkinDoseSumMGy,
                      std::nullopt,
                      t.Evaluated,
                      t.Skipped,
                      t.Failed};
        if (t.SkinDoseSumUncertainty) {
            p.SkinDoseSumExpandedMGy = t.SkinDoseSumUncertainty->ExpandedUncertainty();
            largestRelative =
                std::max(largestRelative, t.SkinDoseSumUncertainty->RelativeExpandedUncertainty());
        }
        r.UpperBoundMGy = std::max(r.UpperBoundMGy, t.SkinDoseSumMGy);
        r.Planes.push_back(p);
        for (const rdsr::EventEvaluation& e : plane.Events)
            r.Events.push_back(MakeEventRecord(report.Events.at(e.EventIndex), e));
    }
    if (map) {
        r.Map = MakeMapRecord(*map);
        r.Map->Lying = ReportedLying(report, *map);
        r.PsdMGy = map->PsdMGy;
        r.MappedKarShare = map->MappedKarShare;
        r.UnplacedBoundMGy = map->UnmappedUpperBoundMGy;
        r.UnplacedUnbounded = map->UnmappedUnbounded;
        if (!map->PsdCell) {
            // Nothing placed: a PSD of 0 has no interval to give ("0 – 0" would read as a dose).
        } else if (map->PsdUncertainty) {
            // The map's own budget of its PSD, as ordevo-cli map prints its interval.
            const double u = map->PsdUncertainty->ExpandedUncertainty();
            r.PsdLowMGy = std::max(0.0, map->PsdMGy - u);
            r.PsdHighMGy = map->PsdMGy + u;
        } else {
            r.PsdLowMGy = map->PsdMGy * std::max(0.0, 1 - largestRelative);
            r.PsdHighMGy = map->PsdMGy * (1 + largestRelative);
        }
        r.UpperBoundMGy = map->UpperBoundMGy;
        r.Notes.insert(r.Notes.end(), map->Notes.begin(), map->Notes.end());
    }
    return r;
}

}  // namespace ordevo::registry
