#include "dose_forward.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/scu.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <iostream>

#include "journal_text.h"

namespace ordevo::node {

std::string ForwardTarget::Text() const {
    const bool v6 = Host.find(':') != std::string::npos;
    return AeTitle + "@" + (v6 ? "[" + Host + "]" : Host) + ":" + std::to_string(Port);
}

std::optional<ForwardTarget> ParseForwardTarget(const std::string& text, std::string* why) {
    const auto bad = [&] {
        *why = "forward は 転送先 AE@ホスト:ポート の形です (例 ARCHIVE@10.0.0.5:104)";
        return std::nullopt;
    };
    const std::size_t at = text.find('@');
    const std::size_t colon = text.rfind(':');
    if (at == std::string::npos || at == 0 || at > 16 || colon == std::string::npos || colon < at)
        return bad();
    ForwardTarget target;
    target.AeTitle = text.substr(0, at);
    target.Host = text.substr(at + 1, colon - at - 1);
    if (target.Host.size() > 2 && target.Host.front() == '[' && target.Host.back() == ']')
        target.Host = target.Host.substr(1, target.Host.size() - 2);
    const char* first = text.data() + colon + 1;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, target.Port);
    if (target.Host.empty() || error != std::errc() || end != last || target.Port < 1 ||
        target.Port > 65535)
        return bad();
    for (char c : target.AeTitle)
        if (c == '\\' || static_cast<unsigned char>(c) < 0x20 ||
            static_cast<unsigned char>(c) > 0x7e)
            return bad();
    return target;
}

std::string StoreFile(const ForwardTarget& target, const std::string& callingAe,
                      const std::string& path) {
    DcmSCU scu;
    scu.setAETitle(callingAe.c_str());
    scu.setPeerHostName(target.Host.c_str());
    scu.setPeerPort(static_cast<Uint16>(target.Port));
    scu.setPeerAETitle(target.AeTitle.c_str());
    scu.setConnectionTimeout(30);
    scu.setACSETimeout(30);
    scu.setDIMSEBlockingMode(DIMSE_NONBLOCKING);
    scu.setDIMSETimeout(60);
    OFList<OFString> syntaxes;
    syntaxes.push_back(UID_LittleEndianExplicitTransferSyntax);
    syntaxes.push_back(UID_LittleEndianImplicitTransferSyntax);
    scu.addPresentationContext(UID_PatientRadiationDoseSRStorage, syntaxes);
    OFCondition status = scu.initNetwork();
    if (status.good()) status = scu.negotiateAssociation();
    if (status.bad()) return std::string("接続できません (") + status.text() + ")";
    const T_ASC_PresentationContextID context =
        scu.findPresentationContextID(UID_PatientRadiationDoseSRStorage, "");
    if (context == 0) {
        scu.releaseAssociation();
        return "転送先が Patient Radiation Dose SR を受け付けません";
    }
    Uint16 response = 0;
    status = scu.sendSTORERequest(context, OFFilename(path.c_str()), nullptr, response);
    scu.releaseAssociation();
    if (status.bad()) return std::string("送れません (") + status.text() + ")";
    // 0000 success; B000, B006, B007 warnings: stored.
    if (response == 0x0000 || (response & 0xF000) == 0xB000) return {};
    char code[8];
    std::snprintf(code, sizeof code, "%04X", response);
    return std::string("転送先が受け付けませんでした (状態 ") + code + ")";
}

DoseForwarder::DoseForwarder(ForwardTarget target, std::string callingAe, std::string folder,
                             std::chrono::milliseconds firstRetry,
                             std::chrono::milliseconds longestRetry)
    : target_(std::move(target)),
      callingAe_(std::move(callingAe)),
      folder_(std::move(folder)),
      firstRetry_(firstRetry),
      longestRetry_(longestRetry) {
    QDir().mkpath(QString::fromStdString(folder_));
    // What an earlier run left unsent, oldest first.
    const QFileInfoList left =
        QDir(QString::fromStdString(folder_))
            .entryInfoList({"*.dcm"}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& file : left) queue_.push_back(file.filePath().toStdString());
    thread_ = std::thread(&DoseForwarder::Run, this);
}

DoseForwarder::~DoseForwarder() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void DoseForwarder::Add(const std::string& path) {
    {
        std::lock_guard lock(mutex_);
        if (std::find(queue_.begin(), queue_.end(), path) == queue_.end()) queue_.push_back(path);
    }
    wake_.notify_one();
}

void DoseForwarder::Run() {
    std::chrono::milliseconds wait = firstRetry_;
    int attempt = 0;
    for (;;) {
        std::string path;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            path = queue_.front();
        }
        ++attempt;
        const std::string why = StoreFile(target_, callingAe_, path);
        const std::string name =
            JournalText(QFileInfo(QString::fromStdString(path)).fileName().toStdString());
        if (why.empty()) {
            std::cerr << "ordevo-node: 転送 " << name << " → " << target_.Text() << ": 試行 "
                      << attempt << " で受理されました\n";
            QFile::remove(QString::fromStdString(path));
            std::lock_guard lock(mutex_);
            queue_.pop_front();
            wait = firstRetry_;
            attempt = 0;
            continue;
        }
        std::cerr << "ordevo-node: 転送 " << name << " → " << target_.Text() << ": 試行 " << attempt
                  << " 失敗 (" << why << ")、" << std::chrono::duration<double>(wait).count()
                  << " 秒後に再試行\n";
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, wait, [this] { return stopping_; })) return;
        wait = std::min(wait * 2, longestRetry_);
    }
}

}  // namespace ordevo::node
