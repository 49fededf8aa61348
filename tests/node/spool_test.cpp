// The spool: an object lands whole under its UID with the caller in its header, and a full
// disk leaves nothing behind and says so.
#include <gtest/gtest.h>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>

#include <QDir>
#include <QTemporaryDir>

#include "spool.h"
#include "tiny_disk.h"

namespace ordevo::node {
namespace {

DcmDataset ReportDataset(const std::string& sop, std::size_t textBytes) {
    DcmDataset dataset;
    dataset.putAndInsertString(DCM_SOPClassUID, UID_XRayRadiationDoseSRStorage);
    dataset.putAndInsertString(DCM_SOPInstanceUID, sop.c_str());
    dataset.putAndInsertString(DCM_StudyInstanceUID, "1.2.3");
    dataset.putAndInsertString(DCM_StudyDescription, std::string(textBytes, 'x').c_str());
    return dataset;
}

TEST(Spool, AnObjectLandsWholeUnderItsUidWithItsCaller) {
    QTemporaryDir dir;
    DcmDataset dataset = ReportDataset("1.2.840.9", 100);
    ASSERT_EQ(SpoolObject(dir.path().toStdString(), "1.2.840.9", dataset, "ANGIO1"), "");
    const auto files = SpooledObjects(dir.path().toStdString());
    ASSERT_EQ(files.size(), 1u);
    const SpooledHeader header = ReadSpooledHeader(files[0]);
    EXPECT_EQ(header.Error, "");
    EXPECT_EQ(header.SopInstanceUid, "1.2.840.9");
    EXPECT_EQ(header.StudyInstanceUid, "1.2.3");
    EXPECT_EQ(header.CallingAe, "ANGIO1");
}

TEST(Spool, RefusesANameThatIsNoUidAndRemovesLeftTemporaries) {
    QTemporaryDir dir;
    DcmDataset dataset = ReportDataset("1.2", 10);
    for (const char* bad : {"", "../1.2", "1.2/3", "1.2.x"})
        EXPECT_NE(SpoolObject(dir.path().toStdString(), bad, dataset, "A"), "") << bad;
    QFile left(dir.filePath("1.5.dcm.part"));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    EXPECT_TRUE(SpooledObjects(dir.path().toStdString()).empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(Spool, AFullDiskFailsAndLeavesNothing) {
    testing::TinyDisk disk(64);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason().toStdString();
    DcmDataset dataset = ReportDataset("1.2.7", 48 * 1024);
    disk.Fill();
    EXPECT_NE(SpoolObject(disk.Path().toStdString(), "1.2.7", dataset, "ANGIO1"), "");
    EXPECT_TRUE(SpooledObjects(disk.Path().toStdString()).empty());
    EXPECT_FALSE(QFile::exists(disk.FilePath("1.2.7.dcm.part")));
}

}  // namespace
}  // namespace ordevo::node
