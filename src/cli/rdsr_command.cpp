#include "rdsr_command.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <memory>

#include "cli_commands.h"
#include "cp932_text.h"
#include "dose_report_reader.h"
#include "equipment_file.h"
#include "number_box.h"
#include "json_writer.h"
#include "number_format.h"
#include "reference_files.h"
#include "report_evaluation.h"
#include "report_table.h"
#include "scatter_kernel_file.h"
#include "uncertainty_json.h"

namespace ordevo::cli {

const std::vector<std::string> kRdsrOptions = {"data",  "equipment", "equipment-b",    "fsd",
                                               "fsd-b", "csv",       "fsd-uncertainty"};
const std::vector<std::string> kRdsrFlags = {"with-patient"};

using namespace ordevo::rdsr;

std::optional<double> ReadFsd(const Arguments& args, const std::string& name) {
    const auto text = args.Get(name);
    if (!text) return std::nullopt;
    // One number, as the dose-report window's FSD box takes it.
    const std::optional<double> fsd = ReadNumberBox(*text).Value;
    if (!fsd || !(*fsd > 0)) throw UsageError("--" + name + " must be a positive distance in cm");
    return fsd;
}

PlaneSetup ReadPlane(const Arguments& args, const QString& folder,
                     const std::string& equipmentOption, const std::string& fsdOption) {
    const QString path = EquipmentPath(args.Require(equipmentOption), folder);
    auto equipment = LoadEquipmentFile(path, folder);
    if (!equipment) throw Failure{equipment.error().what()};
    PlaneSetup plane;
    plane.Equipment = std::move(equipment).value();
    plane.EquipmentName = FileNameOf(path).toStdString();
    plane.FocusSkinDistanceCm = ReadFsd(args, fsdOption);
    plane.Knowledge = ReadKnowledge(args, equipmentOption, folder);
    return plane;
}

namespace {

// The files a path stands for: itself, or every dose report below a folder, sorted.
ExpandedPath Expand(const std::string& path) {
    ExpandedPath expanded{path, {}, false};
    const QString name = QString::fromStdString(path);
    if (!QFileInfo(name).isDir()) {
        expanded.Files = {path};
        return expanded;
    }
    QDirIterator it(name, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const std::string file = it.next().toStdString();
        if (IsDoseReportFile(file)) expanded.Files.push_back(file);
    }
    std::sort(expanded.Files.begin(), expanded.Files.end());
    expanded.EmptyFolder = expanded.Files.empty();
    return expanded;
}

}  // namespace

std::vector<ExpandedPath> ExpandAll(const std::vector<std::string>& paths) {
    std::vector<ExpandedPath> all;
    for (const std::string& path : paths) all.push_back(Expand(path));
    return all;
}

void RefuseOutputOverInput(const std::string& option, const std::string& output,
                           const std::vector<std::string>& inputs) {
    const QString target = QFileInfo(QString::fromStdString(output)).canonicalFilePath();
    if (target.isEmpty()) return;  // a new file replaces nothing
    for (const std::string& input : inputs)
        if (QFileInfo(QString::fromStdString(input)).canonicalFilePath() == target)
            throw UsageError("--" + option + " " + output +
                             " is an input file; choose another name");
}

bool ReadEachReport(const std::vector<ExpandedPath>& inputs, std::vector<JsonObject>& files,
                    const std::function<void(const std::string& file, DoseReport&&)>& use) {
    bool allRead = true;
    for (const ExpandedPath& input : inputs) {
        for (const std::string& file : input.Files) {
            ReportReading reading = ReadDoseReport(file);
            if (!reading.Report) {
                allRead = false;
                files.push_back(JsonObject().String("file", file).String("error", reading.Error));
                continue;
            }
            use(file, std::move(*reading.Report));
        }
        if (input.EmptyFolder) {
            allRead = false;
            files.push_back(JsonObject()
                                .String("file", input.Path)
                                .String("error", "no dose report in this folder"));
        }
    }
    return allRead;
}

namespace {

JsonObject& OptionalNumber(JsonObject& json, const std::string& key,
                           const std::optional<double>& value) {
    return value ? json.Number(key, *value) : json.Null(key);
}

JsonObject EventJson(const IrradiationEvent& event, const EventEvaluation& e,
                     const UncertaintyKnowledge& known) {
    const EventCase& c = e.Case;
    JsonObject json;
    json.String("uid", event.Uid)
        .String("type", EventTypeName(event.Type))
        .String("dateTime", IsoDateTime(event.DateTime));
    OptionalNumber(json, "kv",
                   c.TubeVoltageKv > 0 ? std::optional<double>(c.TubeVoltageKv) : std::nullopt);
    json.Bool("kvAssumed", c.KvAssumed).Number("cuMm", c.CopperMm).Number("alMm", c.AluminiumMm);
    OptionalNumber(json, "kar", event.ReferenceAirKermaMGy);
    OptionalNumber(json, "pka", event.KermaAreaProductGyCm2);
    json.Number("referenceDistance", c.ReferenceDistanceCm);
    OptionalNumber(json, "fieldSize",
                   c.FieldSizeText.empty() ? std::nullopt
                                           : std::optional<double>(LeadingNumber(c.FieldSizeText)));
    OptionalNumber(
        json, "skinDose",
        c.Status == EventStatus::Evaluated ? std::optional<double>(e.SkinDoseMGy) : std::nullopt);
    json.String("status", EventStatusName(c.Status)).String("note", c.Note);
    if (c.Status == EventStatus::Evaluated) AddUncertainty(json, e.Uncertainty, known);
    return json;
}

JsonObject PlaneJson(const DoseReport& report, const PlaneEvaluation& plane) {
    const UncertaintyKnowledge& known = plane.Knowledge;
    std::vector<JsonObject> events;
    for (const EventEvaluation& e : plane.Events)
        events.push_back(EventJson(report.Events.at(e.EventIndex), e, known));
    const PlaneTotals& t = plane.Totals;
    JsonObject totals;
    totals.Number("kar", t.ReferenceAirKermaMGy).Number("pka", t.KermaAreaProductGyCm2);
    OptionalNumber(totals, "meanKv",
                   t.Evaluated > 0 ? std::optional<double>(t.MeanKv) : std::nullopt);
    totals.Number("skinDoseSum", t.SkinDoseSumMGy);
    if (t.Evaluated > 0) AddUncertainty(totals, t.SkinDoseSumUncertainty, known);
    OptionalNumber(totals, "singleCaseSkinDose", t.SingleCaseSkinDoseMGy);
    JsonObject json;
    json.String("plane", PlaneName(plane.Plane)).String("equipment", plane.EquipmentName);
    OptionalNumber(json, "fsd", plane.FocusSkinDistanceCm);
    json.Array("events", events).Object("totals", totals);
    return json;
}

// What makes a file's evaluation incomplete: failed events, and a plane with events of which
// none could be evaluated (plane B without its equipment sums to 0, which is no dose).
std::vector<std::string> ProblemsOf(const ReportEvaluation& evaluation) {
    std::vector<std::string> problems;
    for (const PlaneEvaluation& plane : evaluation.Planes) {
        const std::string name = std::string("plane ") + PlaneName(plane.Plane);
        if (plane.Totals.Failed > 0)
            problems.push_back(name + ": " + std::to_string(plane.Totals.Failed) +
                               " event(s) failed");
        if (!plane.Events.empty() && plane.Totals.Evaluated == 0)
            problems.push_back(name + ": no event could be evaluated");
    }
    return problems;
}

JsonObject FileJson(const std::string& file, const DoseReport& report,
                    const ReportEvaluation& evaluation, bool withPatient) {
    JsonObject json;
    json.String("file", file)
        .String("manufacturer", report.Manufacturer)
        .String("model", report.Model)
        .String("studyDate", IsoDate(report.StudyDate));
    if (withPatient) {
        json.String("patientName", report.PatientName)
            .String("patientId", report.PatientId)
            .String("patientBirthDate", IsoDate(report.PatientBirthDate));
    }
    std::vector<JsonObject> planes;
    for (const PlaneEvaluation& plane : evaluation.Planes)
        planes.push_back(PlaneJson(report, plane));
    json.StringArray("notes", report.Notes)
        .StringArray("problems", ProblemsOf(evaluation))
        .Array("planes", planes);
    return json;
}

}  // namespace

int RunRdsr(const Arguments& args, std::ostream& out) {
    args.Require("equipment");
    if (args.Positionals().empty())
        throw UsageError("give at least one dose report file or folder");
    if (args.Has("fsd-b") && !args.Has("equipment-b"))
        throw UsageError("--fsd-b needs --equipment-b");
    ReadFsd(args, "fsd");
    ReadFsd(args, "fsd-b");
    try {
        const FileResult<QString> chosen = ChooseDataFolder(args);
        if (!chosen) throw Failure{chosen.error().what()};
        const QString folder = *chosen;
        auto ref = ReadReferenceData(folder);
        if (!ref) throw Failure{ref.error().what()};
        // Every input, before anything is read or written.
        const std::vector<ExpandedPath> inputs = ExpandAll(args.Positionals());
        std::vector<std::string> inputFiles = {
            EquipmentPath(args.Require("equipment"), folder).toStdString()};
        if (args.Has("equipment-b"))
            inputFiles.push_back(EquipmentPath(args.Require("equipment-b"), folder).toStdString());
        for (const ExpandedPath& input : inputs)
            inputFiles.insert(inputFiles.end(), input.Files.begin(), input.Files.end());
        if (const auto csv = args.Get("csv")) RefuseOutputOverInput("csv", *csv, inputFiles);

        const PlaneSetup planeA = ReadPlane(args, folder, "equipment", "fsd");
        std::optional<PlaneSetup> planeB;
        if (args.Has("equipment-b")) planeB = ReadPlane(args, folder, "equipment-b", "fsd-b");
        const ScatterKernelLoader loadKernel =
            MakeCachingKernelLoader(MakeScatterKernelLoader(folder));

        // Kept alive for the CSV, which is written before anything is printed.
        std::vector<std::unique_ptr<DoseReport>> reports;
        std::vector<std::unique_ptr<ReportEvaluation>> evaluations;
        std::vector<ReportCsvFile> csvFiles;
        std::vector<JsonObject> files;
        bool anyFailed = false;
        const bool allRead =
            ReadEachReport(inputs, files, [&](const std::string& file, DoseReport&& report) {
                reports.push_back(std::make_unique<DoseReport>(std::move(report)));
                evaluations.push_back(std::make_unique<ReportEvaluation>(EvaluateReport(
                    *ref, *reports.back(), planeA, planeB ? &*planeB : nullptr, loadKernel)));
                if (!ProblemsOf(*evaluations.back()).empty()) anyFailed = true;
                files.push_back(FileJson(file, *reports.back(), *evaluations.back(),
                                         args.HasFlag("with-patient")));
                csvFiles.push_back(
                    {QString::fromStdString(file), reports.back().get(), evaluations.back().get()});
            });
        if (!allRead) anyFailed = true;
        if (const auto csv = args.Get("csv")) {
            const auto written = WriteReportCsv(QString::fromStdString(*csv), csvFiles);
            if (!written) throw Failure{written.error().what()};
        }
        out << JsonObject().Array("files", files).Text() << "\n";
        return anyFailed ? 1 : 0;
    } catch (const Failure& failure) {
        out << JsonObject().String("error", failure.message).Text() << "\n";
        return 1;
    }
}

}  // namespace ordevo::cli
