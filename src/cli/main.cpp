// ordevo-cli: the program's computations without a window, for scripts and independent checks.
#include <QCoreApplication>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_arguments.h"
#include "cli_commands.h"
#include "json_writer.h"
#include "map_command.h"
#include "rdsr_command.h"
#include "registry_command.h"
#include "room_fit_command.h"
#include "working_folder.h"
#ifdef ORDEVO_MAP_PICTURE
#include <QGuiApplication>

#include "drl_review_page.h"
#include "map_picture.h"
#include "patient_lying_name.h"
#include "room_protocol_page.h"
#include "skin_dose_report_page.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: ordevo-cli evaluate|spectrum|couch|rdsr|map|room-fit [--data DIR] --equipment FILE "
    "[options]\n"
    "       ordevo-cli registry list|show SOP_INSTANCE_UID|export|alerts --registry PATH\n"
    "                  [--format json|csv] [--with-patient]\n"
    "       ordevo-cli registry drl --registry PATH [--from DATE --to DATE] [--drl FILE]\n"
    "                  [--categories FILE] [--format json|csv] [--pdf OUT]\n"
    "       ordevo-cli registry p-rdsr --registry PATH SOP_INSTANCE_UID --out FILE\n"
    "       ordevo-cli registry import --registry PATH [--data DIR] --equipment FILE\n"
    "                  [--equipment-b FILE] [--room FILE] PATH...\n"
    "  evaluate: [--kv V | --kv-low L --kv-high H --weighting equal|normal] --kar MGY --pka GYCM2\n"
    "            --shape square|circle --fsd CM [--body-part TEXT]\n"
    "  spectrum: voltage options as for evaluate\n"
    "  couch:    --typical-kv V --without MGY --with MGY --displayed MGY\n"
    "  rdsr:     [--equipment-b FILE] [--fsd CM] [--fsd-b CM] [--csv OUT] [--with-patient] "
    "PATH...\n"
    "  room-fit: [--move-cm 10] [--force] --out ROOM.room [--protocol-pdf OUT.pdf] REPORT\n"
    "            (or --protocol-pdf OUT.pdf alone: the measurement's one-page protocol)\n"
    "  map:      rdsr's options but --csv, and [--room FILE] [--patient-height CM]\n"
    "            [--patient-weight KG] [--landmark CM] [--phantom torso|plane] [--cell 1|0.5]\n"
    "            [--grid OUT.csv] [--png OUT.png] [--pdf OUT.pdf [--with-patient]] PATH...\n"
    "  --data defaults to the current folder when it holds the reference files, else to the\n"
    "  user's data folder of the window program, prepared from the installed reference data.\n"
    "       ordevo-cli --version\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace ordevo::cli;
    const std::vector<std::string> words(argv + 1, argv + argc);
    // Asked for, the usage is the output; given nothing, it is the error.
    if (words.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    if (words[0] == "--help" || words[0] == "-h") {
        std::cout << kUsage;
        return 0;
    }
    if (words[0] == "--version") {
        std::cout << "ordevo-cli " << ORDEVO_VERSION << "\n";
        return 0;
    }
    // The default data folder is found from the executable's folder and the application name.
    // The map's picture draws text, which needs Qt Gui (offscreen: no display is needed).
    MapPictureWriter writePicture;
    MapPageWriter writePage;
    ProtocolWriter writeProtocol;
    RegistryWriters registryWriters;
    // A long import shows where it is, on a terminal only: a log or a pipe gets the JSON alone.
    if (isatty(STDERR_FILENO)) registryWriters.Progress = &std::cerr;
    std::unique_ptr<QCoreApplication> qtApp;
#ifdef ORDEVO_MAP_PICTURE
    auto given = [&](const char* option) {
        return std::find(words.begin(), words.end(), option) != words.end();
    };
    if (words[0] == "registry" && given("--pdf")) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qtApp = std::make_unique<QGuiApplication>(argc, argv);
        registryWriters.ReviewPage = [](const std::string& path, const ReviewPage& page) {
            const ordevo::DrlReviewPageContent content{
                page.Review, QString::fromStdString(page.From), QString::fromStdString(page.To),
                QString::fromStdString(page.DrlFile), QString::fromStdString(page.Generated)};
            return ordevo::SaveDrlReviewPdf(QString::fromStdString(path), content).toStdString();
        };
    }
    if (words[0] == "map" && (given("--png") || given("--pdf"))) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qtApp = std::make_unique<QGuiApplication>(argc, argv);
        writePicture = [](const std::string& path, const ordevo::map::SkinDoseMap& map) {
            const auto saved = ordevo::map::WriteSkinDoseMapPng(QString::fromStdString(path), map);
            return saved ? std::string() : std::string(saved.error().what());
        };
        // The one-page report, as the map window prints it (the levels file is not written).
        writePage = [](const std::string& path, const MapPage& page) {
            using namespace ordevo::map;
            auto made = MakeReportContent(QString::fromStdString(page.ReportFile).section('/', -1),
                                          page.Report, page.Evaluation, page.Settings, page.Map,
                                          PatientLyingName(PatientLying::AsReported),
                                          page.DataFolder, false);
            if (const auto* error = std::get_if<QString>(&made)) return error->toStdString();
            SkinDoseReportContent content = std::get<SkinDoseReportContent>(std::move(made));
            content.WithPatient = page.WithPatient;
            return SaveSkinDoseReportPdf(QString::fromStdString(path), page.Map, content)
                .toStdString();
        };
    }
    if (words[0] == "room-fit" && given("--protocol-pdf")) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qtApp = std::make_unique<QGuiApplication>(argc, argv);
        writeProtocol = [](const std::string& path, double moveCm) {
            return ordevo::map::SaveRoomProtocolPdf(QString::fromStdString(path), moveCm)
                .toStdString();
        };
    }
#endif
    if (!qtApp) qtApp = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(ordevo::kApplicationName));
    const std::vector<std::string> options(words.begin() + 1, words.end());
    try {
        if (words[0] == "evaluate")
            return RunEvaluate(Arguments(options, kEvaluateOptions), std::cout);
        if (words[0] == "spectrum")
            return RunSpectrum(Arguments(options, kSpectrumOptions), std::cout);
        if (words[0] == "couch") return RunCouch(Arguments(options, kCouchOptions), std::cout);
        if (words[0] == "rdsr")
            return RunRdsr(Arguments(options, kRdsrOptions, kRdsrFlags), std::cout);
        if (words[0] == "registry")
            return RunRegistry(Arguments(options, kRegistryOptions, kRegistryFlags), std::cout,
                               registryWriters);
        if (words[0] == "room-fit")
            return RunRoomFit(Arguments(options, kRoomFitOptions, kRoomFitFlags), std::cout,
                              writeProtocol);
        if (words[0] == "map")
            return RunMap(Arguments(options, kMapOptions, kMapFlags), std::cout, writePicture,
                          writePage);
        throw UsageError(IsValidUtf8(words[0]) ? "unknown command: " + words[0]
                                               : "the command is not valid UTF-8 text");
    } catch (const UsageError& error) {
        std::cerr << "ordevo-cli: " << error.what() << "\n" << kUsage;
        return 2;
    }
}
