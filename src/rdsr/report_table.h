// The texts of a dose report's evaluation, one row per event: the rows of the RDSR window's
// table and of the CSV file that ordevo-cli writes.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
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

// The names the windows show ("単一", "透視", "撮影" …); the CSV and ordevo-cli keep the English
// ones.
QString ShownPlaneName(AcquisitionPlane plane);
QString ShownEventTypeName(EventType type);

// One event of an evaluation, typed: what the dose-report window's table and the CSV show.
struct EventRow {
    AcquisitionPlane Plane = AcquisitionPlane::Single;
    std::string EquipmentName;  // the plane's equipment file
    std::string Uid;
    EventType Type = EventType::Other;
    std::string DateTime;                 // ISO, as IsoDateTime gives it
    std::optional<double> TubeVoltageKv;  // the voltage used; none when there was none
    bool TubeVoltageAssumed = false;      // the equipment's typical voltage stood in
    double CopperMm = 0;                  // added filtration used
    double AluminiumMm = 0;
    std::optional<double> ReferenceAirKermaMGy;  // as the report gives them
    std::optional<double> KermaAreaProductGyCm2;
    double ReferenceDistanceCm = 0;     // d_ref used
    std::string FieldSizeText;          // "#0.00" at the reference point; "" when none
    double FocusSkinDistanceCm = 0;     // FSD used
    std::optional<double> SkinDoseMGy;  // evaluated events only
    EventStatus Status = EventStatus::Evaluated;
    std::string Note;
};

// The row's numbers as texts, each through its one picture, for the table and the CSV alike.
struct EventRowTexts {
    QString TubeVoltage, Copper, Aluminium, ReferenceAirKerma, KermaAreaProduct, ReferenceDistance,
        FieldSize, FocusSkinDistance, SkinDose;
};
EventRowTexts FormatEventRow(const EventRow& row);

// One row per event of the evaluation, plane by plane.
std::vector<EventRow> ReportRows(const DoseReport& report, const ReportEvaluation& evaluation);

// The columns of the CSV, and a row's fields in that order; `fileName` fills the first column.
QStringList ReportCsvHeader();
QStringList ReportCsvFields(const QString& fileName, const EventRow& row);

// Every note of an evaluation, one line each, for a list that shows them all: the reader's notes,
// why a plane has no totals as one case, a cancelled run, then the events' notes, each text once
// with the rows (1-based, in ReportRows' order) it stands for: "照射 2, 5: …".
std::vector<std::string> ReportNotes(const DoseReport& report, const ReportEvaluation& evaluation);

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
