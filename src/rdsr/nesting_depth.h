// How deeply a DICOM file nests its sequences, found by a flat scan of its bytes. The toolkit's
// reader recurses once per level and overflows the stack on a file nested thousands of levels
// deep, so the depth is checked before the file is handed to it.
#pragma once

#include <cstddef>
#include <string>

namespace ordevo::rdsr {

// The deepest real dose report nests its content tree a dozen items deep (a filter inside an
// event inside the root, each value with its code and unit sequences); 64 leaves ample room.
inline constexpr int kMaxNestingDepth = 64;

// Empty when no item of the file lies deeper than `maxDepth` sequence items; otherwise why,
// in a sentence. Explicit and implicit VR little endian and explicit VR big endian are scanned
// (a Part-10 file by its meta header's transfer syntax, a bare data set by its first element);
// a deflated data set cannot be scanned and is refused. Where a length runs past the end of
// the data the scan stops, as the toolkit's reader stops there too.
std::string CheckNestingDepth(const unsigned char* data, std::size_t size,
                              int maxDepth = kMaxNestingDepth);

}  // namespace ordevo::rdsr
