// ordevo-node under load on loopback: 1,000 dose reports sent by DCMTK's storescu over four
// associations at once, each with its own events, on the shipped reference data (or
// ORDEVO_DATA=DIR). Reported per report: the time until its store is answered (received and in
// the spool) and until it is registered (evaluated, mapped and written by the one worker).
// Every report must be registered exactly once, else the run is marked as an error. The second
// run holds 40 idle connections open beside the senders (each from an address of its own on
// loopback, opened again whenever the node closes one) and has a unit's C-ECHO sent every
// second throughout: the longest echo is reported, and an echo over 5 s is an error.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <set>
#include <thread>

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

// Connections that never say a word, from 127.0.0.2, 127.0.0.3, ...: kept open (opened again
// when the node closes one) until Stop().
class IdleConnections {
public:
    IdleConnections(int count, int port) : fds_(static_cast<std::size_t>(count), -1) {
        keeper_ = std::thread([this, port] {
            while (!stop_) {
                for (std::size_t i = 0; i < fds_.size(); ++i) {
                    if (fds_[i] >= 0) {
                        pollfd p{fds_[i], POLLIN, 0};
                        char byte = 0;
                        if (::poll(&p, 1, 0) <= 0 || ::recv(fds_[i], &byte, 1, MSG_DONTWAIT) > 0)
                            continue;
                        ::close(fds_[i]);
                        ++reopened_;
                    }
                    fds_[i] = Connect(static_cast<int>(i), port);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            }
            for (int fd : fds_)
                if (fd >= 0) ::close(fd);
        });
    }
    ~IdleConnections() {
        stop_ = true;
        keeper_.join();
    }
    int Reopened() const { return reopened_; }

private:
    static int Connect(int index, int port) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in from{};
        from.sin_family = AF_INET;
        from.sin_addr.s_addr = htonl(INADDR_LOOPBACK + 1 + static_cast<uint32_t>(index));
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<uint16_t>(port));
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&from), sizeof from) != 0 ||
            ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }
    std::vector<int> fds_;
    std::atomic<bool> stop_{false};
    std::atomic<int> reopened_{0};
    std::thread keeper_;
};

// A unit's C-ECHO every second until stopped; the longest wait for its answer.
class EchoProbe {
public:
    explicit EchoProbe(int port) {
        probe_ = std::thread([this, port] {
            while (!stop_) {
                QElapsedTimer timer;
                timer.start();
                const int code = QProcess::execute(
                    ORDEVO_ECHOSCU,
                    {"-aet", "ANGIO1", "-aec", "ORDEVO", "127.0.0.1", QString::number(port)});
                longestMs_ = std::max<long long>(longestMs_, timer.elapsed());
                failed_ += code == 0 ? 0 : 1;
                ++echoes_;
                std::this_thread::sleep_for(std::chrono::seconds(1));
            }
        });
    }
    ~EchoProbe() { Stop(); }
    void Stop() {
        stop_ = true;
        if (probe_.joinable()) probe_.join();
    }
    long long LongestMs() const { return longestMs_; }
    int Failed() const { return failed_; }
    int Echoes() const { return echoes_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<long long> longestMs_{0};
    std::atomic<int> failed_{0}, echoes_{0};
    std::thread probe_;
};

void NodeRegisters1000ReportsOver4Associations(benchmark::State& state) {
    const int idleCount = static_cast<int>(state.range(0));
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
        std::unique_ptr<IdleConnections> idle;
        std::unique_ptr<EchoProbe> echo;
        if (idleCount > 0) {
            idle = std::make_unique<IdleConnections>(idleCount, port);
            QThread::msleep(500);
            echo = std::make_unique<EchoProbe>(port);
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
        if (echo) {
            echo->Stop();
            state.counters["echo_longest_ms"] = static_cast<double>(echo->LongestMs());
            state.counters["echoes"] = echo->Echoes();
            state.counters["idle_reopened"] = idle->Reopened();
            if (echo->Failed() > 0 || echo->LongestMs() > 5000)
                state.SkipWithError("a C-ECHO failed or waited over 5 s");
        }
        idle.reset();
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
    ->ArgName("idle")
    ->Arg(0)
    ->Arg(40)
    ->Unit(benchmark::kSecond)
    ->UseManualTime()
    ->Iterations(1);

}  // namespace
