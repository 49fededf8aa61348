// Numbers as text and whole text files in code page 932 with CR LF line ends.
#pragma once

#include <string>
#include <vector>

namespace ordevo::refdata {

// "1.234567E-03": `digits` decimals after the point, upper-case exponent of two or more digits.
std::string FormatScientific(double value, int digits = 6);
// The shortest text that reads back as the same double: "0.5", "150", "10.22".
std::string FormatPlain(double value);

// Encodes the UTF-8 lines as CP932, ends every line with CR LF and replaces the file whole
// (QSaveFile). Throws std::runtime_error when a character has no CP932 form or the file
// cannot be written.
void WriteCp932Lines(const std::string& path, const std::vector<std::string>& utf8Lines);
// The bytes WriteCp932Lines would write.
std::string EncodeCp932Lines(const std::vector<std::string>& utf8Lines);

}  // namespace ordevo::refdata
