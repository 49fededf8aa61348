#include "beam_geometry.h"

#include <algorithm>
#include <numbers>

#include "field_rule.h"
#include "number_format.h"

namespace ordevo::map {
namespace {

using rdsr::DoseReport;
using rdsr::EventGeometry;
using rdsr::IrradiationEvent;

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr double kRightAngleDeg = 90.0;
constexpr double kMaxStepDeg = 1.0;  // rotational runs: at most 1° per step
constexpr double kMaxTiltDeg = 1.0;  // table tilts and turns the model does not follow
constexpr double kMinVerticalCosine =
    0.5;  // the table-plane distance is used up to 60° off vertical

std::string Cm(double value) { return FormatNumber(value, "0.0"); }

void AddOnce(std::vector<std::string>& notes, const char* note) {
    if (std::find(notes.begin(), notes.end(), note) == notes.end()) notes.emplace_back(note);
}

// How the patient lies: the patient frame's axes in the frame of a head-first supine patient
// (x left, y feet, z up), each ±1.
struct Lying {
    double fx = 1, fy = 1, fz = 1;
    bool Prone() const { return fz < 0; }
};

std::optional<Lying> LyingOf(const EventGeometry& g, std::string& why, bool& assumed) {
    auto has = [](const std::string& text, const char* part) {
        std::string lower = text;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower.find(part) != std::string::npos;
    };
    assumed = g.PatientTableRelationship.empty() || g.PatientOrientationModifier.empty();
    if (has(g.PatientOrientation, "erect")) {
        why = "立位の患者は寝台上のモデルに置けません";
        return std::nullopt;
    }
    if (has(g.PatientOrientationModifier, "decubitus")) {
        why = "側臥位 (" + g.PatientOrientationModifier + ") は未対応です";
        return std::nullopt;
    }
    const bool feetFirst = has(g.PatientTableRelationship, "feet");
    const bool prone = has(g.PatientOrientationModifier, "prone");
    Lying l;
    l.fy = feetFirst ? -1 : 1;
    l.fz = prone ? -1 : 1;
    l.fx = l.fy * l.fz;
    return l;
}

// The unit vector of a table direction in the head-first supine frame.
Vec3 DirectionOf(TableDirection d) {
    switch (d) {
    case TableDirection::Head: return {0, -1, 0};
    case TableDirection::Feet: return {0, 1, 0};
    case TableDirection::Left: return {1, 0, 0};
    case TableDirection::Right: return {-1, 0, 0};
    case TableDirection::Up: return {0, 0, 1};
    case TableDirection::Down: return {0, 0, -1};
    }
    return {};
}

Vec3 ToPatient(const Vec3& v, const Lying& l) { return {v.x * l.fx, v.y * l.fy, v.z * l.fz}; }

struct TablePosition {
    double LongitudinalMm = 0, LateralMm = 0, HeightMm = 0;
};

// The table's displacement (cm, head-first supine frame) between two reported positions.
Vec3 TableMove(const RoomProfile& p, const TablePosition& from, const TablePosition& to) {
    return DirectionOf(p.Longitudinal) * ((to.LongitudinalMm - from.LongitudinalMm) / 10.0) +
           DirectionOf(p.Lateral) * ((to.LateralMm - from.LateralMm) / 10.0) +
           DirectionOf(p.Height) * ((to.HeightMm - from.HeightMm) / 10.0);
}

// The detector's direction from the isocentre: primary angle towards the patient's left (LAO),
// secondary towards the head (cranial), both 0 in front of the chest.
Vec3 DetectorDirection(double primaryDeg, double secondaryDeg) {
    const double a = primaryDeg * kRadiansPerDegree, b = secondaryDeg * kRadiansPerDegree;
    return {std::sin(a) * std::cos(b), -std::sin(b), std::cos(a) * std::cos(b)};
}

std::string CheckDistances(const EventDistances& d, const IrradiationEvent& e) {
    if (!(d.SourceToIsocentreCm >= 30.0 && d.SourceToIsocentreCm <= 150.0))
        return "焦点-アイソセンタ間距離 " + Cm(d.SourceToIsocentreCm) +
               " cm が範囲 30～150 cm の外です";
    if (!(d.SourceToDetectorCm > d.SourceToIsocentreCm && d.SourceToDetectorCm <= 200.0))
        return "焦点-検出器間距離 " + Cm(d.SourceToDetectorCm) +
               " cm がアイソセンタより遠く 200 cm 以下ではありません";
    if (!(d.ReferenceDistanceCm > 0.0 && d.ReferenceDistanceCm < d.SourceToDetectorCm))
        return "基準点距離 " + Cm(d.ReferenceDistanceCm) + " cm が焦点と検出器の間にありません";
    if (e.SourceToTablePlaneMm &&
        !(*e.SourceToTablePlaneMm > 0.0 && *e.SourceToTablePlaneMm / 10.0 < d.SourceToDetectorCm))
        return "焦点-寝台面間距離 " + Cm(*e.SourceToTablePlaneMm / 10.0) +
               " cm が焦点と検出器の間にありません";
    if (!(d.FieldSizeCm > 0.0 &&
          d.FieldSizeCm * d.SourceToDetectorCm / d.ReferenceDistanceCm <= 50.0))
        return "照射野 " + Cm(d.FieldSizeCm) + " cm (基準点) が検出器 (50 cm) より大きくなります";
    return "";
}

}  // namespace

TableSlab TableSlabOf(const PlacementSetup& setup, bool prone) {
    const double side = prone ? 1.0 : -1.0;  // the table lies behind a supine patient
    const double b = setup.Shape.HalfThicknessCm;
    const RoomProfile& p = setup.Profile;
    return {side * b, side * (b + p.MattressThicknessCm + p.TableTopThicknessCm),
            0.5 * p.TableTopWidthCm};
}

double PathThroughSlab(const TableSlab& slab, const Vec3& from, const Vec3& to) {
    // A room without table top and mattress: no path, never 0/0 downstream.
    if (!(slab.Thickness() > 0.0)) return 0.0;
    // Clip the segment's parameter to each pair of faces (Liang–Barsky).
    double t0 = 0.0, t1 = 1.0;
    const Vec3 d = to - from;
    auto clip = [&](double start, double delta, double low, double high) {
        if (delta == 0.0) return start >= low && start <= high;
        double a = (low - start) / delta, b = (high - start) / delta;
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
        return t0 < t1;
    };
    const double zLow = std::min(slab.NearZ, slab.FarZ), zHigh = std::max(slab.NearZ, slab.FarZ);
    if (!clip(from.x, d.x, -slab.HalfWidthCm, slab.HalfWidthCm)) return 0.0;
    if (!clip(from.z, d.z, zLow, zHigh)) return 0.0;
    return (t1 - t0) * d.Length();
}

std::vector<EventPlacement> PlaceEvents(const DoseReport& report,
                                        const std::vector<std::optional<EventDistances>>& distances,
                                        const PlacementSetup& setup,
                                        std::vector<std::string>& notes) {
    const RoomProfile& profile = setup.Profile;
    std::vector<EventPlacement> out(report.Events.size());

    bool anyTable = false;
    for (const IrradiationEvent& e : report.Events) {
        const EventGeometry& g = e.Geometry;
        anyTable = anyTable || g.TableLongitudinalMm || g.TableLateralMm || g.TableHeightMm;
    }
    if (!anyTable) notes.push_back("寝台位置の記載がないため、寝台は動かなかったものとします");

    bool lyingAssumed = false, first = true, verticalFound = false;
    TablePosition last, reference;
    Vec3 isocentreAtReference;  // patient frame, at the reference table position
    for (std::size_t i = 0; i < report.Events.size(); ++i) {
        const IrradiationEvent& e = report.Events[i];
        const EventGeometry& g = e.Geometry;
        EventPlacement& place = out[i];
        if (!distances[i]) continue;
        const EventDistances& d = *distances[i];
        if (!g.Refused.empty()) {
            place.Refusal = "幾何の値が不正: " + g.Refused.front();
            continue;
        }
        if (std::string why = CheckDistances(d, e); !why.empty()) {
            place.Refusal = why;
            continue;
        }
        for (const auto& tilt :
             {g.TableHeadTiltDeg, g.TableHorizontalRotationDeg, g.TableCradleTiltDeg}) {
            if (tilt && std::abs(*tilt) > kMaxTiltDeg)
                place.Refusal = "寝台の傾き・回転には未対応です";
        }
        if (!place.Refusal.empty()) continue;
        std::string why;
        bool assumed = false;
        const std::optional<Lying> lying = LyingOf(g, why, assumed);
        if (!lying) {
            place.Refusal = why;
            continue;
        }
        lyingAssumed = lyingAssumed || assumed;
        place.Prone = lying->Prone();

        // Table position: the reported one, else the last known (the table held still).
        TablePosition table = last;
        if (g.TableLongitudinalMm) table.LongitudinalMm = *g.TableLongitudinalMm;
        if (g.TableLateralMm) table.LateralMm = *g.TableLateralMm;
        if (g.TableHeightMm) table.HeightMm = *g.TableHeightMm;
        if (anyTable && !(g.TableLongitudinalMm && g.TableLateralMm && g.TableHeightMm))
            place.Notes.push_back("寝台位置の一部の記載がなく、直前の位置を使用");
        last = table;
        if (first) reference = table;

        // Angles: as reported; a missing one is 0 (the frontal view), said in a note.
        if (!g.PrimaryAngleDeg || !g.SecondaryAngleDeg)
            place.Notes.push_back("Cアームの角度の記載がなく 0° (正面) とみなしました");
        // The profile's signs turn the reported angles into the DICOM definition's.
        const double ps = profile.Primary == AngleSign::Opposite ? -1.0 : 1.0;
        const double ss = profile.Secondary == AngleSign::Opposite ? -1.0 : 1.0;
        const double primary = ps * g.PrimaryAngleDeg.value_or(0.0);
        const double secondary = ss * g.SecondaryAngleDeg.value_or(0.0);
        const double primaryEnd = g.PrimaryEndAngleDeg ? ps * *g.PrimaryEndAngleDeg : primary;
        const double secondaryEnd =
            g.SecondaryEndAngleDeg ? ss * *g.SecondaryEndAngleDeg : secondary;
        // DetectorDirection holds for any secondary angle, and runs sweep through the values
        // as written; the notes say which beam a value past ±90° is.
        for (const double b : {secondary, secondaryEnd}) {
            const double turned = b - 360.0 * std::round(b / 360.0);  // into [−180°, 180°]
            if (std::abs(turned) > kRightAngleDeg)
                AddOnce(place.Notes,
                        "副角度が ±90° を超えるため、一次角度 ±180°・副角度 "
                        "±180° − 副角度 の同じ向きとして配置しました");
            else if (turned != b)
                AddOnce(place.Notes, "副角度を 360° 回した同じ向きとして配置しました");
        }
        const Vec3 axis0 = DetectorDirection(primary, secondary);

        // The isocentre moves against the table: the table's move, in the patient frame, negated.
        const TableSlab slab = TableSlabOf(setup, lying->Prone());
        const Vec3 move = ToPatient(TableMove(profile, reference, table), *lying);
        if (first) {
            isocentreAtReference = {0.0, setup.LandmarkCm, 0.0};
            notes.push_back("最初の照射のアイソセンタを胴体上端から " + Cm(setup.LandmarkCm) +
                            " cm、左右中央に置きます");
        }
        if (!verticalFound) {
            // Vertical: the table plane's distance, else the profile's table height at the
            // isocentre; else (kept from the first event) the isocentre at mid-thickness.
            // The table plane is the table top's upper surface, under the mattress; a room
            // without either has it where the patient lies (0/0 made every event miss).
            const double slabCm = profile.MattressThicknessCm + profile.TableTopThicknessCm;
            const double zTable =
                slabCm > 0.0
                    ? slab.NearZ + (slab.FarZ - slab.NearZ) * profile.MattressThicknessCm / slabCm
                    : slab.NearZ;
            std::optional<double> z;
            if (e.SourceToTablePlaneMm && std::abs(axis0.z) >= kMinVerticalCosine) {
                z = zTable - (*e.SourceToTablePlaneMm / 10.0 - d.SourceToIsocentreCm) * axis0.z;
                notes.push_back("上下位置は焦点-寝台面間距離から決めました");
            } else if (profile.TableHeightAtIsocentreMm && g.TableHeightMm) {
                const Vec3 fromIso =
                    ToPatient(DirectionOf(profile.Height) *
                                  ((*g.TableHeightMm - *profile.TableHeightAtIsocentreMm) / 10.0),
                              *lying);
                z = zTable - fromIso.z;
                notes.push_back("上下位置はプロファイルの寝台高さから決めました");
            }
            if (z) {
                isocentreAtReference.z = *z + move.z;
                verticalFound = true;
            } else if (first) {
                notes.push_back(
                    "上下位置の手がかりがなく、アイソセンタを胴体の厚さの中央に置きます");
            }
        }
        first = false;
        const Vec3 isocentre = isocentreAtReference - move;

        const double span =
            std::max(std::abs(primaryEnd - primary), std::abs(secondaryEnd - secondary));
        const int steps = std::max(1, static_cast<int>(std::ceil(span / kMaxStepDeg - 1e-9)));
        const FieldAtReference field = ChooseField(
            {g.CollimatedFieldHeightMm, g.CollimatedFieldWidthMm, e.CollimatedFieldAreaCm2},
            d.FieldSizeCm, d.ReferenceDistanceCm / d.SourceToDetectorCm);
        if (!field.Note.empty()) place.Notes.push_back(field.Note);
        for (int k = 0; k < steps; ++k) {
            const double f = (k + 0.5) / steps;
            const double a = steps == 1 ? primary : primary + f * (primaryEnd - primary);
            const double b = steps == 1 ? secondary : secondary + f * (secondaryEnd - secondary);
            BeamStep s;
            s.Axis = DetectorDirection(a, b);
            s.Focus = isocentre - s.Axis * d.SourceToIsocentreCm;
            const double ar = a * kRadiansPerDegree;
            s.U = {std::cos(ar), 0.0, -std::sin(ar)};
            s.V = s.Axis.Cross(s.U);
            s.HalfWidthAtReferenceCm = field.HalfWidthCm;
            s.HalfHeightAtReferenceCm = field.HalfHeightCm;
            s.Share = 1.0 / steps;
            place.Steps.push_back(s);
        }
    }
    if (lyingAssumed) notes.push_back("患者の向きの記載がない照射は頭側から仰臥位とみなしました");
    return out;
}

}  // namespace ordevo::map
