#include "user_name_file.h"

#include "cp932_text.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "test_files.h"
#include "tiny_disk.h"

namespace ordevo {
namespace {

using testing::Cp932;
using testing::ReadFile;
using testing::WriteFile;

// The delivered file: 29 data lines and two further lines, one with CP932 text, one ending
// in LF alone — their bytes must survive every rewrite.
QByteArray DeliveredPrimary() {
    return testing::PrimaryFileBytes().replace("x\r\ny\r\n", "") +
           Cp932(QString::fromUtf8("注記 ～①\r\n")) + "end \t\n";
}

TEST(UserNameFile, NoThirtySecondLineMeansUnregistered) {
    QTemporaryDir dir;
    WriteFile(dir, "Primary.dat", DeliveredPrimary());
    EXPECT_FALSE(ReadUserName(dir.path()).has_value());
    QTemporaryDir empty;
    EXPECT_FALSE(ReadUserName(empty.path()).has_value());
}

TEST(UserNameFile, EmptyThirtySecondLineIsAnEmptyName) {
    QTemporaryDir dir;
    WriteFile(dir, "Primary.dat", DeliveredPrimary() + "\r\n");
    const auto name = ReadUserName(dir.path());
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(*name, QString());
}

TEST(UserNameFile, StoringTwiceKeepsLinesOneToThirtyOneByteForByte) {
    QTemporaryDir dir;
    WriteFile(dir, "Primary.dat", DeliveredPrimary() + "old name\r\nline 33\r\n");
    ASSERT_TRUE(StoreUserName(dir.path(), QString::fromUtf8("ABC 総合病院")));
    const QString newer = QString::fromUtf8("\"Ｘ線\", 科－①");
    ASSERT_TRUE(StoreUserName(dir.path(), newer));

    const QByteArray expected =
        DeliveredPrimary().replace("end \t\n", "end \t\r\n") + Cp932(newer) + "\r\n";
    EXPECT_EQ(ReadFile(dir.filePath("Primary.dat")), expected);
    EXPECT_EQ(ReadUserName(dir.path()), newer);
}

TEST(UserNameFile, RefusedNamesAndShortFilesLeaveTheFileAlone) {
    QTemporaryDir dir;
    const QByteArray delivered = DeliveredPrimary();
    WriteFile(dir, "Primary.dat", delivered);
    EXPECT_FALSE(StoreUserName(dir.path(), QStringLiteral("two\nlines")));
    EXPECT_FALSE(StoreUserName(dir.path(), QString::fromUtf8("café €")));
    EXPECT_EQ(ReadFile(dir.filePath("Primary.dat")), delivered);

    QByteArray thirty = delivered.left(delivered.lastIndexOf("end"));
    WriteFile(dir, "Primary.dat", thirty);
    const auto stored = StoreUserName(dir.path(), QStringLiteral("name"));
    ASSERT_FALSE(stored);
    EXPECT_EQ(
        stored.error().message(),
        QStringLiteral("Primary.dat の 31 行目: ありません（ユーザー名の前に 31 行必要です）"));
    EXPECT_EQ(ReadFile(dir.filePath("Primary.dat")), thirty);

    QTemporaryDir empty;
    EXPECT_FALSE(StoreUserName(empty.path(), QStringLiteral("name")));
    EXPECT_FALSE(QFile::exists(empty.filePath("Primary.dat")));
}

// Primary.dat holds the reference doses too: a full disk must not cost them.
TEST(UserNameFile, AFullDiskKeepsPrimaryDatWhole) {
    testing::TinyDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason().toStdString();
    ASSERT_TRUE(WriteFileBytes(disk.FilePath(QStringLiteral("Primary.dat")), DeliveredPrimary()));
    disk.Fill();
    EXPECT_FALSE(StoreUserName(disk.Path(), QString::fromUtf8("ABC 総合病院")));
    EXPECT_EQ(ReadFile(disk.FilePath(QStringLiteral("Primary.dat"))), DeliveredPrimary());
}

}  // namespace
}  // namespace ordevo
