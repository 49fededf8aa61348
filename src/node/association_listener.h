// Serves several associations at once: one thread listens and hands each accepted connection
// to a thread of its own, so that a slow X-ray unit never keeps the others waiting. The
// registry is still written by the one registration worker these threads feed.
#pragma once

#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/scpcfg.h>

#include <atomic>
#include <memory>
#include <functional>
#include <string>

#include "node_config.h"

class DcmTLSTransportLayer;

namespace ordevo::node {

class AssociationListener {
public:
    // `spooled` is told each stored file's path after its success was answered; it is called
    // from the associations' threads.
    AssociationListener(const NodeConfig& config, std::function<void(const std::string&)> spooled);
    ~AssociationListener();
    AssociationListener(const AssociationListener&) = delete;
    AssociationListener& operator=(const AssociationListener&) = delete;

    // Opens the port, with TLS when the configuration names a certificate; "" on success, else
    // why (a certificate or key that cannot be read, a key of another certificate).
    std::string Open();
    // Accepts calls until the network fails; returns why.
    std::string Serve();

private:
    void Run(T_ASC_Association* association);

    const NodeConfig& config_;
    std::function<void(const std::string&)> spooled_;
    DcmSharedSCPConfig shared_;
    std::unique_ptr<DcmTLSTransportLayer> tls_;
    T_ASC_Network* network_ = nullptr;
    std::atomic<int> running_{0};  // associations being served
};

}  // namespace ordevo::node
