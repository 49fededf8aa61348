#include "registration_worker.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <iostream>

#include "number_format.h"
#include "patient_dose_record.h"
#include "spool.h"

namespace ordevo::node {

namespace {

using Clock = std::chrono::steady_clock;

// Registered sources are looked over for removal this often.
constexpr std::chrono::hours kRetentionCheck{1};

// The journal's line for an alert: UIDs and doses, never the patient's ID.
std::string JournalLine(const registry::Alert& alert) {
    std::string line = "警報（" + alert.Kind + "）: 手技 " + alert.SopInstanceUid + ": ";
    line += alert.Kind == "cumulative" ? std::to_string(alert.Procedures) + " 手技の累積皮膚線量 "
                                       : std::string("ピーク皮膚線量 ");
    line += FormatNumber(alert.DoseMGy / 1000, "0.00") + " Gy が水準 " +
            FormatNumber(alert.LevelMGy / 1000, "0.00") + " Gy に達しました";
    return line;
}

}  // namespace

std::chrono::seconds RetryWait(int attempt) {
    const int exponent = std::clamp(attempt, 0, 6);  // 5 s · 2^6 = 320 s
    return std::min(std::chrono::seconds(5 << exponent), std::chrono::seconds(300));
}

RegistrationWorker::RegistrationWorker(registry::EvaluationContext context,
                                       const NodeConfig& config)
    : context_(std::move(context)),
      registryPath_(config.Registry),
      spool_(config.Spool),
      levels_(config.Levels),
      alertCommand_(config.AlertCommand),
      retentionDays_(config.SpoolRetentionDays) {
    std::string why;
    if (const auto target = ParseForwardTarget(config.Forward, &why))
        forwarder_ =
            std::make_unique<DoseForwarder>(*target, config.AeTitle, config.Spool + "/forward");
    thread_ = std::thread(&RegistrationWorker::Run, this);
}

RegistrationWorker::~RegistrationWorker() { Stop(); }

void RegistrationWorker::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void RegistrationWorker::Add(const std::string& spooledPath) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(spooledPath);
    }
    wake_.notify_one();
}

bool RegistrationWorker::Sleep(std::chrono::seconds wait) {
    std::unique_lock lock(mutex_);
    return !wake_.wait_for(lock, wait, [this] { return stopping_; });
}

bool RegistrationWorker::Next(std::string* path, int* attempt) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (stopping_) return false;
        if (!queue_.empty()) {
            *path = queue_.front();
            *attempt = 0;
            queue_.pop_front();
            return true;
        }
        const auto due =
            std::min_element(retries_.begin(), retries_.end(),
                             [](const Retry& a, const Retry& b) { return a.Due < b.Due; });
        if (due != retries_.end() && due->Due <= Clock::now()) {
            *path = due->Path;
            *attempt = due->Attempt;
            retries_.erase(due);
            return true;
        }
        // Woken by a new report or the stop; else at the next retry, or within the hour for
        // the spool's upkeep.
        const auto until = due != retries_.end() ? due->Due : Clock::now() + kRetentionCheck;
        if (wake_.wait_until(lock, until) == std::cv_status::timeout && due == retries_.end())
            return true;  // nothing to register: *path stays empty
    }
}

void RegistrationWorker::Run() {
    std::unique_ptr<registry::Registry> registry;
    auto upkeep = Clock::now();
    for (int opening = 0;;) {
        if (!registry) {
            // A registry that cannot be opened now (a server restarting) is opened again
            // later; nothing received is lost meanwhile, it waits in the spool.
            auto opened = registry::Registry::Open(QString::fromStdString(registryPath_));
            if (!opened) {
                std::cerr << "ordevo-node: " << opened.error().what() << "（"
                          << RetryWait(opening).count() << " 秒後にもう一度開きます）\n";
                if (!Sleep(RetryWait(opening++))) return;
                continue;
            }
            registry = std::move(*opened);
            opening = 0;
            AnnouncePending(*registry);
        }
        if (Clock::now() >= upkeep) {
            RemoveExpired(*registry);
            upkeep = Clock::now() + kRetentionCheck;
        }
        std::string path;
        int attempt = 0;
        if (!Next(&path, &attempt)) return;
        if (path.empty()) continue;
        const SpooledHeader header = ReadSpooledHeader(path);
        std::string message;
        const registry::Outcome outcome = registry::RegisterReport(
            {path, header.SopInstanceUid, header.StudyInstanceUid, header.CallingAe, header.Error},
            context_, *registry, &message, &levels_);
        if (outcome == registry::Outcome::Deferred) {
            const auto wait = RetryWait(attempt);
            message += "（" + std::to_string(wait.count()) + " 秒後にもう一度登録します）";
            {
                std::lock_guard lock(mutex_);
                retries_.push_back({path, Clock::now() + wait, attempt + 1});
            }
            // The connection is opened afresh for the next try (a server that went away).
            registry.reset();
        }
        std::cerr << "ordevo-node: " << message << "\n";
        if (outcome != registry::Outcome::Registered) continue;
        AnnouncePending(*registry);
        if (forwarder_) Forward(*registry, header.SopInstanceUid);
    }
}

// Every alert written but not yet told: to the journal and the command, then marked told. A
// stop in between tells it again at the next start rather than never.
void RegistrationWorker::AnnouncePending(registry::Registry& registry) {
    const auto pending = registry.UnannouncedAlerts();
    if (!pending) {
        std::cerr << "ordevo-node: " << pending.error().what() << "\n";
        return;
    }
    for (const registry::StoredAlert& stored : *pending) {
        Announce(registry::AlertOf(stored));
        if (const auto marked = registry.MarkAnnounced(stored.Id); !marked)
            std::cerr << "ordevo-node: " << marked.error().what() << "\n";
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
    std::cerr << "ordevo-node: " << JournalLine(alert) << "\n";
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

// Registered sources older than the retention, and objects kept apart as long, leave the
// spool; a source not registered yet stays whatever its age.
void RegistrationWorker::RemoveExpired(registry::Registry& registry) {
    const QDateTime before = QDateTime::currentDateTimeUtc().addDays(-retentionDays_);
    int removed = 0;
    for (const QString& folder :
         {QString::fromStdString(spool_), QString::fromStdString(ApartFolder(spool_))}) {
        const bool apart = folder.endsWith("/apart");
        for (const QFileInfo& file : QDir(folder).entryInfoList({"*.dcm"}, QDir::Files)) {
            if (file.lastModified().toUTC() >= before) continue;
            if (!apart) {
                const auto known = registry.IsRegistered(
                    ReadSpooledHeader(file.filePath().toStdString()).SopInstanceUid);
                if (!known || !*known) continue;
            }
            removed += QFile::remove(file.filePath()) ? 1 : 0;
        }
    }
    if (removed > 0)
        std::cerr << "ordevo-node: " << retentionDays_ << " 日を過ぎた " << removed
                  << " 件の受信ファイルをスプールから削除しました\n";
}

}  // namespace ordevo::node
