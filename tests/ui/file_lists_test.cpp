// File, folder and drive lists on a scratch folder.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "dir_list_box.h"
#include "drive_list_box.h"
#include "file_list_box.h"

using namespace ordevo::ui;

namespace {

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (const char* name :
             {"b.odv", "A.odv2", "c.ODV3", "notes.txt", "old.odv.bak", "results.csv", "x.odv3"}) {
            Touch(dir.filePath(QString::fromUtf8(name)));
        }
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.odv")));  // a folder, not a file
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("データ")));
    }
    QTemporaryDir dir;
};

using FileListBoxTest = ScratchFolder;
using DirListBoxTest = ScratchFolder;

}  // namespace

TEST_F(FileListBoxTest, ShowsTheFilesOfEveryPatternSortedWithoutRegardToCase) {
    FileListBox list;
    list.SetPattern(QStringLiteral("*.odv;*.odv2;*.odv3"));
    list.SetPath(dir.path());
    EXPECT_EQ(list.FileNames(), QStringList({QStringLiteral("A.odv2"), QStringLiteral("b.odv"),
                                             QStringLiteral("c.ODV3"), QStringLiteral("x.odv3")}));
    list.SetPattern(QStringLiteral("*.csv"));
    EXPECT_EQ(list.FileNames(), QStringList({QStringLiteral("results.csv")}));
}

TEST_F(FileListBoxTest, RefreshShowsNewAndDeletedFilesAndKeepsTheSelection) {
    FileListBox list;
    list.SetPattern(QStringLiteral("*.odv;*.odv2;*.odv3"));
    list.SetPath(dir.path());
    ASSERT_TRUE(list.SelectFileName(QStringLiteral("c.ODV3")));
    Touch(dir.filePath(QStringLiteral("新規.odv3")));
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("b.odv"))));
    EXPECT_EQ(list.FileNames().size(), 4);  // not yet read again

    list.Refresh();
    EXPECT_EQ(list.FileNames(),
              QStringList({QStringLiteral("A.odv2"), QStringLiteral("c.ODV3"),
                           QStringLiteral("x.odv3"), QStringLiteral("新規.odv3")}));
    EXPECT_EQ(list.SelectedFileName(), QStringLiteral("c.ODV3"));
    EXPECT_EQ(list.SelectedFilePath(), dir.filePath(QStringLiteral("c.ODV3")));
}

TEST_F(FileListBoxTest, AClickReportsTheFileNameAndSelectsIt) {
    FileListBox list;
    list.SetPattern(QStringLiteral("*.csv;*.txt"));
    list.SetPath(dir.path());
    list.resize(200, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy clicked(&list, &FileListBox::fileClicked);

    ASSERT_TRUE(list.SelectFileName(QStringLiteral("notes.txt")));
    EXPECT_EQ(clicked.count(), 0);  // selecting from code is not a click

    const QRect row = list.visualItemRect(list.item(1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toString(), QStringLiteral("results.csv"));
    EXPECT_EQ(list.SelectedFileName(), QStringLiteral("results.csv"));

    QTest::keyClick(list.viewport(), Qt::Key_Up);
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked[1][0].toString(), QStringLiteral("notes.txt"));
}

TEST_F(FileListBoxTest, AMissingFolderShowsNothing) {
    FileListBox list;
    list.SetPath(dir.filePath(QStringLiteral("no such folder")));
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.SelectedFileName(), QString());
}

TEST_F(DirListBoxTest, ShowsParentsAndSubfoldersAndFollowsAClick) {
    DirListBox folders;
    ASSERT_TRUE(folders.SetPath(dir.path()));
    EXPECT_EQ(folders.Path(), QDir(dir.path()).absolutePath());
    EXPECT_EQ(folders.SubfolderNames(),
              QStringList({QStringLiteral("folder.odv"), QStringLiteral("データ")}));
    EXPECT_EQ(folders.topLevelItem(0)->text(0), QStringLiteral("/"));

    folders.resize(300, 400);
    folders.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&folders));
    QSignalSpy changed(&folders, &DirListBox::pathChanged);
    const QList<QTreeWidgetItem*> found =
        folders.findItems(QStringLiteral("データ"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    QTest::mouseClick(folders.viewport(), Qt::LeftButton, {},
                      folders.visualItemRect(found[0]).center());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toString(), dir.filePath(QStringLiteral("データ")));
    EXPECT_TRUE(folders.SubfolderNames().isEmpty());
}

TEST_F(DirListBoxTest, AFolderThatDoesNotExistLeavesThePathAlone) {
    DirListBox folders;
    ASSERT_TRUE(folders.SetPath(dir.path()));
    QSignalSpy changed(&folders, &DirListBox::pathChanged);
    EXPECT_FALSE(folders.SetPath(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(folders.SetPath(dir.filePath(QStringLiteral("notes.txt"))));  // a file
    EXPECT_EQ(folders.Path(), QDir(dir.path()).absolutePath());
    EXPECT_TRUE(folders.SetPath(dir.path()));  // the same folder again: no change
    EXPECT_EQ(changed.count(), 0);
}

TEST(DriveListBox, ListsTheRootsAndChoosesTheWorkingFoldersDrive) {
    DriveListBox drives;
    ASSERT_GE(drives.count(), 1);
    EXPECT_NE(drives.findText(QDir::rootPath()), -1);
    EXPECT_TRUE(QDir::currentPath().startsWith(drives.Drive()));
}
