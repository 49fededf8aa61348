// Serves several associations at once. The listening thread only accepts connections; each
// connection's thread reads its association request (and its TLS handshake), checks who calls
// from where, and serves it, so that a caller that says nothing, says half a request or breaks
// off holds up nobody but itself. The registry is still written by the one registration worker
// these threads feed.
#pragma once

#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/scpcfg.h>
#include <sys/socket.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>

#include "node_config.h"

class DcmTransportLayer;

namespace ordevo::node {

// Connections from one address that have not yet sent their association request: a unit sends
// it as soon as it connects, so more than this are idle, and a new one closes the oldest.
inline constexpr int kMostWaitingPerAddress = 8;
// Connections at once (their threads); beyond it the oldest waiting connection is closed, or
// the new one when none is waiting.
inline constexpr int kMostConnections = 64;
// Negotiated associations at once: more than any room sends; beyond it a caller is told to
// come back later (A-ASSOCIATE-RJ, transient, local limit exceeded).
inline constexpr int kMostAssociations = 16;
// How long a connection may take to send its association request.
inline constexpr int kRequestSeconds = 20;

class AssociationListener {
public:
    // `spooled` is told each stored file's path after its success was answered; it is called
    // from the associations' threads.
    AssociationListener(const NodeConfig& config, std::function<void(const std::string&)> spooled);
    ~AssociationListener();
    AssociationListener(const AssociationListener&) = delete;
    AssociationListener& operator=(const AssociationListener&) = delete;

    // Opens the port on the listen address, with TLS when the configuration names a
    // certificate; "" on success, else why.
    std::string Open();
    // Accepts connections until Stop(); returns why it stopped. No caller ends it.
    std::string Serve();
    // From another thread: Serve() returns.
    void Stop();

private:
    struct Waiting {
        int Fd;
        std::string Address;
        std::uint64_t Serial;
    };
    void Admit(int fd, const sockaddr_storage& peer);
    void Run(int fd, sockaddr_storage peer, std::uint64_t serial);
    // Whether the caller may call as it says; "" if so, else why not (for the journal).
    std::string Refusal(T_ASC_Association* association, const sockaddr_storage& peer) const;
    bool StopWaiting(std::uint64_t serial);  // false: it was closed as idle meanwhile

    const NodeConfig& config_;
    std::function<void(const std::string&)> spooled_;
    DcmSharedSCPConfig shared_;
    std::unique_ptr<DcmTransportLayer> layer_;
    bool tls_ = false;
    T_ASC_Network* network_ = nullptr;
    int listenFd_ = -1;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;  // guards waiting_, connections_, serial_
    std::list<Waiting> waiting_;
    int connections_ = 0;
    std::uint64_t serial_ = 0;
    std::atomic<int> associations_{0};
};

}  // namespace ordevo::node
