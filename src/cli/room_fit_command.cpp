#include "room_fit_command.h"

#include <QFileInfo>

#include "cli_commands.h"
#include "dose_report_reader.h"
#include "json_writer.h"
#include "number_box.h"
#include "rdsr_command.h"
#include "room_commissioning.h"
#include "room_profile_file.h"

namespace ordevo::cli {

const std::vector<std::string> kRoomFitOptions = {"data", "out", "move-cm", "protocol-pdf"};
const std::vector<std::string> kRoomFitFlags = {"force"};

namespace {

JsonObject ProfileJson(const map::RoomProfile& p) {
    JsonObject json;
    json.String("name", p.Name)
        .String("longitudinal", map::TableDirectionName(p.Longitudinal))
        .String("lateral", map::TableDirectionName(p.Lateral))
        .String("height", map::TableDirectionName(p.Height))
        .String("primaryAngle", p.Primary == map::AngleSign::AsDicom ? "as_dicom" : "opposite")
        .String("secondaryAngle", p.Secondary == map::AngleSign::AsDicom ? "as_dicom" : "opposite");
    if (p.TableHeightAtIsocentreMm)
        json.Number("tableHeightAtIsocentreMm", *p.TableHeightAtIsocentreMm);
    else
        json.Null("tableHeightAtIsocentreMm");
    return json.String("source", map::ProfileSourceName(p.Source))
        .String("commissionedReport", p.CommissionedReport)
        .String("commissionedOn", p.CommissionedOn)
        .String("commissionedDevice", p.CommissionedDevice);
}

std::vector<JsonObject> StepsJson(const map::RoomFit& fit) {
    std::vector<JsonObject> steps;
    for (const map::FitStep& s : fit.Steps)
        steps.push_back(JsonObject()
                            .Number("step", s.Number)
                            .String("moved", map::TableDirectionName(s.Moved))
                            .String("axis", map::ReportedAxisName(s.Axis))
                            .Number("changeMm", s.ChangeMm)
                            .String("direction", map::TableDirectionName(s.Direction)));
    return steps;
}

double ReadMove(const Arguments& args) {
    const auto text = args.Get("move-cm");
    if (!text) return 10.0;
    const std::optional<double> value = ReadNumberBox(*text).Value;
    if (!value || !(*value >= 5.0 && *value <= 50.0))
        throw UsageError("--move-cm must be a move of 5 to 50 cm");
    return *value;
}

}  // namespace

int RunRoomFit(const Arguments& args, std::ostream& out, const ProtocolWriter& writeProtocol) {
    const double moveCm = ReadMove(args);
    const auto protocol = args.Get("protocol-pdf");
    if (protocol && !writeProtocol)
        throw UsageError("--protocol-pdf needs ordevo-cli built with the windows (Qt Gui)");
    if (args.Positionals().size() > 1) throw UsageError("give one dose report");
    if (args.Positionals().empty() && !protocol)
        throw UsageError("give the dose report of the room's four exposures");
    if (!args.Positionals().empty()) args.Require("out");
    try {
        if (protocol) {
            const std::string why = writeProtocol(*protocol, moveCm);
            if (!why.empty()) throw Failure{why};
            if (args.Positionals().empty()) {
                out << JsonObject().String("protocolPdf", *protocol).Text() << "\n";
                return 0;
            }
        }
        const QString outPath = QString::fromStdString(args.Require("out"));
        const QFileInfo target(outPath);
        // Checked before anything is read: a room's profile is never replaced by accident.
        if ((target.exists() || target.isSymLink()) && !args.HasFlag("force"))
            throw Failure{target.fileName().toStdString() +
                          ": 既にあります。置き換えるときは --force を付けて下さい"};
        const std::string reportPath = args.Positionals().front();
        rdsr::ReportReading read = rdsr::ReadDoseReport(reportPath);
        if (!read.Report) throw Failure{read.Error};
        // The manufacturer's profile is compared when a data folder can be found; the fit
        // itself needs none.
        const FileResult<QString> folder = ChooseDataFolder(args);
        const RoomCommissioning c =
            CommissionRoom(*read.Report, moveCm, QString::fromStdString(reportPath),
                           target.completeBaseName(), folder ? *folder : QString());
        if (!c.Fit.Profile) {
            out << JsonObject()
                       .String("error", c.Fit.Refusal)
                       .Array("steps", StepsJson(c.Fit))
                       .StringArray("notes", c.Fit.Notes)
                       .Text()
                << "\n";
            return 1;
        }
        const auto written = WriteRoomProfileFile(outPath, c.Comment, *c.Fit.Profile, true);
        if (!written) throw Failure{written.error().what()};
        JsonObject json;
        json.String("file", outPath.toStdString())
            .String("report", reportPath)
            .Number("moveCm", moveCm)
            .Object("profile", ProfileJson(*c.Fit.Profile))
            .Array("steps", StepsJson(c.Fit));
        if (c.Manufacturer)
            json.Object("manufacturerProfile", JsonObject()
                                                   .String("file", c.ManufacturerFile.toStdString())
                                                   .String("reference", c.Manufacturer->Reference)
                                                   .Bool("holds", c.Contradictions.empty())
                                                   .StringArray("differences", c.Contradictions));
        else
            json.Null("manufacturerProfile");
        if (protocol) json.String("protocolPdf", *protocol);
        json.StringArray("notes", c.Fit.Notes);
        out << json.Text() << "\n";
        return 0;
    } catch (const Failure& failure) {
        out << JsonObject().String("error", failure.message).Text() << "\n";
        return 1;
    }
}

}  // namespace ordevo::cli
