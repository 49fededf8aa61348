#include "registry_command.h"

#include <QFileInfo>
#include <charconv>

#include "alerts.h"
#include "cumulative_dose.h"
#include "follow_up_judgement.h"
#include "json_writer.h"
#include "registry.h"
#include "registry_command_import.h"
#include "registry_command_prdsr.h"

namespace ordevo::cli {

const std::vector<std::string> kRegistryOptions = {
    "registry",    "format", "window-days", "cumulative-level-mgy",
    "from",        "to",     "drl",         "categories",
    "pdf",         "data",   "out",         "equipment",
    "equipment-b", "room"};
const std::vector<std::string> kRegistryFlags = {"with-patient"};

namespace {

using namespace ordevo::registry;

JsonObject& OptionalNumber(JsonObject& json, const std::string& key,
                           const std::optional<double>& value) {
    return value ? json.Number(key, *value) : json.Null(key);
}

JsonObject SummaryJson(const ProcedureSummary& s) {
    JsonObject json;
    json.String("sopInstanceUid", s.SopInstanceUid)
        .String("patientId", s.PatientId)
        .String("studyDate", s.StudyDate)
        .String("status", s.Status);
    OptionalNumber(json, "psdMGy", s.PsdMGy);
    OptionalNumber(json, "psdLowMGy", s.PsdLowMGy);
    OptionalNumber(json, "psdHighMGy", s.PsdHighMGy);
    OptionalNumber(json, "upperBoundMGy", s.UpperBoundMGy);
    // What the map placed; null for procedures registered before it was kept.
    OptionalNumber(json, "mappedKarShare", s.MappedKarShare);
    if (s.MappedKarShare)
        json.String("mappedKarShareText", map::MappedShareText(*s.MappedKarShare).toStdString());
    OptionalNumber(json, "unplacedBoundMGy", s.UnplacedBoundMGy);
    json.Bool("unplacedUnbounded", s.UnplacedUnbounded);
    json.Number("newEvents", s.NewEvents)
        .String("receivedAt", s.ReceivedAt)
        .String("callingAe", s.CallingAe)
        .String("reason", s.Reason);
    return json;
}

JsonObject ProcedureJson(const StoredProcedure& p, bool withPatient) {
    const ProcedureRecord& r = p.Record;
    JsonObject json = SummaryJson(p.Summary);
    if (withPatient)
        json.String("patientName", r.PatientName).String("patientBirthDate", r.PatientBirthDate);
    json.String("studyInstanceUid", r.StudyInstanceUid)
        .String("manufacturer", r.Manufacturer)
        .String("model", r.Model)
        .String("source", r.Source);
    std::vector<JsonObject> planes;
    for (const PlaneRecord& plane : r.Planes) {
        JsonObject pj;
        pj.String("plane", plane.Plane)
            .String("equipment", plane.Equipment)
            .Number("kar", plane.ReferenceAirKermaMGy)
            .Number("pka", plane.KermaAreaProductGyCm2)
            .Number("skinDoseSum", plane.SkinDoseSumMGy);
        OptionalNumber(pj, "skinDoseSumExpandedUncertainty", plane.SkinDoseSumExpandedMGy);
        pj.Number("evaluated", plane.Evaluated)
            .Number("skipped", plane.Skipped)
            .Number("failed", plane.Failed);
        planes.push_back(pj);
    }
    std::vector<JsonObject> events;
    for (const EventRecord& e : r.Events) {
        JsonObject ej;
        ej.String("uid", e.Uid)
            .String("plane", e.Plane)
            .String("type", e.Type)
            .String("dateTime", e.DateTime);
        OptionalNumber(ej, "kar", e.ReferenceAirKermaMGy);
        OptionalNumber(ej, "pka", e.KermaAreaProductGyCm2);
        OptionalNumber(ej, "kv", e.TubeVoltageKv);
        OptionalNumber(ej, "skinDose", e.SkinDoseMGy);
        ej.String("status", e.Status).String("note", e.Note);
        events.push_back(ej);
    }
    json.Array("planes", planes).Array("events", events);
    if (r.Map) {
        JsonObject mj;
        mj.Number("psdMGy", r.Map->PsdMGy).String("psdRegion", r.Map->PsdRegion);
        OptionalNumber(mj, "psdFromTopCm", r.Map->PsdFromTopCm);
        OptionalNumber(mj, "psdAngleDeg", r.Map->PsdAngleDeg);
        mj.String("phantom", r.Map->Phantom)
            .String("lying", r.Map->Lying)
            .Number("cellCm", r.Map->CellCm)
            .Number("rows", r.Map->Rows)
            .Number("columns", r.Map->Columns);
        json.Object("map", mj);
    } else {
        json.Null("map");
    }
    json.StringArray("notes", r.Notes);
    return json;
}

// The patient's cumulative skin dose over the window ending on the procedure's study date.
JsonObject CumulativeJson(const CumulativeDose& sum, const AlertLevels& levels,
                          const std::string& levelSource) {
    JsonObject json;
    json.String("from", sum.FirstDate)
        .String("to", sum.LastDate)
        .Number("windowDays", sum.WindowDays)
        .String("method", sum.AddedMap ? "maps" : "peaks")
        .Number("doseMGy", sum.DoseMGy)
        .Bool("upperBound", sum.UpperBound)
        .Number("unplacedBoundMGy", sum.UnplacedBoundMGy)
        .Bool("unbounded", sum.Unbounded)
        .Number("peakSumMGy", sum.PeakSumMGy);
    if (sum.AddedMap) {
        json.String("peakRegion", sum.AddedMap->PsdRegion);
        OptionalNumber(json, "peakFromTopCm", sum.AddedMap->PsdFromTopCm);
        OptionalNumber(json, "peakAngleDeg", sum.AddedMap->PsdAngleDeg);
    }
    std::vector<JsonObject> procedures;
    for (const CumulativeProcedure& p : sum.Procedures)
        procedures.push_back(JsonObject()
                                 .String("sopInstanceUid", p.SopInstanceUid)
                                 .String("studyDate", p.StudyDate)
                                 .Number("peakMGy", p.PeakMGy)
                                 .Number("unplacedBoundMGy", p.UnplacedBoundMGy)
                                 .Bool("cellByCell", p.CellByCell));
    json.Array("procedures", procedures)
        .Number("levelMGy", levels.CumulativeMGy)
        .String("levelSource", levelSource)
        .Bool("levelReached", sum.DoseMGy - sum.UnplacedBoundMGy >= levels.CumulativeMGy)
        .String("levelStatus", map::FollowUpStatusName(map::JudgeFollowUp(
                                   sum.DoseMGy - sum.UnplacedBoundMGy, sum.UnplacedBoundMGy, false,
                                   levels.CumulativeMGy)))
        .StringArray("notes", sum.Notes);
    return json;
}

// The window and level of the cumulative dose: the alerts' defaults unless given.
AlertLevels ReadLevels(const Arguments& args, std::string* source) {
    AlertLevels levels;
    *source = kAlertLevelsSource;
    if (const auto days = args.Get("window-days")) {
        const char* end = days->data() + days->size();
        const auto [stop, error] = std::from_chars(days->data(), end, levels.WindowDays);
        if (error != std::errc() || stop != end || levels.WindowDays < 1 ||
            levels.WindowDays > 36500)
            throw UsageError("--window-days must be a whole number of days from 1 to 36500");
    }
    if (const auto level = args.Get("cumulative-level-mgy")) {
        const char* end = level->data() + level->size();
        const auto [stop, error] = std::from_chars(level->data(), end, levels.CumulativeMGy);
        if (error != std::errc() || stop != end || !(levels.CumulativeMGy > 0))
            throw UsageError("--cumulative-level-mgy must be a dose above 0 mGy");
        *source = "--cumulative-level-mgy";
    }
    return levels;
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}
std::string CsvNumber(const std::optional<double>& value) {
    return value ? JsonNumber(*value) : std::string();
}
std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    // Appended piece by piece: g++ 12 at -O3 takes `"," + std::string` for an overlapping copy
    // (-Wrestrict) and fails the release build.
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += CsvField(fields[i]);
    }
    return line + "\r\n";
}

void WriteListCsv(std::ostream& out, const std::vector<ProcedureSummary>& list) {
    out << CsvLine({"sopInstanceUid", "patientId", "studyDate", "status", "psdMGy", "psdLowMGy",
                    "psdHighMGy", "upperBoundMGy", "newEvents", "receivedAt", "callingAe",
                    "reason"});
    for (const ProcedureSummary& s : list)
        out << CsvLine({s.SopInstanceUid, s.PatientId, s.StudyDate, s.Status, CsvNumber(s.PsdMGy),
                        CsvNumber(s.PsdLowMGy), CsvNumber(s.PsdHighMGy), CsvNumber(s.UpperBoundMGy),
                        std::to_string(s.NewEvents), s.ReceivedAt, s.CallingAe, s.Reason});
}

void WriteEventsCsv(std::ostream& out, const std::vector<StoredProcedure>& procedures) {
    out << CsvLine({"sopInstanceUid", "patientId", "eventUid", "plane", "type", "dateTime", "kar",
                    "pka", "kv", "skinDose", "status", "note"});
    for (const StoredProcedure& p : procedures)
        for (const EventRecord& e : p.Record.Events)
            out << CsvLine({p.Summary.SopInstanceUid, p.Summary.PatientId, e.Uid, e.Plane, e.Type,
                            e.DateTime, CsvNumber(e.ReferenceAirKermaMGy),
                            CsvNumber(e.KermaAreaProductGyCm2), CsvNumber(e.TubeVoltageKv),
                            CsvNumber(e.SkinDoseMGy), e.Status, e.Note});
}

struct Failure {
    std::string message;
};

template <class T>
T Checked(FileResult<T> result) {
    if (!result) throw Failure{result.error().what()};
    return std::move(result).value();
}

}  // namespace

int RunRegistry(const Arguments& args, std::ostream& out, const RegistryWriters& writers) {
    const std::vector<std::string>& words = args.Positionals();
    constexpr const char* kActions =
        "registry needs list, show SOP_INSTANCE_UID, export, alerts, drl, p-rdsr "
        "SOP_INSTANCE_UID or import PATH...";
    if (words.empty()) throw UsageError(kActions);
    const std::string action = words[0];
    if (action == "drl") {
        if (words.size() != 1) throw UsageError(kActions);
        return RunRegistryDrl(args, QString::fromStdString(args.Require("registry")), out,
                              writers.ReviewPage);
    }
    if (action == "import")
        return RunRegistryImport(args, QString::fromStdString(args.Require("registry")), out,
                                 writers.Progress);
    if (action == "p-rdsr") {
        if (words.size() != 2) throw UsageError(kActions);
        return RunRegistryPatientDoseReport(args, QString::fromStdString(args.Require("registry")),
                                            out);
    }
    if (action == "show"
            ? words.size() != 2
            : (action != "list" && action != "export" && action != "alerts") || words.size() != 1)
        throw UsageError(kActions);
    const QString path = QString::fromStdString(args.Require("registry"));
    const std::string format = args.Get("format").value_or("json");
    if (format != "json" && format != "csv") throw UsageError("--format must be json or csv");
    const bool withPatient = args.HasFlag("with-patient");
    std::string levelSource;
    const AlertLevels levels = ReadLevels(args, &levelSource);
    try {
        // Reading never creates a registry where there was none.
        if (!QFileInfo(path).isFile())
            throw Failure{QFileInfo(path).fileName().toStdString() +
                          ": 線量登録簿がありません（--registry のパスを確かめてください）"};
        std::unique_ptr<Registry> registry = Checked(Registry::Open(path));
        if (action == "list") {
            const auto list = Checked(registry->List());
            if (format == "csv") {
                WriteListCsv(out, list);
                return 0;
            }
            std::vector<JsonObject> items;
            for (const ProcedureSummary& s : list) items.push_back(SummaryJson(s));
            out << JsonObject().Array("procedures", items).Text() << "\n";
            return 0;
        }
        if (action == "alerts") {
            const auto alerts = Checked(registry->Alerts());
            if (format == "csv") {
                out << CsvLine({"createdAt", "kind", "patientId", "sopInstanceUid", "levelMGy",
                                "doseMGy", "message"});
                for (const StoredAlert& a : alerts)
                    out << CsvLine({a.CreatedAt, a.Kind, a.PatientId, a.SopInstanceUid,
                                    JsonNumber(a.LevelMGy), JsonNumber(a.DoseMGy), a.Message});
                return 0;
            }
            std::vector<JsonObject> items;
            for (const StoredAlert& a : alerts)
                items.push_back(JsonObject()
                                    .String("createdAt", a.CreatedAt)
                                    .String("kind", a.Kind)
                                    .String("patientId", a.PatientId)
                                    .String("sopInstanceUid", a.SopInstanceUid)
                                    .Number("levelMGy", a.LevelMGy)
                                    .Number("doseMGy", a.DoseMGy)
                                    .String("message", a.Message));
            out << JsonObject().Array("alerts", items).Text() << "\n";
            return 0;
        }
        std::vector<StoredProcedure> procedures;
        if (action == "show") {
            auto found = Checked(registry->Show(words[1]));
            if (!found)
                throw Failure{words[1] + ": この SOP Instance UID は線量登録簿にありません"};
            procedures.push_back(std::move(*found));
        } else {
            for (const ProcedureSummary& s : Checked(registry->List()))
                if (auto found = Checked(registry->Show(s.SopInstanceUid)))
                    procedures.push_back(std::move(*found));
        }
        if (format == "csv") {
            WriteEventsCsv(out, procedures);
            return 0;
        }
        if (action == "show") {
            JsonObject json = ProcedureJson(procedures[0], withPatient);
            const ProcedureRecord& r = procedures[0].Record;
            if (procedures[0].Summary.Status == "registered" && !r.PatientId.empty()) {
                const auto sum =
                    PatientCumulativeDose(*registry, r.PatientId, r.StudyDate, levels.WindowDays);
                if (sum)
                    json.Object("cumulativeDose", CumulativeJson(*sum, levels, levelSource));
                else
                    json.Null("cumulativeDose").String("cumulativeDoseError", sum.error().what());
            } else {
                json.Null("cumulativeDose");
            }
            out << json.Text() << "\n";
            return 0;
        }
        std::vector<JsonObject> items;
        for (const StoredProcedure& p : procedures) items.push_back(ProcedureJson(p, withPatient));
        out << JsonObject().Array("procedures", items).Text() << "\n";
        return 0;
    } catch (const Failure& failure) {
        out << JsonObject().String("error", failure.message).Text() << "\n";
        return 1;
    }
}

}  // namespace ordevo::cli
