#include "association_listener.h"

#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/dcmlayer.h>
#include <dcmtk/dcmnet/dul.h>
#include <dcmtk/dcmtls/tlslayer.h>
#include <netdb.h>
#include <netinet/in.h>
#include <openssl/bio.h>
#include <openssl/x509.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <thread>
#include <vector>

#include "journal_text.h"
#include "storage_receiver.h"

namespace ordevo::node {

namespace {

// The toolkit takes an accepted connection through one process-wide handle: a connection
// thread holds this lock from setting the handle until the toolkit has taken the socket
// (createConnection below), never while the request is read.
std::mutex handOff;
thread_local bool holdingHandOff = false;
thread_local bool handedOver = false;

void ReleaseHandOff() {
    if (!holdingHandOff) return;
    holdingHandOff = false;
    handOff.unlock();
}

template <class Layer>
class HandingOver : public Layer {
public:
    using Layer::Layer;
    DcmTransportConnection* createConnection(DcmNativeSocketType socket, OFBool secure) override {
        handedOver = true;
        ReleaseHandOff();
        return Layer::createConnection(socket, secure);
    }
};

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

// The subject of the certificate the caller showed, as RFC 2253 writes it
// ("CN=angio1,O=Hospital"); "" without one.
std::string PeerSubject(T_ASC_Association* association) {
    const unsigned long length = DUL_getPeerCertificateLength(association->DULassociation);
    if (length == 0) return "";
    std::vector<unsigned char> der(length);
    if (DUL_getPeerCertificate(association->DULassociation, der.data(), length) != length)
        return "";
    const unsigned char* p = der.data();
    X509* certificate = d2i_X509(nullptr, &p, static_cast<long>(length));
    if (!certificate) return "";
    BIO* text = BIO_new(BIO_s_mem());
    X509_NAME_print_ex(text, X509_get_subject_name(certificate), 0, XN_FLAG_RFC2253);
    char* data = nullptr;
    const long size = BIO_get_mem_data(text, &data);
    std::string subject(data, static_cast<std::size_t>(size));
    BIO_free(text);
    X509_free(certificate);
    return subject;
}

std::string Trim(const char* text) {
    std::string s(text);
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

void Reject(T_ASC_Association* association, T_ASC_RejectParametersResult result,
            T_ASC_RejectParametersSource source, T_ASC_RejectParametersReason reason) {
    T_ASC_RejectParameters rejection{result, source, reason};
    ASC_rejectAssociation(association, &rejection);
}

// Whether every proposed presentation context can be read (the toolkit takes at most
// DICOM_MAXTRANSFERSYNTAXES transfer syntaxes in one).
bool Readable(T_ASC_Parameters* params) {
    const int count = ASC_countPresentationContexts(params);
    for (int i = 0; i < count; ++i) {
        T_ASC_PresentationContext context;
        if (ASC_getPresentationContext(params, i, &context).bad()) return false;
    }
    return true;
}

}  // namespace

AssociationListener::AssociationListener(const NodeConfig& config,
                                         std::function<void(const std::string&)> spooled)
    : config_(config), spooled_(std::move(spooled)), shared_(ReceiverConfig(config)) {}

AssociationListener::~AssociationListener() {
    if (network_) ASC_dropNetwork(&network_);
    if (listenFd_ >= 0) ::close(listenFd_);
}

std::string AssociationListener::Open() {
    if (!config_.TlsCertificate.empty()) {
        auto tls =
            std::make_unique<HandingOver<DcmTLSTransportLayer>>(NET_ACCEPTOR, nullptr, OFTrue);
        if (std::string why = SetUpTls(*tls, config_); !why.empty()) return "TLS: " + why;
        layer_ = std::move(tls);
        tls_ = true;
    } else {
        layer_ = std::make_unique<HandingOver<DcmTransportLayer>>();
    }
    addrinfo hints{};
    hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST | AI_NUMERICSERV;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(config_.Port);
    if (const int e = getaddrinfo(config_.Listen.c_str(), port.c_str(), &hints, &found); e != 0)
        return config_.Listen + ": " + gai_strerror(e);
    listenFd_ = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::string why;
    const int one = 1, zero = 0;
    if (listenFd_ < 0) {
        why = std::strerror(errno);
    } else {
        ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        // "::" takes IPv4 callers as well.
        if (found->ai_family == AF_INET6)
            ::setsockopt(listenFd_, IPPROTO_IPV6, IPV6_V6ONLY, &zero, sizeof zero);
        if (::bind(listenFd_, found->ai_addr, found->ai_addrlen) != 0 ||
            ::listen(listenFd_, 64) != 0)
            why = config_.Listen + ": " + std::strerror(errno);
    }
    freeaddrinfo(found);
    if (!why.empty()) return why;
    // The toolkit's network opens no port of its own while a socket is handed to it; the
    // names of callers are not looked up (a slow name server would hold each connection).
    dcmDisableGethostbyaddr.set(OFTrue);
    dcmExternalSocketHandle.set(listenFd_);
    OFCondition status =
        ASC_initializeNetwork(NET_ACCEPTOR, config_.Port, kRequestSeconds, &network_);
    dcmExternalSocketHandle.set(DCMNET_INVALID_SOCKET);
    if (status.good()) status = ASC_setTransportLayer(network_, layer_.get(), 0);
    return status.good() ? "" : status.text();
}

void AssociationListener::Stop() {
    stopping_ = true;
    ::shutdown(listenFd_, SHUT_RDWR);  // accept() returns
}

std::string AssociationListener::Serve() {
    for (;;) {
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const int fd =
            ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
        if (stopping_) {
            if (fd >= 0) ::close(fd);
            return "停止します";
        }
        if (fd < 0) {
            // A caller gone before it was accepted, or no descriptor left for now: the
            // listening goes on either way.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                std::cerr << "ordevo-node: 接続を受けられません（" << std::strerror(errno)
                          << "）\n";
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            }
            continue;
        }
        Admit(fd, peer);
    }
}

void AssociationListener::Admit(int fd, const sockaddr_storage& peer) {
    const std::string address = AddressText(peer);
    std::lock_guard lock(mutex_);
    int fromAddress = 0;
    for (const Waiting& w : waiting_) fromAddress += w.Address == address ? 1 : 0;
    const auto closeOldest = [this](const std::string* from) {
        for (auto w = waiting_.begin(); w != waiting_.end(); ++w) {
            if (from && w->Address != *from) continue;
            // Its thread finds its read ended and finishes.
            ::shutdown(w->Fd, SHUT_RDWR);
            std::cerr << "ordevo-node: " << w->Address
                      << " からの要求のない接続を閉じました（新しい接続のため）\n";
            waiting_.erase(w);
            return true;
        }
        return false;
    };
    if (fromAddress >= kMostWaitingPerAddress) closeOldest(&address);
    if (connections_ >= kMostConnections && !closeOldest(nullptr)) {
        std::cerr << "ordevo-node: " << address << " からの接続を閉じました（接続が "
                  << kMostConnections << " を超えるため）\n";
        ::close(fd);
        return;
    }
    ++connections_;
    const std::uint64_t serial = ++serial_;
    waiting_.push_back({fd, address, serial});
    std::thread(&AssociationListener::Run, this, fd, peer, serial).detach();
}

bool AssociationListener::StopWaiting(std::uint64_t serial) {
    std::lock_guard lock(mutex_);
    for (auto w = waiting_.begin(); w != waiting_.end(); ++w)
        if (w->Serial == serial) {
            waiting_.erase(w);
            return true;
        }
    return false;
}

std::string AssociationListener::Refusal(T_ASC_Association* association,
                                         const sockaddr_storage& peer) const {
    const std::string calling = Trim(association->params->DULparams.callingAPTitle);
    const std::string called = Trim(association->params->DULparams.calledAPTitle);
    const std::string who =
        "呼び出し AE \"" + JournalText(calling) + "\"（" + AddressText(peer) + "）";
    if (called != config_.AeTitle)
        return who + ": 呼ばれた AE \"" + JournalText(called) + "\" はこのノードではありません";
    const auto caller = config_.Callers.find(calling);
    if (caller == config_.Callers.end()) return who + ": 受け付けていない AE です";
    bool from = false;
    for (const AddressRange& range : caller->second.From) from = from || Contains(range, peer);
    if (!from) return who + ": この AE に許したアドレスではありません";
    if (tls_ && !caller->second.Subject.empty()) {
        const std::string subject = PeerSubject(association);
        if (subject != caller->second.Subject)
            return who + ": 証明書の主体者 \"" + JournalText(subject) + "\" が設定と違います";
    }
    return "";
}

void AssociationListener::Run(int fd, sockaddr_storage peer, std::uint64_t serial) {
    // The toolkit gets a descriptor of its own and closes it; ours stays open until the end,
    // so that closing an idle connection never meets a reused number.
    const int dicomFd = ::dup(fd);
    T_ASC_Association* association = nullptr;
    OFCondition status = DUL_NULLKEY;
    if (dicomFd >= 0) {
        handOff.lock();
        holdingHandOff = true;
        handedOver = false;
        dcmExternalSocketHandle.set(dicomFd);
        status = ASC_receiveAssociation(network_, &association, ASC_DEFAULTMAXPDU, nullptr, nullptr,
                                        tls_, DUL_BLOCK, 0);
        ReleaseHandOff();
        if (!handedOver) ::close(dicomFd);
    }
    const bool waited = StopWaiting(serial);
    const std::string address = AddressText(peer);
    if (status.bad() || !waited) {
        // A caller that broke off, said nothing or said what cannot be read: this connection
        // ends, the node serves on. A request that was read but not understood (no called AE
        // title, too many transfer syntaxes) is answered with a rejection.
        if (association) {
            if (waited && status != DUL_NETWORKCLOSED && status != DUL_READTIMEOUT &&
                status != DUL_PEERABORTEDASSOCIATION)
                Reject(association, ASC_RESULT_REJECTEDPERMANENT, ASC_SOURCE_SERVICEUSER,
                       ASC_REASON_SU_NOREASON);
            ASC_dropAssociation(association);
            ASC_destroyAssociation(&association);
        }
        if (waited)
            std::cerr << "ordevo-node: " << address << " の接続は要求の前に終わりました（"
                      << JournalText(status.text()) << "）\n";
    } else if (!Readable(association->params)) {
        // The toolkit would drop it without a word while negotiating.
        std::cerr << "ordevo-node: " << address
                  << " の要求の表示コンテキストを読めない（転送構文が多すぎる）ので断りました\n";
        Reject(association, ASC_RESULT_REJECTEDPERMANENT, ASC_SOURCE_SERVICEPROVIDER_ACSE_RELATED,
               ASC_REASON_SP_ACSE_NOREASON);
        ASC_dropAssociation(association);
        ASC_destroyAssociation(&association);
    } else if (const std::string refusal = Refusal(association, peer); !refusal.empty()) {
        std::cerr << "ordevo-node: " << refusal << " ので断りました\n";
        const bool called = refusal.find("呼ばれた AE") != std::string::npos;
        Reject(association, ASC_RESULT_REJECTEDPERMANENT, ASC_SOURCE_SERVICEUSER,
               called ? ASC_REASON_SU_CALLEDAETITLENOTRECOGNIZED
                      : ASC_REASON_SU_CALLINGAETITLENOTRECOGNIZED);
        ASC_dropAssociation(association);
        ASC_destroyAssociation(&association);
    } else if (++associations_ > kMostAssociations) {
        --associations_;
        Reject(association, ASC_RESULT_REJECTEDTRANSIENT,
               ASC_SOURCE_SERVICEPROVIDER_PRESENTATION_RELATED,
               ASC_REASON_SP_PRES_LOCALLIMITEXCEEDED);
        ASC_dropAssociation(association);
        ASC_destroyAssociation(&association);
    } else {
        StorageReceiver receiver(config_, spooled_, association);
        receiver.setSharedConfig(shared_);
        // Negotiates, serves the association's messages, then drops and frees it.
        receiver.run(association);
        --associations_;
    }
    ::close(fd);
    std::lock_guard lock(mutex_);
    --connections_;
}

}  // namespace ordevo::node
