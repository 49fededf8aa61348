#include "registration_worker.h"

#include <iostream>

namespace ordevo::node {

RegistrationWorker::RegistrationWorker(EvaluationContext context, std::string registryPath)
    : context_(std::move(context)), registryPath_(std::move(registryPath)) {
    thread_ = std::thread(&RegistrationWorker::Run, this);
}

RegistrationWorker::~RegistrationWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void RegistrationWorker::Add(const std::string& spooledPath) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(spooledPath);
    }
    wake_.notify_one();
}

void RegistrationWorker::Run() {
    auto opened = registry::Registry::Open(QString::fromStdString(registryPath_));
    if (!opened) {
        std::cerr << "ordevo-node: " << opened.error().what() << "\n";
        return;
    }
    registry::Registry& registry = **opened;
    for (;;) {
        std::string path;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            path = queue_.front();
            queue_.pop_front();
        }
        std::string message;
        RegisterSpooled(path, context_, registry, &message);
        std::cerr << "ordevo-node: " << message << "\n";
    }
}

}  // namespace ordevo::node
