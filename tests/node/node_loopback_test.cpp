// ordevo-node on loopback, sent to by DCMTK's own storescu and echoscu: reports of three device
// conventions registered with the numbers ordevo-cli gives, once each however often sent; an
// unknown caller, another class and a damaged report refused or failed while the node keeps
// serving; and what was spooled before a stop registered at the next start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/scu.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <iostream>
#include <random>
#include <set>

#include "association_listener.h"
#include "dose_report_reader.h"
#include "free_port.h"
#include "registry.h"
#include "report_writer.h"
#include "synthetic_data.h"
#include "tiny_disk.h"

namespace ordevo::node {
namespace {

using rdsr::testing::FixtureReport;

struct ProcessRun {
    int exitCode;
    QString output;
};
ProcessRun Execute(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

class NodeLoopback : public ::testing::Test {
protected:
    void SetUp() override {
        if (QString(ORDEVO_STORESCU).isEmpty() || QString(ORDEVO_ECHOSCU).isEmpty())
            GTEST_SKIP() << "DCMTK's storescu and echoscu are not installed (package dcmtk)";
        ASSERT_TRUE(dir_.isValid());
        testing::WriteSyntheticWorkingFolder(dir_.path());
        spool_ = dir_.filePath("spool");
        Start();
    }
    void TearDown() override { Stop(); }

    void Start() {
        port_ = testing::FreeLoopbackPort();
        ASSERT_NE(port_, 0);
        node_.setProcessChannelMode(QProcess::SeparateChannels);
        node_.setStandardErrorFile(Journal(), QIODevice::Append);
        const QStringList options =
            QStringList{"--port",     QString::number(port_),
                        "--aet",      "ORDEVO",
                        "--registry", Registry(),
                        "--spool",    spool_,
                        "--data",     dir_.path(),
                        "--accept",   "ANGIO1=" + dir_.filePath("Room1.odv3") + ";from=127.0.0.1"} +
            extraOptions_;
        node_.start(ORDEVO_NODE, options);
        ASSERT_TRUE(node_.waitForStarted());
        // Serving once an echo is answered.
        const QDeadlineTimer deadline(20000);
        while (Echo("ANGIO1") != 0) {
            ASSERT_FALSE(deadline.hasExpired()) << "ordevo-node does not answer";
            ASSERT_EQ(node_.state(), QProcess::Running) << "ordevo-node stopped";
            QThread::msleep(100);
        }
    }
    void Stop() {
        if (node_.state() == QProcess::NotRunning) return;
        node_.kill();  // SIGKILL: nothing may depend on a clean stop
        node_.waitForFinished();
    }
    QString Registry() const { return dir_.filePath("registry.sqlite"); }
    // The node's messages (what the service journal would hold).
    QString Journal() const { return dir_.filePath("journal.txt"); }
    QString JournalText() const {
        QFile file(Journal());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    int Echo(const QString& callingAe) {
        return Execute(ORDEVO_ECHOSCU,
                       senderTls_ + QStringList{"-aet", callingAe, "-aec", "ORDEVO", "127.0.0.1",
                                                QString::number(port_)})
            .exitCode;
    }
    ProcessRun Send(const QString& callingAe, const QStringList& files) {
        return Execute(ORDEVO_STORESCU, senderTls_ +
                                            QStringList{"-v", "-aet", callingAe, "-aec", "ORDEVO",
                                                        "127.0.0.1", QString::number(port_)} +
                                            files);
    }
    QString WriteReport(const FixtureReport& report, const QString& name) {
        std::string error;
        EXPECT_TRUE(
            rdsr::testing::WriteFixtureReport(report, dir_.filePath(name).toStdString(), &error))
            << error;
        return dir_.filePath(name);
    }
    // A file of the class `sopClass` holding no report content.
    QString WriteBare(const char* sopClass, const char* sop, const QString& name) {
        DcmFileFormat file;
        file.getDataset()->putAndInsertString(DCM_SOPClassUID, sopClass);
        file.getDataset()->putAndInsertString(DCM_SOPInstanceUID, sop);
        file.getDataset()->putAndInsertString(DCM_Modality, "SR");
        EXPECT_TRUE(
            file.saveFile(dir_.filePath(name).toStdString().c_str(), EXS_LittleEndianExplicit)
                .good());
        return dir_.filePath(name);
    }
    // The registry's procedures once `count` are there (the worker evaluates after answering).
    std::vector<registry::ProcedureSummary> WaitFor(std::size_t count, int waitMs = 60000) {
        const QDeadlineTimer deadline(waitMs);
        for (;;) {
            if (QFile::exists(Registry())) {
                auto opened = registry::Registry::Open(Registry());
                if (opened)
                    if (auto list = (*opened)->List(); list && list->size() >= count) return *list;
            }
            if (deadline.hasExpired()) return {};
            QThread::msleep(100);
        }
    }
    std::optional<registry::StoredProcedure> Show(const std::string& sop) {
        auto opened = registry::Registry::Open(Registry());
        if (!opened) return std::nullopt;
        auto shown = (*opened)->Show(sop);
        return shown ? *shown : std::nullopt;
    }
    QJsonObject Cli(const QString& command, const QString& file) {
        const ProcessRun run = Execute(ORDEVO_CLI, {command, "--data", dir_.path(), "--equipment",
                                                    dir_.filePath("Room1.odv3"), file});
        return QJsonDocument::fromJson(run.output.toUtf8())
            .object()
            .value("files")
            .toArray()
            .at(0)
            .toObject();
    }
    static std::string SopOf(const QString& file) {
        DcmFileFormat dicom;
        OFString sop;
        dicom.loadFile(file.toStdString().c_str());
        dicom.getDataset()->findAndGetOFString(DCM_SOPInstanceUID, sop);
        return sop.c_str();
    }

    // The files of `files` whose store storescu saw answered with success: the first ones, up
    // to the first that was not (it stops at a lost connection).
    static std::vector<std::string> Answered(const QString& output, const QStringList& files) {
        std::vector<std::string> sops;
        for (const QString& line : output.split('\n')) {
            if (!line.contains("Received Store Response")) continue;
            if (!line.contains("Success") || sops.size() == std::size_t(files.size())) break;
            sops.push_back(SopOf(files[int(sops.size())]));
        }
        return sops;
    }

    QTemporaryDir dir_;
    QString spool_;
    QStringList extraOptions_;
    QStringList senderTls_;  // the TLS options of echoscu and storescu
    QProcess node_;
    int port_ = 0;
};

TEST_F(NodeLoopback, RegistersEachConventionOnceWithTheCommandLinesNumbers) {
    FixtureReport nested;  // events inside a further container
    nested.NestEvents = true;
    nested.Manufacturer = "Second Devices";
    FixtureReport comprehensive = rdsr::testing::ManyEventReport(6);  // a Comprehensive SR
    comprehensive.DoseReportClass = false;
    comprehensive.Manufacturer = "Third Devices";
    const QStringList files = {WriteReport(FixtureReport{}, "plain.dcm"),
                               WriteReport(nested, "nested.dcm"),
                               WriteReport(comprehensive, "comprehensive.dcm")};
    // Each sent twice: once in one association, again in another.
    ASSERT_EQ(Send("ANGIO1", files + QStringList{files[0]}).exitCode, 0);
    ASSERT_EQ(Send("ANGIO1", files).exitCode, 0);
    const auto list = WaitFor(3);
    ASSERT_EQ(list.size(), 3u);
    QThread::msleep(500);  // a second registration of the same report would show by now
    EXPECT_EQ(WaitFor(3).size(), 3u);
    for (const QString& file : files) {
        const std::string sop = SopOf(file);
        const auto stored = Show(sop);
        ASSERT_TRUE(stored) << file.toStdString();
        EXPECT_EQ(stored->Summary.Status, "registered") << stored->Summary.Reason;
        EXPECT_EQ(stored->Record.CallingAe, "ANGIO1");
        const QJsonObject map = Cli("map", file);
        const QJsonObject rdsr = Cli("rdsr", file);
        ASSERT_TRUE(stored->Summary.PsdMGy);
        EXPECT_DOUBLE_EQ(*stored->Summary.PsdMGy, map.value("psdMGy").toDouble());
        EXPECT_DOUBLE_EQ(*stored->Summary.UpperBoundMGy, map.value("upperBoundMGy").toDouble());
        const QJsonObject interval = map.value("psdIntervalMGy").toObject();
        EXPECT_DOUBLE_EQ(stored->Summary.PsdHighMGy.value_or(0), interval.value("high").toDouble());
        EXPECT_GT(stored->Summary.PsdHighMGy.value_or(0), *stored->Summary.PsdMGy);
        const QJsonObject totals =
            rdsr.value("planes").toArray().at(0).toObject().value("totals").toObject();
        ASSERT_EQ(stored->Record.Planes.size(), 1u);
        EXPECT_DOUBLE_EQ(stored->Record.Planes[0].SkinDoseSumMGy,
                         totals.value("skinDoseSum").toDouble());
        EXPECT_DOUBLE_EQ(stored->Record.Planes[0].KermaAreaProductGyCm2,
                         totals.value("pka").toDouble());
        EXPECT_GT(*stored->Summary.PsdMGy, 0.0);
    }
}

// Four units sending at once while a fifth holds its association open without a word: none of
// them waits for another, and each report is registered once.
TEST_F(NodeLoopback, ServesSeveralAssociationsAtOnce) {
    DcmSCU idle;
    idle.setAETitle("ANGIO1");
    idle.setPeerAETitle("ORDEVO");
    idle.setPeerHostName("127.0.0.1");
    idle.setPeerPort(static_cast<Uint16>(port_));
    OFList<OFString> syntaxes;
    syntaxes.push_back(UID_LittleEndianImplicitTransferSyntax);
    idle.addPresentationContext(UID_VerificationSOPClass, syntaxes);
    ASSERT_TRUE(idle.initNetwork().good());
    ASSERT_TRUE(idle.negotiateAssociation().good());
    std::vector<std::unique_ptr<QProcess>> senders;
    std::set<std::string> sent;
    for (int s = 0; s < 4; ++s) {
        QStringList files;
        for (int i = 0; i < 5; ++i) {
            files << WriteReport(rdsr::testing::ManyEventReport(2 + i % 3),
                                 QString("s%1r%2.dcm").arg(s).arg(i));
            sent.insert(SopOf(files.back()));
        }
        senders.push_back(std::make_unique<QProcess>());
        senders.back()->start(ORDEVO_STORESCU, QStringList{"-aet", "ANGIO1", "-aec", "ORDEVO",
                                                           "127.0.0.1", QString::number(port_)} +
                                                   files);
    }
    for (auto& sender : senders) {
        ASSERT_TRUE(sender->waitForFinished(30000));
        EXPECT_EQ(sender->exitCode(), 0);
    }
    EXPECT_TRUE(idle.isConnected());
    idle.releaseAssociation();
    const auto list = WaitFor(sent.size());
    std::set<std::string> registered;
    for (const auto& p : list) registered.insert(p.SopInstanceUid);
    EXPECT_EQ(list.size(), sent.size());
    EXPECT_EQ(registered, sent);
}

TEST_F(NodeLoopback, RefusesStrangersAndOtherClassesKeepsDamagedReportsAndServesOn) {
    EXPECT_NE(Echo("STRANGER"), 0);
    const QString report = WriteReport(FixtureReport{}, "report.dcm");
    EXPECT_NE(Send("STRANGER", {report}).exitCode, 0);
    // Another class is not negotiated: storescu has nothing to send it on.
    const QString image = WriteBare(UID_CTImageStorage, "1.2.826.0.1.3680043.10.9.1", "ct.dcm");
    Send("ANGIO1", {image});
    const QString damaged =
        WriteBare(UID_XRayRadiationDoseSRStorage, "1.2.826.0.1.3680043.10.9.2", "damaged.dcm");
    EXPECT_EQ(Send("ANGIO1", {damaged}).exitCode, 0);
    const auto failed = WaitFor(1);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].SopInstanceUid, "1.2.826.0.1.3680043.10.9.2");
    EXPECT_EQ(failed[0].Status, "failed");
    EXPECT_FALSE(failed[0].Reason.empty());
    // Still serving: a good report from the known room is registered.
    EXPECT_EQ(Echo("ANGIO1"), 0);
    EXPECT_EQ(Send("ANGIO1", {report}).exitCode, 0);
    const auto list = WaitFor(2);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].SopInstanceUid, SopOf(report));
    EXPECT_EQ(list[1].Status, "registered");
    EXPECT_FALSE(QFile::exists(dir_.filePath("spool/1.2.826.0.1.3680043.10.9.1.dcm")));
}

TEST_F(NodeLoopback, RegistersAtStartWhatWasSpooledButNotRegistered) {
    const QString report = WriteReport(FixtureReport{}, "report.dcm");
    ASSERT_EQ(Send("ANGIO1", {report}).exitCode, 0);
    ASSERT_EQ(WaitFor(1).size(), 1u);
    // The registry lost (as if the node had stopped between answering and registering).
    Stop();
    for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(Registry() + suffix);
    Start();
    const auto list = WaitFor(1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].SopInstanceUid, SopOf(report));
    EXPECT_EQ(list[0].Status, "registered");
}

TEST_F(NodeLoopback, AFullSpoolAnswersAFailureAndRegistersNothing) {
    testing::TinyDisk disk(64);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason().toStdString();
    Stop();
    spool_ = disk.Path();
    Start();
    disk.Fill();
    const QString report = WriteReport(rdsr::testing::ManyEventReport(40), "report.dcm");
    const ProcessRun run = Send("ANGIO1", {report});
    EXPECT_TRUE(Answered(run.output, {report}).empty()) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("Store Response")) << run.output.toStdString();
    EXPECT_TRUE(WaitFor(1, 1000).empty());
}

// Killed at random moments while reports are sent: every report whose store was answered with
// success is registered after the restart, and sending everything again counts each once. The
// gate runs 3 rounds of 20 reports; ORDEVO_KILL_ROUNDS=20x200 runs 20 rounds of 200 by hand.
TEST_F(NodeLoopback, EveryAnsweredReportSurvivesAKillAndCountsOnce) {
    int rounds = 3, reports = 20;
    if (const QString asked = qEnvironmentVariable("ORDEVO_KILL_ROUNDS"); !asked.isEmpty()) {
        const QStringList parts = asked.split('x');
        ASSERT_EQ(parts.size(), 2) << "ORDEVO_KILL_ROUNDS is ROUNDSxREPORTS";
        rounds = parts[0].toInt();
        reports = parts[1].toInt();
        ASSERT_TRUE(rounds > 0 && reports > 0) << "ORDEVO_KILL_ROUNDS is ROUNDSxREPORTS";
    }
    QStringList files;
    for (int i = 0; i < reports; ++i)
        files << WriteReport(rdsr::testing::ManyEventReport(2 + i % 3), QString("r%1.dcm").arg(i));
    std::set<std::string> answered;
    std::mt19937 random(22);
    int next = 0;
    for (int round = 0; round < rounds; ++round) {
        // Each round sends every report, from the one after the last answered before: the
        // kills fall all over the list, and reports answered before are sent again.
        const QStringList sending = files.mid(next) + files.mid(0, next);
        QProcess sender;
        sender.setProcessChannelMode(QProcess::MergedChannels);
        sender.start(ORDEVO_STORESCU, QStringList{"-v", "-aet", "ANGIO1", "-aec", "ORDEVO",
                                                  "127.0.0.1", QString::number(port_)} +
                                          sending);
        // Anywhere in the sending, about 20 ms a report.
        QThread::msleep(
            std::uniform_int_distribution<unsigned>(20, 20 * unsigned(reports))(random));
        Stop();
        sender.waitForFinished(60000);
        const auto stored = Answered(QString::fromUtf8(sender.readAll()), sending);
        answered.insert(stored.begin(), stored.end());
        next = (next + int(stored.size())) % int(files.size());
        Start();
        // Registered from the spool at the restart.
        const QDeadlineTimer deadline(60000 + 1000 * reports);
        std::set<std::string> registered;
        while (!std::includes(registered.begin(), registered.end(), answered.begin(),
                              answered.end()) &&
               !deadline.hasExpired()) {
            QThread::msleep(200);
            for (const auto& p : WaitFor(0)) registered.insert(p.SopInstanceUid);
        }
        EXPECT_TRUE(
            std::includes(registered.begin(), registered.end(), answered.begin(), answered.end()))
            << "round " << round << ": " << answered.size() << " answered, " << registered.size()
            << " registered";
    }
    std::cout << rounds << " kills among " << reports << " reports: " << answered.size()
              << " answered before a kill, each registered after the restart\n";
    EXPECT_FALSE(answered.empty()) << "no round answered any report before its kill";
    ASSERT_EQ(Send("ANGIO1", files).exitCode, 0);
    const auto list = WaitFor(std::size_t(files.size()), 60000 + 1000 * reports);
    std::set<std::string> sops;
    for (const auto& p : list) sops.insert(p.SopInstanceUid);
    EXPECT_EQ(list.size(), std::size_t(files.size()));
    EXPECT_EQ(sops.size(), list.size());
}

// A biplane room's plane-B events are evaluated with its plane-B equipment.
TEST_F(NodeLoopback, EvaluatesPlaneBWithTheRoomsPlaneBEquipment) {
    Stop();
    const QString equipment = dir_.filePath("Room1.odv3");
    extraOptions_ = {"--accept", "BIPLANE=" + equipment + ",," + equipment + ";from=127.0.0.1"};
    Start();
    FixtureReport biplane;
    biplane.Events[0].PlaneCode = "113620";
    biplane.Events[0].PlaneMeaning = "Plane A";
    rdsr::testing::FixtureEvent lateral = biplane.Events[0];
    lateral.Uid = "1.2.826.0.1.3680043.10.1.2";
    lateral.PlaneCode = "113621";
    lateral.PlaneMeaning = "Plane B";
    biplane.Events.push_back(lateral);
    biplane.Totals.assign(2, {});
    biplane.Totals[0].PlaneCode = "113620";
    biplane.Totals[0].PlaneMeaning = "Plane A";
    biplane.Totals[1].PlaneCode = "113621";
    biplane.Totals[1].PlaneMeaning = "Plane B";
    const QString report = WriteReport(biplane, "biplane.dcm");
    ASSERT_EQ(Send("BIPLANE", {report}).exitCode, 0);
    ASSERT_EQ(WaitFor(1).size(), 1u);
    const auto stored = Show(SopOf(report));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Summary.Status, "registered") << stored->Summary.Reason;
    ASSERT_EQ(stored->Record.Planes.size(), 2u);
    for (const auto& plane : stored->Record.Planes) EXPECT_GT(plane.SkinDoseSumMGy, 0.0);
}

// With TLS, a unit showing a certificate the configured CA signed is served; a plain-TCP sender
// and a unit with a certificate of its own making are refused, and nothing of theirs is stored.
TEST_F(NodeLoopback, ServesTlsToCertifiedUnitsOnly) {
    if (QString(ORDEVO_OPENSSL).isEmpty()) GTEST_SKIP() << "openssl is not installed";
    const auto certify = [this](const QString& name) {
        return Execute(ORDEVO_OPENSSL,
                       {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                        "/CN=" + name, "-keyout", dir_.filePath(name + ".key"), "-out",
                        dir_.filePath(name + ".pem")})
                   .exitCode == 0;
    };
    ASSERT_TRUE(certify("node") && certify("unit") && certify("stranger"));
    const auto tls = [this](const QString& name) {
        return QStringList{"+tls", dir_.filePath(name + ".key"), dir_.filePath(name + ".pem"),
                           "+cf", dir_.filePath("node.pem")};
    };
    Stop();
    extraOptions_ = {
        "--tls-certificate",       dir_.filePath("node.pem"), "--tls-key",
        dir_.filePath("node.key"), "--tls-ca-certificate",    dir_.filePath("unit.pem")};
    senderTls_ = tls("unit");
    Start();
    const QString report = WriteReport(FixtureReport{}, "report.dcm");
    ASSERT_EQ(Send("ANGIO1", {report}).exitCode, 0);
    const QString other = WriteReport(rdsr::testing::ManyEventReport(2), "other.dcm");
    for (const QStringList& refused : {QStringList{}, tls("stranger")}) {
        senderTls_ = refused;
        EXPECT_NE(Send("ANGIO1", {other}).exitCode, 0) << refused.join(' ').toStdString();
    }
    senderTls_ = tls("unit");
    EXPECT_EQ(Echo("ANGIO1"), 0);  // still serving
    const auto list = WaitFor(1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].SopInstanceUid, SopOf(report));
    EXPECT_FALSE(QFile::exists(spool_ + "/" + QString::fromStdString(SopOf(other)) + ".dcm"));
}

TEST_F(NodeLoopback, AnAlertRunsTheCommandWithItsJson) {
    Stop();
    const QString received = dir_.filePath("alerts.json");
    extraOptions_ = {"--alert-procedure-mgy", "0.001", "--alert-command", "cat >> " + received};
    Start();
    const QString report = WriteReport(FixtureReport{}, "report.dcm");
    ASSERT_EQ(Send("ANGIO1", {report}).exitCode, 0);
    ASSERT_EQ(WaitFor(1).size(), 1u);
    const QDeadlineTimer deadline(20000);
    while (!QFile::exists(received) && !deadline.hasExpired()) QThread::msleep(100);
    QFile file(received);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject alert = QJsonDocument::fromJson(file.readLine()).object();
    EXPECT_EQ(alert.value("kind").toString(), "procedure");
    EXPECT_EQ(alert.value("sopInstanceUid").toString().toStdString(), SopOf(report));
    EXPECT_GT(alert.value("doseMGy").toDouble(), 0.001);
}

// ---- Callers that misbehave, on a raw socket ----

// A connected TCP socket to the node, and what it is sent and answers.
class RawConnection {
public:
    explicit RawConnection(int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ =
            ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawConnection() { ::close(fd_); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;
    bool Connected() const { return connected_; }
    bool Send(const std::string& bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }
    // The first byte of the node's answer (the PDU type: 2 accept, 3 reject, 7 abort); -1 when
    // the connection closed without one, -2 when nothing came in `waitMs`.
    int AnswerType(int waitMs = 10000) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, waitMs) <= 0) return -2;
        unsigned char type = 0;
        return ::recv(fd_, &type, 1, 0) == 1 ? type : -1;
    }
    // Whether the node closed this connection within `waitMs`.
    bool ClosedByNode(int waitMs) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, waitMs) <= 0) return false;
        char byte = 0;
        return ::recv(fd_, &byte, 1, MSG_DONTWAIT) <= 0;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

std::string Big16(std::size_t n) { return {char((n >> 8) & 0xff), char(n & 0xff)}; }
std::string Big32(std::size_t n) { return Big16(n >> 16) + Big16(n & 0xffff); }
std::string Item(char type, const std::string& body) {
    return std::string{type, '\0'} + Big16(body.size()) + body;
}
std::string AeField(const std::string& title) {
    return (title + std::string(16, ' ')).substr(0, 16);
}

// An A-ASSOCIATE-RQ (PS3.8 9.3.2) proposing verification in `syntaxes` transfer syntaxes.
std::string AssociateRequest(const std::string& called, const std::string& calling,
                             int syntaxes = 1) {
    std::string context = std::string{1, 0, 0, 0} + Item(0x30, "1.2.840.10008.1.1");
    for (int i = 0; i < syntaxes; ++i) context += Item(0x40, "1.2.840.10008.1.2");
    const std::string body = std::string{0, 1, 0, 0} + AeField(called) + AeField(calling) +
                             std::string(32, '\0') + Item(0x10, "1.2.840.10008.3.1.1.1") +
                             Item(0x20, context) + Item(0x50, Item(0x51, Big32(16384)));
    return std::string{1, 0} + Big32(body.size()) + body;
}

TEST_F(NodeLoopback, ABrokenOffRequestEndsOnlyThatCaller) {
    const std::string request = AssociateRequest("ORDEVO", "ANGIO1");
    // The header alone, half a request, a header announcing more than ever comes: then closed.
    const std::string cut[] = {std::string("\x01\x00\x00\x00\x03\xe8", 6),
                               request.substr(0, request.size() / 2), request.substr(0, 10),
                               std::string("\x01\x00\xff\xff\xff\xff", 6)};
    for (int round = 0; round < 3; ++round)
        for (const std::string& bytes : cut) {
            RawConnection connection(port_);
            ASSERT_TRUE(connection.Connected());
            EXPECT_TRUE(connection.Send(bytes));
        }
    QThread::msleep(300);
    EXPECT_EQ(node_.state(), QProcess::Running) << JournalText().toStdString();
    EXPECT_EQ(Echo("ANGIO1"), 0);
    // A whole request on a raw socket is accepted: the requests above were refused for what
    // they were, not for coming on a raw socket.
    RawConnection whole(port_);
    ASSERT_TRUE(whole.Send(request));
    EXPECT_EQ(whole.AnswerType(), 2);
}

// Forty connections that never say a word: a unit's echo is answered within seconds, and the
// idle ones beyond the bound for their address are closed.
TEST_F(NodeLoopback, IdleConnectionsHoldUpNobody) {
    std::vector<std::unique_ptr<RawConnection>> idle;
    for (int i = 0; i < 40; ++i) {
        idle.push_back(std::make_unique<RawConnection>(port_));
        ASSERT_TRUE(idle.back()->Connected());
    }
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Echo("ANGIO1"), 0);
    EXPECT_LT(timer.elapsed(), 5000);
    const QString report = WriteReport(FixtureReport{}, "report.dcm");
    EXPECT_EQ(Send("ANGIO1", {report}).exitCode, 0);
    EXPECT_LT(timer.elapsed(), 10000);
    int closed = 0;
    for (auto& connection : idle) closed += connection->ClosedByNode(100) ? 1 : 0;
    // All but the last kMostWaitingPerAddress were closed to let newer connections in.
    EXPECT_GE(closed, 40 - kMostWaitingPerAddress);
    EXPECT_EQ(WaitFor(1).size(), 1u);
}

// Requests the node cannot take are answered with a rejection, and what callers name goes
// escaped into the journal.
TEST_F(NodeLoopback, RejectsWhatItCannotTakeWithAReason) {
    const struct {
        std::string request;
        int answer;
    } cases[] = {
        {AssociateRequest("ORDEVO", "ANGIO1"), 2},
        {AssociateRequest("", "ANGIO1"), 3},              // no called AE title
        {AssociateRequest("ELSEWHERE", "ANGIO1"), 3},     // another node's
        {AssociateRequest("ORDEVO", "STRANGER"), 3},      // not accepted
        {AssociateRequest("ORDEVO", "AN\nGIO1 x"), 3},    // a line of its own in the journal
        {AssociateRequest("ORDEVO", "ANGIO1", 3000), 3},  // 3,000 transfer syntaxes
    };
    for (const auto& c : cases) {
        RawConnection connection(port_);
        ASSERT_TRUE(connection.Send(c.request));
        EXPECT_EQ(connection.AnswerType(), c.answer)
            << c.request.size() << " bytes; " << JournalText().toStdString();
    }
    const QString journal = JournalText();
    EXPECT_TRUE(journal.contains("AN\\x0aGIO1 x")) << journal.toStdString();
    EXPECT_FALSE(journal.contains("\nGIO1")) << journal.toStdString();
    EXPECT_EQ(Echo("ANGIO1"), 0);
}

// A unit is known by its AE title and the addresses it may call from: the right title from
// another address is refused, as is a call to another AE title.
TEST_F(NodeLoopback, ChecksTheCallersAddressAndTheCalledTitle) {
    Stop();
    const QString equipment = dir_.filePath("Room1.odv3");
    extraOptions_ = {"--accept", "FAR=" + equipment + ";from=192.0.2.0/24,2001:db8::/32",
                     "--listen", "127.0.0.1"};
    Start();
    EXPECT_NE(Echo("FAR"), 0);
    EXPECT_EQ(Echo("ANGIO1"), 0);
    EXPECT_NE(Execute(ORDEVO_ECHOSCU,
                      {"-aet", "ANGIO1", "-aec", "OTHER", "127.0.0.1", QString::number(port_)})
                  .exitCode,
              0);
    const QString journal = JournalText();
    EXPECT_TRUE(journal.contains("\"FAR\"（127.0.0.1）: この AE に許したアドレスではありません"))
        << journal.toStdString();
    EXPECT_TRUE(journal.contains("呼ばれた AE \"OTHER\"")) << journal.toStdString();
}

// The most memory the node process has taken (kB), from the kernel's high-water mark.
long PeakMemoryKb(qint64 pid) {
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ')[0].toLong();
    return -1;
}

// An object larger than the reader takes is refused while it arrives, plain or deflated (a
// few hundred kB on the wire), and the node's memory stays far below the object's size.
TEST_F(NodeLoopback, RefusesWhatTheReaderCannotTakeWhileReceiving) {
    const QString large = WriteReport(FixtureReport{}, "large.dcm");
    {
        DcmFileFormat file;
        ASSERT_TRUE(file.loadFile(large.toStdString().c_str()).good());
        // Zeros past the reader's bound: deflated, a few hundred kB.
        std::vector<Uint8> zeros(
            static_cast<std::size_t>(rdsr::kDoseReportMaxBytes) + 8u * 1024 * 1024, 0);
        file.getDataset()->putAndInsertUint8Array(DCM_EncapsulatedDocument, zeros.data(),
                                                  static_cast<unsigned long>(zeros.size()));
        ASSERT_TRUE(file.saveFile(large.toStdString().c_str(), EXS_LittleEndianExplicit).good());
    }
    for (const QStringList& syntax : {QStringList{}, QStringList{"-xd"}}) {
        const ProcessRun run = Execute(
            ORDEVO_STORESCU, syntax + QStringList{"-v", "-aet", "ANGIO1", "-aec", "ORDEVO",
                                                  "127.0.0.1", QString::number(port_), large});
        EXPECT_TRUE(run.output.contains("Received Store Response")) << run.output.toStdString();
        EXPECT_TRUE(Answered(run.output, {large}).empty()) << run.output.toStdString();
    }
    EXPECT_EQ(JournalText().count("MB を超える線量レポートは読めないため断りました"), 2)
        << JournalText().toStdString();
    const long peakKb = PeakMemoryKb(node_.processId());
    EXPECT_GT(peakKb, 0);
    EXPECT_LT(peakKb, 100 * 1024) << "the node took " << peakKb / 1024 << " MB";
    EXPECT_EQ(Echo("ANGIO1"), 0);
    EXPECT_TRUE(QDir(spool_).entryList({"*.dcm", "*.part"}, QDir::Files).isEmpty());
}

// A second, different object under a registered SOP Instance UID (another patient, ten times
// the dose) never replaces the first's source: it is kept apart, said so, and not registered.
TEST_F(NodeLoopback, ASecondObjectUnderARegisteredUidIsKeptApart) {
    const std::string uid = "1.2.826.0.1.3680043.10.77.1";
    const auto withUid = [&uid](DcmItem& dataset) {
        dataset.putAndInsertString(DCM_SOPInstanceUID, uid.c_str());
    };
    FixtureReport first;
    FixtureReport second;
    second.PatientId = "P-999";
    second.Events[0].DoseRp = rdsr::testing::Measured{"0.125", "Gy"};
    std::string error;
    const QString firstFile = dir_.filePath("first.dcm");
    const QString secondFile = dir_.filePath("second.dcm");
    ASSERT_TRUE(rdsr::testing::WriteFixtureReport(first, firstFile.toStdString(), &error, withUid));
    ASSERT_TRUE(
        rdsr::testing::WriteFixtureReport(second, secondFile.toStdString(), &error, withUid));
    ASSERT_EQ(Send("ANGIO1", {firstFile}).exitCode, 0);
    ASSERT_EQ(WaitFor(1).size(), 1u);
    const QString source = spool_ + "/" + QString::fromStdString(uid) + ".dcm";
    QFile registered(source);
    ASSERT_TRUE(registered.open(QIODevice::ReadOnly));
    const QByteArray before = registered.readAll();
    registered.close();
    ASSERT_EQ(Send("ANGIO1", {secondFile, firstFile}).exitCode, 0);
    QThread::msleep(500);
    ASSERT_TRUE(registered.open(QIODevice::ReadOnly));
    EXPECT_EQ(registered.readAll(), before);
    EXPECT_EQ(QDir(spool_ + "/apart").entryList(QDir::Files),
              QStringList{QString::fromStdString(uid) + ".2.dcm"});
    const auto list = WaitFor(1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].PatientId, "P-123");
    EXPECT_TRUE(JournalText().contains("分けて保存しました")) << JournalText().toStdString();
}

// With a forward target, each registered report's Patient Radiation Dose SR reaches the archive
// (DCMTK's storescp on loopback) and the attempt is in the journal.
TEST_F(NodeLoopback, ForwardsThePatientDoseRecordOfEachRegisteredReport) {
    if (QString(ORDEVO_STORESCP).isEmpty()) GTEST_SKIP() << "DCMTK's storescp is not installed";
    Stop();
    const int archivePort = testing::FreeLoopbackPort();
    const QString received = dir_.filePath("archive");
    QDir().mkpath(received);
    QProcess archive;
    archive.start(ORDEVO_STORESCP,
                  {"-aet", "ARCHIVE", "-od", received, QString::number(archivePort)});
    ASSERT_TRUE(archive.waitForStarted(10000));
    extraOptions_ = {"--forward", QString("ARCHIVE@127.0.0.1:%1").arg(archivePort)};
    Start();
    ASSERT_EQ(Send("ANGIO1", {WriteReport(FixtureReport{}, "forwarded.dcm")}).exitCode, 0);
    const QDeadlineTimer deadline(60000);
    while (QDir(received).entryList(QDir::Files).isEmpty() && !deadline.hasExpired())
        QThread::msleep(100);
    archive.kill();
    archive.waitForFinished(5000);
    const QStringList files = QDir(received).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1) << JournalText().toStdString();
    DcmFileFormat file;
    ASSERT_TRUE(file.loadFile(QDir(received).filePath(files[0]).toStdString().c_str()).good());
    OFString value;
    file.getDataset()->findAndGetOFString(DCM_SOPClassUID, value);
    EXPECT_EQ(value, UID_PatientRadiationDoseSRStorage);
    file.getDataset()->findAndGetOFString(DCM_PatientID, value);
    EXPECT_EQ(value, "P-123");
    EXPECT_TRUE(JournalText().contains("で受理されました")) << JournalText().toStdString();
}

}  // namespace
}  // namespace ordevo::node
