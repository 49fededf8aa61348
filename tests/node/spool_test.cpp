// The spool: an object lands whole under its UID with the caller in its header, and a full
// disk leaves nothing behind and says so.
#include <gtest/gtest.h>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>

#include <QDir>
#include <QTemporaryDir>

#include <zlib.h>

#include <QFileInfo>

#include "capped_receive.h"
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

// Deflated data inflates into the file up to the bound and no further; a damaged or cut
// stream is an error, and nothing is left behind but a whole inflation.
TEST(InflateBounded, InflatesUpToTheBoundOnly) {
    QTemporaryDir dir;
    const std::string text(100000, 'a');  // deflates to a few hundred bytes
    const auto deflated = [&](std::size_t keep) {
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        std::string out(deflateBound(&z, uLong(text.size())), '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
        z.avail_in = uInt(text.size());
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = uInt(out.size());
        deflate(&z, Z_FINISH);
        out.resize(z.total_out);
        deflateEnd(&z);
        return out.substr(0, std::min(keep, out.size()));
    };
    const std::string whole = deflated(std::string::npos);
    const struct {
        std::string input;
        long long limit;
        bool tooLarge, error;
    } cases[] = {
        {whole, 100000, false, false},
        {whole, 99999, true, false},
        {whole.substr(0, whole.size() / 2), 100000, false, true},   // cut
        {std::string("\xff\xff\xff\xff", 4), 100000, false, true},  // not deflate
    };
    for (const auto& c : cases) {
        const std::string from = dir.filePath("in").toStdString();
        const std::string to = dir.filePath("out").toStdString();
        QFile in(QString::fromStdString(from));
        ASSERT_TRUE(in.open(QIODevice::WriteOnly));
        in.write(c.input.data(), qint64(c.input.size()));
        in.close();
        bool tooLarge = false;
        const std::string why = InflateBounded(from, to, c.limit, &tooLarge);
        EXPECT_EQ(tooLarge, c.tooLarge) << c.limit;
        EXPECT_EQ(!why.empty(), c.error) << why;
        const bool done = !c.tooLarge && !c.error;
        EXPECT_EQ(QFileInfo(QString::fromStdString(to)).size(), done ? 100000 : 0);
        EXPECT_EQ(QFile::exists(QString::fromStdString(to)), done);
    }
}

}  // namespace
}  // namespace ordevo::node
