#include "measurement_record_file.h"

#include <QFile>

#include "cp932_text.h"

namespace ordevo {

namespace {

const QString kSuffix = QStringLiteral(".measured");
const QString kComment = QStringLiteral("; 測定から求めた基本データの項目");
const QString kCalibrationLine = QStringLiteral("calibration=measured");
const QString kCouchLine = QStringLiteral("couch=measured");

}  // namespace

QString MeasurementRecordPath(const QString& equipmentPath) { return equipmentPath + kSuffix; }

FileResult<MeasurementRecord> ReadMeasurementRecord(const QString& equipmentPath) {
    const QString path = MeasurementRecordPath(equipmentPath);
    if (!QFile::exists(path)) return MeasurementRecord{};
    const auto lines = ReadTextLines(path, kSmallFileMaxBytes);
    if (!lines) return lines.error();
    MeasurementRecord record;
    for (int i = 0; i < lines->size(); ++i) {
        const QString line = TrimBlanks(lines->at(i));
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (line == kCalibrationLine)
            record.CalibrationMeasured = true;
        else if (line == kCouchLine)
            record.CouchMeasured = true;
        else
            return FileError::AtLine(FileNameOf(path), i + 1,
                                     QStringLiteral("「%1」は読めません").arg(line));
    }
    return record;
}

FileResult<void> StoreMeasurementRecord(const QString& equipmentPath,
                                        const MeasurementRecord& record) {
    const QString path = MeasurementRecordPath(equipmentPath);
    if (!record.CalibrationMeasured && !record.CouchMeasured) {
        if (QFile::exists(path) && !QFile::remove(path))
            return FileError::InFile(FileNameOf(path), QStringLiteral("削除できません"));
        return {};
    }
    QStringList lines{kComment};
    if (record.CalibrationMeasured) lines << kCalibrationLine;
    if (record.CouchMeasured) lines << kCouchLine;
    return WriteTextLines(path, lines);
}

UncertaintyKnowledge KnowledgeFrom(const MeasurementRecord& record) {
    UncertaintyKnowledge known;
    known.CalibrationMeasured = record.CalibrationMeasured;
    known.CouchMeasured = record.CouchMeasured;
    return known;
}

UncertaintyKnowledge KnowledgeBeside(const QString& equipmentPath) {
    const auto record = ReadMeasurementRecord(equipmentPath);
    return KnowledgeFrom(record ? *record : MeasurementRecord{});
}

}  // namespace ordevo
