#include "cumulative_dose.h"

#include <QDate>
#include <algorithm>
#include <cctype>
#include <map>

#include "stored_map.h"

namespace ordevo::registry {

namespace {

bool Contains(std::string text, const char* part) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text.find(part) != std::string::npos;
}

// The lying of one event in DICOM's patient-position letters; "" when not given.
std::string LyingOf(const rdsr::EventGeometry& g) {
    const std::string& table = g.PatientTableRelationship;
    const std::string& modifier = g.PatientOrientationModifier;
    const bool feet = Contains(table, "feet"), head = Contains(table, "head");
    const bool prone = Contains(modifier, "prone"), supine = Contains(modifier, "supine");
    if (feet == head || prone == supine) return "";
    return std::string(feet ? "FF" : "HF") + (prone ? "P" : "S");
}

int EventsOf(const ProcedureRecord& r) {
    int events = 0;
    for (const PlaneRecord& p : r.Planes) events += p.Evaluated + p.Skipped + p.Failed;
    return events;
}

// Maps that add cell by cell share this key; "" for a procedure that adds only its peak.
std::string GridKey(const ProcedureRecord& r) {
    if (!r.Map || r.Map->Lying.empty()) return "";
    const MapRecord& m = *r.Map;
    if (m.CellDoseMGy.size() != static_cast<std::size_t>(m.Rows) * m.Columns) return "";
    return m.Phantom + "|" + std::to_string(m.CellCm) + "|" + std::to_string(m.Rows) + "x" +
           std::to_string(m.Columns) + "|" + m.Lying;
}

MapRecord AddedMapOf(const std::vector<const MapRecord*>& maps) {
    MapRecord added = *maps.front();
    for (std::size_t i = 1; i < maps.size(); ++i)
        for (std::size_t c = 0; c < added.CellDoseMGy.size(); ++c)
            added.CellDoseMGy[c] += maps[i]->CellDoseMGy[c];
    added.PsdRegion.clear();
    added.PsdFromTopCm.reset();
    added.PsdAngleDeg.reset();
    const auto peak = std::max_element(added.CellDoseMGy.begin(), added.CellDoseMGy.end());
    added.PsdMGy = peak == added.CellDoseMGy.end() ? 0 : *peak;
    if (added.PsdMGy > 0)
        if (const auto model =
                ModelOfGrid(added.Phantom, added.CellCm, added.Rows, added.Columns)) {
            const map::SkinCell& cell = model->Cells[peak - added.CellDoseMGy.begin()];
            added.PsdRegion = map::RegionName(*model, cell);
            added.PsdFromTopCm = cell.FromTopCm;
            added.PsdAngleDeg = cell.AngleDeg;
        }
    return added;
}

}  // namespace

std::string ReportedLying(const rdsr::DoseReport& report, const map::SkinDoseMap& map) {
    std::string lying;
    for (std::size_t i = 0; i < report.Events.size() && i < map.Placements.size(); ++i) {
        if (map.Placements[i].Steps.empty()) continue;
        const std::string own = LyingOf(report.Events[i].Geometry);
        if (own.empty() || (!lying.empty() && own != lying)) return "";
        lying = own;
    }
    return lying;
}

CumulativeDose AddProcedureDoses(const std::vector<StoredProcedure>& procedures) {
    CumulativeDose out;
    // Groups of maps that add cell by cell, in the order first met; a lone peak is its own group.
    struct Group {
        std::string Key;
        std::vector<const MapRecord*> Maps;
        double PeakMGy = 0;
        double UnplacedMGy = 0;  // its procedures' unplaced bounds, added to its peak
    };
    std::vector<Group> groups;
    std::vector<std::string> withoutMap, withoutLying;
    for (const StoredProcedure& p : procedures) {
        const ProcedureRecord& r = p.Record;
        const int events = EventsOf(r);
        if (events > 0 && p.Summary.NewEvents == 0) {
            out.Notes.push_back("手技 " + r.SopInstanceUid +
                                " の照射はすべて先の報告に含まれるため数えません");
            continue;
        }
        if (p.Summary.NewEvents < events)
            out.Notes.push_back("手技 " + r.SopInstanceUid +
                                " の照射の一部は先の報告と重複し、二重に数えています（過大）");
        // The dose its map could not place may lie anywhere, the PSD's cell too.
        const double unplaced = r.PsdMGy ? r.UnplacedBoundMGy.value_or(0) : 0;
        const double peak = r.PsdMGy ? *r.PsdMGy + unplaced : r.UpperBoundMGy;
        out.PeakSumMGy += peak;
        out.UnplacedBoundMGy += unplaced;
        out.Unbounded = out.Unbounded || r.UnplacedUnbounded;
        const std::string key = GridKey(r);
        out.Procedures.push_back({r.SopInstanceUid, r.StudyDate, peak, unplaced,
                                  r.UnplacedUnbounded, !key.empty(), r.PsdMGy.has_value()});
        if (unplaced > 0)
            out.Notes.push_back("手技 " + r.SopInstanceUid +
                                " の割り付けられない照射の上限を加えています（上限）");
        if (r.UnplacedUnbounded)
            out.Notes.push_back("手技 " + r.SopInstanceUid +
                                " には線量を計算できない照射があり、累積線量に含まれていません");
        if (!r.Map)
            withoutMap.push_back(r.SopInstanceUid);
        else if (key.empty())
            withoutLying.push_back(r.SopInstanceUid);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const Group& g) { return !key.empty() && g.Key == key; });
        if (group == groups.end()) group = groups.insert(groups.end(), Group{key, {}, peak, 0});
        if (!key.empty()) {
            group->Maps.push_back(&*r.Map);
            group->UnplacedMGy += unplaced;
        }
    }
    for (Group& g : groups) {
        if (g.Maps.empty()) continue;
        MapRecord added = AddedMapOf(g.Maps);
        g.PeakMGy = added.PsdMGy + g.UnplacedMGy;
        if (groups.size() == 1) out.AddedMap = std::move(added);
    }
    for (const Group& g : groups) out.DoseMGy += g.PeakMGy;
    out.UpperBound = !out.AddedMap || out.UnplacedBoundMGy > 0;
    if (out.Procedures.size() > 1 && out.AddedMap)
        out.Notes.push_back(std::to_string(out.Procedures.size()) +
                            " 手技の線量分布を皮膚の区画ごとに加算しました（同じ体格・同じ向き）");
    // One procedure adds nothing: its peak is the dose, and only a missing map needs saying.
    const bool several = out.Procedures.size() > 1;
    if (!out.AddedMap && !out.Procedures.empty()) {
        if (several)
            out.Notes.push_back(
                "線量分布を区画ごとに加算できないため、ピーク皮膚線量の和"
                "（上限）です");
        for (const std::string& uid : withoutMap)
            out.Notes.push_back("手技 " + uid + " に線量分布がありません（上限を使用）");
        if (several)
            for (const std::string& uid : withoutLying)
                out.Notes.push_back("手技 " + uid + " の報告に患者の向きの記載がありません");
        if (groups.size() > withoutMap.size() + withoutLying.size() + 1)
            out.Notes.push_back("体格（区画の格子）または患者の向きの異なる手技があります");
    }
    return out;
}

FileResult<CumulativeDose> PatientCumulativeDose(Registry& registry, const std::string& patientId,
                                                 const std::string& lastDate, int windowDays) {
    const QDate last = QDate::fromString(QString::fromStdString(lastDate), "yyyyMMdd");
    if (!last.isValid() || windowDays < 1)
        return FileError::InFile(
            QString::fromStdString(lastDate),
            "累積線量の期間が正しくありません（日付は YYYYMMDD、日数は 1 以上）");
    const std::string first = last.addDays(1 - windowDays).toString("yyyyMMdd").toStdString();
    const auto list = registry.List();
    if (!list) return list.error();
    std::vector<ProcedureSummary> chosen;
    for (const ProcedureSummary& s : *list)
        if (s.Status == "registered" && s.PatientId == patientId && s.StudyDate >= first &&
            s.StudyDate <= lastDate)
            chosen.push_back(s);
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const auto& a, const auto& b) { return a.StudyDate < b.StudyDate; });
    std::vector<StoredProcedure> procedures;
    for (const ProcedureSummary& s : chosen) {
        auto shown = registry.Show(s.SopInstanceUid);
        if (!shown) return shown.error();
        if (*shown) procedures.push_back(std::move(**shown));
    }
    CumulativeDose out = AddProcedureDoses(procedures);
    out.PatientId = patientId;
    out.FirstDate = first;
    out.LastDate = lastDate;
    out.WindowDays = windowDays;
    return out;
}

}  // namespace ordevo::registry
