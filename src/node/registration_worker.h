// Evaluates the spooled objects one after another in a thread of its own, so that receiving
// never waits for the dose chain; the registry connection belongs to that thread. A report the
// registry cannot take now (busy, read-only, a server away) is tried again with a growing wait
// while the node runs; alerts are announced from the registry, where they were written with
// their procedure, so that a stop before the announcement only delays it to the next start.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "dose_forward.h"
#include "node_config.h"
#include "report_registration.h"

namespace ordevo::node {

// Waits before a report is tried again: 5 s, doubling, at most 5 minutes.
std::chrono::seconds RetryWait(int attempt);

class RegistrationWorker {
public:
    RegistrationWorker(registry::EvaluationContext context, const NodeConfig& config);
    ~RegistrationWorker();  // Stop()
    // Finishes the report in hand, then stops; what is queued waits in the spool for the
    // next start. Add() may still be called after it (and does nothing more).
    void Stop();
    void Add(const std::string& spooledPath);

private:
    struct Retry {
        std::string Path;
        std::chrono::steady_clock::time_point Due;
        int Attempt;
    };
    void Run();
    // Waits until something is due or the worker stops; false when stopping.
    bool Next(std::string* path, int* attempt);
    bool Sleep(std::chrono::seconds wait);  // false when stopping
    void AnnouncePending(registry::Registry& registry);
    void Announce(const registry::Alert& alert) const;
    void RemoveExpired(registry::Registry& registry);
    void Forward(registry::Registry& registry, const std::string& sopInstanceUid);

    registry::EvaluationContext context_;
    std::string registryPath_, spool_;
    registry::AlertLevels levels_;
    std::string alertCommand_;
    int retentionDays_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    std::vector<Retry> retries_;
    bool stopping_ = false;
    std::unique_ptr<DoseForwarder> forwarder_;  // with a forward target only
    std::thread thread_;
};

}  // namespace ordevo::node
