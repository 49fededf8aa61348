#include "equipment_file.h"

#include <QDir>
#include <cmath>

#include "calculation_messages.h"
#include "cp932_text.h"
#include "equipment_limits.h"
#include "file_name_check.h"
#include "material_file.h"
#include "number_format.h"
#include "units.h"

namespace ordevo {

namespace {

double FieldNumber(const QString& field) { return LeadingNumber(field.toStdString()); }

// "inf", "-Infinity", "NaN": what other tools write for a value that is not a number. Such a
// field is refused rather than read as 0 like other text.
bool NamesNonFiniteValue(const QString& field) {
    QString word = field.trimmed().toLower();
    if (word.startsWith(QLatin1Char('+')) || word.startsWith(QLatin1Char('-'))) word.remove(0, 1);
    return word.startsWith(QLatin1String("inf")) || word.startsWith(QLatin1String("nan"));
}

// The line of each checked field: version 3 and version 1 (the 80 kV values).
int LineOf(EquipmentField field, EquipmentFileVersion version) {
    const bool v1 = version == EquipmentFileVersion::Version1;
    switch (field) {
    case EquipmentField::FocusReceptorDistance: return 1;
    case EquipmentField::FocusIsocentreDistance: return 2;
    case EquipmentField::TargetAngle: return 3;
    case EquipmentField::InherentFiltration: return 4;
    case EquipmentField::AddedAluminium: return 5;
    case EquipmentField::AddedCopper: return 6;
    case EquipmentField::OtherFilterThickness: return 9;
    case EquipmentField::CouchTransmission: return v1 ? 12 : 11;
    case EquipmentField::CouchSoftTissueThickness: return v1 ? 17 : 12;
    case EquipmentField::CalibrationConstant: return v1 ? 22 : 13;
    }
    return 0;
}

int FlagValue(double value) {
    return std::isfinite(value) && std::fabs(value) < 1e9 ? static_cast<int>(std::lround(value))
                                                          : 0;
}

// " 1 ", " 0 ": the integer with a blank on each side (a negative one has only the trailing).
QString FlagText(int flag) {
    return (flag < 0 ? QString() : QStringLiteral(" ")) + QString::number(flag) +
           QStringLiteral(" ");
}

}  // namespace

EquipmentFileVersion EquipmentFileVersionOf(const QString& fileName) {
    const QString last = fileName.right(4);
    return last == QLatin1String("odv2") || last == QLatin1String("odv3")
               ? EquipmentFileVersion::Version2Or3
               : EquipmentFileVersion::Version1;
}

int EquipmentFileLineCount(EquipmentFileVersion version) {
    return version == EquipmentFileVersion::Version1 ? 24 : 13;
}

FileResult<EquipmentFileContents> ReadEquipmentFile(const QString& path) {
    const QString name = FileNameOf(path);
    EquipmentFileContents contents;
    contents.Version = EquipmentFileVersionOf(name);
    const int needed = EquipmentFileLineCount(contents.Version);

    auto read = ReadTextLines(path, kSmallFileMaxBytes);
    if (!read) return read.error();
    QStringList lines = *read;
    if (lines.size() < needed)
        return FileError::AtLine(name, static_cast<int>(lines.size()) + 1,
                                 QStringLiteral("ありません（%1 行必要です）").arg(needed));
    for (QString& line : lines) line = TrimBlanks(line);
    for (const EquipmentField field :
         {EquipmentField::FocusReceptorDistance, EquipmentField::FocusIsocentreDistance,
          EquipmentField::TargetAngle, EquipmentField::InherentFiltration,
          EquipmentField::AddedAluminium, EquipmentField::AddedCopper,
          EquipmentField::OtherFilterThickness, EquipmentField::CouchTransmission,
          EquipmentField::CouchSoftTissueThickness, EquipmentField::CalibrationConstant}) {
        const int lineNumber = LineOf(field, contents.Version);
        if (NamesNonFiniteValue(lines[lineNumber - 1]))
            return FileError::AtLine(
                name, lineNumber,
                QStringLiteral("%1が「%2」です（有限の数値が必要です）")
                    .arg(QString::fromUtf8(EquipmentFieldName(field)), lines[lineNumber - 1]));
    }
    // Every line the computation uses holds one number and nothing else: "1,116" read as 1.0,
    // "1.1O6" as 1.1 or a blank filtration as 0 would give a plausible but wrong dose.
    const bool otherFilter = lines[6] == QLatin1String("1");
    double value = 0;
    for (const EquipmentField field :
         {EquipmentField::FocusReceptorDistance, EquipmentField::FocusIsocentreDistance,
          EquipmentField::TargetAngle, EquipmentField::InherentFiltration,
          EquipmentField::AddedAluminium, EquipmentField::AddedCopper,
          EquipmentField::OtherFilterThickness, EquipmentField::CouchTransmission,
          EquipmentField::CouchSoftTissueThickness, EquipmentField::CalibrationConstant}) {
        // The thickness of an other filter not in use is whatever was typed, and unused.
        if (field == EquipmentField::OtherFilterThickness && !otherFilter) continue;
        const int lineNumber = LineOf(field, contents.Version);
        const QString& line = lines[lineNumber - 1];
        if (!ParseWholeNumber(line.toStdString(), value))
            return FileError::AtLine(name, lineNumber,
                                     QStringLiteral("%1「%2」は一つの数値ではありません")
                                         .arg(QString::fromUtf8(EquipmentFieldName(field)), line));
    }
    // The flag: " 1 ", " 0 " or blank (old files); anything else would silently drop the filter.
    if (!lines[6].isEmpty() && lines[6] != QLatin1String("0") && !otherFilter)
        return FileError::AtLine(
            name, 7,
            QStringLiteral("付加フィルタの有無「%1」は 0 か 1 でなければなりません").arg(lines[6]));
    auto number = [&](int lineNumber) { return FieldNumber(lines[lineNumber - 1]); };

    EquipmentData& d = contents.Data;
    d.FocusReceptorDistance = number(1);
    d.FocusIsocentreDistance = number(2);
    d.TargetAngle = number(3);
    contents.InherentFiltrationMm = number(4);
    contents.AddedAluminiumMm = number(5);
    contents.AddedCopperMm = number(6);
    d.OtherFilterFlag = FlagValue(number(7));
    contents.OtherFilterMaterialText = lines[7];
    contents.OtherFilterThicknessText = lines[8];
    contents.OtherFilterThicknessMm = number(9);
    if (contents.Version == EquipmentFileVersion::Version1) {
        // Three quantities at 60, 70, 80, 90, 100 kV; the 80 kV values are used.
        contents.TypicalTubeVoltageText = QStringLiteral("80");
        d.CouchTransmission = number(12);
        d.CouchSoftTissueThickness = number(17);
        d.CalibrationConstant = number(22);
    } else {
        contents.TypicalTubeVoltageText = lines[9];
        d.CouchTransmission = number(11);
        d.CouchSoftTissueThickness = number(12);
        d.CalibrationConstant = number(13);
    }

    d.InherentFiltration = kCentimetresPerMillimetre * contents.InherentFiltrationMm;
    d.AddedAluminium = kCentimetresPerMillimetre * contents.AddedAluminiumMm;
    d.AddedCopper = kCentimetresPerMillimetre * contents.AddedCopperMm;
    d.OtherFilterThickness = kCentimetresPerMillimetre * contents.OtherFilterThicknessMm;
    d.OtherFilterMaterial = contents.OtherFilterMaterialText.toStdString();
    // The limits the editor enforces: a file outside them would give an absurd or a plausible
    // but wrong dose, so it is refused whole.
    if (const auto violation = CheckEquipmentLimits(d))
        return FileError::AtLine(name, LineOf(violation->Field, contents.Version),
                                 QString::fromStdString(DescribeViolation(*violation)));
    return contents;
}

FileResult<EquipmentFileContents> LoadEquipmentFile(const QString& path,
                                                    const QString& materialFolder) {
    auto contents = ReadEquipmentFile(path);
    if (!contents || contents->Data.OtherFilterFlag != 1) return contents;
    const QString name = FileNameOf(path);
    const QString material = contents->OtherFilterMaterialText;
    if (const auto problem = FileNameProblem(material))
        return FileError::AtLine(name, 8, QStringLiteral("任意フィルタの材質名: %1").arg(*problem));
    auto table =
        LoadMaterialTable(QDir(materialFolder).filePath(material + QStringLiteral(".ele")));
    if (!table)
        return FileError::InFile(name,
                                 QStringLiteral("任意フィルタの材質ファイルを読み込めません（%1）")
                                     .arg(table.error().message()));
    contents->Data.OtherFilterAttenuation = *table;
    return contents;
}

QStringList EquipmentFileLines(const EquipmentRecordTexts& r) {
    auto format = [](double value, const char* picture) {
        return QString::fromStdString(FormatNumber(value, picture));
    };
    return {
        format(r.FocusReceptorDistance, "#00.0"),
        format(r.FocusIsocentreDistance, "#00.0"),
        format(r.TargetAngle, "#0.0"),
        format(r.InherentFiltrationMm, "0.00"),
        format(r.AddedAluminiumMm, "0.00"),
        format(r.AddedCopperMm, "0.00"),
        FlagText(r.OtherFilterFlag),
        r.OtherFilterMaterialText,
        r.OtherFilterThicknessText,
        r.TypicalTubeVoltageText,
        format(r.CouchTransmission, "0.000"),
        format(r.CouchSoftTissueThickness, "#0.000"),
        format(r.CalibrationConstant, "0.000"),
    };
}

FileResult<QString> WriteEquipmentFile(const QString& folder, const QString& equipmentName,
                                       const EquipmentRecordTexts& record) {
    const QString fileName = equipmentName + QLatin1String(kEquipmentFileExtension);
    if (const auto problem = FileNameProblem(equipmentName))
        return FileError::InFile(fileName, *problem);
    const auto written =
        WriteTextLines(QDir(folder).filePath(fileName), EquipmentFileLines(record));
    if (!written) return written.error();
    return fileName;
}

}  // namespace ordevo
