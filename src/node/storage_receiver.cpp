#include "storage_receiver.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/dimse.h>

#include <QFileInfo>
#include <cstdio>
#include <iostream>
#include <semaphore>

#include "capped_receive.h"
#include "dose_report_reader.h"
#include "journal_text.h"
#include "spool.h"

namespace ordevo::node {

const char* const kReportStorageClasses[4] = {UID_XRayRadiationDoseSRStorage, UID_EnhancedSRStorage,
                                              UID_ComprehensiveSRStorage,
                                              UID_Comprehensive3DSRStorage};

namespace {

// The file meta header and the spool's encoding add to the received data set.
constexpr long long kMetaHeaderAllowance = 64 * 1024;
constexpr long long kLargeBytes = 8LL * 1024 * 1024;
constexpr int kDimseSeconds = 60;
std::counting_semaphore<2> largeObjects(2);

bool IsReportClass(const std::string& uid) {
    for (const char* reportClass : kReportStorageClasses)
        if (uid == reportClass) return true;
    return false;
}

}  // namespace

StorageReceiver::StorageReceiver(const NodeConfig& config,
                                 std::function<void(const std::string&)> spooled,
                                 T_ASC_Association* association)
    : association_(association), spool_(config.Spool), spooled_(std::move(spooled)) {}

OFCondition StorageReceiver::handleIncomingCommand(T_DIMSE_Message* message,
                                                   const DcmPresentationContextInfo& context) {
    if (message->CommandField != DIMSE_C_STORE_RQ)
        return DcmSCP::handleIncomingCommand(message, context);
    T_DIMSE_C_StoreRQ& request = message->msg.CStoreRQ;
    const std::string sop = JournalText(request.AffectedSOPInstanceUID);
    const CappedReceipt receipt =
        ReceiveCapped(association_, context.presentationContextID, spool_,
                      rdsr::kDoseReportMaxBytes - kMetaHeaderAllowance, kDimseSeconds);
    if (receipt.Status.bad()) return receipt.Status;
    Uint16 answer = STATUS_Success;
    std::string path;
    if (receipt.TooLarge) {
        std::cerr << "ordevo-node: " << sop << ": " << rdsr::kDoseReportMaxBytes / (1024 * 1024)
                  << " MB を超える線量レポートは読めないため断りました\n";
        answer = STATUS_STORE_Refused_OutOfResources;
    } else if (!receipt.Error.empty()) {
        std::cerr << "ordevo-node: " << sop << " を受け取れません（" << receipt.Error << "）\n";
        answer = receipt.Error.find("deflate") != std::string::npos
                     ? STATUS_STORE_Error_CannotUnderstand
                     : STATUS_STORE_Refused_OutOfResources;
    } else {
        {
            // Large objects are encoded for the spool two at a time, so that the memory the
            // node takes stays bounded however many arrive together.
            const bool large = QFileInfo(QString::fromStdString(receipt.Path)).size() > kLargeBytes;
            if (large) largeObjects.acquire();
            DcmDataset dataset;
            // Values over 4 kB stay in the received file until they are written to the spool.
            const OFCondition read =
                dataset.loadFile(receipt.Path.c_str(), receipt.Syntax, EGL_noChange, 4096);
            answer = read.good() ? Store(request, context.abstractSyntax.c_str(), &dataset, &path)
                                 : STATUS_STORE_Error_CannotUnderstand;
            if (read.bad())
                std::cerr << "ordevo-node: " << sop << ": データセットを読めません（" << read.text()
                          << "）\n";
            if (large) largeObjects.release();
        }
        std::remove(receipt.Path.c_str());
    }
    const OFCondition status = sendSTOREResponse(context.presentationContextID, request, answer);
    if (answer == STATUS_Success && !path.empty()) spooled_(path);
    return status;
}

Uint16 StorageReceiver::Store(const T_DIMSE_C_StoreRQ& request, const std::string& contextClass,
                              DcmDataset* dataset, std::string* spooledPath) {
    const std::string sopClass = request.AffectedSOPClassUID;
    const std::string sop = request.AffectedSOPInstanceUID;
    const std::string caller = getPeerAETitle().c_str();
    const std::string shown = JournalText(sop);
    if (!IsReportClass(sopClass) || sopClass != contextClass) {
        std::cerr << "ordevo-node: " << caller << " の " << shown << ": SOP クラス "
                  << JournalText(sopClass) << " は受け付けません\n";
        return STATUS_STORE_Refused_SOPClassNotSupported;
    }
    OFString datasetClass, datasetSop;
    if (!dataset || dataset->findAndGetOFString(DCM_SOPClassUID, datasetClass).bad() ||
        dataset->findAndGetOFString(DCM_SOPInstanceUID, datasetSop).bad() ||
        datasetClass != sopClass.c_str() || datasetSop != sop.c_str() || !IsUid(sop)) {
        std::cerr << "ordevo-node: " << caller << " の " << shown
                  << ": データセットの SOP クラスまたはインスタンス UID が要求と違います\n";
        return STATUS_STORE_Error_DataSetDoesNotMatchSOPClass;
    }
    std::string apart;
    const std::string why = SpoolObject(spool_, sop, *dataset, caller, &apart);
    if (!why.empty()) {
        std::cerr << "ordevo-node: " << sop << " を保存できません（" << why << "）\n";
        return STATUS_STORE_Refused_OutOfResources;
    }
    if (!apart.empty()) {
        // Kept, answered, and never registered in the first one's place.
        std::cerr << "ordevo-node: " << caller << " の " << sop
                  << ": 同じ SOP Instance UID で内容の違う物を受け取りました。先の物は変えず、"
                  << apart << " に分けて保存しました（登録しません）\n";
        return STATUS_Success;
    }
    *spooledPath = spool_ + "/" + sop + ".dcm";
    return STATUS_Success;
}

}  // namespace ordevo::node
