#include "storage_receiver.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/dimse.h>

#include <iostream>
#include <memory>

#include "spool.h"

namespace ordevo::node {

const char* const kReportStorageClasses[4] = {UID_XRayRadiationDoseSRStorage, UID_EnhancedSRStorage,
                                              UID_ComprehensiveSRStorage,
                                              UID_Comprehensive3DSRStorage};

namespace {

bool IsReportClass(const std::string& uid) {
    for (const char* reportClass : kReportStorageClasses)
        if (uid == reportClass) return true;
    return false;
}

}  // namespace

StorageReceiver::StorageReceiver(const NodeConfig& config,
                                 std::function<void(const std::string&)> spooled)
    : spool_(config.Spool), spooled_(std::move(spooled)) {
    for (const auto& [ae, room] : config.Accepted) accepted_.insert(ae);
}

OFBool StorageReceiver::checkCallingAETitleAccepted(const OFString& callingAe) {
    const bool known = accepted_.count(callingAe.c_str()) != 0;
    if (!known) std::cerr << "ordevo-node: 呼び出し AE \"" << callingAe << "\" を断りました\n";
    return known;
}

OFCondition StorageReceiver::handleIncomingCommand(T_DIMSE_Message* message,
                                                   const DcmPresentationContextInfo& context) {
    if (message->CommandField != DIMSE_C_STORE_RQ)
        return DcmSCP::handleIncomingCommand(message, context);
    T_DIMSE_C_StoreRQ& request = message->msg.CStoreRQ;
    DcmDataset* received = nullptr;
    OFCondition status = receiveSTORERequest(request, context.presentationContextID, received);
    std::unique_ptr<DcmDataset> dataset(received);
    if (status.bad()) return status;
    std::string path;
    const Uint16 answer = Store(request, context.abstractSyntax.c_str(), dataset.get(), &path);
    status = sendSTOREResponse(context.presentationContextID, request, answer);
    if (answer == STATUS_Success) spooled_(path);
    return status;
}

Uint16 StorageReceiver::Store(const T_DIMSE_C_StoreRQ& request, const std::string& contextClass,
                              DcmDataset* dataset, std::string* spooledPath) {
    const std::string sopClass = request.AffectedSOPClassUID;
    const std::string sop = request.AffectedSOPInstanceUID;
    const std::string caller = getPeerAETitle().c_str();
    if (!IsReportClass(sopClass) || sopClass != contextClass) {
        std::cerr << "ordevo-node: " << caller << " の " << sop << ": SOP クラス " << sopClass
                  << " は受け付けません\n";
        return STATUS_STORE_Refused_SOPClassNotSupported;
    }
    OFString datasetClass, datasetSop;
    if (!dataset || dataset->findAndGetOFString(DCM_SOPClassUID, datasetClass).bad() ||
        dataset->findAndGetOFString(DCM_SOPInstanceUID, datasetSop).bad() ||
        datasetClass != sopClass.c_str() || datasetSop != sop.c_str() || !IsUid(sop)) {
        std::cerr << "ordevo-node: " << caller << " の " << sop
                  << ": データセットの SOP クラスまたはインスタンス UID が要求と違います\n";
        return STATUS_STORE_Error_DataSetDoesNotMatchSOPClass;
    }
    const std::string why = SpoolObject(spool_, sop, *dataset, caller);
    if (!why.empty()) {
        std::cerr << "ordevo-node: " << sop << " を保存できません（" << why << "）\n";
        return STATUS_STORE_Refused_OutOfResources;
    }
    *spooledPath = spool_ + "/" + sop + ".dcm";
    return STATUS_Success;
}

}  // namespace ordevo::node
