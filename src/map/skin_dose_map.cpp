#include "skin_dose_map.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <map>

#include "backscatter.h"
#include "calculation_error.h"
#include "calculation_messages.h"
#include "dose_coverage.h"
#include "field_backscatter.h"
#include "number_format.h"
#include "off_patient_check.h"
#include "spectrum_store.h"
#include "surface_field.h"

namespace ordevo::map {
namespace {

using rdsr::EventEvaluation;
using rdsr::EventStatus;

constexpr double kDeepestCouchCm = 19.75;  // the depth-dose table's last depth

// The chain's factors of one event that do not depend on the cell.
struct EventChain {
    double CorrectedKermaMGy = 0;  // cKa,r
    double ReferenceDistanceCm = 0;
    double TissueToAir = 0;         // R
    double CentralBackscatter = 0;  // B of the calculator's field at the central FSD
    double CentralGeneral = 0;      // the ring sum at the centre, for the ratio at other places
    double CouchThicknessCm = 0;
    RingBackscatter Rings;
    std::optional<DepthDoseCurve> Curve;
};

// Distance from the focus along the axis to the phantom's surface; nullopt when it misses.
std::optional<double> CentralDistance(const PatientModel& m, const BeamStep& s) {
    const double a = m.Shape.HalfWidthCm, b = m.Shape.HalfThicknessCm;
    const Vec3 f = s.Focus, d = s.Axis;
    double t = -1;
    if (m.Kind == PhantomKind::Plane) {
        if (d.z != 0.0) t = (-b - f.z) / d.z;
    } else {
        // ((fx + t dx)/a)² + ((fz + t dz)/b)² = 1, the nearer root.
        const double qa = d.x * d.x / (a * a) + d.z * d.z / (b * b);
        const double qb = 2.0 * (f.x * d.x / (a * a) + f.z * d.z / (b * b));
        const double qc = f.x * f.x / (a * a) + f.z * f.z / (b * b) - 1.0;
        const double disc = qb * qb - 4.0 * qa * qc;
        if (qa > 0.0 && disc >= 0.0) t = (-qb - std::sqrt(disc)) / (2.0 * qa);
    }
    if (!(t > 0.0)) return std::nullopt;
    const Vec3 p = f + d * t;
    if (p.y < 0.0 || p.y > m.Shape.LengthCm) return std::nullopt;
    return t;
}

// Where a step's central ray meets the skin, and the cell there (the nearest centre, no farther
// than a cell's diagonal); nullopt when the ray misses the model.
struct CentralHit {
    std::size_t Cell = 0;
    Vec3 Point, Normal;
};
std::optional<CentralHit> CentralCell(const PatientModel& m, const BeamStep& s) {
    const std::optional<double> t = CentralDistance(m, s);
    if (!t) return std::nullopt;
    const Vec3 p = s.Focus + s.Axis * *t;
    std::optional<CentralHit> best;
    double nearest = 2.0 * m.CellCm * m.CellCm;  // the diagonal, squared
    for (std::size_t c = 0; c < m.Cells.size(); ++c) {
        const SkinCell& cell = m.Cells[c];
        const Vec3 d = Vec3{cell.X, cell.Y, cell.Z} - p;
        if (d.Dot(d) < nearest) {
            nearest = d.Dot(d);
            best = CentralHit{c, p, {cell.Nx, cell.Ny, cell.Nz}};
        }
    }
    if (best && m.Kind == PhantomKind::Torso) {
        // The ellipse's own normal at the point, not the nearest centre's.
        const double a = m.Shape.HalfWidthCm, b = m.Shape.HalfThicknessCm;
        const double nx = p.x / (a * a), nz = p.z / (b * b), n = std::hypot(nx, nz);
        best->Normal = {nx / n, 0.0, nz / n};
    }
    return best;
}

// How far a central ray that misses the skin passes from it: its distance from the nearest
// cell centre ahead of the focus (within half a cell of the skin's own distance).
std::optional<double> CentralRayGapCm(const PatientModel& m, const BeamStep& s) {
    std::optional<double> gap;
    for (const SkinCell& cell : m.Cells) {
        const Vec3 r = Vec3{cell.X, cell.Y, cell.Z} - s.Focus;
        const double along = r.Dot(s.Axis);
        if (!(along > 0.0)) continue;
        const double across = (r - s.Axis * along).Length();
        if (!gap || across < *gap) gap = across;
    }
    return gap;
}

// `referenceDistanceCm`: d_ref as the event's evaluation resolved it (the case itself may leave
// it 0 for FAD − 15).
EventChain MakeChain(const ReferenceData& ref, const DoseCase& in, double referenceDistanceCm,
                     const SpectrumResult& sp, double fsdCm, double couchCm,
                     const ScatterKernelLoader& loadKernel) {
    EventChain c;
    const EquipmentData& eq = in.Equipment;
    c.CorrectedKermaMGy = eq.CalibrationConstant * in.ReferenceAirKermaMGy;
    c.ReferenceDistanceCm = referenceDistanceCm;
    c.TissueToAir = sp.TissueToAirDoseRatio;
    c.CouchThicknessCm = eq.CouchSoftTissueThickness;
    const double d0 = fsdCm - couchCm;
    const double s0 = in.ReferenceFieldSizeCm * d0 / referenceDistanceCm;
    c.CentralBackscatter =
        ComputeBackscatterFactor(ref, BackscatterInputs{.tubeVoltageKv = sp.TubeVoltage,
                                                        .spectrum = &sp.XraySpectrum,
                                                        .phantomSurfaceDistanceCm = d0,
                                                        .fieldSizeCm = s0,
                                                        .shape = FieldShape::Square});
    c.Rings = ComputeRingBackscatter(ref, sp.XraySpectrum, sp.TubeVoltage, d0);
    c.CentralGeneral = BackscatterAtPoint(c.Rings, 0.0, 0.0, 0.5 * s0, 0.5 * s0);
    c.Curve = ComputeDepthDoseCurve(ref,
                                    DepthDoseInputs{.tubeVoltageHighKv = in.Voltage.TubeVoltageHigh,
                                                    .spectrum = &sp.XraySpectrum,
                                                    .phantomSurfaceDistanceCm = d0,
                                                    .fieldSizeCm = s0,
                                                    .shape = FieldShape::Square,
                                                    .couchThicknessCm = couchCm},
                                    loadKernel);
    return c;
}

// The couch's soft-tissue thickness along a ray that runs `pathCm` through the table: the
// equipment's thickness scaled by the path against the slab's own thickness (0 without a slab).
double CouchDepthCm(double couchThicknessCm, double pathCm, const TableSlab& slab) {
    if (!(pathCm > 0.0)) return 0.0;
    return std::min(kDeepestCouchCm, couchThicknessCm * pathCm / slab.Thickness());
}

struct Accumulator {
    std::vector<double> EventDose, StepPeak, StepDistance, BestEventDose, BestDistance;
    std::vector<std::size_t> Touched;
    std::vector<std::optional<SurfaceFrame>> Frames;  // per column, for the current step
};

// The PSD's budget from the events that reached its cell: each source's share is the sum of each
// event's relative share times its dose there. A source counts where any mapped event's budget has
// it, with the largest input uncertainty among them; no budget when an event without one reached
// the cell.
std::optional<UncertaintyBudget> PsdBudget(const std::vector<SkinDoseMap::EventField>& fields,
                                           const std::vector<const EventEvaluation*>& evaluated,
                                           std::size_t psdCell, double psdMGy) {
    std::array<double, kUncertaintySourceCount> share{}, inputUncertainty{};
    std::array<bool, kUncertaintySourceCount> present{};
    for (const SkinDoseMap::EventField& field : fields) {
        const EventEvaluation& e = *evaluated[field.EventIndex];
        const auto at = std::find(field.Cells.begin(), field.Cells.end(), psdCell);
        const bool reaches = at != field.Cells.end();
        if (!e.Uncertainty || !(e.SkinDoseMGy > 0.0)) {
            if (reaches) return std::nullopt;
            continue;
        }
        const double doseThere =
            reaches ? field.DoseMGy[static_cast<std::size_t>(at - field.Cells.begin())] : 0.0;
        for (const UncertaintyComponent& u : e.Uncertainty->Components) {
            const auto s = static_cast<std::size_t>(u.Source);
            if (reaches) share[s] += doseThere * (u.DoseStandardUncertainty / e.SkinDoseMGy);
            inputUncertainty[s] = std::max(inputUncertainty[s], u.InputStandardUncertainty);
            present[s] = true;
        }
    }
    UncertaintyBudget budget;
    budget.SkinDose = psdMGy;
    for (std::size_t s = 0; s < share.size(); ++s) {
        if (present[s])
            budget.Components.push_back(
                {static_cast<UncertaintySource>(s), inputUncertainty[s], share[s]});
    }
    return budget;
}

}  // namespace

double SkinDoseMap::AreaAtOrAboveCm2(double thresholdMGy) const {
    double area = 0;
    for (std::size_t i = 0; i < DoseMGy.size(); ++i)
        if (DoseMGy[i] >= thresholdMGy) area += Model.Cells[i].AreaCm2;
    return area;
}

SkinDoseMap ComputeSkinDoseMap(const ReferenceData& ref, const rdsr::DoseReport& report,
                               const rdsr::ReportEvaluation& evaluation,
                               const MapSettings& settings, const ScatterKernelLoader& loadKernel) {
    SkinDoseMap out;
    const TorsoShape shape =
        ScaleTorso(settings.HeightCm ? settings.HeightCm : report.Patient.HeightCm,
                   settings.WeightKg ? settings.WeightKg : report.Patient.WeightKg, out.Notes);
    out.Model = MakePatientModel(settings.Phantom, shape, settings.CellCm);
    const std::size_t cells = out.Model.Cells.size();
    out.DoseMGy.assign(cells, 0.0);

    // The dose case of each event, and what the calculator gave it.
    std::vector<const EventEvaluation*> evaluated(report.Events.size(), nullptr);
    std::vector<std::optional<EventDistances>> distances(report.Events.size());
    for (const rdsr::PlaneEvaluation& plane : evaluation.Planes) {
        out.UpperBoundMGy += plane.Totals.SkinDoseSumMGy;
        for (const EventEvaluation& e : plane.Events) {
            const rdsr::IrradiationEvent& event = report.Events.at(e.EventIndex);
            if (e.Case.Status == EventStatus::Failed) {
                out.Unmapped.push_back({event.Uid, "線量を計算できません: " + e.Case.Note, 0.0});
                continue;
            }
            if (e.Case.Status != EventStatus::Evaluated) continue;
            evaluated[e.EventIndex] = &e;
            const DoseCase& in = e.Case.Inputs;
            distances[e.EventIndex] = EventDistances{
                in.Equipment.FocusIsocentreDistance, in.Equipment.FocusReceptorDistance,
                e.Case.ReferenceDistanceCm, in.ReferenceFieldSizeCm};
        }
    }
    const PlacementSetup setup{settings.Profile, shape, settings.LandmarkCm};
    out.Placements = PlaceEvents(report, distances, setup, out.Notes);
    const std::vector<EventPlacement>& placements = out.Placements;

    Accumulator acc;
    acc.EventDose.assign(cells, 0.0);
    acc.StepPeak.assign(cells, 0.0);
    acc.StepDistance.assign(cells, 0.0);
    acc.BestEventDose.assign(cells, 0.0);
    acc.BestDistance.assign(cells, 0.0);
    SpectrumStore spectra;
    std::vector<std::pair<std::string, std::vector<std::string>>> eventNotes;  // note → events
    const bool torso = out.Model.Kind == PhantomKind::Torso;
    std::vector<double> placedShare(report.Events.size(), 0.0);

    for (std::size_t i = 0; i < report.Events.size(); ++i) {
        const EventEvaluation* e = evaluated[i];
        if (!e) continue;
        const rdsr::IrradiationEvent& event = report.Events[i];
        const EventPlacement& place = placements[i];
        auto unmapped = [&](const std::string& why) {
            out.Unmapped.push_back({event.Uid, why, e->SkinDoseMGy});
            out.UnmappedUpperBoundMGy += e->SkinDoseMGy;
        };
        if (place.Steps.empty()) {
            unmapped(place.Refusal);
            continue;
        }
        const DoseCase& in = e->Case.Inputs;
        const double referenceDistanceCm = e->Case.ReferenceDistanceCm;
        const TableSlab slab = TableSlabOf(setup, place.Prone);
        // The chain at the central ray of the middle step: its FSD and its couch path.
        const BeamStep& middle = place.Steps[place.Steps.size() / 2];
        const std::optional<double> central = CentralDistance(out.Model, middle);
        const double fsd = central.value_or(referenceDistanceCm);
        const double couchPath =
            central ? PathThroughSlab(slab, middle.Focus, middle.Focus + middle.Axis * fsd) : 0.0;
        const double couchCm = CouchDepthCm(in.Equipment.CouchSoftTissueThickness, couchPath, slab);
        EventChain chain;
        try {
            chain = MakeChain(ref, in, referenceDistanceCm,
                              spectra.Get(ref.Attenuation, in.Equipment, in.Voltage), fsd, couchCm,
                              loadKernel);
        } catch (const CalculationError& error) {
            unmapped("計算できません: " + DescribeCalculationFailure(error.Failure()));
            continue;
        }

        for (std::size_t cell : acc.Touched) acc.EventDose[cell] = acc.StepPeak[cell] = 0.0;
        acc.Touched.clear();
        // The dose of step `s` at `point` on the skin (its surface's `frame`), put in cell `c`.
        auto deposit = [&](std::size_t c, const Vec3& point, const SurfaceFrame& frame,
                           const BeamStep& s, const FieldEdges& edges) {
            const Vec3 r = point - s.Focus;
            const double distance = r.Length();
            const double path = PathThroughSlab(slab, s.Focus, point);
            const double t = CouchDepthCm(chain.CouchThicknessCm, path, slab);
            const double d0 = distance - t;
            // The rings on the phantom surface in front of the couch, around the point.
            const double ratio =
                BackscatterInOutline(chain.Rings, OutlineOnSurface(edges, frame, r, d0 / distance),
                                     frame.Turns) /
                chain.CentralGeneral;
            const double toPhantom = chain.ReferenceDistanceCm / d0;
            const double primary = chain.CentralBackscatter * ratio * chain.TissueToAir *
                                   toPhantom * toPhantom * chain.CorrectedKermaMGy;
            const double dose = chain.Curve->FactorAt(t) * primary * s.Share;
            if (acc.EventDose[c] == 0.0) acc.Touched.push_back(c);
            acc.EventDose[c] += dose;
            if (dose > acc.StepPeak[c]) {
                acc.StepPeak[c] = dose;
                acc.StepDistance[c] = distance;
            }
        };
        double placed = 0;  // the share of the steps that reached a cell
        for (const BeamStep& s : place.Steps) {
            const FieldEdges edges = EdgesOf(s, chain.ReferenceDistanceCm);
            // One frame per column: the cells of a column share their surface's direction.
            acc.Frames.assign(static_cast<std::size_t>(out.Model.Columns), std::nullopt);
            bool reached = false;
            for (std::size_t c = 0; c < cells; ++c) {
                const SkinCell& cell = out.Model.Cells[c];
                const Vec3 r = Vec3{cell.X, cell.Y, cell.Z} - s.Focus;
                const double along = r.Dot(s.Axis);
                if (!(along > 0.0)) continue;
                const double scale = along / chain.ReferenceDistanceCm;
                const double p = r.Dot(s.U), q = r.Dot(s.V);
                if (std::abs(p) > s.HalfWidthAtReferenceCm * scale ||
                    std::abs(q) > s.HalfHeightAtReferenceCm * scale)
                    continue;
                // Facing the focus; the trunk is convex, so nothing else shadows a facing cell.
                if (torso && r.x * cell.Nx + r.z * cell.Nz >= 0.0) continue;
                std::optional<SurfaceFrame>& frame =
                    acc.Frames[c % static_cast<std::size_t>(out.Model.Columns)];
                if (!frame) frame = FrameOf(edges, {cell.Nx, cell.Ny, cell.Nz});
                deposit(c, {cell.X, cell.Y, cell.Z}, *frame, s, edges);
                reached = true;
            }
            // A field narrower than a cell can fall between the cells' centres: its dose goes to
            // the cell its central ray meets, as the skin there receives it.
            if (!reached) {
                if (const std::optional<CentralHit> hit = CentralCell(out.Model, s)) {
                    deposit(hit->Cell, hit->Point, FrameOf(edges, hit->Normal), s, edges);
                    reached = true;
                }
            }
            if (reached) placed += s.Share;
        }
        if (acc.Touched.empty()) {
            std::string why = "照射野が患者モデルに当たりません";
            if (const std::optional<double> gap = CentralRayGapCm(out.Model, middle)) {
                why += " (中心線は皮膚から約 ";
                why += FormatNumber(*gap, "0");
                why += " cm 離れて通ります)";
            }
            unmapped(why);
            continue;
        }
        ++out.MappedEvents;
        placedShare[i] = std::min(1.0, placed);
        if (placed < 1.0 - 1e-9) {
            // The steps that missed the model are dose that did not reach its skin.
            out.UnmappedUpperBoundMGy += (1.0 - placedShare[i]) * e->SkinDoseMGy;
            out.Notes.push_back("照射 " + event.Uid + ": 回転の " +
                                std::to_string(static_cast<int>(std::lround(100 * (1 - placed)))) +
                                " % は患者モデルに当たりません（上限に加えます）");
        }
        SkinDoseMap::EventField& field = out.EventFields.emplace_back();
        field.EventIndex = i;
        field.Cells = acc.Touched;
        for (std::size_t c : acc.Touched) field.DoseMGy.push_back(acc.EventDose[c]);
        for (std::size_t c : acc.Touched) {
            out.DoseMGy[c] += acc.EventDose[c];
            if (acc.EventDose[c] > acc.BestEventDose[c]) {
                acc.BestEventDose[c] = acc.EventDose[c];
                acc.BestDistance[c] = acc.StepDistance[c];
            }
        }
        for (const std::string& note : place.Notes) {
            auto same = std::find_if(eventNotes.begin(), eventNotes.end(),
                                     [&](const auto& n) { return n.first == note; });
            if (same == eventNotes.end()) same = eventNotes.insert(eventNotes.end(), {note, {}});
            same->second.push_back(event.Uid);
        }
    }
    // One line per note, however many events share it (a unit that writes no angles says so on
    // every event).
    for (const auto& [note, uids] : eventNotes) {
        std::string line = "照射 ";
        if (uids.size() == 1) {
            line += uids.front();
        } else {
            line += std::to_string(uids.size());
            line += " 件 (";
            line += uids.front();
            line += " ほか)";
        }
        line += ": ";
        line += note;
        out.Notes.push_back(std::move(line));
    }
    for (std::size_t c = 0; c < cells; ++c) {
        if (out.DoseMGy[c] > out.PsdMGy) {
            out.PsdMGy = out.DoseMGy[c];
            out.PsdCell = c;
        }
    }
    if (out.PsdCell) {
        out.PsdFocusSkinDistanceCm = acc.BestDistance[*out.PsdCell];
        out.PsdUncertainty = PsdBudget(out.EventFields, evaluated, *out.PsdCell, out.PsdMGy);
    }
    out.MappedKarShare = MappedKarShare(report, placedShare);
    out.UnmappedUnbounded = HasUnboundedDose(report, evaluation);
    // The per-plane sums hold every computed event, the unmapped ones too.
    if (out.PsdMGy > out.UpperBoundMGy)
        out.Notes.push_back(
            "PSD が上限を超えています: 皮膚が上限計算の FSD より焦点に近い照射があります");
    if (auto note = OffPatientNote(report, out, settings.Profile)) out.Notes.push_back(*note);
    return out;
}

namespace {

// The placed events of `evaluation` with one event per beam: events whose beams in `map` stood
// alike (equal steps, side of the table, d_ref, field, plane and couch) are one event, the first
// of them, its Ka,r and P_KA scaled so that its calculator dose is theirs together (their spectra
// may differ). Empty when no two events share a beam.
std::optional<rdsr::ReportEvaluation> OneEventPerBeam(const SkinDoseMap& map,
                                                      const rdsr::ReportEvaluation& evaluation) {
    struct Beam {
        rdsr::PlaneEvaluation* Plane = nullptr;
        std::size_t Event = 0;  // in Plane->Events
        double SkinDoseMGy = 0;
    };
    std::map<std::vector<double>, Beam> beams;
    rdsr::ReportEvaluation out;
    std::size_t placed = 0;
    for (const rdsr::PlaneEvaluation& plane : evaluation.Planes) {
        rdsr::PlaneEvaluation& merged = out.Planes.emplace_back();
        merged.Plane = plane.Plane;
        merged.EquipmentName = plane.EquipmentName;
        merged.FocusSkinDistanceCm = plane.FocusSkinDistanceCm;
        merged.Knowledge = plane.Knowledge;
        for (const EventEvaluation& e : plane.Events) {
            if (e.Case.Status != EventStatus::Evaluated || !(e.SkinDoseMGy > 0.0)) continue;
            const EventPlacement& place = map.Placements.at(e.EventIndex);
            if (place.Steps.empty()) continue;
            ++placed;
            const DoseCase& in = e.Case.Inputs;
            std::vector<double> key{
                static_cast<double>(plane.Plane),     place.Prone ? 1.0 : 0.0,
                e.Case.ReferenceDistanceCm,           in.ReferenceFieldSizeCm,
                in.Equipment.FocusIsocentreDistance,  in.Equipment.FocusReceptorDistance,
                in.Equipment.CouchSoftTissueThickness};
            for (const BeamStep& s : place.Steps) {
                key.insert(key.end(),
                           {s.Focus.x, s.Focus.y, s.Focus.z, s.Axis.x, s.Axis.y, s.Axis.z, s.U.x,
                            s.U.y, s.U.z, s.V.x, s.V.y, s.V.z, s.HalfWidthAtReferenceCm,
                            s.HalfHeightAtReferenceCm, s.Share});
            }
            auto [beam, added] = beams.try_emplace(std::move(key));
            if (added) {
                beam->second = {&merged, merged.Events.size(), e.SkinDoseMGy};
                merged.Events.push_back(e);
                continue;
            }
            EventEvaluation& first = beam->second.Plane->Events[beam->second.Event];
            const double scale = (first.SkinDoseMGy + e.SkinDoseMGy) / first.SkinDoseMGy;
            first.Case.Inputs.ReferenceAirKermaMGy *= scale;
            first.Case.Inputs.KermaAreaProductGyCm2 *= scale;
            first.SkinDoseMGy += e.SkinDoseMGy;
        }
    }
    if (beams.size() == placed) return std::nullopt;
    return out;
}

// Whether the events of `part` were placed in `partMap` as in `whole` (dropping the events that
// share a beam must not move the others: a table position kept from an earlier event).
bool PlacedAlike(const SkinDoseMap& partMap, const SkinDoseMap& whole,
                 const rdsr::ReportEvaluation& part) {
    for (const rdsr::PlaneEvaluation& plane : part.Planes) {
        for (const EventEvaluation& e : plane.Events) {
            const std::vector<BeamStep>& a = partMap.Placements.at(e.EventIndex).Steps;
            const std::vector<BeamStep>& b = whole.Placements.at(e.EventIndex).Steps;
            if (a.size() != b.size()) return false;
            for (std::size_t i = 0; i < a.size(); ++i) {
                const BeamStep &s = a[i], &t = b[i];
                const double x[] = {s.Focus.x,
                                    s.Focus.y,
                                    s.Focus.z,
                                    s.Axis.x,
                                    s.Axis.y,
                                    s.Axis.z,
                                    s.HalfWidthAtReferenceCm,
                                    s.HalfHeightAtReferenceCm};
                const double y[] = {t.Focus.x,
                                    t.Focus.y,
                                    t.Focus.z,
                                    t.Axis.x,
                                    t.Axis.y,
                                    t.Axis.z,
                                    t.HalfWidthAtReferenceCm,
                                    t.HalfHeightAtReferenceCm};
                if (!std::equal(std::begin(x), std::end(x), std::begin(y))) return false;
            }
        }
    }
    return true;
}

}  // namespace

void AddPlacementUncertainty(SkinDoseMap& map, const ReferenceData& ref,
                             const rdsr::DoseReport& report,
                             const rdsr::ReportEvaluation& evaluation, const MapSettings& settings,
                             const ScatterKernelLoader& loadKernel) {
    if (!map.PsdUncertainty) return;
    // A long procedure repeats few beams thousands of times: the moved maps then map each beam
    // once, and the PSD's relative change (against the same beams unmoved) scales the PSD. The
    // moved maps of a report without repeated beams are the whole maps, as before.
    std::optional<rdsr::ReportEvaluation> beams = OneEventPerBeam(map, evaluation);
    std::optional<SkinDoseMap> unmoved;
    if (beams) {
        unmoved = ComputeSkinDoseMap(ref, report, *beams, settings, loadKernel);
        if (!(unmoved->PsdMGy > 0.0) || !PlacedAlike(*unmoved, map, *beams)) {
            beams.reset();
            unmoved.reset();
        }
    }
    auto largestChange = [&](auto move) {
        double largest = 0;
        for (double side : {-1.0, 1.0}) {
            MapSettings moved = settings;
            move(moved, side);
            const SkinDoseMap other =
                ComputeSkinDoseMap(ref, report, beams ? *beams : evaluation, moved, loadKernel);
            const double change = unmoved ? map.PsdMGy * (other.PsdMGy / unmoved->PsdMGy - 1.0)
                                          : other.PsdMGy - map.PsdMGy;
            largest = std::max(largest, std::abs(change));
        }
        return largest;
    };
    const double landmark = largestChange([](MapSettings& s, double side) {
        s.LandmarkCm = std::max(0.0, s.LandmarkCm + side * kLandmarkUncertaintyCm);
    });
    // The height the trunk was scaled with: the user's, else the report's, else Reference Man's.
    const double height =
        settings.HeightCm.value_or(report.Patient.HeightCm.value_or(kReferenceHeightCm));
    const double tall = largestChange([height](MapSettings& s, double side) {
        s.HeightCm = height + side * kHeightUncertaintyCm;
    });
    AddComponent(*map.PsdUncertainty, UncertaintySource::PatientPlacement,
                 std::hypot(kLandmarkUncertaintyCm, kHeightUncertaintyCm),
                 std::hypot(landmark, tall));
}

}  // namespace ordevo::map
