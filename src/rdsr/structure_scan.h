// A flat scan of a DICOM file's bytes for what the toolkit's reader cannot survive: it recurses
// once per level of nesting (a file nested thousands of levels deep overflows the stack) and
// allocates what an element's length claims (a 464-byte file claiming 2.4 GB exhausts memory).
// Both are checked before the file is handed to it.
#pragma once

#include <cstddef>
#include <string>

namespace ordevo::rdsr {

// The deepest real dose report nests its content tree a dozen items deep (a filter inside an
// event inside the root, each value with its code and unit sequences); 64 leaves ample room.
inline constexpr int kMaxNestingDepth = 64;

// Empty when no item of the file lies deeper than `maxDepth` sequence items and no value is
// longer than the bytes left; otherwise why, in a sentence. Explicit and implicit VR little endian
// and explicit VR big endian are scanned (a Part-10 file by its meta header's transfer syntax, a
// bare data set by its first element); a deflated data set cannot be scanned and is refused.
std::string ScanStructure(const unsigned char* data, std::size_t size,
                          int maxDepth = kMaxNestingDepth);

}  // namespace ordevo::rdsr
