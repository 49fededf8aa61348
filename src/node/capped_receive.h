// Receives a C-STORE's data set into a file of the spool, never into memory, and never more of
// it than the report reader takes (rdsr::kDoseReportMaxBytes): beyond that the rest is read
// and dropped so that the caller can be answered "out of resources" (0xA700) at once. A
// deflated data set is inflated by us under the same bound (a small message may inflate to
// gigabytes).
#pragma once

#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/dimse.h>

#include <string>

namespace ordevo::node {

struct CappedReceipt {
    OFCondition Status = EC_Normal;  // the network's: bad ends the association
    bool TooLarge = false;           // the data set exceeds the bound
    std::string Error;               // the spool cannot be written, or the deflate is damaged
    std::string Path;                // the data set, little endian (explicit or implicit VR)
    E_TransferSyntax Syntax = EXS_Unknown;
};

// `limit`: the most bytes kept (after inflation). Leaves no file behind unless Path is set and
// Error empty; the caller removes Path.
CappedReceipt ReceiveCapped(T_ASC_Association* association, T_ASC_PresentationContextID context,
                            const std::string& folder, long long limit, int timeoutSeconds);

// Inflates the raw deflate stream `from` into `to`, at most `limit` bytes: "" when done, else
// why; *tooLarge when it would exceed the bound.
std::string InflateBounded(const std::string& from, const std::string& to, long long limit,
                           bool* tooLarge);

}  // namespace ordevo::node
