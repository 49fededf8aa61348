// ordevo-node: receives dose reports from the X-ray units and registers what they give.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dcmtk/dcmdata/dcobject.h>

#include <QCoreApplication>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <thread>

#include "association_listener.h"
#include "node_config.h"
#include "registration_worker.h"
#include "registry.h"
#include "spool.h"

namespace {

constexpr const char* kUsage =
    "usage: ordevo-node [--config FILE] --port N [--listen ADDRESS] --aet TITLE\n"
    "                   --registry PATH --spool DIR [--spool-retention-days DAYS] --data DIR\n"
    "                   --accept "
    "'CALLING_AE=EQUIPMENT_FILE[,ROOM_PROFILE[,PLANE_B_EQUIPMENT_FILE]];from=ADDRESS[/BITS]"
    "[,...][;subject=DN]'...\n"
    "                   [--alert-procedure-mgy MGY] [--alert-cumulative-mgy MGY]\n"
    "                   [--alert-window-days DAYS] [--alert-command COMMAND]\n"
    "                   [--tls-certificate FILE --tls-key FILE [--tls-ca-certificate FILE]]\n";

// Whether a file can be made in the spool now: "" if so, else why.
std::string SpoolWritable(const std::string& spool) {
    const std::string probe = spool + "/.write-check.part";
    std::FILE* file = std::fopen(probe.c_str(), "wb");
    if (!file) return std::string(std::strerror(errno));
    const bool written = std::fputc('x', file) != EOF && std::fclose(file) == 0;
    std::remove(probe.c_str());
    return written ? "" : "書き込めません";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace ordevo::node;
    QCoreApplication app(argc, argv);

    NodeConfig config;
    try {
        config = ReadNodeConfig(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const ConfigError& error) {
        std::cerr << "ordevo-node: " << error.Message << "\n" << kUsage;
        return 2;
    }
    // SIGTERM (systemctl stop and restart) and SIGINT are taken by one thread below; every
    // other thread is started with them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // The spool and the registry hold patient data: for this user only. A node that could
    // answer "success" and then keep nothing does not start.
    ::umask(077);
    if (::mkdir(config.Spool.c_str(), 0700) != 0 && errno != EEXIST) {
        std::cerr << "ordevo-node: " << config.Spool << ": スプールを作れません（"
                  << std::strerror(errno) << "）\n";
        return 1;
    }
    if (const std::string why = SpoolWritable(config.Spool); !why.empty()) {
        std::cerr << "ordevo-node: " << config.Spool << ": スプールに書けないため始めません（"
                  << why << "）\n";
        return 1;
    }
    {
        auto registry = ordevo::registry::Registry::Open(QString::fromStdString(config.Registry));
        if (!registry) {
            std::cerr << "ordevo-node: " << registry.error().what() << "\n";
            return 1;
        }
        if (const auto writable = (*registry)->CheckWritable(); !writable) {
            std::cerr << "ordevo-node: " << writable.error().what() << "（始めません）\n";
            return 1;
        }
    }
    auto context = ordevo::registry::LoadEvaluationContext(config.Data, config.Accepted);
    if (!context) {
        std::cerr << "ordevo-node: " << context.error().what() << "\n";
        return 1;
    }
    // The listener hands each stored file to the worker, which starts once the port is open;
    // calls wait in the backlog meanwhile. Opening the port switches the toolkit's input
    // correction off for the whole process; the report reader sets it for its own reads, and
    // it is set back here as well for any other reading in the process.
    std::atomic<RegistrationWorker*> registering = nullptr;
    AssociationListener listener(config, [&registering](const std::string& path) {
        if (RegistrationWorker* worker = registering.load()) worker->Add(path);
    });
    const std::string why = listener.Open();
    dcmEnableAutomaticInputDataCorrection.set(OFTrue);
    if (!why.empty()) {
        std::cerr << "ordevo-node: " << config.Listen << " port " << config.Port << ": " << why
                  << "\n";
        return 1;
    }
    std::atomic<bool> stopped = false;
    std::thread waiter([&stopSignals, &listener, &stopped] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        stopped = true;
        listener.Stop();
    });
    waiter.detach();
    // Kept to the end of the process: an association thread may still hand it a file.
    auto* worker = new RegistrationWorker(std::move(*context), config);
    registering = worker;
    // What was received before a stop and is not registered yet.
    for (const std::string& path : SpooledObjects(config.Spool)) worker->Add(path);
    const std::string ended = listener.Serve();
    worker->Stop();  // finishes the report in hand
    std::cerr << "ordevo-node: " << ended << "\n";
    std::cerr.flush();
    // Associations still running are cut off: whatever they had answered is in the spool, and
    // what they had not answered the units send again.
    std::_Exit(stopped ? 0 : 1);
}
