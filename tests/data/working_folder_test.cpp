#include "working_folder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "test_files.h"

namespace ordevo {
namespace {

using testing::ReadFile;
using testing::WriteFile;

// An installation's reference data: the three reference files, a kernel in a sub-folder and
// a material.
void WriteInstalledData(const QTemporaryDir& dir) {
    testing::WriteReferenceFiles(dir);
    WriteFile(dir, "PDS-data/10.dat", "kernel\r\n");
    WriteFile(dir, "Mo.ele", "material\r\n");
}

struct Folders {
    QTemporaryDir start;
    QTemporaryDir installed;
    QTemporaryDir home;
    QString user = home.path() + QStringLiteral("/.local/share/Ordevo-V3");
    WorkingFolderPlaces Places() const { return {start.path(), installed.path(), user}; }
};

TEST(WorkingFolder, StartFolderWithTheReferenceFilesIsKeptAndNothingIsSeeded) {
    Folders f;
    testing::WriteReferenceFiles(f.start);
    WriteInstalledData(f.installed);
    EXPECT_EQ(*ChooseWorkingFolder(f.Places()), f.start.path());
    EXPECT_FALSE(QFileInfo::exists(f.user));
}

TEST(WorkingFolder, ElsewhereTheUserFolderIsCreatedAndSeededWithEveryFile) {
    Folders f;
    WriteInstalledData(f.installed);
    EXPECT_EQ(*ChooseWorkingFolder(f.Places()), f.user);
    for (const char* name : {"Primary.dat", "Att_coeff2021.dat", "dBSF-SoftDose-SoftPhantom.dat",
                             "PDS-data/10.dat", "Mo.ele"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadFile(f.user + QLatin1Char('/') + QLatin1String(name)),
                  ReadFile(f.installed.path() + QLatin1Char('/') + QLatin1String(name)));
    }
}

// A registered name in Primary.dat, a user's own equipment file and a changed material must
// survive every later start; a file the user lost comes back.
TEST(WorkingFolder, SeedingAgainKeepsTheUsersFilesAndRestoresMissingOnes) {
    Folders f;
    WriteInstalledData(f.installed);
    ASSERT_TRUE(ChooseWorkingFolder(f.Places()));
    const QByteArray registered =
        ReadFile(f.user + QStringLiteral("/Primary.dat")) + "Hospital\r\n";
    QDir user(f.user);
    const auto write = [&user](const QString& name, const QByteArray& bytes) {
        QFile file(user.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(QStringLiteral("Primary.dat"), registered);
    write(QStringLiteral("Room1.odv3"), "equipment\r\n");
    write(QStringLiteral("Mo.ele"), "changed\r\n");
    ASSERT_TRUE(user.remove(QStringLiteral("PDS-data/10.dat")));

    EXPECT_EQ(*ChooseWorkingFolder(f.Places()), f.user);
    EXPECT_EQ(ReadFile(user.filePath(QStringLiteral("Primary.dat"))), registered);
    EXPECT_EQ(ReadFile(user.filePath(QStringLiteral("Room1.odv3"))), QByteArray("equipment\r\n"));
    EXPECT_EQ(ReadFile(user.filePath(QStringLiteral("Mo.ele"))), QByteArray("changed\r\n"));
    EXPECT_EQ(ReadFile(user.filePath(QStringLiteral("PDS-data/10.dat"))), QByteArray("kernel\r\n"));
}

TEST(WorkingFolder, UserFolderIsUsedWithoutAnInstallationOnlyWhenItHoldsTheFiles) {
    Folders f;  // no installed data anywhere
    EXPECT_EQ(*ChooseWorkingFolder(f.Places()), f.start.path());
    EXPECT_FALSE(QFileInfo::exists(f.user));

    ASSERT_TRUE(QDir().mkpath(f.user));
    QTemporaryDir prepared;
    testing::WriteReferenceFiles(prepared);
    ASSERT_TRUE(SeedFolder(prepared.path(), f.user));
    EXPECT_EQ(*ChooseWorkingFolder(f.Places()), f.user);
}

TEST(WorkingFolder, UserFolderThatCannotBeCreatedIsAnErrorNamingIt) {
    Folders f;
    WriteInstalledData(f.installed);
    WriteFile(f.home, "blocked", "a file where the folder should go");
    f.user = f.home.path() + QStringLiteral("/blocked/Ordevo-V3");
    const FileResult<QString> folder = ChooseWorkingFolder(f.Places());
    ASSERT_FALSE(folder);
    EXPECT_TRUE(folder.error().message().contains(QStringLiteral("blocked/Ordevo-V3")))
        << folder.error().message().toStdString();
}

}  // namespace
}  // namespace ordevo
