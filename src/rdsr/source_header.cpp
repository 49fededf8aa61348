#include "source_header.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcmetinf.h>

namespace ordevo::rdsr {

SourceHeader ReadSourceHeader(const std::string& path) {
    SourceHeader header;
    DcmFileFormat file;
    // Values longer than 4 kB stay on the disk: only the UIDs are wanted here.
    const OFCondition status = file.loadFile(path.c_str(), EXS_Unknown, EGL_noChange, 4096);
    if (status.bad()) {
        header.Error = status.text();
        return header;
    }
    OFString text;
    if (file.getDataset()->findAndGetOFString(DCM_SOPInstanceUID, text).good())
        header.SopInstanceUid = text.c_str();
    if (file.getDataset()->findAndGetOFString(DCM_StudyInstanceUID, text).good())
        header.StudyInstanceUid = text.c_str();
    if (file.getMetaInfo()->findAndGetOFString(DCM_SourceApplicationEntityTitle, text).good())
        header.SourceAe = text.c_str();
    return header;
}

}  // namespace ordevo::rdsr
