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
// header: whole into a temporary name, flushed to the disk, then linked to its name (and the
// folder flushed), so that the name only ever holds a complete object. A name once written is
// never written again: the same object sent again is dropped, and another object under the
// same UID is kept apart as "<spool>/apart/<sopInstanceUid>.<n>.dcm" (*keptApart: its path),
// never over the first, which may be a registered procedure's source. "" on success, else why;
// on a failure (a full disk) nothing is left behind.
std::string SpoolObject(const std::string& spool, const std::string& sopInstanceUid,
                        DcmDataset& dataset, const std::string& callingAe,
                        std::string* keptApart = nullptr);

// Where objects that came under a UID already spooled are kept.
std::string ApartFolder(const std::string& spool);

// The spooled objects, sorted; temporaries left by a stop mid-write (never acknowledged) are
// removed.
std::vector<std::string> SpooledObjects(const std::string& spool);

struct SpooledHeader {
    std::string SopInstanceUid, StudyInstanceUid, CallingAe;
    std::string Error;  // the file cannot be read as DICOM
};
SpooledHeader ReadSpooledHeader(const std::string& path);

}  // namespace ordevo::node
