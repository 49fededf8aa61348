// Equipment basic data files: ".odv3"/".odv2" (13 lines) and the older ".odv" (24 lines).
#pragma once

#include <QString>
#include <QStringList>

#include "equipment_data.h"
#include "file_error.h"

namespace ordevo {

enum class EquipmentFileVersion : int {
    Version1 = 1,     // ".odv": 24 lines, the measured quantities at 60…100 kV
    Version2Or3 = 3,  // ".odv2", ".odv3": 13 lines with the typical tube voltage
};

// Decided by the last four characters of the name, case-sensitively: "odv2" or "odv3" make
// version 2/3, anything else (".ODV3" too) version 1.
EquipmentFileVersion EquipmentFileVersionOf(const QString& fileName);
int EquipmentFileLineCount(EquipmentFileVersion version);  // 24 or 13

struct EquipmentFileContents {
    EquipmentFileVersion Version = EquipmentFileVersion::Version2Or3;
    // Lengths in cm (filtrations × 0.1); the other filter's material file is
    // "<OtherFilterMaterial>.ele"; OtherFilterAttenuation is loaded only by LoadEquipmentFile.
    EquipmentData Data;
    // The filtrations as the file holds them, in mm, for the main window's labels.
    double InherentFiltrationMm = 0;
    double AddedAluminiumMm = 0;
    double AddedCopperMm = 0;
    double OtherFilterThicknessMm = 0;
    QString OtherFilterMaterialText;   // line 8, trimmed
    QString OtherFilterThicknessText;  // line 9, trimmed
    QString TypicalTubeVoltageText;    // line 10, trimmed; "80" for version 1
};

// Reads the file line by line (a line is one field, so a material name may hold a comma).
// Fields are trimmed of blanks and tabs. Each numeric line the computation uses must hold one
// number and nothing else (the other filter's thickness only when its flag is 1); the flag line
// is " 1 ", " 0 " or blank (0). Extra lines are ignored. A file that
// cannot be read, is larger than 16 kB, is not CP932, has fewer lines than its version needs,
// holds "inf"/"NaN" or a number beyond the double range in a numeric line, or a value outside
// the editor's limits (CheckEquipmentLimits) is an error naming the file and line:
// "abc.odv3 の 11 行目: 天板透過率 8 は範囲外です（0 より大きく 1 以下）".
FileResult<EquipmentFileContents> ReadEquipmentFile(const QString& path);

// ReadEquipmentFile, and when the flag is 1 the other filter's attenuation from
// "<materialFolder>/<material>.ele" (LoadMaterialTable). A flag of 1 whose material file is
// missing, unusable or whose name cannot be a file name is an error: the record would
// otherwise filter with a table of another material or of none.
FileResult<EquipmentFileContents> LoadEquipmentFile(const QString& path,
                                                    const QString& materialFolder);

// What the editor's "Save" writes (version 3).
struct EquipmentRecordTexts {
    double FocusReceptorDistance = 0;                         // cm, "#00.0"
    double FocusIsocentreDistance = 0;                        // cm, "#00.0"
    double TargetAngle = 0;                                   // degrees, "#0.0"
    double InherentFiltrationMm = 0;                          // mm, "0.00"
    double AddedAluminiumMm = 0;                              // mm, "0.00"
    double AddedCopperMm = 0;                                 // mm, "0.00"
    int OtherFilterFlag = 0;                                  // written " 1 " / " 0 "
    QString OtherFilterMaterialText = QStringLiteral("---");  // as shown in the editor
    QString OtherFilterThicknessText = QStringLiteral("0");   // as typed
    QString TypicalTubeVoltageText;                           // as typed
    double CouchTransmission = 0;                             // "0.000"
    double CouchSoftTissueThickness = 0;                      // cm, "#0.000"
    double CalibrationConstant = 0;                           // "0.000"
};

inline constexpr const char* kEquipmentFileExtension = ".odv3";

// The 13 lines of a version-3 file.
QStringList EquipmentFileLines(const EquipmentRecordTexts& record);

// Writes "<folder>/<equipmentName>.odv3" (replacing a file of that name) through QSaveFile
// and returns the file name written ("Room 1.odv3"). A name that is empty, "." or "..", or holds
// a path separator is refused and nothing is written; so is a text holding a line break.
FileResult<QString> WriteEquipmentFile(const QString& folder, const QString& equipmentName,
                                       const EquipmentRecordTexts& record);

}  // namespace ordevo
