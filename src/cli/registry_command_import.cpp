#include "registry_command_import.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "cli_commands.h"
#include "dose_report_reader.h"
#include "json_writer.h"
#include "report_registration.h"
#include "source_header.h"

namespace ordevo::cli {

namespace {

struct Candidate {
    std::string Path;
    bool Named;  // named on the command line: always tried
};

// The DICOM file signature: "DICM" after the 128-byte preamble.
bool HasDicomSignature(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(132);
    return head.size() == 132 && head.mid(128, 4) == "DICM";
}

std::vector<Candidate> Candidates(const std::vector<std::string>& paths) {
    std::vector<Candidate> found;
    for (const std::string& path : paths) {
        const QString given = QString::fromStdString(path);
        if (!QFileInfo(given).isDir()) {
            found.push_back({path, true});
            continue;
        }
        std::vector<std::string> inFolder;
        QDirIterator it(given, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) inFolder.push_back(it.next().toStdString());
        std::sort(inFolder.begin(), inFolder.end());  // the same order on every run
        for (std::string& file : inFolder) found.push_back({std::move(file), false});
    }
    return found;
}

// In a folder: a dose report, or a file that looks like DICOM but cannot be read (a damaged
// report is reported, not passed over).
bool WorthTrying(const std::string& path) {
    if (rdsr::IsDoseReportFile(path)) return true;
    const rdsr::SourceHeader header = rdsr::ReadSourceHeader(path);
    if (!header.Error.empty())
        return HasDicomSignature(QString::fromStdString(path)) ||
               QFileInfo(QString::fromStdString(path))
                       .suffix()
                       .compare("dcm", Qt::CaseInsensitive) == 0;
    return false;
}

}  // namespace

int RunRegistryImport(const Arguments& args, const QString& registryPath, std::ostream& out,
                      std::ostream* progress) {
    const std::string equipment = args.Require("equipment");
    if (args.Positionals().size() < 2)
        throw UsageError("registry import needs at least one report file or folder");
    const std::vector<std::string> paths(args.Positionals().begin() + 1, args.Positionals().end());
    const auto fail = [&](const std::string& message) {
        out << JsonObject().String("error", message).Text() << "\n";
        return 1;
    };
    const FileResult<QString> folder = ChooseDataFolder(args);
    if (!folder) return fail(folder.error().what());
    // Imported reports are evaluated for the one room the options describe.
    std::map<std::string, registry::RoomSetup> rooms;
    rooms[""] = registry::RoomSetup{equipment, args.Get("room").value_or(""),
                                    args.Get("equipment-b").value_or("")};
    auto context = registry::LoadEvaluationContext(folder->toStdString(), rooms);
    if (!context) return fail(context.error().what());
    auto opened = registry::Registry::Open(registryPath);
    if (!opened) return fail(opened.error().what());

    const std::vector<Candidate> candidates = Candidates(paths);
    int registered = 0, already = 0, skipped = 0;
    std::vector<JsonObject> failed;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& c = candidates[i];
        if (progress)
            *progress << "\r" << (i + 1) << " / " << candidates.size() << "  " << registered
                      << " 登録, " << already << " 登録済み, " << failed.size() << " 失敗"
                      << std::flush;
        const auto failure = [&](const std::string& reason) {
            failed.push_back(JsonObject().String("file", c.Path).String("reason", reason));
        };
        if (!QFileInfo(QString::fromStdString(c.Path)).isFile()) {
            failure("ファイルがありません");
            continue;
        }
        if (!c.Named && !WorthTrying(c.Path)) {
            ++skipped;
            continue;
        }
        const rdsr::SourceHeader header = rdsr::ReadSourceHeader(c.Path);
        // Without a SOP Instance UID the registry could not tell this file from another.
        if (!header.Error.empty() || header.SopInstanceUid.empty()) {
            failure("DICOM として読めません" +
                    (header.Error.empty() ? std::string(" (SOP Instance UID がありません)")
                                          : ": " + header.Error));
            continue;
        }
        std::string message;
        const registry::Outcome outcome = registry::RegisterReport(
            {c.Path, header.SopInstanceUid, header.StudyInstanceUid, "", ""}, *context, **opened,
            &message);
        switch (outcome) {
        case registry::Outcome::Registered: ++registered; break;
        case registry::Outcome::AlreadyRegistered: ++already; break;
        case registry::Outcome::Failed:
        case registry::Outcome::Deferred: failure(message); break;
        }
    }
    if (progress) *progress << "\n" << std::flush;
    out << JsonObject()
               .Number("registered", registered)
               .Number("alreadyRegistered", already)
               .Number("skipped", skipped)
               .Array("failed", failed)
               .Text()
        << "\n";
    return failed.empty() ? 0 : 1;
}

}  // namespace ordevo::cli
