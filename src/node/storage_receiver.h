// The DICOM side of ordevo-node: C-ECHO, and C-STORE of the structured-report classes that carry
// a dose report, from the calling AE titles it knows. A stored object is in the spool before
// its success is answered. One receiver serves one association, in its own thread.
#pragma once

#include <dcmtk/dcmnet/scpthrd.h>

#include <functional>
#include <string>

#include "node_config.h"

namespace ordevo::node {

// The storage classes received: the X-ray radiation dose report's own, and the general SR
// classes that devices also send it in.
extern const char* const kReportStorageClasses[4];

class StorageReceiver : public DcmThreadSCP {
public:
    // `spooled` is told each stored file's path after its success was answered. The
    // presentation contexts and timeouts come from the listener's shared configuration; the
    // caller was checked by the listener before `association` is run.
    StorageReceiver(const NodeConfig& config, std::function<void(const std::string&)> spooled,
                    T_ASC_Association* association);

protected:
    OFCondition handleIncomingCommand(T_DIMSE_Message* message,
                                      const DcmPresentationContextInfo& context) override;

private:
    // The C-STORE status for a received object: success only once it is in the spool.
    Uint16 Store(const T_DIMSE_C_StoreRQ& request, const std::string& contextClass,
                 DcmDataset* dataset, std::string* spooledPath);

    T_ASC_Association* association_;
    std::string spool_;
    std::function<void(const std::string&)> spooled_;
};

}  // namespace ordevo::node
