// The forward of the Patient Radiation Dose SR to an archive: the target's form, and on loopback
// DCMTK's own storescp, started only after the first attempt failed, receiving the file on a
// later attempt; every attempt in the journal; a file left from an earlier run sent at start.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <iostream>
#include <sstream>

#include "dose_forward.h"
#include "free_port.h"
#include "node_config.h"
#include "patient_dose_report_writer.h"

namespace ordevo::node {
namespace {

TEST(DoseForward, TargetIsAeAtHostColonPort) {
    const struct {
        const char* text;
        const char *ae, *host;
        int port;  // 0: refused
    } cases[] = {
        {"ARCHIVE@10.0.0.5:104", "ARCHIVE", "10.0.0.5", 104},
        {"PACS@pacs.example.org:11112", "PACS", "pacs.example.org", 11112},
        {"PACS@[::1]:104", "PACS", "::1", 104},
        {"PACS@host", "", "", 0},
        {"@host:104", "", "", 0},
        {"PACS@:104", "", "", 0},
        {"PACS@host:0", "", "", 0},
        {"PACS@host:65536", "", "", 0},
        {"PACS@host:10x", "", "", 0},
        {"AN_AE_TITLE_TOO_LONG@host:104", "", "", 0},
    };
    for (const auto& c : cases) {
        std::string why;
        const auto target = ParseForwardTarget(c.text, &why);
        ASSERT_EQ(target.has_value(), c.port != 0) << c.text;
        if (!target) {
            EXPECT_NE(why.find("forward"), std::string::npos);
            continue;
        }
        EXPECT_EQ(target->AeTitle, c.ae);
        EXPECT_EQ(target->Host, c.host);
        EXPECT_EQ(target->Port, c.port);
    }
}

// The configuration key takes the same form and refuses another, naming the line.
TEST(DoseForward, ConfigurationKeyIsChecked) {
    NodeConfig config;
    ApplyConfigLine(config, "forward", "ARCHIVE@10.0.0.5:104", "node.conf:3");
    EXPECT_EQ(config.Forward, "ARCHIVE@10.0.0.5:104");
    try {
        ApplyConfigLine(config, "forward", "ARCHIVE@10.0.0.5", "node.conf:4");
        ADD_FAILURE() << "accepted";
    } catch (const ConfigError& error) {
        EXPECT_NE(error.Message.find("node.conf:4"), std::string::npos) << error.Message;
    }
}

// Writes a small P-RDSR into `folder` and returns its path.
std::string WriteSr(const QString& folder, const char* name) {
    rdsr::PatientDoseRecord r;
    r.PatientId = "P1";
    r.StudyInstanceUid = "1.2.826.0.1.3680043.10.9.1";
    r.SourceSopInstanceUid = "1.2.826.0.1.3680043.10.9.2";
    r.PeakSkinDoseMGy = 1000;
    r.UpperBoundMGy = 2000;
    r.Method = "chain";
    const std::string path = QDir(folder).filePath(name).toStdString();
    std::string error;
    EXPECT_FALSE(rdsr::WritePatientDoseReport(r, path, &error).empty()) << error;
    return path;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds) return false;
        QThread::msleep(50);
    }
    return true;
}

class CapturedJournal {
public:
    CapturedJournal() : before_(std::cerr.rdbuf(text_.rdbuf())) {}
    ~CapturedJournal() { std::cerr.rdbuf(before_); }
    std::string Text() const { return text_.str(); }

private:
    std::stringstream text_;
    std::streambuf* before_;
};

TEST(DoseForward, RetriesUntilTheArchiveAcceptsAndLogsEachAttempt) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("forward"), received = dir.filePath("archive");
    QDir().mkpath(folder);
    QDir().mkpath(received);
    const std::string left = WriteSr(folder, "left-from-before.dcm");
    const int port = testing::FreeLoopbackPort();
    ASSERT_GT(port, 0);
    QProcess archive;
    std::string journal;
    {
        CapturedJournal captured;
        DoseForwarder forwarder({"ARCHIVE", "127.0.0.1", port}, "ORDEVO", folder.toStdString(),
                                std::chrono::milliseconds(300), std::chrono::milliseconds(600));
        forwarder.Add(WriteSr(folder, "new.dcm"));
        // Nobody listens yet: the first attempt fails and is retried.
        ASSERT_TRUE(
            WaitFor([&] { return captured.Text().find("失敗") != std::string::npos; }, 20000));
        archive.start(ORDEVO_STORESCP, {"-aet", "ARCHIVE", "-od", received, QString::number(port)});
        ASSERT_TRUE(archive.waitForStarted(10000));
        ASSERT_TRUE(WaitFor([&] { return QDir(folder).entryList(QDir::Files).isEmpty(); }, 30000))
            << captured.Text();
        journal = captured.Text();
    }
    archive.kill();
    archive.waitForFinished(5000);
    EXPECT_EQ(QDir(received).entryList(QDir::Files).size(), 2);  // both, each once
    EXPECT_NE(journal.find("left-from-before.dcm → ARCHIVE@127.0.0.1:" + std::to_string(port) +
                           ": 試行 1 失敗"),
              std::string::npos)
        << journal;
    EXPECT_NE(journal.find("で受理されました"), std::string::npos) << journal;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(left)));
}

}  // namespace
}  // namespace ordevo::node
