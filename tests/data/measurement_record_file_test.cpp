// The side file that says which of an equipment file's figures were measured.
#include "measurement_record_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ordevo {
namespace {

TEST(MeasurementRecordFile, StoredRecordsReadBackAndNothingMeasuredRemovesTheFile) {
    QTemporaryDir dir;
    const QString room = dir.filePath(QStringLiteral("Room1.odv3"));
    EXPECT_EQ(ReadMeasurementRecord(room).value(), MeasurementRecord{});  // no side file
    for (const MeasurementRecord record :
         {MeasurementRecord{true, true}, MeasurementRecord{true, false},
          MeasurementRecord{false, true}, MeasurementRecord{false, false}}) {
        ASSERT_TRUE(StoreMeasurementRecord(room, record));
        EXPECT_EQ(ReadMeasurementRecord(room).value(), record);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Room1.odv3.measured"))));
}

// A line this program does not write is refused with the file and line, never half-believed.
TEST(MeasurementRecordFile, UnknownLineIsRefusedNamingIt) {
    QTemporaryDir dir;
    const QString room = dir.filePath(QStringLiteral("Room1.odv3"));
    QFile side(MeasurementRecordPath(room));
    ASSERT_TRUE(side.open(QIODevice::WriteOnly));
    side.write("calibration=measured\r\ncouch=maybe\r\n");
    side.close();
    const auto record = ReadMeasurementRecord(room);
    ASSERT_FALSE(record);
    EXPECT_EQ(record.error().message(),
              QStringLiteral("Room1.odv3.measured の 2 行目: 「couch=maybe」は読めません"));
}

}  // namespace
}  // namespace ordevo
