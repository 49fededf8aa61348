#include "map_command.h"

#include <QFileInfo>
#include <QStringList>
#include <memory>

#include "cli_commands.h"
#include "cp932_text.h"
#include "dose_report_reader.h"
#include "file_name_check.h"
#include "follow_up_judgement.h"
#include "number_box.h"
#include "json_writer.h"
#include "number_format.h"
#include "rdsr_command.h"
#include "reference_files.h"
#include "room_profile_file.h"
#include "scatter_kernel_file.h"
#include "skin_dose_map.h"
#include "uncertainty_json.h"

namespace ordevo::cli {

const std::vector<std::string> kMapOptions = {
    "data",           "equipment", "equipment-b", "fsd",  "fsd-b", "room", "patient-height",
    "patient-weight", "landmark",  "phantom",     "cell", "png",   "grid", "pdf",
    "fsd-uncertainty"};
const std::vector<std::string> kMapFlags = {"with-patient"};

namespace {

using namespace ordevo::map;

constexpr double kThresholdsGy[] = {1.0, 2.0, 3.0, 5.0, 10.0};

std::optional<double> ReadNumber(const Arguments& args, const std::string& name, double lowest,
                                 double highest, const std::string& what) {
    const auto text = args.Get(name);
    if (!text) return std::nullopt;
    const std::optional<double> value = ReadNumberBox(*text).Value;
    if (!value || !(*value >= lowest && *value <= highest))
        throw UsageError("--" + name + " must be " + what);
    return value;
}

MapSettings ReadSettings(const Arguments& args) {
    MapSettings s;
    s.HeightCm = ReadNumber(args, "patient-height", 50, 250, "a height of 50 to 250 cm");
    s.WeightKg = ReadNumber(args, "patient-weight", 1, 350, "a weight of 1 to 350 kg");
    s.LandmarkCm = ReadNumber(args, "landmark", 0, 200, "0 to 200 cm from the top of the trunk")
                       .value_or(s.LandmarkCm);
    const std::string phantom = args.Get("phantom").value_or("torso");
    if (phantom != "torso" && phantom != "plane")
        throw UsageError("--phantom must be torso or plane");
    s.Phantom = phantom == "plane" ? PhantomKind::Plane : PhantomKind::Torso;
    const std::string cell = args.Get("cell").value_or("1");
    if (cell != "1" && cell != "0.5") throw UsageError("--cell must be 1 or 0.5 (cm)");
    s.CellCm = cell == "1" ? 1.0 : 0.5;
    return s;
}

}  // namespace

namespace {

// The room profile: --room, else "<manufacturer>.room" in the data folder, else the DICOM
// definitions (said in a note).
RoomProfile ChooseProfile(const Arguments& args, const QString& folder,
                          const std::string& manufacturer, std::vector<std::string>& notes) {
    QString path;
    if (const auto room = args.Get("room")) {
        path = QString::fromStdString(*room);
    } else {
        // The report's words become a file name only as one plain word: "../x" never leaves the
        // data folder.
        const std::optional<QString> name = ManufacturerRoomFileName(manufacturer);
        if (name && QFileInfo(folder + "/" + *name).isFile()) path = folder + "/" + *name;
    }
    if (path.isEmpty()) {
        notes.push_back("製造者 \"" + manufacturer +
                        "\" の部屋プロファイルがないため DICOM の定義を使用");
        return RoomProfile{};
    }
    auto profile = ReadRoomProfileFile(path);
    if (!profile) throw Failure{profile.error().what()};
    if (const auto note = ProfileNote(*profile)) notes.push_back(*note);
    return std::move(*profile);
}

// One row per cell: where it is and its dose.
void WriteGrid(const QString& path, const SkinDoseMap& map) {
    QStringList lines{"row,column,fromTopCm,angleDeg,xCm,yCm,zCm,areaCm2,region,doseMGy"};
    for (int row = 0; row < map.Model.Rows; ++row)
        for (int column = 0; column < map.Model.Columns; ++column) {
            const std::size_t i = static_cast<std::size_t>(row * map.Model.Columns + column);
            const SkinCell& c = map.Model.Cells[i];
            const std::string line = std::to_string(row) + "," + std::to_string(column) + "," +
                                     JsonNumber(c.FromTopCm) + "," + JsonNumber(c.AngleDeg) + "," +
                                     JsonNumber(c.X) + "," + JsonNumber(c.Y) + "," +
                                     JsonNumber(c.Z) + "," + JsonNumber(c.AreaCm2) + "," +
                                     RegionName(map.Model, c) + "," + JsonNumber(map.DoseMGy[i]);
            lines.push_back(QString::fromStdString(line));
        }
    const auto written = WriteTextLines(path, lines);
    if (!written) throw Failure{written.error().what()};
}

// The follow-up judged against the lowest level of the levels file (the one that calls for any
// follow-up), on the PSD and the dose the map could not place; null without levels.
JsonObject FollowUpJson(const std::vector<FollowUpLevel>& levels, const SkinDoseMap& map) {
    const FollowUpJudgement j = JudgeFollowUpLevels(levels, map);
    JsonObject json;
    json.Number("levelMGy", j.LevelMGy.value_or(0))
        .String("status", FollowUpStatusName(j.Status))
        .String("text", FollowUpHeadline(j).toStdString());
    return json;
}

JsonObject MapJson(const std::string& file, const SkinDoseMap& map, const RoomProfile& profile,
                   const UncertaintyKnowledge& known, const std::vector<FollowUpLevel>& levels) {
    JsonObject json;
    json.String("file", file)
        .Number("psdMGy", map.PsdMGy)
        .Bool("psdOfPlacedEventsOnly", PsdOfPlacedOnly(map))
        .Number("mappedKarShare", map.MappedKarShare);
    if (levels.empty())
        json.Null("followUp");
    else
        json.Object("followUp", FollowUpJson(levels, map));
    if (map.PsdCell) {
        const SkinCell& c = map.Model.Cells[*map.PsdCell];
        json.Object("psdLocation", JsonObject()
                                       .String("region", RegionName(map.Model, c))
                                       .Number("fromTopCm", c.FromTopCm)
                                       .Number("angleDeg", c.AngleDeg)
                                       .Number("xCm", c.X));
        json.Number("psdFocusSkinDistanceCm", map.PsdFocusSkinDistanceCm);
        AddUncertainty(json, map.PsdUncertainty, known);
        if (map.PsdUncertainty) {
            const double u = map.PsdUncertainty->ExpandedUncertainty();
            json.Object("psdIntervalMGy", JsonObject()
                                              .Number("low", std::max(0.0, map.PsdMGy - u))
                                              .Number("high", map.PsdMGy + u));
        } else {
            json.Null("psdIntervalMGy");
        }
    } else {
        json.Null("psdLocation").Null("psdFocusSkinDistanceCm");
    }
    JsonObject areas;
    for (double gy : kThresholdsGy)
        areas.Number(FormatNumber(gy, "0") + "Gy", map.AreaAtOrAboveCm2(1000.0 * gy));
    std::vector<JsonObject> unmapped;
    for (const UnmappedEvent& e : map.Unmapped)
        unmapped.push_back(JsonObject().String("uid", e.Uid).String("reason", e.Reason));
    json.Number("upperBoundMGy", map.UpperBoundMGy)
        .Number("unmappedUpperBoundMGy", map.UnmappedUpperBoundMGy)
        .Object("areaAboveCm2", areas)
        .Number("cellCm", map.Model.CellCm)
        .String("phantom", PhantomName(map.Model.Kind))
        .String("profile", profile.Name)
        .String("profileSource", ProfileSourceName(profile.Source))
        .String("profileLabel", ProfileLabel(profile))
        .Number("mappedEvents", map.MappedEvents)
        .Array("unmappedEvents", unmapped)
        .StringArray("notes", map.Notes);
    return json;
}

}  // namespace

int RunMap(const Arguments& args, std::ostream& out, const MapPictureWriter& writePicture,
           const MapPageWriter& writePage) {
    args.Require("equipment");
    if (args.Positionals().empty())
        throw UsageError("give at least one dose report file or folder");
    if (args.Has("fsd-b") && !args.Has("equipment-b"))
        throw UsageError("--fsd-b needs --equipment-b");
    ReadFsd(args, "fsd");
    ReadFsd(args, "fsd-b");
    const MapSettings base = ReadSettings(args);
    if (args.Has("png") && !writePicture)
        throw UsageError("--png needs ordevo-cli built with the windows (Qt Gui)");
    if (args.Has("pdf") && !writePage)
        throw UsageError("--pdf needs ordevo-cli built with the windows (Qt Gui)");
    try {
        const FileResult<QString> chosen = ChooseDataFolder(args);
        if (!chosen) throw Failure{chosen.error().what()};
        const QString folder = *chosen;
        auto ref = ReadReferenceData(folder);
        if (!ref) throw Failure{ref.error().what()};
        const rdsr::PlaneSetup planeA = ReadPlane(args, folder, "equipment", "fsd");
        std::optional<rdsr::PlaneSetup> planeB;
        if (args.Has("equipment-b")) planeB = ReadPlane(args, folder, "equipment-b", "fsd-b");
        // The levels the page prints; the JSON judges against the same file.
        auto loadedLevels = LoadFollowUpLevels(folder, false);
        if (const auto* error = std::get_if<QString>(&loadedLevels))
            throw Failure{error->toStdString()};
        const std::vector<FollowUpLevel> levels =
            std::get<std::vector<FollowUpLevel>>(std::move(loadedLevels));
        const ScatterKernelLoader loadKernel =
            rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(folder));

        // No output may replace an input (the report, an equipment file).
        const std::vector<ExpandedPath> inputs = ExpandAll(args.Positionals());
        std::vector<std::string> inputFiles;
        for (const char* option : {"equipment", "equipment-b"})
            if (const auto given = args.Get(option))
                inputFiles.push_back(EquipmentPath(*given, folder).toStdString());
        for (const ExpandedPath& input : inputs)
            inputFiles.insert(inputFiles.end(), input.Files.begin(), input.Files.end());
        for (const char* option : {"png", "grid", "pdf"})
            if (const auto output = args.Get(option))
                RefuseOutputOverInput(option, *output, inputFiles);

        std::vector<JsonObject> files;
        int mapped = 0;
        bool everyDose = true;
        const bool allRead =
            ReadEachReport(inputs, files, [&](const std::string& file, rdsr::DoseReport&& read) {
                const rdsr::DoseReport report = std::move(read);
                const rdsr::ReportEvaluation evaluation = rdsr::EvaluateReport(
                    *ref, report, planeA, planeB ? &*planeB : nullptr, loadKernel);
                // No event evaluated: the report has no dose (not a dose of 0).
                int evaluated = 0;
                for (const rdsr::PlaneEvaluation& plane : evaluation.Planes)
                    evaluated += plane.Totals.Evaluated;
                if (evaluated == 0) {
                    everyDose = false;
                    files.push_back(
                        JsonObject()
                            .String("file", file)
                            .String("error",
                                    "no event could be evaluated: the report has no dose"));
                    return;
                }
                MapSettings settings = base;
                std::vector<std::string> notes = report.Notes;
                settings.Profile = ChooseProfile(args, folder, report.Manufacturer, notes);
                SkinDoseMap map =
                    ComputeSkinDoseMap(*ref, report, evaluation, settings, loadKernel);
                AddPlacementUncertainty(map, *ref, report, evaluation, settings, loadKernel);
                notes.insert(notes.end(), map.Notes.begin(), map.Notes.end());
                map.Notes = std::move(notes);
                // One picture and one grid: of the first report when several are given.
                if (mapped++ == 0) {
                    if (const auto grid = args.Get("grid"))
                        WriteGrid(QString::fromStdString(*grid), map);
                    if (const auto png = args.Get("png")) {
                        const std::string why = writePicture(*png, map);
                        if (!why.empty()) throw Failure{why};
                    }
                    if (const auto pdf = args.Get("pdf")) {
                        const std::string why =
                            writePage(*pdf, MapPage{file, report, evaluation, settings, map, folder,
                                                    args.HasFlag("with-patient")});
                        if (!why.empty()) throw Failure{why};
                    }
                }
                files.push_back(MapJson(file, map, settings.Profile, planeA.Knowledge, levels));
            });
        out << JsonObject().Array("files", files).Text() << "\n";
        return allRead && everyDose ? 0 : 1;
    } catch (const Failure& failure) {
        out << JsonObject().String("error", failure.message).Text() << "\n";
        return 1;
    }
}

}  // namespace ordevo::cli
