// ordevo-node under load on loopback: 1,000 dose reports sent by DCMTK's storescu over four
// associations at once, each with its own events, on the shipped reference data (or
// ORDEVO_DATA=DIR). Reported per report: the time until its store is answered (received and in
// the spool) and until it is registered (evaluated, mapped and written by the one worker).
// Every report must be registered exactly once, else the run is marked as an error.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <memory>
#include <set>

#include "bench_room.h"
#include "cp932_text.h"
#include "free_port.h"
#include "equipment_file.h"
#include "registry.h"
#include "report_writer.h"

namespace {

using namespace ordevo;

constexpr int kReports = 1000;
constexpr int kAssociations = 4;

std::size_t RegisteredCount(const QString& registryPath, std::set<std::string>* sops) {
    auto opened = registry::Registry::Open(registryPath);
    if (!opened) return 0;
    auto list = (*opened)->List();
    if (!list) return 0;
    if (sops)
        for (const auto& procedure : *list) sops->insert(procedure.SopInstanceUid);
    return list->size();
}

void NodeRegisters1000ReportsOver4Associations(benchmark::State& state) {
    QTemporaryDir dir;
    const QString equipment = dir.filePath("Typical.odv3");
    EquipmentRecordTexts typical{.FocusReceptorDistance = 100,
                                 .FocusIsocentreDistance = 75,
                                 .TargetAngle = 12,
                                 .InherentFiltrationMm = 2.5,
                                 .TypicalTubeVoltageText = QStringLiteral("80"),
                                 .CouchTransmission = 0.8,
                                 .CouchSoftTissueThickness = 1.2,
                                 .CalibrationConstant = 1.05};
    if (!WriteTextLines(equipment, EquipmentFileLines(typical))) {
        state.SkipWithError("equipment file not written");
        return;
    }
    // Reports of 2 to 9 events for 50 patients, a quarter of them to each association.
    std::vector<QStringList> batches(kAssociations);
    for (int i = 0; i < kReports; ++i) {
        rdsr::testing::FixtureReport report = rdsr::testing::ManyEventReport(2 + i % 8);
        report.PatientId = "P-" + std::to_string(i % 50);
        const QString path = dir.filePath(QString("r%1.dcm").arg(i));
        if (!rdsr::testing::WriteFixtureReport(report, path.toStdString())) {
            state.SkipWithError("fixture not written");
            return;
        }
        batches[i % kAssociations] << path;
    }
    for (auto _ : state) {
        const QString registryPath = dir.filePath("registry.sqlite");
        for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(registryPath + suffix);
        QDir(dir.filePath("spool")).removeRecursively();
        const int port = testing::FreeLoopbackPort();
        QProcess node;
        node.setStandardErrorFile(dir.filePath("node.log"));
        node.start(ORDEVO_NODE,
                   {"--port", QString::number(port), "--aet", "ORDEVO", "--registry", registryPath,
                    "--spool", dir.filePath("spool"), "--data", bench::DataFolder(), "--accept",
                    "ANGIO1=" + equipment + ";from=127.0.0.1"});
        node.waitForStarted();
        const QDeadlineTimer ready(20000);
        while (QProcess::execute(ORDEVO_ECHOSCU, {"-aet", "ANGIO1", "-aec", "ORDEVO", "127.0.0.1",
                                                  QString::number(port)}) != 0) {
            if (ready.hasExpired() || node.state() != QProcess::Running) {
                state.SkipWithError("ordevo-node does not answer");
                return;
            }
            QThread::msleep(100);
        }
        QElapsedTimer clock;
        clock.start();
        std::vector<std::unique_ptr<QProcess>> senders;
        for (const QStringList& batch : batches) {
            senders.push_back(std::make_unique<QProcess>());
            senders.back()->start(ORDEVO_STORESCU, QStringList{"-aet", "ANGIO1", "-aec", "ORDEVO",
                                                               "127.0.0.1", QString::number(port)} +
                                                       batch);
        }
        bool sent = true;
        for (auto& sender : senders)
            sent = sender->waitForFinished(-1) && sender->exitCode() == 0 && sent;
        const double answeredSeconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        while (RegisteredCount(registryPath, nullptr) < std::size_t(kReports) &&
               clock.elapsed() < 3600 * 1000)
            QThread::msleep(200);
        const double registeredSeconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        QThread::msleep(1000);  // a second registration of any report would show by now
        std::set<std::string> sops;
        const std::size_t rows = RegisteredCount(registryPath, &sops);
        node.kill();
        node.waitForFinished();
        if (!sent) state.SkipWithError("a sender failed");
        if (rows != std::size_t(kReports) || sops.size() != rows)
            state.SkipWithError("not every report registered exactly once");
        state.SetIterationTime(registeredSeconds);
        state.counters["answered_ms_per_report"] = answeredSeconds * 1e3 / kReports;
        state.counters["registered_ms_per_report"] = registeredSeconds * 1e3 / kReports;
    }
}
BENCHMARK(NodeRegisters1000ReportsOver4Associations)
    ->Unit(benchmark::kSecond)
    ->UseManualTime()
    ->Iterations(1);

}  // namespace
