// Reads a DICOM X-ray radiation dose structured report (projection X-ray) into a DoseReport.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "dose_report.h"

namespace ordevo::rdsr {

struct ReportReading {
    std::optional<DoseReport> Report;
    std::string Error;  // when there is no report: why, in a sentence naming the problem
};

// The largest dose report read. The longest procedures (an embolisation of a cerebral
// malformation or a TIPS on a biplane unit, hours of fluoroscopy, each run and each plane one
// event) record a few thousand events; 10,000 is twice the most we expect. An event takes 3.8 kB
// with its doses alone, 6.6 kB with the angles, table and field a unit writes, 8.7 kB with its
// pulses and tilts too (our writer; a vendor-style report of 73 MB was refused at 64 MB); with
// twice that for private and per-pulse items, 10,000 events stay below 192 MiB. A larger file is
// refused before it is read: the toolkit's document model holds some 23 times the file (1.5 GB
// for 66 MB), so no file can take more than about 4.5 GB.
inline constexpr long long kDoseReportMaxBytes = 192LL * 1024 * 1024;

// Reads leniently, as real devices' reports are often not strictly conformant: invalid
// content-item values are accepted, relationship constraints ignored and invalid items skipped,
// and what was skipped or refused lands in the report's notes. A file that is not DICOM, not a
// structured report, or a report of another kind (another template, a CT dose report) is an
// error; so are a path that is not a regular file, a file larger than kDoseReportMaxBytes and a
// file nested deeper than kMaxNestingDepth or with a value longer than the file (ScanStructure).
// Thread-safe: reads are serialised.
ReportReading ReadDoseReport(const std::string& path);

// The same from the file's bytes in memory.
ReportReading ReadDoseReportBytes(const unsigned char* data, std::size_t size);

// Whether the file's meta header names an X-ray radiation dose report storage class; for
// picking the reports out of a folder. Never throws; false for anything unreadable, for what is
// not a regular file and for a file larger than kDoseReportMaxBytes.
bool IsDoseReportFile(const std::string& path);

}  // namespace ordevo::rdsr
