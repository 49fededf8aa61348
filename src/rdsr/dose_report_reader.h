// Reads a DICOM X-ray radiation dose structured report (projection X-ray) into a DoseReport.
#pragma once

#include <optional>
#include <string>

#include "dose_report.h"

namespace ordevo::rdsr {

struct ReportReading {
    std::optional<DoseReport> Report;
    std::string Error;  // when there is no report: why, in a sentence naming the problem
};

// Reads leniently, as real devices' reports are often not strictly conformant: invalid
// content-item values are accepted, relationship constraints ignored and invalid items skipped,
// and what was skipped or refused lands in the report's notes. A file that is not DICOM, not a
// structured report, or a report of another kind (another template, a CT dose report) is an
// error. Thread-safe: reads are serialised.
ReportReading ReadDoseReport(const std::string& path);

// Whether the file's meta header names an X-ray radiation dose report storage class; for
// picking the reports out of a folder. Never throws; false for anything unreadable.
bool IsDoseReportFile(const std::string& path);

}  // namespace ordevo::rdsr
