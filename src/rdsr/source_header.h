// Who a stored DICOM object is, from its header alone: its SOP Instance and Study Instance UIDs
// and the AE title of the application it came from (the file meta header's Source Application
// Entity Title, where a receiver records its caller). The content is the report reader's.
#pragma once

#include <string>

namespace ordevo::rdsr {

struct SourceHeader {
    std::string SopInstanceUid, StudyInstanceUid, SourceAe;
    std::string Error;  // the file cannot be read as DICOM
};

SourceHeader ReadSourceHeader(const std::string& path);

}  // namespace ordevo::rdsr
