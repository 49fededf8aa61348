// The spool: every received object is kept as a file before its success is answered, so that
// nothing acknowledged is lost when the node stops; evaluation reads it from here.
#pragma once

#include <string>
#include <vector>

class DcmDataset;

namespace ordevo::node {

// A SOP Instance UID that can name a file: 1 to 64 digits and dots.
bool IsUid(const std::string& uid);

// Writes the object as "<spool>/<sopInstanceUid>.dcm", the calling AE title in its meta
// header: whole into a temporary name, flushed to the disk, then renamed (and the folder
// flushed), so that the name only ever holds a complete object. "" on success, else why; on a
// failure (a full disk) nothing is left behind.
std::string SpoolObject(const std::string& spool, const std::string& sopInstanceUid,
                        DcmDataset& dataset, const std::string& callingAe);

// The spooled objects, sorted; temporaries left by a stop mid-write (never acknowledged) are
// removed.
std::vector<std::string> SpooledObjects(const std::string& spool);

struct SpooledHeader {
    std::string SopInstanceUid, StudyInstanceUid, CallingAe;
    std::string Error;  // the file cannot be read as DICOM
};
SpooledHeader ReadSpooledHeader(const std::string& path);

}  // namespace ordevo::node
