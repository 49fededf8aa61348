// ordevo-node: receives dose reports from the X-ray units and registers what they give.
#include <sys/stat.h>

#include <dcmtk/dcmdata/dcobject.h>

#include <QCoreApplication>
#include <atomic>
#include <iostream>

#include "association_listener.h"
#include "node_config.h"
#include "registration_worker.h"
#include "registry.h"
#include "spool.h"

namespace {

constexpr const char* kUsage =
    "usage: ordevo-node [--config FILE] --port N --aet TITLE --registry PATH --spool DIR\n"
    "                   --data DIR\n"
    "                   --accept "
    "CALLING_AE=EQUIPMENT_FILE[,ROOM_PROFILE[,PLANE_B_EQUIPMENT_FILE]]...\n"
    "                   [--alert-procedure-mgy MGY] [--alert-cumulative-mgy MGY]\n"
    "                   [--alert-window-days DAYS] [--alert-command COMMAND]\n"
    "                   [--tls-certificate FILE --tls-key FILE [--tls-ca-certificate FILE]]\n";

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
    // The spool and the registry hold patient data: for this user only.
    ::umask(077);
    if (::mkdir(config.Spool.c_str(), 0700) != 0 && errno != EEXIST) {
        std::cerr << "ordevo-node: " << config.Spool << ": スプールを作れません\n";
        return 1;
    }
    if (auto registry = ordevo::registry::Registry::Open(QString::fromStdString(config.Registry));
        !registry) {
        std::cerr << "ordevo-node: " << registry.error().what() << "\n";
        return 1;
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
        std::cerr << "ordevo-node: port " << config.Port << ": " << why << "\n";
        return 1;
    }
    RegistrationWorker worker(std::move(*context), config);
    registering = &worker;
    // What was received before a stop and is not registered yet.
    for (const std::string& path : SpooledObjects(config.Spool)) worker.Add(path);
    const std::string stopped = listener.Serve();
    std::cerr << "ordevo-node: " << stopped << "\n";
    return 1;
}
