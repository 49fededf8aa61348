// Evaluates the spooled objects one after another in a thread of its own, so that receiving
// never waits for the dose chain; the registry connection belongs to that thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "dose_forward.h"
#include "node_config.h"
#include "report_registration.h"

namespace ordevo::node {

class RegistrationWorker {
public:
    RegistrationWorker(registry::EvaluationContext context, const NodeConfig& config);
    ~RegistrationWorker();  // finishes what is queued, then stops
    void Add(const std::string& spooledPath);

private:
    void Run();
    void Announce(const registry::Alert& alert) const;
    void Forward(registry::Registry& registry, const std::string& sopInstanceUid);
    registry::EvaluationContext context_;
    std::string registryPath_;
    registry::AlertLevels levels_;
    std::string alertCommand_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    bool stopping_ = false;
    std::unique_ptr<DoseForwarder> forwarder_;  // with a forward target only
    std::thread thread_;
};

}  // namespace ordevo::node
