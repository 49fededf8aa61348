// The texts of a dose report's evaluation, one row per event: the rows of the RDSR window's
// table and of the CSV file that ordevo-cli writes.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "dose_report.h"
#include "file_error.h"
#include "report_evaluation.h"

namespace ordevo::rdsr {

// ISO forms of the report's date and date-time ("2024-01-15", "2024-01-15T10:30:00"); texts
// that are not the DICOM forms stay as written.
std::string IsoDate(const std::string& dicomDate);
std::string IsoDateTime(const std::string& dicomDateTime);

// The columns of an event row.
QStringList ReportCsvHeader();

// One row per event of the evaluation, in the header's order, numbers through the program's
// pictures; `fileName` fills the first column.
std::vector<QStringList> ReportRows(const QString& fileName, const DoseReport& report,
                                    const ReportEvaluation& evaluation);

// One evaluated file of a CSV run.
struct ReportCsvFile {
    QString FileName;
    const DoseReport* Report = nullptr;
    const ReportEvaluation* Evaluation = nullptr;
};

// The header and every file's rows, CP932 with CR LF, through QSaveFile. A field holding a
// comma or a quote is quoted, a line break in it becomes a blank, and a character that has no
// CP932 code becomes "?" (device names and notes may hold any text; the rest is kept).
FileResult<void> WriteReportCsv(const QString& path, const std::vector<ReportCsvFile>& files);

}  // namespace ordevo::rdsr
