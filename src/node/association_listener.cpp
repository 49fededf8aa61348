#include "association_listener.h"

#include <dcmtk/dcmdata/dcuid.h>

#include <iostream>
#include <thread>

#include "storage_receiver.h"

namespace ordevo::node {

namespace {

// More calls at once than any room sends; beyond it a caller is told to come back later.
constexpr int kMostAssociations = 16;
// The toolkit reads a caller's association request in the listening thread: a connection that
// sends nothing holds every other caller back this long, so it is short (a device sends its
// request as soon as it connects).
constexpr int kRequestSeconds = 5;

DcmSharedSCPConfig ReceiverConfig(const NodeConfig& config) {
    DcmSCPConfig scp;
    scp.setPort(static_cast<Uint16>(config.Port));
    scp.setAETitle(config.AeTitle.c_str());
    OFList<OFString> syntaxes;
    syntaxes.push_back(UID_LittleEndianExplicitTransferSyntax);
    syntaxes.push_back(UID_LittleEndianImplicitTransferSyntax);
    scp.addPresentationContext(UID_VerificationSOPClass, syntaxes);
    syntaxes.push_front(UID_DeflatedExplicitVRLittleEndianTransferSyntax);
    for (const char* reportClass : kReportStorageClasses)
        scp.addPresentationContext(reportClass, syntaxes);
    // A stalled sender never holds its thread for long.
    scp.setDIMSEBlockingMode(DIMSE_NONBLOCKING);
    scp.setDIMSETimeout(60);
    scp.setACSETimeout(30);
    return DcmSharedSCPConfig(scp);
}

}  // namespace

AssociationListener::AssociationListener(const NodeConfig& config,
                                         std::function<void(const std::string&)> spooled)
    : config_(config), spooled_(std::move(spooled)), shared_(ReceiverConfig(config)) {}

AssociationListener::~AssociationListener() {
    if (network_) ASC_dropNetwork(&network_);
}

std::string AssociationListener::Open() {
    const OFCondition status =
        ASC_initializeNetwork(NET_ACCEPTOR, config_.Port, kRequestSeconds, &network_);
    return status.good() ? "" : status.text();
}

std::string AssociationListener::Serve() {
    for (;;) {
        T_ASC_Association* association = nullptr;
        const OFCondition status = ASC_receiveAssociation(network_, &association, ASC_DEFAULTMAXPDU,
                                                          nullptr, nullptr, OFFalse, DUL_BLOCK, 0);
        if (status.bad()) {
            // A caller that broke off before its request: the next one is served.
            if (association) {
                ASC_dropAssociation(association);
                ASC_destroyAssociation(&association);
            }
            if (status == DUL_NETWORKCLOSED || status == DUL_NULLKEY) return status.text();
            std::cerr << "ordevo-node: 接続を受けられません（" << status.text() << "）\n";
            continue;
        }
        if (running_.load() >= kMostAssociations) {
            T_ASC_RejectParameters busy{ASC_RESULT_REJECTEDTRANSIENT,
                                        ASC_SOURCE_SERVICEPROVIDER_PRESENTATION_RELATED,
                                        ASC_REASON_SP_PRES_LOCALLIMITEXCEEDED};
            ASC_rejectAssociation(association, &busy);
            ASC_dropAssociation(association);
            ASC_destroyAssociation(&association);
            continue;
        }
        ++running_;
        std::thread(&AssociationListener::Run, this, association).detach();
    }
}

void AssociationListener::Run(T_ASC_Association* association) {
    StorageReceiver receiver(config_, spooled_);
    receiver.setSharedConfig(shared_);
    // Negotiates, serves the association's messages, then drops and frees it.
    receiver.run(association);
    --running_;
}

}  // namespace ordevo::node
