// A CSV field that a spreadsheet would take for a formula: one beginning with = + - @, a tab
// or a carriage return (a patient ID "=HYPERLINK(...)" or "+cmd|' /C calc'!A0" would run
// when the file is opened). Such a field is written with an apostrophe in front, which the
// spreadsheet shows as text and does not run; a plain number ("-12.5") is left as it is.
#pragma once

#include <string>
#include <string_view>

namespace ordevo {

std::string NeutralisedCsvField(std::string_view field);

}  // namespace ordevo
