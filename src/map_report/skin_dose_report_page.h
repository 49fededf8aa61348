// The one-page skin-dose report for the patient's record (A4 landscape, millimetres): the device
// and study date, the files used, the map with its scale and contours, the PSD with its place and
// the upper bound, the plane totals, the events mapped and not, the placement assumed and the
// follow-up level reached. Printer, PDF, ordevo-cli and the tests draw it through one function.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>
#include <vector>

#include "follow_up_levels.h"
#include "report_evaluation.h"
#include "skin_dose_map.h"
#include "surface.h"

namespace ordevo::map {

struct PlaneTotalsLine {
    QString Plane;                    // "A", "B", "単一"
    double ReferenceAirKermaMGy = 0;  // of the events computed
    double KermaAreaProductGyCm2 = 0;
    std::optional<double> ReportedKermaMGy;  // the device's accumulated totals, when given
    std::optional<double> ReportedProductGyCm2;
};

struct SkinDoseReportContent {
    QString Device, StudyDate, ReportFile;
    bool WithPatient = false;  // the name and ID are printed only when asked
    QString PatientName, PatientId;
    QString RoomProfile;
    QStringList EquipmentFiles;
    std::vector<PlaneTotalsLine> Planes;
    QStringList Placement;  // the assumptions, one a line
    std::vector<FollowUpLevel> Levels;
    QString LevelsSource;  // the levels file's name, or why it could not be read
    QDateTime PrintedAt;   // not printed when invalid
    // Printed under the plane totals in place of the events mapped and not, for a map read back
    // from the registry, which keeps its cells but not which events it placed.
    QStringList EventLines;
};

// What the page says of a report and its map; `placement` from PlacementLines.
SkinDoseReportContent ReportContentOf(const QString& reportFile, const rdsr::DoseReport& report,
                                      const rdsr::ReportEvaluation& evaluation);

// The placement the map assumed, one line each: height, weight, landmark, lying, phantom, cell.
QStringList PlacementLines(const MapSettings& settings, const SkinDoseMap& map,
                           const rdsr::DoseReport& report, const QString& lyingName);

// "PSD / 上限 1.10", with the reason when the PSD exceeds the bound; "" without a bound.
QString PsdOverBoundText(const SkinDoseMap& map);

// What stands under the PSD: "割り付けた照射のみ" and the unplaced bound beside it when some
// dose could not be placed, and the placed share of the Ka,r.
QStringList PsdLines(const SkinDoseMap& map);

// Splits `text` into lines no wider than `width` in the surface's current font.
QStringList WrapText(const ui::Surface& surface, const QString& text, double width);

void DrawSkinDoseReportPage(ui::Surface& page, const SkinDoseMap& map,
                            const SkinDoseReportContent& content);

// Everything the page says of a map: the report's part, the profile, the placement and the
// follow-up levels of `levelsFolder` (see LoadFollowUpLevels); the levels file's error otherwise.
std::variant<SkinDoseReportContent, QString> MakeReportContent(
    const QString& reportFile, const rdsr::DoseReport& report,
    const rdsr::ReportEvaluation& evaluation, const MapSettings& settings, const SkinDoseMap& map,
    const QString& lyingName, const QString& levelsFolder, bool writeDefaultLevels);

// The page as a PDF file, replaced only when written whole; "" or why it could not be.
QString SaveSkinDoseReportPdf(const QString& path, const SkinDoseMap& map,
                              const SkinDoseReportContent& content);

}  // namespace ordevo::map
