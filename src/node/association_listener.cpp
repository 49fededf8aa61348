#include "association_listener.h"

#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmtls/tlslayer.h>

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

// The node's side of TLS: its certificate and key, the BCP 195 cipher suites, and the callers'
// certificates checked against the CA certificates when there are any.
std::string SetUpTls(DcmTLSTransportLayer& tls, const NodeConfig& config) {
    const auto failed = [](const std::string& file, const OFCondition& status) {
        return file + ": " + status.text();
    };
    // An encrypted key would wait for a password on a console the service does not have.
    tls.setPrivateKeyPasswd("");
    if (OFCondition s = tls.setPrivateKeyFile(config.TlsKey.c_str(), DCF_Filetype_PEM); s.bad())
        return failed(config.TlsKey, s);
    if (OFCondition s = tls.setCertificateFile(config.TlsCertificate.c_str(), DCF_Filetype_PEM);
        s.bad())
        return failed(config.TlsCertificate, s);
    if (!tls.checkPrivateKeyMatchesCertificate())
        return config.TlsKey + ": " + config.TlsCertificate + " の秘密鍵ではありません";
    if (OFCondition s = tls.setTLSProfile(TSP_Profile_BCP195); s.bad()) return s.text();
    if (OFCondition s = tls.activateCipherSuites(); s.bad()) return s.text();
    tls.setBuiltInDHParameters();
    if (config.TlsCaCertificates.empty()) {
        tls.setCertificateVerification(DCV_ignoreCertificate);
    } else {
        if (OFCondition s =
                tls.addTrustedCertificateFile(config.TlsCaCertificates.c_str(), DCF_Filetype_PEM);
            s.bad())
            return failed(config.TlsCaCertificates, s);
        tls.setCertificateVerification(DCV_requireCertificate);
    }
    return "";
}

}  // namespace

AssociationListener::AssociationListener(const NodeConfig& config,
                                         std::function<void(const std::string&)> spooled)
    : config_(config), spooled_(std::move(spooled)), shared_(ReceiverConfig(config)) {}

AssociationListener::~AssociationListener() {
    if (network_) ASC_dropNetwork(&network_);
}

std::string AssociationListener::Open() {
    if (!config_.TlsCertificate.empty()) {
        tls_ = std::make_unique<DcmTLSTransportLayer>(NET_ACCEPTOR, nullptr, OFTrue);
        if (std::string why = SetUpTls(*tls_, config_); !why.empty()) return "TLS: " + why;
    }
    OFCondition status =
        ASC_initializeNetwork(NET_ACCEPTOR, config_.Port, kRequestSeconds, &network_);
    if (status.good() && tls_) status = ASC_setTransportLayer(network_, tls_.get(), 0);
    return status.good() ? "" : status.text();
}

std::string AssociationListener::Serve() {
    for (;;) {
        T_ASC_Association* association = nullptr;
        const OFCondition status =
            ASC_receiveAssociation(network_, &association, ASC_DEFAULTMAXPDU, nullptr, nullptr,
                                   tls_ != nullptr, DUL_BLOCK, 0);
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
