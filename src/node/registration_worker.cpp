#include "registration_worker.h"

#include <QProcess>
#include <iostream>

#include "patient_dose_record.h"
#include "spool.h"

namespace ordevo::node {

RegistrationWorker::RegistrationWorker(registry::EvaluationContext context,
                                       const NodeConfig& config)
    : context_(std::move(context)),
      registryPath_(config.Registry),
      levels_(config.Levels),
      alertCommand_(config.AlertCommand) {
    std::string why;
    if (const auto target = ParseForwardTarget(config.Forward, &why))
        forwarder_ =
            std::make_unique<DoseForwarder>(*target, config.AeTitle, config.Spool + "/forward");
    thread_ = std::thread(&RegistrationWorker::Run, this);
}

RegistrationWorker::~RegistrationWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void RegistrationWorker::Add(const std::string& spooledPath) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(spooledPath);
    }
    wake_.notify_one();
}

void RegistrationWorker::Run() {
    auto opened = registry::Registry::Open(QString::fromStdString(registryPath_));
    if (!opened) {
        std::cerr << "ordevo-node: " << opened.error().what() << "\n";
        return;
    }
    registry::Registry& registry = **opened;
    for (;;) {
        std::string path;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            path = queue_.front();
            queue_.pop_front();
        }
        const SpooledHeader header = ReadSpooledHeader(path);
        std::string message;
        const registry::Outcome outcome = registry::RegisterReport(
            {path, header.SopInstanceUid, header.StudyInstanceUid, header.CallingAe, header.Error},
            context_, registry, &message);
        std::cerr << "ordevo-node: " << message << "\n";
        if (outcome != registry::Outcome::Registered) continue;
        const auto alerts = registry::RaiseAlerts(registry, header.SopInstanceUid, levels_);
        if (!alerts) std::cerr << "ordevo-node: " << alerts.error().what() << "\n";
        if (alerts)
            for (const registry::Alert& alert : *alerts) Announce(alert);
        if (forwarder_) Forward(registry, header.SopInstanceUid);
    }
}

// The procedure's Patient Radiation Dose SR into the forward folder, named by the report's UID
// (only digits and dots kept: the UID came from the caller), and on to the archive.
void RegistrationWorker::Forward(registry::Registry& registry, const std::string& sopInstanceUid) {
    std::string name;
    for (char c : sopInstanceUid) name += (c == '.' || (c >= '0' && c <= '9')) ? c : '_';
    const std::string path = forwarder_->Folder() + "/" + name + ".dcm";
    const std::string why = registry::WritePatientDoseReportFor(registry, sopInstanceUid, path);
    if (!why.empty()) {
        std::cerr << "ordevo-node: 転送する線量 SR を作れません: " << why << "\n";
        return;
    }
    forwarder_->Add(path);
}

// A line in the journal, and the administrator's command with the alert's JSON on its input.
void RegistrationWorker::Announce(const registry::Alert& alert) const {
    std::cerr << "ordevo-node: 警報: " << alert.Message << "\n";
    if (alertCommand_.empty()) return;
    QProcess command;
    command.start("/bin/sh", {"-c", QString::fromStdString(alertCommand_)});
    if (!command.waitForStarted(10000)) {
        std::cerr << "ordevo-node: 警報のコマンドを始められません\n";
        return;
    }
    command.write(QByteArray::fromStdString(alert.Json() + "\n"));
    command.closeWriteChannel();
    if (!command.waitForFinished(30000) || command.exitCode() != 0)
        std::cerr << "ordevo-node: 警報のコマンドが失敗しました\n";
}

}  // namespace ordevo::node
