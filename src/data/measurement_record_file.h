// Which of an equipment file's figures came from a measurement: a small text file beside it
// ("Room1.odv3" → "Room1.odv3.measured"), written by the equipment editor when it saves
// figures it computed from the user's readings. The equipment file's own format stays as it
// is; the uncertainty of a skin dose is smaller where its calibration was measured.
#pragma once

#include <QString>

#include "file_error.h"
#include "uncertainty_sources.h"

namespace ordevo {

struct MeasurementRecord {
    bool CalibrationMeasured = false;
    bool CouchMeasured = false;

    bool operator==(const MeasurementRecord&) const = default;
};

// The side file's path for an equipment file's path.
QString MeasurementRecordPath(const QString& equipmentPath);

// The record beside `equipmentPath`. No side file means nothing was measured (an equipment file
// made before the record existed, or by hand). A side file that cannot be read or holds a
// line this program does not write is an error naming the file and the line: the caller
// counts nothing as measured then, the safe side for an uncertainty.
FileResult<MeasurementRecord> ReadMeasurementRecord(const QString& equipmentPath);

// Writes the record beside `equipmentPath` (CP932, CR LF, through QSaveFile); with nothing
// measured the side file is removed instead, so an equipment file saved again by hand does not
// keep an old claim.
FileResult<void> StoreMeasurementRecord(const QString& equipmentPath,
                                        const MeasurementRecord& record);

// What the uncertainty budget knows of the room from the record.
UncertaintyKnowledge KnowledgeFrom(const MeasurementRecord& record);

// What it knows of the room whose equipment file is `equipmentPath`: the record beside it. A
// damaged record claims nothing, the larger unmeasured figures being the safe side. Every path
// that evaluates with an equipment file (windows, ordevo-cli, ordevo-node) reads it here.
UncertaintyKnowledge KnowledgeBeside(const QString& equipmentPath);

}  // namespace ordevo
